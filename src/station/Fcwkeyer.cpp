#include "Fcwkeyer.h"

#include "Fmorsedialog.h"
#include "Fmorsekb.h"
#include "Fsidetone.h"
#include "portmap.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "app/windowservices.h"
#include "config/configrecord.h"
#include "logstore/services.h"
#include "qso/qsoentry.h"

#include <cmath>

namespace vellum {

TCwKeyer::TCwKeyer(WindowHost &host)
    : QObject(&host), m_host(host), m_globalConfig(&host.Context().Config() == &Config()),
      m_publisher(host.Context().Config()), m_sidetone(std::make_unique<TSidetone>())
{
    setObjectName(QStringLiteral("CwKeyer"));
    PublishSettings();
    m_sender = std::make_unique<TMorseSender>([this] { return snapshot(); }, m_port, m_sidetone.get());
    ReevaluateInterface();
}

TCwKeyer::~TCwKeyer()
{
    m_sender.reset(); // the thread ends before the line and the sidetone go
    m_port.Replace(nullptr);
}

std::shared_ptr<const TConfigRecord> TCwKeyer::snapshot() const
{
    // The program's own record is published for every thread that reads it; a record of
    // its own (a test's) is published here.
    return m_globalConfig ? ConfigSnapshot() : m_publisher.Snapshot();
}

void TCwKeyer::PublishSettings()
{
    if (m_globalConfig)
        PublishConfigSnapshot();
    else
        m_publisher.Publish(m_host.Context().Config());
}

void TCwKeyer::ReevaluateInterface()
{
    PublishSettings();
    KeyerSettings settings = KeyerSettings::From(m_host.Context().Config());
    std::string device;
    if (!m_radioLines) {
        std::vector<std::string> problems;
        device = PortMap::Load(problems).DevicePath(settings.comPort);
    }
    m_port.Replace(nullptr); // a COM device held for its lines is closed before it is opened again
    std::string error;
    std::unique_ptr<KeyLine> line = OpenKeyLine(settings, m_radioLines, device, error);
    if (!error.empty())
        m_host.Notifier().warning(error);
    m_port.Replace(std::move(line));
}

void TCwKeyer::UseRadioLines(std::shared_ptr<ModemLines> lines)
{
    m_radioLines = std::move(lines);
    ReevaluateInterface();
}

void TCwKeyer::ReleaseComPort()
{
    m_port.Replace(nullptr);
}

void TCwKeyer::ChangeSpeed(int step)
{
    TConfigRecord &config = m_host.Context().Config();
    int speed = config.Speed, wpm = config.wpm;
    if (step > 0 ? (speed > 58 || wpm > 58) : (speed < 7 || wpm < 7))
        return;
    config.Speed = speed + step;
    config.wpm = wpm + step;
    PublishSettings();
}

int TCwKeyer::DisplayedWpm() const
{
    return static_cast<int>(std::lround(KeyerSettings::From(m_host.Context().Config()).Timing().DisplayedWpm()));
}

MacroEnvironment TCwKeyer::Environment() const
{
    QsoEntry *entry = m_host.Entry();
    return CurrentMacroEnvironment(m_host.Context().Config(), entry ? entry->MacroFields() : QsoMacroFields{});
}

void TCwKeyer::SendFunctionKey(int key)
{
    MacroExpansion expansion = MacroExpand(key, m_host.Context().Config().CWKEYS, Environment(), m_host.Notifier());
    m_sender->Queue(KeyerUpperCase(expansion.text) + " ");
    if (expansion.enterQso)
        EnterQso();
}

void TCwKeyer::EnterQso()
{
    QsoEntry *entry = m_host.Entry();
    if (entry && entry->Mode() == QsoWindowMode::AddRealTime)
        entry->AddQso();
}

TMorseKb *TCwKeyer::Keyboard() const { return m_keyboard.data(); }

TMorseKb *TCwKeyer::OpenKeyboard()
{
    if (!m_keyboard) {
        m_keyboard = new TMorseKb(*this, m_host.MainWindow());
        m_host.Windows().ApplyWindowStyle(m_keyboard);
        m_host.Windows().RestoreWindowPos(m_keyboard, WindowIndex::CW);
    }
    m_keyboard->show();
    m_keyboard->raise();
    m_keyboard->activateWindow();
    return m_keyboard;
}

void TCwKeyer::OpenSettings(QWidget *parent)
{
    m_sender->Abort();
    TMorseDialog dialog(*this, parent);
    m_host.Windows().ApplyWindowStyle(&dialog);
    dialog.exec();
}


} // namespace vellum
