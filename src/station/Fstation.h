#pragma once
// The station parts of the run (the rotator with its port or daemon link, the
// radio with its poll loop, the CW keyer), the QSO window's "Rotator" menu, "CW
// Keyboard" and "Special Keys CW/RTTY", the main window's "R&adio" menu and
// "Communication Ports", registered with the window host.

#include "Fcwkeyer.h"
#include "Fradio.h"
#include "Frotator.h"
#include "Fserialchannel.h"
#include "radiocontrol.h"
#include "rotator.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace vellum {

class WindowHost;

/// The station parts of the run: the rotator with its serial port or daemon link.
class TStation : public QObject {
    Q_OBJECT
public:
    explicit TStation(WindowHost &host);
    ~TStation() override;

    WindowHost &Host() const { return m_host; }
    Rotator &RotatorUnit() { return *m_rotator; }
    /// The QSO window's band (0 without one or without a band chosen).
    int QsoBand() const;
    /// "Short Path" / "Long Path": the QSO window's bearing, or it plus 180.
    void TurnToBearing(bool longPath);
    void Turn(int heading);
    void Halt();
    void RestartRotator();
    /// "Parameters": the Rotator Control window, brought forward when it is open.
    TRotateForm *OpenRotatorControl();
    TRotateForm *RotatorControl() const { return m_control; }
    TCwKeyer &Keyer() { return *m_keyer; }

    // --- the radio ---
    RadioControl &Radio() { return *m_radio; }
    const RadioPorts &Ports() const { return m_ports; }
    /// "Start Radio" / "Stop Radio".
    void StartStopRadio();
    /// "Set &Frequency": the frequency window, made once.
    TSetRadioFrequency *OpenFrequencyWindow();
    TSetRadioFrequency *FrequencyWindow() const { return m_frequencyWindow; }
    void OpenScanner();
    void OpenPanorama();
    /// "R&adios": the definition editor (the radio stops while it is open).
    void OpenRadioDatabase();
    void ToggleIgnoreMode();
    /// The CW keyer plugs in here: polls wait while it has text to send.
    void SetCwBusy(std::function<bool()> busy) { m_radio->SetCwBusy(std::move(busy)); }

private:
    void setUpRadio();
    void radioRunningChanged(bool running);
    bool qsoFollowsRadio() const;
    /// Whether the CW keyer keys a line of the radio's own port.
    bool keysOnRadioPort() const;

    WindowHost &m_host;
    std::unique_ptr<Rotator> m_rotator;
    TCwKeyer *m_keyer;
    QPointer<TRotateForm> m_control;
    RadioPorts m_ports;
    std::unique_ptr<RadioControl> m_radio;
    QTimer *m_pollTimer = nullptr;
    QPointer<TSetRadioFrequency> m_frequencyWindow;
    QPointer<TSerialChannel> m_radioPort; ///< the running radio's serial port, when it has one
};

/// The station parts of a window host (null before RegisterStationWindows).
TStation *StationOf(WindowHost &host);
/// Makes the station parts and registers their menu items and handlers.
void RegisterStationWindows(WindowHost &host);

} // namespace vellum
