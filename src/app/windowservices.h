#pragma once
// Services every window uses: saved positions, keeping windows on screen,
// fonts and scaling.

#include <QRect>

class QWidget;

namespace vellum {

struct TConfigRecord;

/// Where a window goes to stay on the screen and clear of the main window bar.
/// mainWindow is the main window's frame; keepPosition (F_KeepPosition) leaves it as it is.
QRect KeepOnScreenRect(QRect window, QRect mainWindow, QSize screen, bool keepPosition);

/// Window services bound to the live configuration record and the main window.
class WindowServices {
public:
    WindowServices(TConfigRecord &config, QWidget *mainWindow) : m_config(config), m_mainWindow(mainWindow) {}

    /// Places window from WindowPos[kind]; returns whether a saved position existed.
    bool RestoreWindowPos(QWidget *window, int kind);
    /// Stores the window's normal geometry in WindowPos[kind]; nothing for a null window.
    void SaveWindowPos(QWidget *window, int kind);
    void KeepOnScreen(QWidget *window);
    /// Fonts by control kind and the F_FormScale zoom.
    void ApplyWindowStyle(QWidget *window);

    /// Styles every window again after the screen or the scale changed: with
    /// screenChanged and an unchanged screen nothing happens; a changed screen
    /// resets the screen defaults first. Returns whether anything was rescaled.
    bool RescaleWindows(bool screenChanged, int pixelsPerInch, int screenWidth);
    void RememberScreen(int pixelsPerInch, int screenWidth)
    {
        m_ppi = pixelsPerInch;
        m_screenWidth = screenWidth;
    }

    /// Whether the window's size is restored too (the resizable tool windows).
    static bool RestoresSize(int kind);

private:
    TConfigRecord &m_config;
    QWidget *m_mainWindow;
    int m_ppi = 0;
    int m_screenWidth = 0;
};

} // namespace vellum
