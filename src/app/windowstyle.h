#pragma once
// The look every window of the program shares: the three screen fonts zoomed by
// the form scale, the heights of entry fields, lists and table rows, and the
// application-wide watchers that style each new window and switch tool tips off.

#include <QFont>
#include <QObject>

#include <functional>

class QWidget;

namespace vellum {

struct TConfigRecord;

/// Windows are designed for 120 pixels per inch and end at F_FormScale percent of
/// their design size: their fonts are zoomed by round(formScale * 120 / pixelsPerInch)
/// percent (100 % with the screen defaults: scale 80 at 96 ppi, 160 at 192 ppi). Any
/// scale counts; 0 (not set) is no zoom, an unknown resolution counts as 120.
int WindowZoomPercent(int formScale, int pixelsPerInch);

/// The control heights for the text height ("Xj") of a control's font: rows of a
/// dropped list as high as the text, entry fields and list boxes that pop up 126 %
/// of it, both rounded up to an even number of pixels; table rows 150 % of it.
struct ControlHeights {
    int listRow;
    int field;
    int tableRow;
};
ControlHeights ControlHeightsFor(int textHeight);

/// The "Heading", "Input" and "Listbox" fonts of the configuration, zoomed; a font
/// without a name or size takes it from base.
struct WindowFonts {
    QFont heading;
    QFont input;
    QFont list;
};
WindowFonts ConfiguredFonts(const TConfigRecord &config, const QFont &base, int zoomPercent);

/// Gives each named control of the window its font by kind and its height:
/// entry fields, lists that pop up and tables the "Input" font, list boxes, text
/// boxes and other item views the "Listbox" font, all other controls the
/// "Heading" font. Parts of Qt's own controls ("qt_..." names) follow their control.
void StyleControls(QWidget *window, const WindowFonts &fonts);

/// An application event filter that styles every window of the program the first
/// time it is shown, unless the window styled itself when it was made.
class WindowStyleWatcher : public QObject {
    Q_OBJECT
public:
    using Styler = std::function<void(QWidget *window)>;
    using IsStyled = std::function<bool(QWidget *window)>;
    WindowStyleWatcher(Styler style, IsStyled isStyled, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Styler m_style;
    IsStyled m_isStyled;
};

/// An application event filter that swallows every tool tip while they are off
/// (the "Show Hints" setting).
class ToolTipSwitch : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void SetShown(bool shown);
    bool Shown() const { return m_shown; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_shown = true;
};

} // namespace vellum
