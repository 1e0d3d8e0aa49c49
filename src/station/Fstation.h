#pragma once
// The station parts of the run (the rotator with its port or daemon link, the
// CW keyer), the QSO window's "Rotator" menu, "CW Keyboard" and "Special Keys
// CW/RTTY", and "Communication Ports", registered with the window host.

#include "Fcwkeyer.h"
#include "Frotator.h"
#include "rotator.h"

#include <QObject>
#include <QPointer>

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

private:
    WindowHost &m_host;
    std::unique_ptr<Rotator> m_rotator;
    TCwKeyer *m_keyer;
    QPointer<TRotateForm> m_control;
};

/// The station parts of a window host (null before RegisterStationWindows).
TStation *StationOf(WindowHost &host);
/// Makes the station parts and registers their menu items and handlers.
void RegisterStationWindows(WindowHost &host);

} // namespace vellum
