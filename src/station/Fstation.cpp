#include "Fstation.h"

#include "Fmorsekb.h"
#include "Fbuttonframe.h"
#include "Fports.h"
#include "Fradiodb.h"
#include "Fscanner.h"
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
#include <QMetaObject>

#include <cmath>

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
    m_ports = {serial, tcp};
    m_rotator = std::make_unique<Rotator>(host.Context().Config(), host.Notifier(), serial, tcp);
    m_rotator->OnStatus([this](const std::string &text) {
        if (m_control)
            m_control->ShowStatus(text);
        if (!text.empty() && text.front() == '!')
            QApplication::beep();
    });
    m_rotator->OnActiveChanged([this](bool) { m_host.QsoMenusChanged(); });
    setUpRadio();
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

// --- the radio -------------------------------------------------------------------------------

bool TStation::keysOnRadioPort() const
{
    std::uint8_t port = m_host.Context().Config().hardware_cwport;
    return port == 5 || port == 6; // DTR or RTS of the radio's port
}

void TStation::setUpRadio()
{
    RadioPorts ports = m_ports;
    // The keyer may hold the radio's device for its lines: it lets go before the radio opens it.
    ports.serial = [this, serial = m_ports.serial](const SerialSettings &settings) {
        if (keysOnRadioPort())
            m_keyer->ReleaseComPort();
        std::unique_ptr<ByteChannel> channel = serial(settings);
        m_radioPort = dynamic_cast<TSerialChannel *>(channel.get());
        return channel;
    };
    m_radio = std::make_unique<RadioControl>(m_host.Context().Config(), m_host.Notifier(), ports);
    m_radio->OnStopping([this] {
        if (keysOnRadioPort())
            m_keyer->UseRadioLines(nullptr);
    });
    m_pollTimer = new QTimer(this);
    m_pollTimer->setSingleShot(true);
    connect(m_pollTimer, &QTimer::timeout, this, [this] { m_radio->PollTriggerFired(); });
    m_radio->SetPollTimer([this](int ms) { m_pollTimer->start(ms); }, [this] { m_pollTimer->stop(); });
    m_radio->AddReceiver([this] { return qsoFollowsRadio(); },
                         [this](int mode, double kHz) {
                             if (QsoEntry *entry = m_host.Entry())
                                 entry->RadioReport(mode, std::llround(kHz));
                         });
    // The engine's notice runs after the current event, as the main window's message would.
    m_radio->OnValuesPosted([this] { QMetaObject::invokeMethod(this, [this] { m_radio->ValuesChanged(); }, Qt::QueuedConnection); });
    m_radio->OnValuesShown([this] {
        if (m_frequencyWindow)
            m_frequencyWindow->ShowValues();
    });
    m_radio->OnRunningChanged([this](bool running) { radioRunningChanged(running); });
    m_host.Context().Station().frequencyText = [this] { return m_radio->FrequencyText(); };
}

bool TStation::qsoFollowsRadio() const
{
    QsoEntry *entry = m_host.Entry();
    return entry && entry->Mode() == QsoWindowMode::AddRealTime;
}

void TStation::radioRunningChanged(bool running)
{
    TConfigRecord &config = m_host.Context().Config();
    m_host.Context().Station().radioConnected = running;
    // The keyer keys through the running radio's own port.
    if (running && keysOnRadioPort() && m_radioPort && m_radioPort->NativeHandle() >= 0)
        m_keyer->UseRadioLines(std::make_shared<DeviceModemLines>(m_radioPort->NativeHandle()));
    if (!running) {
        config.ReopenFreqWindow = m_frequencyWindow != nullptr && m_frequencyWindow->isVisible();
        if (m_frequencyWindow)
            m_frequencyWindow->close();
        delete m_frequencyWindow;
    } else if (config.ReopenFreqWindow && !m_frequencyWindow) {
        OpenFrequencyWindow();
    }
    m_host.QsoMenusChanged();
    if (QsoEntry *entry = m_host.Entry())
        entry->RadioStateChanged();
}

void TStation::StartStopRadio()
{
    if (m_radio->Running()) {
        m_radio->Stop();
        return;
    }
    if (m_radio->Start() && qsoFollowsRadio())
        m_pollTimer->start(m_host.Context().Config().Hardware_RadioPollRate);
}

TSetRadioFrequency *TStation::OpenFrequencyWindow()
{
    if (!m_radio->Running())
        return nullptr;
    if (!m_frequencyWindow) {
        m_frequencyWindow = new TSetRadioFrequency(*this, m_host.MainWindow());
        m_frequencyWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_host.Windows().ApplyWindowStyle(m_frequencyWindow);
    }
    m_frequencyWindow->show();
    m_frequencyWindow->raise();
    m_frequencyWindow->activateWindow();
    return m_frequencyWindow;
}

void TStation::OpenScanner()
{
    if (!m_radio->Running())
        return;
    TScanner scanner(*this, m_host.MainWindow());
    m_host.Windows().ApplyWindowStyle(&scanner);
    scanner.exec();
}

void TStation::OpenPanorama()
{
    if (!m_radio->Link() || !m_radio->Link()->CanReadSMeter())
        return;
    TPanorama panorama(*this, m_host.MainWindow());
    m_host.Windows().ApplyWindowStyle(&panorama);
    panorama.exec();
}

void TStation::OpenRadioDatabase()
{
    bool wasRunning = m_radio->Running();
    m_radio->Stop();
    TRadioDB editor(*this, m_host.MainWindow());
    m_host.Windows().ApplyWindowStyle(&editor);
    if (editor.exec() != QDialog::Accepted && wasRunning)
        StartStopRadio();
    m_host.QsoMenusChanged();
}

void TStation::ToggleIgnoreMode()
{
    bool &ignore = m_host.Context().Station().ignoreRadioMode;
    ignore = !ignore;
    m_host.QsoMenusChanged();
    if (QsoEntry *entry = m_host.Entry())
        entry->RadioStateChanged();
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

namespace {

void registerRadioMenu(WindowHost &host, TStation &station)
{
    const QString menu = QStringLiteral("R&adio");
    RadioControl &radio = station.Radio();
    auto running = [&radio] { return radio.Running(); };
    TConfigRecord &config = host.Context().Config();
    host.AddMenuItem({menu, "Panorama1", "&Panorama", {}, [&station] { station.OpenPanorama(); }, {},
                      [&radio] { return radio.Link() && radio.Link()->CanReadSMeter(); }});
    host.AddMenuItem({menu, "Scanner1", "&Scanner", {}, [&station] { station.OpenScanner(); }, {}, running});
    host.AddMenuItem({menu, "SetFrequency1", "Set &Frequency", QKeySequence(Qt::SHIFT | Qt::Key_F12),
                      [&station] { station.OpenFrequencyWindow(); }, {}, running});
    host.AddMenuItem({menu, "StartRadio1", "Start Radio", {}, [&station] { station.StartStopRadio(); }, {},
                      [&config] { return !config.Hardware_RadioType.view().empty(); }, nullptr,
                      [&radio] { return radio.Running() ? QStringLiteral("Stop Radio") : QStringLiteral("Start Radio"); }});
    host.AddMenuItem({menu, "IgnoreMode1", "Ignore Mode in real-time", {}, [&station] { station.ToggleIgnoreMode(); }, {},
                      running, [&host] { return host.Context().Station().ignoreRadioMode; }});
    host.AddMenuItem({"&File", "Radios1", "R&adios", {}, [&station] { station.OpenRadioDatabase(); }});
    // The polls of the radio run at idle moments.
    host.AddIdleHook(&station, [&radio] { radio.Idle(); });
    // The configured radio starts with the program.
    QTimer::singleShot(0, &station, [&radio] { radio.Start(); });
    // New radio settings from the setup: stopped before, started after.
    host.HandleSetupAction(SetupAction::StopRadio, &station, [&radio] {
        radio.Stop();
        return true;
    });
    host.HandleSetupAction(SetupAction::StartRadio, &station, [&station] {
        station.StartStopRadio();
        return station.Radio().Running();
    });
    host.HandleSetupAction(SetupAction::RadioRunning, &station, [&radio] { return radio.Running(); });
}

} // namespace

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
    registerRadioMenu(host, *station);
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
    // Polls of the radio wait while the keyer has text to send.
    station->SetCwBusy([&keyer = station->Keyer()] { return !keyer.Activity().Idle(); });
}

} // namespace vellum
