#pragma once
// The cluster terminals of the run: the packet terminal and the second one,
// opened as the configuration says, the spot list's entry point for every
// complete received line, "Announce DX", and their registration with the window host.

#include "terminalsettings.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace vellum {

struct TConfigRecord;
class TPacketW;
class TPutoutW;
class Tsndthread;
class UserNotifier;
class WindowHost;

class TClusterStation : public QObject {
    Q_OBJECT
public:
    explicit TClusterStation(WindowHost &host);
    ~TClusterStation() override;

    WindowHost &Host() const { return m_host; }
    TConfigRecord &Config() const;
    UserNotifier &Notifier() const;

    /// Every complete received line of a terminal that checks for spots goes to the
    /// spot list, and to the one extra receiver set here (tools, tests).
    void SpotLine(const std::string &line);
    void SetSpotReceiver(std::function<void(const std::string &)> receiver) { m_spotReceiver = std::move(receiver); }
    /// Page mode holds the spot list's display while a page is read.
    void SuspendSpotDisplay(bool suspended);
    /// The spot list: it exists while a terminal that feeds it is open.
    TPutoutW *SpotList() const;
    /// The sound thread of spoken announcements (started when first needed).
    Tsndthread &Announcer();
    /// The PSK31 terminal holds the sound card: spoken announcements are dropped meanwhile.
    void SetSoundCardOwned(bool owned) { m_soundCardOwned = owned; }
    bool SoundCardOwned() const { return m_soundCardOwned; }

    /// Opens the terminals whose type is above 1 and closes those set to "None"
    /// (at program start and when the setup changed them).
    void OpenTerminals();
    TPacketW *Terminal(TerminalKind kind) const;
    /// The setup's steps for one terminal: closed before its new settings, opened after when enabled.
    void CloseTerminal(TerminalKind kind);
    bool ReopenTerminal(TerminalKind kind);
    /// "Announce DX" to the terminals that take announcements; false when none does.
    bool AnnounceDx();
    bool CanAnnounce() const;
    bool FakeMode() const;

private:
    void openTerminal(TerminalKind kind);
    /// Makes or removes the spot list as the open terminals need it.
    void updateSpotList();
    void followRadio();

    WindowHost &m_host;
    QPointer<TPacketW> m_terminals[2];
    QPointer<TPutoutW> m_spotList;
    std::function<void(const std::string &)> m_spotReceiver;
    std::unique_ptr<Tsndthread> m_announcer;
    std::atomic<bool> m_soundCardOwned{false};
    bool m_followsRadio = false;
};

/// The cluster terminals of a window host (null before RegisterClusterWindows).
TClusterStation *ClusterOf(WindowHost &host);
/// Makes the cluster terminals' owner, registers their menu items, opens them once the program runs.
void RegisterClusterWindows(WindowHost &host);

} // namespace vellum
