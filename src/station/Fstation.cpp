#include "Fstation.h"

#include "Fmorsekb.h"
#include "Fbuttonframe.h"
#include "Fports.h"
#include "channels.h"
#include "portmap.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "app/windowservices.h"
#include "config/configrecord.h"
#include "logstore/services.h"
#include "qso/qsoentry.h"

#include <QApplication>
#include <QKeyEvent>

namespace vellum {

// --- the station parts -----------------------------------------------------------------

TStation::TStation(WindowHost &host) : QObject(&host), m_host(host), m_keyer(new TCwKeyer(host))
{
    setObjectName(QStringLiteral("Station"));
    auto serial = [&host](const SerialSettings &settings) -> std::unique_ptr<ByteChannel> {
        std::vector<std::string> problems;
        PortMap ports = PortMap::Load(problems);
        for (const std::string &problem : problems)
            host.Notifier().warning(PortMap::FileName() + ": " + problem);
        return MakeSerialChannel(settings, ports.DevicePath(settings.comNumber));
    };
    auto tcp = [](const std::string &address, int port) { return MakeTcpChannel(address, std::to_string(port), false, 3000); };
    m_rotator = std::make_unique<Rotator>(host.Context().Config(), host.Notifier(), serial, tcp);
    m_rotator->OnStatus([this](const std::string &text) {
        if (m_control)
            m_control->ShowStatus(text);
        if (!text.empty() && text.front() == '!')
            QApplication::beep();
    });
    m_rotator->OnActiveChanged([this](bool) { m_host.QsoMenusChanged(); });
}

TStation::~TStation() = default;

int TStation::QsoBand() const
{
    QsoEntry *entry = m_host.Entry();
    return entry ? entry->Index(QsoList::Band) + 1 : 0;
}

void TStation::Turn(int heading) { m_rotator->Turn(heading, QsoBand()); }

void TStation::Halt() { m_rotator->Halt(); }

void TStation::TurnToBearing(bool longPath)
{
    QsoEntry *entry = m_host.Entry();
    int bearing = entry ? entry->Bearing().value_or(0) : 0;
    int azimuth = bearing + (longPath ? 180 : 0);
    if (m_control)
        m_control->SetHeading(azimuth);
    Turn(azimuth);
}

void TStation::RestartRotator()
{
    m_rotator->Shutdown();
    m_rotator->Start();
}

TRotateForm *TStation::OpenRotatorControl()
{
    if (!m_control) {
        m_control = new TRotateForm(*this, m_host.QsoWindow());
        m_host.Windows().ApplyWindowStyle(m_control);
    }
    m_control->show();
    m_control->raise();
    m_control->activateWindow();
    return m_control;
}

namespace {

/// The QSO window's keys while "Special Keys CW/RTTY" is on: F1 to F8 send the CW keyboard's
/// macros, Esc stops the keyer while it sends. True when the key was taken.
bool specialKey(WindowHost &host, TCwKeyer &keyer, const QKeyEvent &key)
{
    if (!host.SpecialKeys())
        return false;
    QsoEntry *entry = host.Entry();
    if (!entry || entry->Mode() != QsoWindowMode::AddRealTime) {
        host.SetSpecialKeys(false); // only real-time entry has them
        return false;
    }
    if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
        if (!keyer.Activity().Idle()) {
            keyer.Sender().Abort();
            return true;
        }
        host.SetSpecialKeys(false); // Esc leaves the add mode, and the special keys with it
        return false;
    }
    int number = TButtonFrame::KeyNumberOf(key.key(), key.modifiers());
    if (number < 1 || number > 8)
        return false;
    if (keyer.Keyboard())
        keyer.SendFunctionKey(number);
    else
        host.SetSpecialKeys(false); // no window to send the macro with
    return true;
}

void registerKeyer(WindowHost &host, TStation *station)
{
    TCwKeyer &keyer = station->Keyer();
    host.AddQsoMenuItem({"&Window", "CWKeyboard1", "CW Keyboard", QKeySequence(Qt::ALT | Qt::Key_K),
                         [&keyer] { keyer.OpenKeyboard(); }});
    host.AddQsoMenuItem({"&QSO", "SpecialKeys1", "Special Keys CW/RTTY", {},
                         [&host] { host.SetSpecialKeys(!host.SpecialKeys()); }, {},
                         [&host] { return host.Entry() && host.Entry()->Mode() == QsoWindowMode::AddRealTime; },
                         [&host] { return host.SpecialKeys(); }});
    host.SetQsoKeyHandler(station, [&host, &keyer](const QKeyEvent &key) { return specialKey(host, keyer, key); });
    // The keyboard reopens with the QSO window when it was open as the last one closed.
    host.Handle(HostMessage::QsoWindowOpened, station, [&host, &keyer] {
        if (host.Context().Config().WindowPos[WindowIndex::CW].Open)
            keyer.OpenKeyboard();
    });
    host.Handle(HostMessage::QsoWindowClosed, station, [&host, &keyer] {
        host.Context().Config().WindowPos[WindowIndex::CW].Open = keyer.Keyboard() != nullptr;
        if (TMorseKb *keyboard = keyer.Keyboard())
            keyboard->close();
        host.SetSpecialKeys(false);
    });
}

} // namespace

TStation *StationOf(WindowHost &host) { return host.findChild<TStation *>(QStringLiteral("Station"), Qt::FindDirectChildrenOnly); }

void RegisterStationWindows(WindowHost &host)
{
    auto *station = new TStation(host);
    Rotator &rotator = station->RotatorUnit();
    auto active = [&rotator] { return rotator.Active(); };
    const QString menu = QStringLiteral("Rotator");
    host.AddQsoMenuItem({menu, "ShortPath1", "Short Path", QKeySequence(Qt::Key_F11),
                         [station] { station->TurnToBearing(false); }, {}, active});
    host.AddQsoMenuItem({menu, "LongPath1", "Long Path", QKeySequence(Qt::CTRL | Qt::Key_F11),
                         [station] { station->TurnToBearing(true); }, {}, active});
    host.AddQsoMenuItem({menu, "StopRotator1", "Stop Rotator", QKeySequence(Qt::ALT | Qt::Key_F11),
                         [station] { station->Halt(); }, {}, active});
    host.AddQsoMenuItem({menu, "Parameters1", "Parameters", {}, [station] { station->OpenRotatorControl(); }});
    host.AddMenuItem({"&File", "CommunicationPorts1", "Communication Ports", {}, [&host] {
                          TPortsDialog dialog(host.Notifier(), host.MainWindow());
                          host.Windows().ApplyWindowStyle(&dialog);
                          dialog.exec();
                      }});
    // The rotator runs while a QSO window is open.
    host.Handle(HostMessage::QsoWindowOpened, station, [&rotator] { rotator.Start(); });
    host.Handle(HostMessage::QsoWindowClosed, station, [&rotator] { rotator.Shutdown(); });
    // New rotator settings from the setup: stopped before, started after, while a QSO window is open.
    host.HandleSetupAction(SetupAction::StopRotator, station, [&rotator] {
        rotator.Shutdown();
        return true;
    });
    host.HandleSetupAction(SetupAction::RestartRotator, station, [&rotator, &host] {
        if (host.QsoWindow())
            rotator.Start();
        return rotator.Active();
    });
    registerKeyer(host, station);
}

} // namespace vellum
