#include "Fcluster.h"

#include "Fputout.h"
#include "Fspotsound.h"
#include "Fterminal.h"
#include "Fterminaldialogs.h"
#include "spotannounce.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "app/windowservices.h"
#include "config/configrecord.h"
#include "logstore/services.h"
#include "logstore/trim.h"
#include "logstore/paths.h"
#include "logstore/qsotables.h"
#include "qso/qsoentry.h"
#include "station/Fcwkeyer.h"
#include "station/Fstation.h"
#include "station/morsesender.h"
#include "station/radiocontrol.h"

#include <QTimer>

namespace vellum {

TClusterStation::TClusterStation(WindowHost &host) : QObject(&host), m_host(host)
{
    setObjectName(QStringLiteral("Cluster"));
    // Rescaling gives every control the program's fonts: the terminals take a fixed pitch again.
    host.Handle(HostMessage::WindowsRescaled, this, [this] {
        for (QPointer<TPacketW> &terminal : m_terminals)
            if (terminal)
                terminal->KeepFixedPitch();
    });
}

TClusterStation::~TClusterStation()
{
    for (QPointer<TPacketW> &terminal : m_terminals)
        delete terminal.data();
    delete m_spotList.data();
}

TConfigRecord &TClusterStation::Config() const { return m_host.Context().Config(); }
UserNotifier &TClusterStation::Notifier() const { return m_host.Notifier(); }
bool TClusterStation::FakeMode() const { return m_host.Context().Station().fakeMode; }

void TClusterStation::SpotLine(const std::string &line)
{
    if (m_spotList)
        m_spotList->Receive(line);
    if (m_spotReceiver)
        m_spotReceiver(line);
}

void TClusterStation::SuspendSpotDisplay(bool suspended)
{
    if (m_spotList)
        m_spotList->HoldDisplay(suspended);
}

TPutoutW *TClusterStation::SpotList() const { return m_spotList; }

Tsndthread &TClusterStation::Announcer()
{
    if (!m_announcer) {
        TConfigRecord &config = Config();
        m_announcer = std::make_unique<Tsndthread>(std::make_unique<QtSoundPlayer>(), [&config](const TSpotRecord &spot) {
            auto voice = static_cast<SpotVoice>(config.Packet_DXVoice.get());
            return AnnouncementSounds(spot, voice, OnSpotAlertList(config, spot.Call.view()), SoundsDir());
        });
        m_announcer->SetSoundCardBusy([this] { return m_soundCardOwned.load(); });
    }
    return *m_announcer;
}

void TClusterStation::updateSpotList()
{
    bool feeds = false;
    for (const QPointer<TPacketW> &terminal : m_terminals)
        feeds = feeds || (terminal && terminal->Settings().checkSpots);
    if (feeds && !m_spotList) {
        m_spotList = new TPutoutW(*this);
        m_host.Windows().ApplyWindowStyle(m_spotList);
        m_spotList->show();
        followRadio();
    } else if (!feeds && m_spotList) {
        delete m_spotList.data();
    }
}

void TClusterStation::followRadio()
{
    TStation *station = StationOf(m_host);
    if (m_followsRadio || !station)
        return;
    m_followsRadio = true;
    station->Radio().AddReceiver([this] { return m_spotList && m_spotList->FollowsRadio(); },
                                 [this](int, double kHz) {
                                     if (m_spotList)
                                         m_spotList->RadioFrequency(kHz);
                                 });
}

TPacketW *TClusterStation::Terminal(TerminalKind kind) const { return m_terminals[kind == TerminalKind::Packet ? 0 : 1]; }

void TClusterStation::OpenTerminals()
{
    for (TerminalKind kind : {TerminalKind::Packet, TerminalKind::Rtty})
        ReopenTerminal(kind);
}

void TClusterStation::openTerminal(TerminalKind kind)
{
    auto *terminal = new TPacketW(kind, *this);
    if (!terminal->Open()) {
        delete terminal;
        return;
    }
    terminal->SetFakeMode(FakeMode() && kind == TerminalKind::Packet);
    m_host.Windows().ApplyWindowStyle(terminal);
    terminal->KeepFixedPitch();
    terminal->show();
    m_terminals[kind == TerminalKind::Packet ? 0 : 1] = terminal;
}

bool TClusterStation::ReopenTerminal(TerminalKind kind)
{
    CloseTerminal(kind);
    if (ReadTerminalSettings(Config(), kind).Enabled())
        openTerminal(kind);
    updateSpotList();
    m_host.QsoMenusChanged();
    return Terminal(kind) != nullptr;
}

void TClusterStation::CloseTerminal(TerminalKind kind)
{
    QPointer<TPacketW> &terminal = m_terminals[kind == TerminalKind::Packet ? 0 : 1];
    delete terminal.data();
    terminal = nullptr;
    updateSpotList();
}

bool TClusterStation::CanAnnounce() const
{
    if (Terminal(TerminalKind::Packet))
        return true;
    TPacketW *second = Terminal(TerminalKind::Rtty);
    return second && second->Settings().Tcp() && second->Settings().checkSpots;
}

bool TClusterStation::AnnounceDx()
{
    std::vector<TPacketW *> targets;
    for (TPacketW *terminal : {Terminal(TerminalKind::Packet), Terminal(TerminalKind::Rtty)}) {
        if (!terminal || terminal->Page())
            continue; // a terminal reading a web page takes no announcements
        bool second = terminal->Kind() == TerminalKind::Rtty;
        if (second && (!terminal->Settings().checkSpots || (targets.size() > 0 && !Config().RTTY_CheckOtherW)))
            continue;
        targets.push_back(terminal);
    }
    if (targets.empty())
        return false;
    Announcement start;
    if (QsoEntry *entry = m_host.Entry())
        start.call = Trim(entry->Text(QsoField::Call));
    TAnnounceDialog dialog(start, targets.front());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    std::string text = dialog.Result().Text();
    for (TPacketW *terminal : targets) {
        if (FakeMode())
            SpotLine(text); // fake mode: the announcement is a spot as if received
        else
            terminal->TypeText(QString::fromLatin1(text.c_str()) + QChar('\r'));
    }
    return true;
}

TClusterStation *ClusterOf(WindowHost &host)
{
    return host.findChild<TClusterStation *>(QStringLiteral("Cluster"), Qt::FindDirectChildrenOnly);
}

namespace {

/// What the spot list hears from the rest of the program: idle time, changes of
/// the log and the settings, the periodic backup, the "/S" file and the setup's steps.
void registerSpotListHooks(WindowHost &host, TClusterStation *cluster)
{
    host.AddIdleHook(cluster, [cluster] {
        TPutoutW *list = cluster->SpotList();
        TStation *station = StationOf(cluster->Host());
        if (list && (!station || station->Keyer().Activity().Idle()))
            list->ProcessQueue();
    });
    auto rerank = [cluster] {
        if (TPutoutW *list = cluster->SpotList())
            list->RequestRerank();
    };
    for (HostMessage message : {HostMessage::LogChanged, HostMessage::QsoWindowOpened, HostMessage::QsoWindowClosed})
        host.Handle(message, cluster, rerank);
    host.Handle(HostMessage::SettingsChanged, cluster, [cluster] {
        if (TPutoutW *list = cluster->SpotList())
            list->SettingsChanged();
    });
    host.Handle(HostMessage::PeriodicBackup, cluster, [cluster] {
        if (TPutoutW *list = cluster->SpotList(); list && cluster->Config().DefQSO_BackupDX)
            list->SaveSpotFile();
    });
    host.SetSpotFileReader(cluster, [cluster](const std::string &file) {
        if (TPutoutW *list = cluster->SpotList())
            list->FeedFile(file);
    });
    host.HandleSetupAction(SetupAction::RefreshSpotList, cluster, [cluster] {
        if (TPutoutW *list = cluster->SpotList())
            list->Rerank();
        return true;
    });
    host.HandleSetupAction(SetupAction::TestSound, cluster, [&host] { return RunSoundTest(host); });
}

} // namespace

void RegisterClusterWindows(WindowHost &host)
{
    auto *cluster = new TClusterStation(host);
    host.AddQsoMenuItem({"&QSO", "AnnounceDX1", "&Announce DX", QKeySequence(Qt::ALT | Qt::Key_A),
                         [cluster] { cluster->AnnounceDx(); }, {}, [cluster] { return cluster->CanAnnounce(); }});
    host.AddQsoMenuItem({"&Window", "Switchtopacket1", "Switch to packet", QKeySequence(Qt::ALT | Qt::Key_P),
                         [cluster] {
                             if (TPacketW *packet = cluster->Terminal(TerminalKind::Packet)) {
                                 packet->show();
                                 packet->raise();
                                 packet->activateWindow();
                                 packet->Typing()->setFocus();
                             }
                         },
                         {}, [cluster] { return cluster->Terminal(TerminalKind::Packet) != nullptr; }});
    auto close = [cluster](TerminalKind kind) {
        return [cluster, kind] {
            cluster->CloseTerminal(kind);
            return true;
        };
    };
    auto reopen = [cluster](TerminalKind kind) { return [cluster, kind] { return cluster->ReopenTerminal(kind); }; };
    host.HandleSetupAction(SetupAction::ClosePacketTerminal, cluster, close(TerminalKind::Packet));
    host.HandleSetupAction(SetupAction::ReopenPacketTerminal, cluster, reopen(TerminalKind::Packet));
    host.HandleSetupAction(SetupAction::CloseSecondTerminal, cluster, close(TerminalKind::Rtty));
    host.HandleSetupAction(SetupAction::ReopenSecondTerminal, cluster, reopen(TerminalKind::Rtty));
    registerSpotListHooks(host, cluster);
    // The terminals open once the program runs.
    QTimer::singleShot(0, cluster, [cluster] { cluster->OpenTerminals(); });
}

} // namespace vellum
