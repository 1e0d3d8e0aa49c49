#include "Fstation.h"

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

namespace vellum {

// --- the station parts -----------------------------------------------------------------

TStation::TStation(WindowHost &host) : QObject(&host), m_host(host)
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
}

} // namespace vellum
