#include "windowstyle.h"

#include "config/configrecord.h"
#include "config/configrules.h"
#include "logstore/Ftext.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableView>
#include <QTextEdit>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace vellum {

namespace {

int evenCeil(double pixels)
{
    int whole = static_cast<int>(std::ceil(pixels - 1e-9));
    return whole % 2 == 0 ? whole : whole + 1;
}

QFont configuredFont(const ShortString<40> &name, std::uint8_t size, bool bold, const QFont &base, int zoom)
{
    QFont font = base;
    if (!name.empty())
        font.setFamily(ScreenText(name.view()));
    double points = size > 0 ? size : font.pointSizeF();
    if (points > 0)
        font.setPointSizeF(std::max(1.0, points * zoom / 100.0));
    font.setBold(bold);
    return font;
}

/// Keeps the look of a list's own delegate and gives every row one height.
class FixedRowHeight : public QAbstractItemDelegate {
public:
    FixedRowHeight(QAbstractItemDelegate *inner, int height, QObject *parent)
        : QAbstractItemDelegate(parent), m_inner(inner), m_height(height)
    {
    }
    void setHeight(int height) { m_height = height; }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (m_inner)
            m_inner->paint(painter, option, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {m_inner ? m_inner->sizeHint(option, index).width() : 0, m_height};
    }

private:
    QPointer<QAbstractItemDelegate> m_inner;
    int m_height;
};

void setListRowHeight(QComboBox *combo, int height)
{
    if (auto *fixed = dynamic_cast<FixedRowHeight *>(combo->itemDelegate())) {
        fixed->setHeight(height);
        return;
    }
    combo->setItemDelegate(new FixedRowHeight(combo->itemDelegate(), height, combo));
}

int textHeight(const QFont &font) { return QFontMetrics(font).height(); }

void styleInputControl(QWidget *control, const QFont &font)
{
    control->setFont(font);
    ControlHeights heights = ControlHeightsFor(textHeight(font));
    if (auto *combo = qobject_cast<QComboBox *>(control)) {
        combo->setFixedHeight(heights.field);
        setListRowHeight(combo, heights.listRow);
    } else if (auto *table = qobject_cast<QTableView *>(control)) {
        QHeaderView *rows = table->verticalHeader();
        rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), heights.tableRow));
        rows->setDefaultSectionSize(heights.tableRow);
    } else {
        control->setFixedHeight(heights.field);
    }
}

bool isInputControl(QWidget *control)
{
    return qobject_cast<QComboBox *>(control) || qobject_cast<QLineEdit *>(control) ||
           qobject_cast<QTableView *>(control);
}

bool isListControl(QWidget *control)
{
    return qobject_cast<QAbstractItemView *>(control) || qobject_cast<QPlainTextEdit *>(control) ||
           qobject_cast<QTextEdit *>(control);
}

} // namespace

int WindowZoomPercent(int formScale, int pixelsPerInch)
{
    if (formScale <= 0)
        return 100;
    int ppi = pixelsPerInch > 0 ? pixelsPerInch : DesignPixelsPerInch;
    return std::max(1, static_cast<int>(std::lround(formScale * double(DesignPixelsPerInch) / ppi)));
}

ControlHeights ControlHeightsFor(int height)
{
    return {evenCeil(height), evenCeil(height * 1.26), static_cast<int>(std::lround(height * 1.5))};
}

WindowFonts ConfiguredFonts(const TConfigRecord &c, const QFont &base, int zoom)
{
    return {configuredFont(c.F_FontLName, c.F_FontLSize, c.F_FontLBold, base, zoom),
            configuredFont(c.F_FontIName, c.F_FontISize, c.F_FontIBold, base, zoom),
            configuredFont(c.F_FontBName, c.F_FontBSize, c.F_FontBBold, base, zoom)};
}

void StyleControls(QWidget *window, const WindowFonts &fonts)
{
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        if (isInputControl(control))
            styleInputControl(control, fonts.input);
        else if (isListControl(control))
            control->setFont(fonts.list);
        else
            control->setFont(fonts.heading);
    }
}

// --- application watchers -------------------------------------------------------------

WindowStyleWatcher::WindowStyleWatcher(Styler style, IsStyled isStyled, QObject *parent)
    : QObject(parent), m_style(std::move(style)), m_isStyled(std::move(isStyled))
{
}

bool WindowStyleWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto *window = static_cast<QWidget *>(watched);
    Qt::WindowType type = window->windowType();
    if (!window->isWindow() || type == Qt::Popup || type == Qt::ToolTip || m_isStyled(window))
        return false;
    m_style(window);
    // The window was just sized for its old fonts; one that was not given a size
    // of its own fits the new ones.
    if (!window->testAttribute(Qt::WA_Resized)) {
        window->adjustSize();
        window->setAttribute(Qt::WA_Resized, false);
    }
    return false;
}

void ToolTipSwitch::SetShown(bool shown)
{
    m_shown = shown;
    if (!shown)
        QToolTip::hideText();
}

bool ToolTipSwitch::eventFilter(QObject *, QEvent *event)
{
    return !m_shown && event->type() == QEvent::ToolTip;
}

} // namespace vellum
