#include "windowservices.h"

#include "config/configrecord.h"
#include "config/configrules.h"

#include "qsowindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <vector>

namespace vellum {

QRect KeepOnScreenRect(QRect w, QRect mainWindow, QSize screen, bool keepPosition)
{
    if (keepPosition)
        return w;
    auto clearOfMain = [&] {
        if (w.top() < 0)
            w.moveTop(0);
        if (w.top() < mainWindow.bottom() + 1 && w.left() < mainWindow.right() + 1)
            w.moveTop(mainWindow.height());
    };
    if (w.left() < 0)
        w.moveLeft(0);
    clearOfMain();
    if (w.left() + w.width() > screen.width()) {
        w.moveLeft(screen.width() - w.width());
        if (w.left() < 0) {
            w.moveLeft(0);
            w.setWidth(screen.width());
        }
    }
    if (w.top() + w.height() > screen.height()) {
        w.moveTop(screen.height() - w.height());
        clearOfMain();
        if (w.top() + w.height() > screen.height())
            w.setHeight(screen.height() - w.top());
    }
    return w;
}

bool WindowServices::RestoresSize(int kind)
{
    using namespace WindowIndex;
    switch (kind) {
    case CALL: case LOGB: case SPOT: case PACK: case EXT: case CW: case TALK: case RTTY: case MASTR: case WORLD:
    case PSK31:
        return true;
    default:
        return false;
    }
}

bool WindowServices::RestoreWindowPos(QWidget *window, int kind)
{
    if (!window || kind < 0 || kind >= WindowIndex::Count)
        return false;
    const TWindowPos &pos = m_config.WindowPos[static_cast<std::size_t>(kind)];
    bool saved = pos.Width != 0;
    if (saved) {
        if (RestoresSize(kind) && pos.Height > 0 && pos.Width > 0)
            window->resize(pos.Width, pos.Height);
        window->move(pos.Left, pos.Top);
    } else {
        window->move(0, m_mainWindow ? m_mainWindow->frameGeometry().height() : 0);
    }
    window->setProperty("vellumWindowPos", kind + 1);
    KeepOnScreen(window);
    return saved;
}

void WindowServices::SaveWindowPos(QWidget *window, int kind)
{
    if (!window || kind < 0 || kind >= WindowIndex::Count)
        return;
    if (window->isMinimized() || window->isMaximized())
        window->showNormal();
    TWindowPos &pos = m_config.WindowPos[static_cast<std::size_t>(kind)];
    QRect frame = window->frameGeometry();
    pos.Top = frame.top();
    pos.Left = frame.left();
    pos.Height = window->height();
    pos.Width = window->width();
}

void WindowServices::KeepOnScreen(QWidget *window)
{
    if (!window)
        return;
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    QSize size = screen ? screen->availableGeometry().size() : QSize(1920, 1080);
    QRect main = m_mainWindow ? m_mainWindow->frameGeometry() : QRect();
    QRect placed = KeepOnScreenRect(QRect(window->pos(), window->size()), main, size, m_config.F_KeepPosition);
    if (placed.size() != window->size())
        window->resize(placed.size());
    if (placed.topLeft() != window->pos())
        window->move(placed.topLeft());
}

namespace {

constexpr const char *BaseFontProperty = "vellumBaseFont";
constexpr const char *ZoomProperty = "vellumZoom";

int pixelsPerInchOf(const QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : DesignPixelsPerInch;
}

/// The window's own font before styling: what a font without name or size keeps.
QFont baseFont(QWidget *window)
{
    QVariant stored = window->property(BaseFontProperty);
    if (!stored.isValid()) {
        stored = QVariant::fromValue(window->font());
        window->setProperty(BaseFontProperty, stored);
    }
    return stored.value<QFont>();
}

/// A window styled before at another zoom grows or shrinks with it, as far as its
/// controls let it.
void resizeForZoom(QWidget *window, int zoom)
{
    QVariant previous = window->property(ZoomProperty);
    window->setProperty(ZoomProperty, zoom);
    if (!previous.isValid() || previous.toInt() == zoom || previous.toInt() <= 0)
        return;
    if (QLayout *layout = window->layout())
        layout->activate();
    QSize scaled = window->size() * zoom / previous.toInt();
    window->resize(scaled.expandedTo(window->minimumSizeHint()));
}

} // namespace

WindowServices::WindowServices(TConfigRecord &config, QWidget *mainWindow)
    : m_config(config), m_mainWindow(mainWindow), m_toolTips(std::make_unique<ToolTipSwitch>())
{
}

WindowServices::~WindowServices() = default;

void WindowServices::ApplyWindowStyle(QWidget *window)
{
    if (window)
        ApplyWindowStyle(window, pixelsPerInchOf(window));
}

void WindowServices::ApplyWindowStyle(QWidget *window, int pixelsPerInch)
{
    if (!window)
        return;
    int zoom = WindowZoomPercent(m_config.F_FormScale, pixelsPerInch);
    StyleControls(window, ConfiguredFonts(m_config, baseFont(window), zoom));
    resizeForZoom(window, zoom);
}

bool WindowServices::IsStyled(const QWidget *window) { return window->property(ZoomProperty).isValid(); }

bool WindowServices::RescaleWindows(bool screenChanged, int pixelsPerInch, int screenWidth)
{
    if (screenChanged) {
        if (pixelsPerInch == m_ppi && screenWidth == m_screenWidth)
            return false;
        ResetScreenDefaults(m_config, pixelsPerInch);
    }
    RememberScreen(pixelsPerInch, screenWidth);
    std::vector<QWidget *> windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != m_mainWindow && IsStyled(window))
            windows.push_back(window);
    for (QWidget *window : windows) {
        ApplyWindowStyle(window, pixelsPerInch);
        if (auto *qsoWindow = qobject_cast<TQsoWindowBase *>(window))
            qsoWindow->ApplySizeStep();
    }
    for (QWidget *window : windows) {
        QCoreApplication::sendPostedEvents(window, QEvent::LayoutRequest);
        KeepOnScreen(window);
    }
    return true;
}

void WindowServices::WatchApplication()
{
    m_styleWatcher = std::make_unique<WindowStyleWatcher>([this](QWidget *window) { ApplyWindowStyle(window); },
                                                          [](QWidget *window) { return IsStyled(window); });
    qApp->installEventFilter(m_styleWatcher.get());
    qApp->installEventFilter(m_toolTips.get());
    ApplyHintsSetting();
}

void WindowServices::ApplyHintsSetting() { m_toolTips->SetShown(m_config.DefQSO_ShowHints); }

} // namespace vellum
