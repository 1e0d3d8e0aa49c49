#pragma once
// The cluster terminals of the run: the packet terminal and the second one,
// opened as the configuration says, the spot list's entry point for every
// complete received line, "Announce DX", and their registration with the window host.

#include "terminalsettings.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>

namespace vellum {

struct TConfigRecord;
class TPacketW;
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

    /// The spot list's entry point: every complete received line of a terminal that
    /// checks for spots. Until a spot list registers, the lines go nowhere.
    void SetSpotReceiver(std::function<void(const std::string &)> receiver) { m_spotReceiver = std::move(receiver); }
    void SpotLine(const std::string &line);
    /// Page mode holds the spot list's display while a page is read.
    void SetSpotDisplayHandler(std::function<void(bool suspended)> handler) { m_spotDisplay = std::move(handler); }
    void SuspendSpotDisplay(bool suspended);

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

    WindowHost &m_host;
    QPointer<TPacketW> m_terminals[2];
    std::function<void(const std::string &)> m_spotReceiver;
    std::function<void(bool)> m_spotDisplay;
};

/// The cluster terminals of a window host (null before RegisterClusterWindows).
TClusterStation *ClusterOf(WindowHost &host);
/// Makes the cluster terminals' owner, registers their menu items, opens them once the program runs.
void RegisterClusterWindows(WindowHost &host);

} // namespace vellum
