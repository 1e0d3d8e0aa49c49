#include "Fmain.h"

#include "Fabout.h"
#include "Fhelp.h"
#include "Fprogres.h"
#include "qsobrowser.h"
#include "programcontext.h"
#include "windowservices.h"

#include "config/configfile.h"
#include "config/configrecord.h"
#include "awards/awardmodel.h"
#include "awards/customawardfile.h"
#include "country/Faddress.h"
#include "country/Fiota.h"
#include "country/Fmanagers.h"
#include "country/Freference.h"
#include "country/countrydata.h"
#include "country/countryfile.h"
#include "logstore/Ftext.h"
#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "logstore/journal.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"

#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <set>

namespace vellum {

namespace {

const char *const ModeTexts[] = {"", "Add real-time", "Add off-line", "Specify Filter", "Filter Active"};

class QtFileChooser : public FileChooser {
public:
    QString OpenLog(QWidget *parent, const QString &dir) override
    {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Open log file"), dir,
                                            QStringLiteral("VELLUM logfile (*.vll *.VLL)"));
    }
    QString NewLog(QWidget *parent, const QString &dir) override
    {
        QFileDialog dialog(parent, QStringLiteral("Create New Log"), dir, QStringLiteral("VELLUM logfile (*.vll *.VLL)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(QStringLiteral("vll"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }
    QString SaveLogAs(QWidget *parent, const QString &dir) override
    {
        QFileDialog dialog(parent, QStringLiteral("Save log as"), dir, QStringLiteral("VELLUM logfile (*.VLL *.vll)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("VLL"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }
};

ScreenInfo screenInfo()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {120, 1920};
    return {static_cast<std::int32_t>(screen->logicalDotsPerInch()), screen->size().width()};
}

void removeFile(const std::string &name)
{
    std::error_code ec;
    std::filesystem::remove(name, ec);
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg.size() == 2 && arg.startsWith('/')) {
            QChar letter = arg[1].toUpper();
            if (letter == 'F')
                line.fakeMode = true;
            else if (letter == 'S' && i + 1 < arguments.size())
                line.spotFile = arguments[++i];
        }
    }
    // Options are "/" and one letter. On this system an absolute file name begins
    // with "/" too: a first argument that holds a further "/" or ends in ".vll"
    // names the log; any other one beginning with "/" does not.
    if (!arguments.isEmpty()) {
        const QString &first = arguments.first();
        bool looksLikePath = first.indexOf('/', 1) > 0 || first.endsWith(QLatin1String(".vll"), Qt::CaseInsensitive);
        if (!first.startsWith('/') || (first.size() > 2 && looksLikePath))
            line.logName = first;
    }
    return line;
}

// --- FormCreate -------------------------------------------------------------

TMainForm::TMainForm(TConfigRecord &config, TCountryData &countries, MainFormOptions options, QWidget *parent)
    : QMainWindow(parent), m_config(config), m_countries(countries), m_options(std::move(options))
{
    setObjectName(QStringLiteral("MainForm"));
    m_qtNotifier = std::make_unique<QtNotifier>(this);
    if (!m_options.chooser)
        m_defaultChooser = std::make_unique<QtFileChooser>();
    m_chooser = m_options.chooser ? m_options.chooser : m_defaultChooser.get();

    m_progressWindow = new TProgressbar(this);
    m_progress = std::make_unique<QtProgress>(m_progressWindow);
    m_windowServices = std::make_unique<WindowServices>(m_config, this);
    m_windowServices->RememberScreen(screenInfo().pixelsPerInch, screenInfo().width);
    m_windowServices->WatchApplication();
    m_context = std::make_unique<ProgramContext>(m_config, m_countries,
                                                 m_options.notifier ? *m_options.notifier : *m_qtNotifier,
                                                 CustomAwardFileName());
    m_context->SetProgress(m_progress.get());
    m_context->SetLogObserver(this);
    m_host = new WindowHost(*m_context, *m_windowServices, this);
    m_host->SetClockUpdate([this] { clockUpdate(); });
    m_host->SetQsoWindowMaker([](TQsoData &log, WindowHost &host) { return new TQsoBrowser(log, host); });
    m_host->Handle(HostMessage::CloseLogRequested, this, [this] { closeLogFromQsoWindow(); });
    m_host->Handle(HostMessage::BackupDue, this, [this] { StartBackupCountdown(); });
    m_host->Handle(HostMessage::SettingsChanged, this, [this] {
        UpdateLevelMenus();
        UpdateCaption();
    });

    m_countries.OnModified = [this] { StartBackupCountdown(); };
    loadDeletedWpx();
    m_today = TodayDayNumber();
    m_commandLine = ParseCommandLine(m_options.arguments);
    m_context->Station().fakeMode = m_commandLine.fakeMode;
    buildPanels();
    buildMenus();
    m_sortIndicator = std::make_unique<QtSortIndicator>(m_panStatus);

    m_clockTrigger = new QTimer(this);
    m_clockTrigger->setInterval(1000);
    connect(m_clockTrigger, &QTimer::timeout, this, &TMainForm::clockUpdate);
    m_radioPollTrigger = new QTimer(this);
    m_radioPollTrigger->setSingleShot(true);
    m_scannerTrigger = new QTimer(this);
    m_scannerTrigger->setSingleShot(true);
    m_backupTrigger = new QTimer(this);
    m_backupTrigger->setInterval(m_options.backupTickMs);
    connect(m_backupTrigger, &QTimer::timeout, this, &TMainForm::backupTick);
}

TMainForm::~TMainForm()
{
    m_sortIndicator.reset();
    m_countries.OnModified = nullptr;
    destroyQsoWindow();
    // The subsystems go while the program context they use still exists (the
    // spot list, for one, keeps its file and layout in its destructor).
    delete m_host;
    m_host = nullptr;
    m_context->DropLog();
}

TQsoData *TMainForm::Log() const { return m_context->Log(); }
TQsoWindowBase *TMainForm::QsoWindow() const { return m_host->QsoWindow(); }
UserNotifier &TMainForm::Notifier() const { return m_context->Notifier(); }

void TMainForm::buildPanels()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(2, 0, 2, 0);
    auto panel = [&](const char *name, int width) {
        auto *label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(name));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(width);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
        return label;
    };
    m_panStatus = panel("PanStatus", 110);
    m_panDisk = panel("PanDisk", 110);
    m_nr = panel("M_Nr", 50);
    m_nr->hide();
    m_time = panel("M_Time", 60);
    m_sb = new QScrollBar(Qt::Horizontal, bar);
    m_sb->setObjectName(QStringLiteral("SB"));
    m_sb->hide();
    layout->addWidget(m_sb, 1);
    layout->addStretch();
    setCentralWidget(bar);
    m_host->SetScrollBar(m_sb);
    for (QLabel *panel : {m_panStatus, m_panDisk, m_nr, m_time})
        m_host->SetStatusPanel(panel->objectName(), panel);
}

void TMainForm::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    auto item = [this](QMenu *menu, const char *name, const QString &caption, auto slot, QKeySequence key = {}) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty())
            action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    item(file, "New1", QStringLiteral("&New"), &TMainForm::NewClick);
    item(file, "Open1", QStringLiteral("&Open..."), &TMainForm::OpenClick);
    m_save = item(file, "Save1", QStringLiteral("Save"), &TMainForm::SaveClick, QKeySequence(Qt::ALT | Qt::Key_S));
    m_saveAs = item(file, "Saveas1", QStringLiteral("Save as"), &TMainForm::SaveAsClick);
    m_backup = item(file, "Backup1", QStringLiteral("Backup"), &TMainForm::BackupClick, QKeySequence(Qt::ALT | Qt::Key_B));
    m_close = item(file, "Close1", QStringLiteral("Close"), &TMainForm::CloseClick);
    file->addSeparator();
    m_registeredItemsPlace = file->addSeparator(); // items other subsystems register go above it
    m_registeredItemsPlace->setVisible(false);
    QMenu *databases = file->addMenu(QStringLiteral("&Databases"));
    databases->setObjectName(QStringLiteral("DatabasesMenu"));
    m_iotaItem = item(databases, "IOTA1", QStringLiteral("&IOTA"), &TMainForm::EditIotaClick);
    m_managersItem = item(databases, "QSLManagers1", QStringLiteral("&QSL Managers"), &TMainForm::EditManagersClick);
    item(databases, "ManagerAddresses1", QStringLiteral("Manager Addresses"), &TMainForm::EditAddressesClick);
    item(file, "Info1", QStringLiteral("I&nfo"), &TMainForm::InfoClick);
    file->addSeparator();
    item(file, "Exit1", QStringLiteral("E&xit"), &QWidget::close);

    m_menus[file->title()] = file;
    m_menus[databases->title()] = databases; // the country editor registers "&Countries" here
    // "R&adio" holds only items the station registers; it shows once it has some.
    QMenu *radio = menuBar()->addMenu(QStringLiteral("R&adio"));
    radio->setObjectName(QStringLiteral("RadioMenu"));
    radio->menuAction()->setVisible(false);
    m_menus[radio->title()] = radio;
    for (const WindowHost::MenuItem &registered : m_host->MenuItems())
        addMenuItem(registered);
    connect(m_host, &WindowHost::menuItemAdded, this, &TMainForm::addMenuItem);
    connect(m_host, &WindowHost::qsoMenusChanged, this, &TMainForm::UpdateRadioMenus);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    item(help, "Contents1", QStringLiteral("&Contents"), &TMainForm::HelpContentsClick);
    item(help, "SearchHelp1", QStringLiteral("Search for Help On..."), [this] { THelpViewer::ShowSearch(this); });
    item(help, "HowToUseHelp1", QStringLiteral("How to &Use Help"), [this] { THelpViewer::ShowContext(this, 2); });
    item(help, "About1", QStringLiteral("&About..."), &TMainForm::AboutClick);
}

// --- FormShow ---------------------------------------------------------------

void TMainForm::FormShow()
{
    QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry().size()
                                                    : QSize(1920, 1080);
    if (m_config.F_KeepPosition)
        move(m_config.MainLeft, m_config.MainTop);
    else
        move(0, 0);
    int width = m_config.MainWidth;
    resize(width != 0 && width <= screen.width() ? width : screen.width(), sizeHint().height());
    show();
    m_windowServices->ApplyHintsSetting();

    m_clockTrigger->start();
    clockUpdate();
    UpdateRadioMenus();
    if (std::filesystem::exists(BackupFileName(BackupFile::Log)))
        crashRecovery();
    m_startupPending = true;
    m_calendarCheckPending = m_config.DefQSO_CheckCalendar;
    UpdateLogMenus();
    UpdateLevelMenus();
    UpdateCaption();
    if (m_options.installIdleHandler)
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                &TMainForm::AppIdle);
}

void TMainForm::crashRecovery()
{
    Answer answer = Notifier().show(
        MessageKind::Warning,
        "A backup copy of a log file was found\rdue to an abnormal program termination.\r\r"
        "This backup contains the last saved information,\rand we strongly suggest you save this file under a\r"
        "new name and verify its contents\rDo you want to save this backup log file?",
        Buttons::YesNo);
    std::string backup = BackupFileName(BackupFile::Log);
    std::string countryCopy = CountryAutosaveFileName();
    if (answer != Answer::Yes) {
        removeFile(backup);
        removeFile(countryCopy);
        return;
    }
    bool firstTry = true;
    for (;;) {
        QString chosen = m_chooser->SaveLogAs(this, logsDir());
        if (chosen.isEmpty()) {
            if (firstTry) {
                removeFile(backup);
                removeFile(countryCopy);
            }
            return; // after a failed rename both files stay until the normal end of this run
        }
        firstTry = false;
        std::string target = chosen.toStdString();
        removeFile(target);
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ec);
        std::filesystem::rename(backup, target, ec);
        if (!ec) {
            // The rescued log is the one to verify and go on with, whatever log the start asked for.
            m_commandLine.logName = chosen;
            if (std::filesystem::exists(countryCopy)) {
                std::string countryFile = CountryFileName();
                removeFile(countryFile);
                std::filesystem::rename(countryCopy, countryFile, ec);
                reloadCountryData();
            }
            return;
        }
        Notifier().error("Problem renaming file, try again");
    }
}

// --- clock, countdown and idle work -----------------------------------------

void TMainForm::clockUpdate()
{
    if (m_closing)
        return;
    std::int32_t seconds = NowUtcSeconds();
    std::uint16_t day = TodayDayNumber();
    m_time->setText(QString::fromStdString(FormatTime(seconds, false)));
    if (QsoWindow())
        QsoWindow()->ClockTick(day, seconds);
    m_host->ClockTicked(day, seconds);
}

void TMainForm::StartBackupCountdown()
{
    if (m_backupRequest || m_backupTrigger->isActive() || m_config.DefQSO_BackupInterval == 0)
        return;
    m_backupTicksLeft = m_config.DefQSO_BackupInterval * 12;
    m_backupTrigger->start();
}

void TMainForm::StopBackupCountdown()
{
    m_backupTrigger->stop();
    m_backupRequest = false;
}

void TMainForm::backupTick()
{
    --m_backupTicksLeft;
    m_panDisk->setText(QStringLiteral("Modified[%1]").arg(m_backupTicksLeft));
    if (m_backupTicksLeft < 1)
        m_backupRequest = true;
}

void TMainForm::RunBackup()
{
    StopBackupCountdown();
    bool saved = false;
    try {
        if (Log() && Log()->IsModified()) {
            Log()->WriteLog(false);
            saved = true;
        }
    } catch (const std::exception &e) {
        Notifier().error(std::string("The backup could not be written:\r") + e.what());
    }
    if (m_countries.CountryModified && !m_countryDataLost) {
        SaveCountryFile(m_countries, CountryTarget::Autosave, m_config.DefQSO_Cycle, Notifier());
        saved = true;
    }
    m_host->Post(HostMessage::PeriodicBackup);
    if (saved) {
        setDisk(QStringLiteral("Modified"), false);
        m_lastBackupTime = QDateTime::currentDateTime();
        UpdateCaption();
    } else {
        setDisk(QString(), false);
    }
}

void TMainForm::logChanged()
{
    StartBackupCountdown();
    m_host->Post(HostMessage::LogChanged);
}

void TMainForm::readingStarted() { m_host->SetLogReading(true); }
void TMainForm::readingEnded() { m_host->SetLogReading(false); }

void TMainForm::AppIdle()
{
    if (m_inIdle || m_closing)
        return;
    m_inIdle = true;
    if (TQsoWindowBase *window = QsoWindow()) {
        int mode = static_cast<int>(window->Mode());
        if (mode != m_lastShownMode && mode >= 0 && mode <= 4) {
            m_panStatus->setText(QString::fromLatin1(ModeTexts[mode]));
            m_lastShownMode = mode;
        }
    } else if (m_lastShownMode != 0) {
        m_panStatus->clear();
        m_lastShownMode = 0;
    }
    m_host->RunIdle();
    if (m_backupRequest)
        RunBackup();
    m_today = TodayDayNumber();
    m_context->Awards().SetToday(m_today);
    if (m_startupPending) {
        m_startupPending = false;
        openStartupLog();
    }
    if (m_calendarCheckPending) {
        m_calendarCheckPending = false;
        m_host->Post(HostMessage::CalendarCheck);
    }
    if (!m_commandLine.spotFile.isEmpty()) {
        m_host->FeedSpotFile(m_commandLine.spotFile.toStdString()); // ignored when there is no spot list
        m_commandLine.spotFile.clear();
    }
    m_inIdle = false;
}

void TMainForm::openStartupLog()
{
    QString name = m_commandLine.logName;
    if (name.isEmpty()) {
        std::string last(m_config.LASTLOG.view());
        if (last == "<none>") {
            UpdateLogMenus();
            return;
        }
        name = last.empty() ? QString::fromStdString(DefaultLogFileName())
                            : QString::fromStdString(NormalizeStoredPath(last));
    }
    if (m_options.firstStart && name.toStdString() == DefaultLogFileName() && !QFileInfo::exists(name)) {
        startNewLog(name); // a new user logs at once
        return;
    }
    // A start-up log that no longer exists is said once (the open-failure box) and
    // made anew, so the user has a log to log into and the next start finds it.
    if (!OpenLogFile(name) && !QFileInfo::exists(name))
        startNewLog(name);
    UpdateLogMenus();
}

void TMainForm::recoverFromJournal(const std::string &name)
{
    std::optional<PendingJournal> pending = FindPendingJournal(name);
    if (!pending)
        return;
    std::string journalFile = JournalFileName(name);
    std::string question = name + "\r\rThe program ended without saving this log. " +
                           std::to_string(pending->ToReplay.size()) +
                           " change(s) made since it was last saved are in its journal.";
    if (!pending->MatchesLog)
        question += "\rThe log file was written since by another program: the changes may repeat some of it.";
    if (pending->Contents.State == JournalState::Damaged)
        question += "\rThe journal is damaged after its last good entry (" + pending->Contents.Problem + ").";
    question += "\r\rApply them to the log and save it now?";
    if (Notifier().confirm(question, Buttons::YesNo) != Answer::Yes) {
        // Declined changes are kept aside, never deleted.
        std::error_code ec;
        std::filesystem::rename(journalFile, journalFile + "~", ec);
        return;
    }
    if (std::error_code ec; !pending->Checkpoint.empty() && std::filesystem::exists(pending->Checkpoint, ec)) {
        // Changes after an import or a merge continue the file written then.
        TQsoData &fromCheckpoint = m_context->MakeLog();
        fromCheckpoint.ReadLog(pending->Checkpoint, LoadMode::Load, DuplicateMode::EmptyLog);
        fromCheckpoint.LogFileName = name;
    }
    TQsoData &log = *Log();
    ReplayCounts counts = ReplayJournal(log, pending->ToReplay);
    try {
        log.WriteLog(true, EmptyLog::Write);
        Notifier().information(std::to_string(counts.Applied) + " change(s) from the journal applied and saved in\r" + name);
    } catch (const std::exception &e) {
        Notifier().error(std::string("The recovered log could not be saved:\r") + e.what());
    }
    if (QsoWindow())
        QsoWindow()->RefreshFromLog();
}

void TMainForm::startJournal()
{
    try {
        if (Log())
            Log()->StartJournal();
    } catch (const std::exception &e) {
        Notifier().warning(std::string("QSOs are not journaled: the journal could not be written.\r") + e.what());
    }
}

void TMainForm::startNewLog(const QString &name)
{
    TQsoData &log = m_context->MakeLog();
    log.NewLog(name.toStdString());
    StopBackupCountdown();
    try {
        log.WriteLog(true, EmptyLog::Write); // on disk at once: a restart finds it
    } catch (const std::exception &e) {
        Notifier().error(std::string("The new log could not be written:\r") + e.what());
    }
    startJournal();
    if (QsoWindow())
        QsoWindow()->StartAddRealTime();
    UpdateLogMenus();
}

bool TMainForm::OpenLogFile(const QString &fileName)
{
    StopBackupCountdown();
    TQsoData &log = m_context->MakeLog();
    if (!log.ReadLog(fileName.toStdString(), LoadMode::Load, DuplicateMode::EmptyLog)) {
        destroyQsoWindow();
        m_context->DropLog();
        return false;
    }
    recoverFromJournal(fileName.toStdString());
    startJournal();
    return true;
}

// --- LogObserver ------------------------------------------------------------

void TMainForm::setDisk(const QString &text, bool red)
{
    m_panDisk->setText(text);
    m_panDisk->setStyleSheet(red ? QStringLiteral("color: red;") : QString());
}

void TMainForm::diskIndicator(DiskState state)
{
    switch (state) {
    case DiskState::Clear: setDisk(QString(), false); break;
    case DiskState::ModifiedUnsaved: setDisk(QStringLiteral("Modified"), true); break;
    case DiskState::ModifiedInBackup: setDisk(QStringLiteral("Modified"), false); break;
    case DiskState::Saving: setDisk(QStringLiteral("Saving..."), false); break;
    }
}

void TMainForm::showQsoWindow(TQsoData &log)
{
    if (m_host->OpenQsoWindow(log))
        m_config.LASTLOG = NormalizeStoredPath(log.LogFileName).substr(0, 128);
}

void TMainForm::refreshAfterMerge(TQsoData &)
{
    if (QsoWindow())
        QsoWindow()->RefreshFromLog();
    m_host->RequestRefresh(CompanionId::Logbook);
}

bool TMainForm::countryDataNeedsSaving() { return !m_countryDataLost && m_countries.CountryDataNeedsSaving(); }

void TMainForm::saveCountryData() { saveCountryToMain(); }

void TMainForm::saveCountryToMain()
{
    if (!countryDataNeedsSaving())
        return;
    SaveCountryFile(m_countries, CountryTarget::MainFile, m_config.DefQSO_Cycle, Notifier());
}

void TMainForm::reloadCountryData()
{
    m_countries.FreeCountryData();
    if (!LoadCountryFile(m_countries, Notifier())) {
        endWithoutCountryData(); // the box said which file
        return;
    }
    m_context->CountryDataChanged();
}

void TMainForm::loadDeletedWpx()
{
    try {
        LoadDeletedWpx(m_countries);
    } catch (const std::exception &e) {
        Notifier().warning(std::string("The list of deleted WPX prefixes could not be read; "
                                       "no prefix counts as deleted.\r") + e.what());
    }
}

void TMainForm::endWithoutCountryData()
{
    // Going on with empty tables would let the next save write them over the
    // country file; the autosave copy and the backup log stay for the next start.
    m_countryDataLost = true;
    m_closing = true;
    for (QTimer *trigger : {m_clockTrigger, m_radioPollTrigger, m_scannerTrigger, m_backupTrigger})
        trigger->stop();
    m_backupRequest = false;
    if (m_options.endProgram)
        m_options.endProgram();
    else // queued: the event loop may not run yet (crash recovery at start)
        QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
}

void TMainForm::destroyQsoWindow() { m_host->CloseQsoWindow(); }

bool TMainForm::qsoWindowAgrees() { return !QsoWindow() || QsoWindow()->AgreeToLeaveMode(); }

void TMainForm::closeLogFromQsoWindow()
{
    CloseCurrentLog();
    UpdateLogMenus();
    m_config.LASTLOG = "<none>";
}

void TMainForm::addMenuItem(const WindowHost::MenuItem &registered)
{
    auto menu = m_menus.find(registered.menu);
    if (menu == m_menus.end())
        return; // only menus the main window has take items
    auto *action = new QAction(registered.caption, menu->second);
    action->setObjectName(registered.name);
    if (!registered.key.isEmpty()) {
        action->setShortcut(registered.key);
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    action->setCheckable(registered.checked != nullptr);
    connect(action, &QAction::triggered, this, [action, run = registered.action, enabled = registered.enabled] {
        if (!enabled || enabled())
            run();
    });
    QAction *before = m_registeredItemsPlace;
    if (!registered.after.isEmpty()) {
        const QList<QAction *> actions = menu->second->actions();
        for (qsizetype i = 0; i < actions.size(); ++i)
            if (actions[i]->objectName() == registered.after)
                before = i + 1 < actions.size() ? actions[i + 1] : nullptr;
    }
    menu->second->insertAction(before, action);
    menu->second->menuAction()->setVisible(true);
    m_registeredActions.push_back({action, registered});
    UpdateRadioMenus();
}

// --- log commands -----------------------------------------------------------

QString TMainForm::logsDir() const { return QString::fromStdString(SaveDir()); }

bool TMainForm::CloseCurrentLog()
{
    TQsoData *log = Log();
    if (!log)
        return true;
    if (log->IsOutOfDate() || log->IsModified()) {
        Answer answer = Notifier().confirm(log->LogFileName + "\r\rDo you want to save the changes to this log?",
                                           Buttons::YesNoCancel);
        if (answer == Answer::Cancel)
            return false;
        log->CloseLog(answer == Answer::Yes);
    } else {
        log->CloseLog(false);
    }
    m_radioPollTrigger->stop();
    m_scannerTrigger->stop();
    StopBackupCountdown();
    destroyQsoWindow();
    m_context->DropLog();
    UpdateLogMenus();
    return true;
}

void TMainForm::NewClick()
{
    if (!qsoWindowAgrees())
        return;
    QString file = m_chooser->NewLog(this, logsDir());
    if (file.isEmpty() || !CloseCurrentLog() || m_countryDataLost)
        return;
    if (QFileInfo::exists(file)) {
        Answer answer = Notifier().show(MessageKind::Warning,
                                        file.toStdString() + "\r\rThis file exists already. Overwrite it?",
                                        Buttons::YesNo);
        if (answer != Answer::Yes)
            return;
    }
    startNewLog(file);
}

void TMainForm::OpenClick()
{
    if (!qsoWindowAgrees())
        return;
    QString file = m_chooser->OpenLog(this, logsDir());
    if (file.isEmpty() || !CloseCurrentLog() || m_countryDataLost)
        return;
    OpenLogFile(file);
    m_lastBackupTime = QDateTime();
    UpdateCaption();
    UpdateLogMenus();
}

void TMainForm::SaveClick()
{
    StopBackupCountdown();
    if (Log())
        Log()->WriteLog(true);
    saveCountryToMain();
}

void TMainForm::SaveAsClick()
{
    TQsoData *log = Log();
    if (!log || log->Count() == 0)
        return;
    for (;;) {
        QString file = m_chooser->SaveLogAs(this, logsDir());
        if (file.isEmpty())
            return;
        if (QFileInfo(file).suffix().toUpper() != QLatin1String("VLL")) {
            Notifier().error("A log file name must end in \".VLL\":\r" + file.toStdString());
            continue;
        }
        StopBackupCountdown();
        log->LogFileName = file.toStdString();
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(log->LogFileName).parent_path(), ec);
        log->WriteLog(true);
        saveCountryToMain();
        m_lastBackupTime = QDateTime();
        UpdateCaption();
        m_config.LASTLOG = NormalizeStoredPath(log->LogFileName).substr(0, 128);
        if (QsoWindow())
            QsoWindow()->RefreshFromLog();
        return;
    }
}

void TMainForm::BackupClick() { m_backupRequest = true; }

void TMainForm::CloseClick()
{
    if (!qsoWindowAgrees())
        return;
    CloseCurrentLog();
    UpdateLogMenus();
    m_config.LASTLOG = "<none>";
}

void TMainForm::InfoClick()
{
    TQsoData *log = Log();
    std::string text = "LogFile = " + (log ? log->LogFileName : std::string("No logfile open"));
    if (log)
        text += "\rNr QSOs = " + std::to_string(log->Count()) + "\rNr Notes = " +
                std::to_string(log->Notes.Count()) + "\rSWL Records = " + std::to_string(log->SwlList.Count());
    Notifier().showTitled(MessageKind::Information, "Current Status", text, Buttons::Ok);
}

void TMainForm::AboutClick()
{
    TSplashScreen about(true, this);
    about.exec();
}

void TMainForm::HelpContentsClick() { THelpViewer::ShowContext(this, 1); }

void TMainForm::UpdateCaption()
{
    QString caption = QStringLiteral("VELLUM - DX logbook - ") + ScreenText(m_config.Personal_Callsign.view());
    if (m_lastBackupTime.isValid())
        caption += QStringLiteral("   Last backup: ") + m_lastBackupTime.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    setWindowTitle(caption);
}

void TMainForm::UpdateLogMenus()
{
    bool open = Log() != nullptr;
    for (QAction *action : {m_save, m_saveAs, m_backup, m_close})
        action->setEnabled(open);
}

void TMainForm::UpdateLevelMenus()
{
    bool advanced = m_config.Personal_UserLevel >= 2;
    m_iotaItem->setEnabled(advanced);
    m_managersItem->setEnabled(advanced);
}

/// Runs one of the reference data editors, modal; it writes the country file itself when saved.
template <typename Editor>
static void runReferenceEditor(TMainForm &main, TCountryData &countries, const LogSettings &settings,
                               ProgressService *progress)
{
    ReferenceServices services{main.Notifier(), settings, progress, nullptr};
    Editor(countries, services, &main).exec();
}

void TMainForm::EditIotaClick()
{
    runReferenceEditor<TEditIOTADialog>(*this, m_countries, m_context->Settings(), m_progress.get());
}

void TMainForm::EditManagersClick()
{
    runReferenceEditor<TEditQSLMgrDialog>(*this, m_countries, m_context->Settings(), m_progress.get());
}

void TMainForm::EditAddressesClick()
{
    runReferenceEditor<TEditAddressDialog>(*this, m_countries, m_context->Settings(), m_progress.get());
}

void TMainForm::UpdateRadioMenus()
{
    std::set<QMenu *> menus;
    for (auto &[action, item] : m_registeredActions) {
        if (!action)
            continue;
        action->setEnabled(!item.enabled || item.enabled());
        if (item.currentCaption)
            action->setText(item.currentCaption());
        if (item.checked)
            action->setChecked(item.checked());
        menus.insert(qobject_cast<QMenu *>(action->parent()));
    }
    // A menu none of whose items can be chosen is disabled as a whole.
    for (QMenu *menu : menus) {
        if (!menu)
            continue;
        const QList<QAction *> actions = menu->actions();
        menu->setEnabled(std::any_of(actions.begin(), actions.end(),
                                     [](QAction *a) { return !a->isSeparator() && a->isEnabled(); }));
    }
}

// --- screen changes and shutdown ---------------------------------------------

void TMainForm::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    ScreenInfo screen = screenInfo();
    if (m_windowServices->RescaleWindows(true, screen.pixelsPerInch, screen.width))
        m_host->Post(HostMessage::WindowsRescaled);
}

// --- shutdown -----------------------------------------------------------------

bool TMainForm::FormCloseQuery() { return qsoWindowAgrees() && CloseCurrentLog(); }

void TMainForm::FormClose()
{
    m_closing = true;
    disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
    m_clockTrigger->stop();
    StopBackupCountdown();
    for (int id = 0; id < CompanionCount; ++id)
        if (QWidget *companion = m_host->Companion(static_cast<CompanionId>(id)))
            companion->close();
    // FormDestroy: the main window's place and the configuration.
    if (isMinimized()) // back to how it was: maximized when it spanned the screen
        m_config.MainWidth == 0 ? showMaximized() : showNormal();
    QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1920, 1080);
    m_config.MainLeft = frameGeometry().left();
    m_config.MainTop = frameGeometry().top();
    m_config.MainWidth = isMaximized() || width() > screen.width() ? 0 : width();
    try {
        SaveConfig(m_config, DataFileName(DataFile::Config), screenInfo());
    } catch (const std::exception &e) {
        Notifier().error(std::string("The configuration could not be saved:\r") + e.what());
    }
    removeFile(BackupFileName(BackupFile::Log));
    removeFile(CountryAutosaveFileName());
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    if (!m_countryDataLost) // closing the log lost the country data: nothing more is saved
        FormClose();
    event->accept();
}

// --- the program directory ----------------------------------------------------

QString DefaultDataDir()
{
    if (QByteArray env = qgetenv("VELLUM_DEFAULT_DATA"); !env.isEmpty())
        return QString::fromLocal8Bit(env);
    QString besideProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vellum");
    if (QFileInfo::exists(besideProgram))
        return besideProgram;
    return QStringLiteral(VELLUM_DEFAULT_DATA_DIR);
}

bool PrepareProgramDir(const QString &programDir)
{
    namespace fs = std::filesystem;
    SetProgramDir(programDir.toStdString());
    std::error_code exists;
    bool firstStart = !fs::exists(SaveDir(), exists);
    CreateProgramDirs();
    fs::path defaults = DefaultDataDir().toStdString();
    std::error_code ec;
    if (!fs::is_directory(defaults, ec))
        return firstStart;
    for (auto it = fs::recursive_directory_iterator(defaults, ec); it != fs::recursive_directory_iterator(); ++it) {
        if (!it->is_regular_file())
            continue;
        fs::path target = fs::path(ProgramDir()) / fs::relative(it->path(), defaults);
        if (fs::exists(target, ec))
            continue;
        fs::create_directories(target.parent_path(), ec);
        fs::copy_file(it->path(), target, ec);
        if (ec)
            throw EFileError("Cannot copy " + it->path().string() + " to " + target.string() + ": " + ec.message());
    }
    return firstStart;
}

} // namespace vellum
