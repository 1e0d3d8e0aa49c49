#pragma once
// Services every window uses: saved positions, keeping windows on screen,
// fonts and scaling.

#include "windowstyle.h"

#include <QRect>

#include <memory>

class QWidget;

namespace vellum {

struct TConfigRecord;

/// Where a window goes to stay on the screen and clear of the main window bar.
/// mainWindow is the main window's frame; keepPosition (F_KeepPosition) leaves it as it is.
QRect KeepOnScreenRect(QRect window, QRect mainWindow, QSize screen, bool keepPosition);

/// Window services bound to the live configuration record and the main window.
class WindowServices {
public:
    WindowServices(TConfigRecord &config, QWidget *mainWindow);
    ~WindowServices();

    /// Places window from WindowPos[kind]; returns whether a saved position existed.
    bool RestoreWindowPos(QWidget *window, int kind);
    /// Stores the window's normal geometry in WindowPos[kind]; nothing for a null window.
    void SaveWindowPos(QWidget *window, int kind);
    void KeepOnScreen(QWidget *window);
    /// Fonts and heights by control kind, zoomed for the window's screen
    /// (WindowZoomPercent); styling again after a change of scale resizes the
    /// window by the change of its zoom.
    void ApplyWindowStyle(QWidget *window);
    void ApplyWindowStyle(QWidget *window, int pixelsPerInch);
    /// Whether the window was styled (it styled itself, or was styled when first shown).
    static bool IsStyled(const QWidget *window);

    /// Styles every window again after the screen or the scale changed: with
    /// screenChanged and an unchanged screen nothing happens; a changed screen
    /// resets the screen defaults first. The QSO window takes its size step again
    /// and every window is kept on the screen. Returns whether anything was rescaled.
    bool RescaleWindows(bool screenChanged, int pixelsPerInch, int screenWidth);
    void RememberScreen(int pixelsPerInch, int screenWidth)
    {
        m_ppi = pixelsPerInch;
        m_screenWidth = screenWidth;
    }

    /// Whether the window's size is restored too (the resizable tool windows).
    static bool RestoresSize(int kind);

    /// From now on every window the program shows is styled, and tool tips follow
    /// the "Show Hints" setting.
    void WatchApplication();
    /// Tool tips on or off by DefQSO_ShowHints (at start and after the setup changed).
    void ApplyHintsSetting();
    bool ToolTipsShown() const { return m_toolTips->Shown(); }

private:
    TConfigRecord &m_config;
    QWidget *m_mainWindow;
    std::unique_ptr<WindowStyleWatcher> m_styleWatcher;
    std::unique_ptr<ToolTipSwitch> m_toolTips;
    int m_ppi = 0;
    int m_screenWidth = 0;
};

} // namespace vellum
