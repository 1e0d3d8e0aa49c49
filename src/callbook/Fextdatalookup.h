#pragma once
// "Callsign / Mgr lookup": a companion of the QSO window showing what the chosen
// callbook source, the QSL manager program and the online callbook know of a call.

#include "callbooklookup.h"
#include "Fonlinecallbook.h"

#include "app/qsowindow.h"

#include <QWidget>

#include <functional>

class QLineEdit;
class QListWidget;
class QAction;

namespace vellum {

class QsoEntry;
class WindowHost;

/// What lives as long as the program: the loaded source library and the online
/// client with its session and cache.
class CallbookState : public QObject {
    Q_OBJECT
public:
    explicit CallbookState(QObject *parent);
    CallbookLookup &Sources() { return m_sources; }
    OnlineCallbookClient &Online() { return *m_online; }
    /// The online settings file was changed: read it again.
    void ReloadOnlineSettings();
    /// The time limit of the QSL manager program.
    int QslProgramTimeoutMs = 20000;

private:
    CallbookLookup m_sources;
    OnlineCallbookClient *m_online;
};

class TExtDataLookup : public QWidget, public CompanionWindow {
    Q_OBJECT
public:
    TExtDataLookup(QsoEntry &entry, WindowHost &host, CallbookState &state);
    ~TExtDataLookup() override;

    /// Looks text up as a call, or as a QSL manager.
    void Lookup(const QString &text, bool manager);
    /// "Lookup Callsign" (Enter): the manager when its field has the focus, else the call.
    void LookupTyped();
    void SetQslManager();
    void CopyToClipboard();
    void CopyToManagerAddress();
    void SetFullSize(bool on);
    void SetAutomaticUpdate(bool on);
    /// Follows the QSO window's call when "Automatic Update" is on.
    void RefreshCompanion() override;
    bool Busy() const { return m_busy; }
    QStringList Lines() const;
    QListWidget *List() const { return m_list; }
    QLineEdit *CallField() const { return m_call; }
    QLineEdit *ManagerField() const { return m_manager; }
    QAction *Action(const char *name) const;

signals:
    /// A lookup ended (all its lines are shown).
    void lookupFinished();

private:
    void makePopupMenu();
    void add(const CallbookLines &lines);
    /// The lines of the chosen source for call; then continues (at once, or when the online answer came).
    void sourceLines(const std::string &call, std::function<void()> then);
    void afterCallLines(const std::string &call);
    void finished();
    void updateEnabling();
    int source() const;

    QsoEntry &m_entry;
    WindowHost &m_host;
    CallbookState &m_state;
    QWidget *m_panel;
    QLineEdit *m_call;
    QLineEdit *m_manager;
    QListWidget *m_list;
    bool m_busy = false;
};

/// Registers the lookup window, the QSO window's "Search External Data" (F3) and the
/// setup's check of the chosen source.
void RegisterCallbookWindows(WindowHost &host);

} // namespace vellum
