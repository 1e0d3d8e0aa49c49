#pragma once
// The main window: the thin bar across the top with the menu and the indicator
// panels. It owns the open log and the QSO window, runs the timers and the idle
// loop, and starts and ends the program in order.

#include "qtservices.h"

#include "windowhost.h"

#include "logstore/services.h"

#include <QDateTime>
#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <map>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAbstractItemView;
class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QTimer;

namespace vellum {

struct TConfigRecord;
class TCountryData;
class TProgressbar;
class TQsoData;
class TQsoWindowBase;
class ProgramContext;
class WindowHost;
class WindowServices;

/// The file dialogs of the main window; tests script them.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    /// Each returns the chosen file, or an empty text when cancelled.
    virtual QString OpenLog(QWidget *parent, const QString &dir) = 0;
    virtual QString NewLog(QWidget *parent, const QString &dir) = 0;
    virtual QString SaveLogAs(QWidget *parent, const QString &dir) = 0;
};

/// The command line of the program, "/F" and "/S file" options and a log name.
struct CommandLine {
    QString logName;  ///< first argument when it does not begin with "/"
    bool fakeMode = false;
    QString spotFile;
};
CommandLine ParseCommandLine(const QStringList &arguments);

/// What the program hands the main window (tests make their own).
struct MainFormOptions {
    QStringList arguments;            ///< without the program name and --dir
    UserNotifier *notifier = nullptr; ///< null: message boxes
    FileChooser *chooser = nullptr;   ///< null: file dialogs
    int backupTickMs = 5000;          ///< the backup countdown's tick
    bool installIdleHandler = true;
    /// The program directory is new: a missing default log is started as a new log.
    bool firstStart = false;
    /// Ends the program when it cannot go on (null: leaves the event loop with 1).
    std::function<void()> endProgram;
};

class TMainForm : public QMainWindow, private LogObserver {
    Q_OBJECT
public:
    TMainForm(TConfigRecord &config, TCountryData &countries, MainFormOptions options, QWidget *parent = nullptr);
    ~TMainForm() override;

    /// The start-up steps after construction: show, clock, crash recovery, menus.
    void FormShow();
    /// The idle work: companion refreshes, backup, the start-up log.
    void AppIdle();

    // --- the log ---
    TQsoData *Log() const;
    TQsoWindowBase *QsoWindow() const;
    bool CloseCurrentLog();
    void StartBackupCountdown();
    void StopBackupCountdown();
    void RunBackup();
    /// Opens a log file as the open log; false (no log open) when it cannot be read.
    bool OpenLogFile(const QString &fileName);

    // --- menu commands ---
    void NewClick();
    void OpenClick();
    void SaveClick();
    void SaveAsClick();
    void BackupClick();
    void CloseClick();
    void InfoClick();
    void AboutClick();
    void HelpContentsClick();

    void UpdateCaption();
    void UpdateLogMenus();
    void UpdateLevelMenus();
    void UpdateRadioMenus();

    // --- services ---
    /// What the whole run shares (configuration, country data, awards, the open log).
    ProgramContext &Context() const { return *m_context; }
    /// Where the windows of every subsystem register and meet.
    WindowHost &Host() const { return *m_host; }
    UserNotifier &Notifier() const;
    WindowServices &Windows() const { return *m_windowServices; }
    TConfigRecord &ConfigRecord() const { return m_config; }
    TCountryData &Countries() const { return m_countries; }
    /// "&File" / "&Databases" editors; each writes the country file when saved.
    void EditIotaClick();
    void EditManagersClick();
    void EditAddressesClick();
    QLabel *DiskPanel() const { return m_panDisk; }
    int BackupTicksLeft() const { return m_backupTicksLeft; }
    bool BackupRequested() const { return m_backupRequest; }
    const CommandLine &Arguments() const { return m_commandLine; }
    QDateTime LastBackupTime() const { return m_lastBackupTime; }

    QLabel *ContestNumberPanel() const { return m_nr; }
    QLabel *StatusPanel() const { return m_panStatus; }
    /// The country file could not be read again: the program ends without saving.
    bool CountryDataLost() const { return m_countryDataLost; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // LogObserver: what the open log tells the main window.
    void logChanged() override;
    void stopBackupCountdown() override { StopBackupCountdown(); }
    void diskIndicator(DiskState state) override;
    void readingStarted() override;
    void readingEnded() override;
    void showQsoWindow(TQsoData &log) override;
    void refreshAfterMerge(TQsoData &log) override;
    bool countryDataNeedsSaving() override;
    void saveCountryData() override;
    void reloadCountryData() override;

    void buildPanels();
    void buildMenus();
    void clockUpdate();
    void backupTick();
    void crashRecovery();
    void openStartupLog();
    /// Makes a new log of that name the open log, written at once (an empty log file).
    void startNewLog(const QString &name);
    /// After an abnormal end: offers the changes in the log's journal and saves them into it.
    void recoverFromJournal(const std::string &name);
    /// Journals the open log's changes from now on (a warning when the journal cannot be written).
    void startJournal();
    bool FormCloseQuery();
    void FormClose();
    void destroyQsoWindow();
    void addMenuItem(const WindowHost::MenuItem &item);
    void closeLogFromQsoWindow();
    bool qsoWindowAgrees();
    void saveCountryToMain();
    void loadDeletedWpx();
    void endWithoutCountryData();
    void setDisk(const QString &text, bool red);
    QString logsDir() const;

    TConfigRecord &m_config;
    TCountryData &m_countries;
    MainFormOptions m_options;
    CommandLine m_commandLine;
    QAction *m_iotaItem = nullptr;
    QAction *m_managersItem = nullptr;
    std::map<QString, QMenu *> m_menus;
    QAction *m_registeredItemsPlace = nullptr; ///< registered "&File" items go before it
    /// The registered items with what decides their enabling, caption and check mark.
    std::vector<std::pair<QPointer<QAction>, WindowHost::MenuItem>> m_registeredActions;
    std::unique_ptr<QtNotifier> m_qtNotifier;
    std::unique_ptr<FileChooser> m_defaultChooser;
    FileChooser *m_chooser = nullptr;
    TProgressbar *m_progressWindow = nullptr;
    std::unique_ptr<QtProgress> m_progress;
    std::unique_ptr<WindowServices> m_windowServices;
    std::unique_ptr<QtSortIndicator> m_sortIndicator;
    std::unique_ptr<ProgramContext> m_context;
    WindowHost *m_host = nullptr;

    QLabel *m_panStatus = nullptr;
    QLabel *m_panDisk = nullptr;
    QLabel *m_time = nullptr;
    QLabel *m_nr = nullptr;
    QScrollBar *m_sb = nullptr;

    QTimer *m_clockTrigger = nullptr;
    QTimer *m_radioPollTrigger = nullptr;
    QTimer *m_scannerTrigger = nullptr;
    QTimer *m_backupTrigger = nullptr;

    QAction *m_save = nullptr;
    QAction *m_saveAs = nullptr;
    QAction *m_backup = nullptr;
    QAction *m_close = nullptr;

    bool m_startupPending = false;
    bool m_calendarCheckPending = false;
    bool m_backupRequest = false;
    bool m_inIdle = false;
    bool m_closing = false;
    bool m_countryDataLost = false;
    int m_backupTicksLeft = 0;
    int m_lastShownMode = 0;
    std::uint16_t m_today = 0;
    QDateTime m_lastBackupTime;
};

/// Makes the program directory and fills it from the defaults built with the
/// program (country file, ...) where a file is missing. Returns true when the
/// directory was new (the first start). Throws EFileError.
bool PrepareProgramDir(const QString &programDir);

/// The directory the defaults are copied from.
QString DefaultDataDir();

} // namespace vellum
