#include "Freceivedview.h"

#include "logstore/Ftext.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

namespace vellum {

TReceivedView::TReceivedView(TerminalText &text, QWidget *parent) : QAbstractScrollArea(parent), m_text(text)
{
    setObjectName(QStringLiteral("ReceivedText"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::ClickFocus);
    updateRange();
}

int TReceivedView::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

std::size_t TReceivedView::CharactersWide() const
{
    int x = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('X')));
    int columns = viewport()->width() / x - 2;
    return static_cast<std::size_t>(std::max(10, columns));
}

int TReceivedView::TopLine() const { return verticalScrollBar()->value(); }

void TReceivedView::TextChanged(std::size_t removedAtTop)
{
    if (m_holding && removedAtTop > 0) {
        // A held view stays on the same text while old lines go.
        QScrollBar *bar = verticalScrollBar();
        QSignalBlocker block(bar);
        bar->setValue(std::max(0, bar->value() - static_cast<int>(removedAtTop)));
    }
    if (m_updatePending)
        return;
    m_updatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_updatePending = false;
        updateRange();
        viewport()->update();
    });
}

void TReceivedView::updateRange()
{
    int visible = std::max(1, viewport()->height() / lineHeight());
    int last = std::max(0, static_cast<int>(m_text.Count()) - visible);
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, last);
    bar->setPageStep(visible);
    if (!m_holding) {
        bar->setValue(last);
        m_text.ClearSelection();
    }
}

void TReceivedView::SetHolding(bool holding)
{
    m_holding = holding;
    if (!holding)
        updateRange();
    viewport()->update();
}

void TReceivedView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    int height = lineHeight();
    int ascent = fontMetrics().ascent();
    const auto &lines = m_text.Lines();
    int first = TopLine();
    int rows = viewport()->height() / height + 1;
    for (int row = 0; row < rows && first + row < static_cast<int>(lines.size()); ++row) {
        const DisplayLine &line = lines[static_cast<std::size_t>(first + row)];
        QRect band(0, row * height, viewport()->width(), height);
        bool selected = m_holding && (line.flags & DisplayLine::Selected);
        if (selected)
            painter.fillRect(band, palette().highlight());
        painter.setPen(selected ? palette().highlightedText().color() : palette().text().color());
        painter.drawText(2, row * height + ascent, ScreenText(line.text));
    }
}

void TReceivedView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_resized)
        m_resized();
    updateRange();
}

int TReceivedView::lineAt(int y) const { return TopLine() + y / lineHeight(); }

void TReceivedView::selectTo(int line)
{
    m_text.ClearSelection();
    int from = std::min(m_anchor, line), to = std::max(m_anchor, line);
    for (int i = from; i <= to; ++i)
        m_text.SetSelected(static_cast<std::size_t>(i), true);
    viewport()->update();
}

void TReceivedView::mousePressEvent(QMouseEvent *event)
{
    if (!m_holding)
        return;
    m_anchor = lineAt(event->position().toPoint().y());
    selectTo(m_anchor);
}

void TReceivedView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_holding && m_anchor >= 0 && (event->buttons() & Qt::LeftButton))
        selectTo(lineAt(event->position().toPoint().y()));
}

void TReceivedView::mouseDoubleClickEvent(QMouseEvent *event)
{
    int line = lineAt(event->position().toPoint().y());
    if (m_doubleClicked && line >= 0 && line < static_cast<int>(m_text.Count()))
        m_doubleClicked(static_cast<std::size_t>(line));
}

void TReceivedView::keyPressEvent(QKeyEvent *event)
{
    if (m_typing)
        m_typing(event);
}

} // namespace vellum
