#pragma once
// The received text of a terminal, painted line by line from TerminalText: a
// flood of lines costs one repaint per batch, whatever the scrollback holds.

#include "terminaltext.h"

#include <QAbstractScrollArea>

#include <functional>

namespace vellum {

class TReceivedView : public QAbstractScrollArea {
    Q_OBJECT
public:
    TReceivedView(TerminalText &text, QWidget *parent = nullptr);

    /// The text changed: shows it at the next paint (many calls, one repaint).
    void TextChanged(std::size_t removedAtTop);
    void SetHolding(bool holding);
    bool Holding() const { return m_holding; }
    /// The width in characters the text is wrapped at.
    std::size_t CharactersWide() const;
    /// The first display line shown.
    int TopLine() const;
    void OnLineDoubleClicked(std::function<void(std::size_t)> handler) { m_doubleClicked = std::move(handler); }
    void OnResized(std::function<void()> handler) { m_resized = std::move(handler); }
    /// Keys typed into the view go to the typing area.
    void OnTyping(std::function<void(QKeyEvent *)> handler) { m_typing = std::move(handler); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int lineAt(int y) const;
    int lineHeight() const;
    void updateRange();
    void selectTo(int line);

    TerminalText &m_text;
    bool m_holding = false;
    bool m_updatePending = false;
    int m_anchor = -1;
    std::function<void(std::size_t)> m_doubleClicked;
    std::function<void()> m_resized;
    std::function<void(QKeyEvent *)> m_typing;
};

} // namespace vellum
