#include "windowservices.h"

#include "config/configrecord.h"
#include "config/configrules.h"
#include "logstore/Ftext.h"

#include <QApplication>

#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTableView>
#include <QTextEdit>
#include <QWidget>

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
QFont configuredFont(const ShortString<40> &name, std::uint8_t size, bool bold, const QFont &fallback)
{
    QFont font = fallback;
    if (!name.empty())
        font.setFamily(ScreenText(name.view()));
    if (size > 0)
        font.setPointSize(size);
    font.setBold(bold);
    return font;
}
} // namespace

void WindowServices::ApplyWindowStyle(QWidget *window)
{
    if (!window)
        return;
    // Styling starts from the window's own font each time, so applying it again
    // after a change of scale does not compound the scaling.
    QVariant stored = window->property("vellumBaseFont");
    if (!stored.isValid()) {
        stored = QVariant::fromValue(window->font());
        window->setProperty("vellumBaseFont", stored);
    }
    const QFont base = stored.value<QFont>();
    QFont input = configuredFont(m_config.F_FontIName, m_config.F_FontISize, m_config.F_FontIBold, base);
    QFont heading = configuredFont(m_config.F_FontLName, m_config.F_FontLSize, m_config.F_FontLBold, base);
    QFont list = configuredFont(m_config.F_FontBName, m_config.F_FontBSize, m_config.F_FontBBold, base);
    int scale = m_config.F_FormScale >= 50 && m_config.F_FormScale <= 200 ? m_config.F_FormScale : 100;
    auto scaled = [scale](QFont f) {
        if (f.pointSizeF() > 0)
            f.setPointSizeF(f.pointSizeF() * scale / 100.0);
        return f;
    };
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->objectName().isEmpty())
            continue;
        if (qobject_cast<QComboBox *>(child) || qobject_cast<QLineEdit *>(child) || qobject_cast<QTableView *>(child))
            child->setFont(scaled(input));
        else if (qobject_cast<QListWidget *>(child) || qobject_cast<QPlainTextEdit *>(child) ||
                 qobject_cast<QTextEdit *>(child) || qobject_cast<QAbstractItemView *>(child))
            child->setFont(scaled(list));
        else
            child->setFont(scaled(heading));
    }
}

bool WindowServices::RescaleWindows(bool screenChanged, int pixelsPerInch, int screenWidth)
{
    if (screenChanged) {
        if (pixelsPerInch == m_ppi && screenWidth == m_screenWidth)
            return false;
        ResetScreenDefaults(m_config, pixelsPerInch);
    }
    RememberScreen(pixelsPerInch, screenWidth);
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window == m_mainWindow || !window->isVisible())
            continue;
        ApplyWindowStyle(window);
        KeepOnScreen(window);
    }
    return true;
}

} // namespace vellum
