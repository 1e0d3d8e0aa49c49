#pragma once
// The window host: the registry of companion and tool windows, typed messages
// handled after the current event, and the menu items, idle hooks and status
// panels that subsystems register. Every subsystem's windows meet the program
// here; none of them includes the main window.

#include "qsowindow.h"

#include <QEvent>
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QAbstractItemView;
class QKeyEvent;
class QLabel;
class QScrollBar;

namespace vellum {

class ProgramContext;
class QsoEntry;
class TQsoData;
class UserNotifier;
class WindowServices;

/// The companion and tool windows. The numbers are fixed: the configuration
/// stores whether each was open through them (CompanionPosition).
enum class CompanionId : int {
    Country = 0, Zone = 1, State = 2, Iota = 3, SameCall = 4, Logbook = 5, External = 6, Sun = 7, Grid = 8,
    MasterCalls = 9, World = 10, Wpx = 11, Psk31 = 12, County = 13,
};
inline constexpr int CompanionCount = 14;

/// The WindowPos record of the configuration a companion window keeps its place in.
int CompanionPosition(CompanionId id);

/// Messages handled after the current event. A message already waiting is not
/// queued again: one delivery serves the whole run of requests.
enum class HostMessage {
    QsoWindowOpened,  ///< a log's QSO window was made
    QsoWindowClosed,  ///< the QSO window went with its log
    WindowsRescaled,  ///< the screen or the scale changed: the summary panels lay out again
    QsoEntryChanged,  ///< call, prefix, band or mode changed: the custom award list follows
    CloseLogRequested, ///< the QSO window was closed by the user: the log closes
    SettingsChanged,  ///< the setup dialog saved new settings: menus, caption and windows follow them
    LogChanged,       ///< the open log or its award standing changed (the spot list ranks again)
    PeriodicBackup,   ///< the main window's periodic backup ran (the spot list saves with it)
    BackupDue,        ///< saved data other than the log changed: the backup countdown starts
    CalendarCheck,    ///< first idle step with "Check Calendar at startup" on: the events calendar looks at today
};

/// Steps of saving new settings that belong to the subsystems owning hardware or
/// outside data. A subsystem registers a handler for the steps it owns; a step
/// nobody handles does nothing. Handlers read the live configuration.
enum class SetupAction {
    StopRadio,            ///< before the radio's new settings are in force
    StartRadio,           ///< after: start it with them
    RadioRunning,         ///< answer: a radio is running
    ClosePacketTerminal,  ///< before the packet terminal's new settings are in force
    ReopenPacketTerminal, ///< after: open it again with them
    CloseSecondTerminal,
    ReopenSecondTerminal,
    ReconfigureCwKeyer,   ///< the CW port or the key display changed
    RefreshSpotList,      ///< gray spots are now ignored
    StopRotator,          ///< before the rotator's new settings are in force
    RestartRotator,       ///< after: start it with them
    TestSound,            ///< answer: a sound played and the user heard it
    CheckAddressSource,   ///< answer: the library of the chosen address data source is there
};

class WindowHost : public QObject {
    Q_OBJECT
public:
    WindowHost(ProgramContext &context, WindowServices &windows, QWidget *mainWindow);
    ~WindowHost() override;

    ProgramContext &Context() const { return m_context; }
    WindowServices &Windows() const { return m_windows; }
    UserNotifier &Notifier() const;
    QWidget *MainWindow() const { return m_mainWindow; }

    // --- the QSO window ---
    using QsoWindowMaker = std::function<TQsoWindowBase *(TQsoData &log, WindowHost &host)>;
    /// What shows a log; without a maker the log is shown read-only.
    void SetQsoWindowMaker(QsoWindowMaker maker) { m_qsoWindowMaker = std::move(maker); }
    /// Makes the QSO window of a log, opens the companions that were open when the last one
    /// closed and posts QsoWindowOpened.
    TQsoWindowBase *OpenQsoWindow(TQsoData &log);
    /// Closes the companions (remembering which were open) and the QSO window.
    void CloseQsoWindow();
    TQsoWindowBase *QsoWindow() const { return m_qsoWindow.data(); }
    /// The entry core of the QSO window; null without one.
    QsoEntry *Entry() const;
    /// Raises the QSO window and gives it the focus (the F9 key anywhere in the program).
    void FocusQsoWindow();

    // --- companion windows ---
    using CompanionMaker = std::function<QWidget *(WindowHost &host)>;
    void RegisterCompanion(CompanionId id, CompanionMaker maker);
    /// Shows the open companion again, or makes it; false when nothing could be made.
    bool OpenCompanion(CompanionId id);
    QWidget *Companion(CompanionId id) const;
    /// Puts a new companion window at its saved place with the program's fonts and scale.
    void PlaceCompanion(CompanionId id, QWidget *window);
    /// A companion window closes: its place is stored and its entry emptied.
    void CompanionClosed(CompanionId id, QWidget *window);
    void RequestRefresh(CompanionId id);
    void RequestRefreshAll();
    void RequestHighlightAll();
    /// Direction and distance changed: the QSO window shows it and the map windows follow.
    void SetLocationChanged() { m_locationChanged = true; }

    // --- messages ---
    /// Handlers of a message run in the order registered; a handler with a receiver
    /// goes when the receiver is destroyed.
    void Handle(HostMessage message, QObject *receiver, std::function<void()> handler);
    void Post(HostMessage message);
    /// The handler of a setup step (one per step: a later one replaces it); it goes with its receiver.
    void HandleSetupAction(SetupAction action, QObject *receiver, std::function<bool()> handler);
    /// Runs the step's handler: its answer, or nothing when no subsystem handles the step.
    std::optional<bool> RunSetupAction(SetupAction action);
    /// Makes row the active row of the table after the current event.
    void PostSetTableRow(int row, QAbstractItemView *table);
    /// The requester gets a DeferReplyEvent (carrying the code) after the events already
    /// queued; a run of identical requests gets one answer.
    void PostDeferRequest(int code, QObject *requester);
    static const QEvent::Type DeferReplyEvent;

    // --- menus, idle work, status panels ---
    struct MenuItem {
        QString menu;       ///< the main window's menu, e.g. "&File"
        QString name;       ///< the action's object name
        QString caption;
        QKeySequence key;
        std::function<void()> action;
        QString after = {}; ///< the object name of the item it follows; empty: with the other registered items
        /// When the item is enabled (null: always); asked again on QsoMenusChanged.
        std::function<bool()> enabled = nullptr;
        /// A check item: whether it is checked (null: no check item); asked with enabled.
        std::function<bool()> checked = nullptr;
        /// A caption that changes ("Start Radio" / "Stop Radio"); null: the caption above.
        std::function<QString()> currentCaption = nullptr;
    };
    /// An item of the main window's menus ("&File", "R&adio"); the main window adds it at
    /// once if its menus exist. Its enabling, caption and check mark are asked again on
    /// QsoMenusChanged; a menu whose items are all disabled is disabled; an item with a
    /// key works from every window of the program.
    void AddMenuItem(MenuItem item);
    const std::vector<MenuItem> &MenuItems() const { return m_menuItems; }
    /// An item of the QSO window's menus ("&QSO", "Sort", "F&ilter", "&Labels", "&Window",
    /// "&Reports", "Rotator"), or of a submenu of one ("&Reports/DXCC"): QSO windows made from now on show it. The QSO window keeps
    /// the documented order of its items; a name it does not know goes to the end of its menu.
    void AddQsoMenuItem(MenuItem item) { m_qsoMenuItems.push_back(std::move(item)); }
    const std::vector<MenuItem> &QsoMenuItems() const { return m_qsoMenuItems; }
    /// What decides the enabling of registered QSO window items changed: the QSO window asks again.
    void QsoMenusChanged() { emit qsoMenusChanged(); }
    void AddIdleHook(QObject *receiver, std::function<void()> hook);
    /// A log is being read: windows that look things up in it wait.
    void SetLogReading(bool reading) { m_logReading = reading; }
    bool LogReading() const { return m_logReading; }
    /// The file of spot lines named on the command line ("/S"): read by the spot
    /// list when there is one; false when nobody takes it.
    void SetSpotFileReader(QObject *receiver, std::function<void(const std::string &)> reader);
    bool FeedSpotFile(const std::string &fileName);
    /// A key pressed in the QSO window is offered to this handler before the window's own
    /// handling; true when it took the key. The handler goes with its receiver.
    void SetQsoKeyHandler(QObject *receiver, std::function<bool(const QKeyEvent &)> handler);
    bool QsoKeyPressed(const QKeyEvent &key);
    /// "Special Keys CW/RTTY": F1 to F8 of the QSO window send macros, and the QSO window
    /// moves its own F2, F3, F5 and F8 items to Shift (Search Using Old Filter to Ctrl+F8).
    bool SpecialKeys() const { return m_specialKeys; }
    void SetSpecialKeys(bool on);
    /// The idle work: the requested companion refreshes and highlights, then the hooks.
    void RunIdle();
    void SetStatusPanel(const QString &name, QLabel *panel);
    QLabel *StatusPanel(const QString &name) const;
    void SetScrollBar(QScrollBar *bar) { m_scrollBar = bar; }
    /// The scroll bar the QSO window browses with.
    QScrollBar *ScrollBar() const { return m_scrollBar; }
    /// The contest sequence number in the M_Nr panel; 0 hides it.
    void ShowContestNumber(int number);

    // --- the main window's one-second clock ---
    /// The main window's clock update (its time panel, the QSO window, then clockTicked).
    void SetClockUpdate(std::function<void()> update) { m_clockUpdate = std::move(update); }
    /// Runs the clock update now rather than at the next tick.
    void RunClockUpdate();
    /// Called by the clock update: windows that follow the clock hear the UTC day and time.
    void ClockTicked(std::uint16_t day, std::int32_t seconds) { emit clockTicked(day, seconds); }

signals:
    void menuItemAdded(const MenuItem &item);
    void qsoMenusChanged();
    /// The clock ticked (every second): UTC day number and seconds of the day.
    void clockTicked(std::uint16_t day, std::int32_t seconds);

protected:
    void customEvent(QEvent *event) override;

private:
    struct CompanionSlot {
        QPointer<QWidget> window;
        CompanionMaker maker;
        bool refreshRequest = false;
        bool highlightRequest = false;
    };
    struct Handler {
        QPointer<QObject> receiver;
        bool hasReceiver = false;
        std::function<void()> run;
    };
    CompanionSlot &entry(CompanionId id) { return m_companions[static_cast<std::size_t>(id)]; }
    const CompanionSlot &entry(CompanionId id) const { return m_companions[static_cast<std::size_t>(id)]; }
    void closeCompanions();
    void reopenCompanions();
    void deliver(HostMessage message);
    static std::vector<Handler> live(std::vector<Handler> handlers);

    ProgramContext &m_context;
    WindowServices &m_windows;
    QWidget *m_mainWindow;
    QsoWindowMaker m_qsoWindowMaker;
    QPointer<TQsoWindowBase> m_qsoWindow;
    std::array<CompanionSlot, CompanionCount> m_companions;
    bool m_locationChanged = false;
    std::map<HostMessage, std::vector<Handler>> m_handlers;
    struct SetupHandler {
        QPointer<QObject> receiver;
        bool hasReceiver = false;
        std::function<bool()> run;
    };
    std::map<SetupAction, SetupHandler> m_setupActions;
    std::vector<HostMessage> m_pending;
    std::vector<std::pair<int, QPointer<QObject>>> m_deferPending;
    std::vector<MenuItem> m_menuItems;
    std::vector<MenuItem> m_qsoMenuItems;
    std::vector<Handler> m_idleHooks;
    QPointer<QObject> m_qsoKeyReceiver;
    std::function<bool(const QKeyEvent &)> m_qsoKeyHandler;
    bool m_specialKeys = false;
    bool m_logReading = false;
    QPointer<QObject> m_spotFileReceiver;
    std::function<void(const std::string &)> m_spotFileReader;
    std::map<QString, QPointer<QLabel>> m_panels;
    QScrollBar *m_scrollBar = nullptr;
    std::function<void()> m_clockUpdate;
};

} // namespace vellum
