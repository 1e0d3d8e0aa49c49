#include "Fmain.h"

#include "Fabout.h"
#include "Fhelp.h"
#include "Fprogres.h"
#include "windowservices.h"

#include "config/configfile.h"
#include "config/configrecord.h"
#include "awards/awardmodel.h"
#include "awards/customaward.h"
#include "awards/customawardfile.h"
#include "country/Faddress.h"
#include "country/Fiota.h"
#include "country/Fmanagers.h"
#include "country/Freference.h"
#include "config/configsettings.h"
#include "country/countrydata.h"
#include "country/countryfile.h"
#include "country/resolver.h"
#include "logstore/Ftext.h"
#include "logstore/daytime.h"
#include "logstore/fileio.h"
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

#include <filesystem>

namespace vellum {

namespace {

/// Internal messages of the main window, posted to run work after the current event.
constexpr QEvent::Type MainNotifyEvent = static_cast<QEvent::Type>(QEvent::User + 1025);

class MainNotify : public QEvent {
public:
    explicit MainNotify(int code) : QEvent(MainNotifyEvent), code(code) {}
    int code;
};

constexpr QEvent::Type SetTableRowEvent = static_cast<QEvent::Type>(QEvent::User + 1024);
constexpr QEvent::Type DeferRequestEvent = static_cast<QEvent::Type>(QEvent::User + 1026);

class SetTableRow : public QEvent {
public:
    SetTableRow(int row, QAbstractItemView *table) : QEvent(SetTableRowEvent), row(row), table(table) {}
    int row;
    QPointer<QAbstractItemView> table;
};

class DeferMessage : public QEvent {
public:
    DeferMessage(QEvent::Type type, int code, QObject *requester) : QEvent(type), code(code), requester(requester) {}
    int code;
    QPointer<QObject> requester;
};

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

const std::array<int, TMainForm::CompanionCount> TMainForm::CompanionPositions = {
    WindowIndex::CTY,  WindowIndex::ZONE,  WindowIndex::STATE, WindowIndex::IOTA, WindowIndex::CALL,
    WindowIndex::LOGB, WindowIndex::EXT,   WindowIndex::SUN,   WindowIndex::GRID, WindowIndex::MASTR,
    WindowIndex::WORLD, WindowIndex::WPX,  WindowIndex::PSK31, WindowIndex::CNTY};

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
    m_services.notifier = m_options.notifier ? m_options.notifier : m_qtNotifier.get();
    if (!m_options.chooser)
        m_defaultChooser = std::make_unique<QtFileChooser>();
    m_chooser = m_options.chooser ? m_options.chooser : m_defaultChooser.get();

    m_progressWindow = new TProgressbar(this);
    m_progress = std::make_unique<QtProgress>(m_progressWindow);
    m_resolver = std::make_unique<CountryResolver>(m_countries);
    m_windowServices = std::make_unique<WindowServices>(m_config, this);
    m_windowServices->RememberScreen(screenInfo().pixelsPerInch, screenInfo().width);
    m_settings = std::make_unique<ConfigLogSettings>(m_config);
    m_services.progress = m_progress.get();
    m_services.resolver = m_resolver.get();
    m_services.observer = this;
    m_services.settings = m_settings.get();
    m_awards = std::make_unique<TAwardModel>(m_countries, m_config);
    m_services.awards = m_awards.get();
    m_customAwards = std::make_unique<TCustAwardList>();
    LoadCustomAwards(*m_customAwards, CustomAwardFileName(), *m_services.notifier);
    SetCustomAwardNames(m_customAwards.get());

    m_countries.OnModified = [this] { StartBackupCountdown(); };
    m_today = TodayDayNumber();
    m_commandLine = ParseCommandLine(m_options.arguments);
    buildPanels();
    buildMenus();

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
    m_countries.OnModified = nullptr;
    SetCustomAwardNames(nullptr);
    destroyQsoWindow();
    m_log.reset();
}

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
    m_importExportItem = item(file, "ImportExport1", QStringLiteral("&Import/Export"), [this] {
        if (m_importExport)
            m_importExport();
    });
    m_importExportItem->setVisible(false);
    QMenu *databases = file->addMenu(QStringLiteral("&Databases"));
    databases->setObjectName(QStringLiteral("DatabasesMenu"));
    m_iotaItem = item(databases, "IOTA1", QStringLiteral("&IOTA"), &TMainForm::EditIotaClick);
    m_managersItem = item(databases, "QSLManagers1", QStringLiteral("&QSL Managers"), &TMainForm::EditManagersClick);
    item(databases, "ManagerAddresses1", QStringLiteral("Manager Addresses"), &TMainForm::EditAddressesClick);
    item(file, "Info1", QStringLiteral("I&nfo"), &TMainForm::InfoClick);
    file->addSeparator();
    item(file, "Exit1", QStringLiteral("E&xit"), &QWidget::close);

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
    m_time->setText(QString::fromStdString(FormatTime(seconds, false)));
    if (m_qsoWindow)
        m_qsoWindow->ClockTick(TodayDayNumber(), seconds);
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
        if (m_log && m_log->Modified) {
            m_log->WriteLog(false);
            saved = true;
        }
    } catch (const std::exception &e) {
        Notifier().error(std::string("The backup could not be written:\r") + e.what());
    }
    if (m_countries.CountryModified) {
        SaveCountryFile(m_countries, CountryTarget::Autosave, m_config.DefQSO_Cycle, Notifier());
        saved = true;
    }
    if (saved) {
        setDisk(QStringLiteral("Modified"), false);
        m_lastBackupTime = QDateTime::currentDateTime();
        UpdateCaption();
    } else {
        setDisk(QString(), false);
    }
}

void TMainForm::AppIdle()
{
    if (m_inIdle || m_closing)
        return;
    m_inIdle = true;
    if (m_qsoWindow) {
        int mode = static_cast<int>(m_qsoWindow->Mode());
        if (mode != m_lastShownMode && mode >= 0 && mode <= 4) {
            m_panStatus->setText(QString::fromLatin1(ModeTexts[mode]));
            m_lastShownMode = mode;
        }
        if (m_locationChanged) {
            m_locationChanged = false;
            m_qsoWindow->ShowLocation();
            m_companions[7].refreshRequest = true;
            m_companions[10].refreshRequest = true;
        }
        for (auto &entry : m_companions) {
            auto *companion = dynamic_cast<CompanionWindow *>(entry.window.data());
            if (!companion)
                continue;
            if (entry.refreshRequest) {
                entry.refreshRequest = entry.highlightRequest = false;
                companion->RefreshCompanion();
            } else if (entry.highlightRequest && companion->IsSummaryPanel()) {
                entry.highlightRequest = false;
                companion->HighlightCompanion();
            }
        }
    } else if (m_lastShownMode != 0) {
        m_panStatus->clear();
        m_lastShownMode = 0;
    }
    if (m_backupRequest)
        RunBackup();
    m_today = TodayDayNumber();
    m_awards->SetToday(m_today);
    if (m_startupPending) {
        m_startupPending = false;
        openStartupLog();
    }
    m_calendarCheckPending = false; // the events calendar comes with its own window
    m_commandLine.spotFile.clear(); // no spot list to hand it to
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
        // A new user logs at once into the default log, which is written at the first save.
        m_log = std::make_unique<TQsoData>(m_services);
        m_log->NewLog(name.toStdString());
        StopBackupCountdown();
        m_log->Modified = false;
        m_log->LogOutOfDate = false;
        diskIndicator(DiskState::Clear);
        if (m_qsoWindow)
            m_qsoWindow->StartAddRealTime();
        UpdateLogMenus();
        return;
    }
    OpenLogFile(name);
    UpdateLogMenus();
}

bool TMainForm::OpenLogFile(const QString &fileName)
{
    StopBackupCountdown();
    m_log = std::make_unique<TQsoData>(m_services);
    if (!m_log->ReadLog(fileName.toStdString(), LoadMode::Load, DuplicateMode::EmptyLog)) {
        destroyQsoWindow();
        m_log.reset();
        return false;
    }
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
    destroyQsoWindow();
    m_qsoWindow = CurrentQsoWindowFactory()(log, *this);
    if (m_qsoWindow) {
        m_qsoWindow->show();
        m_config.LASTLOG = NormalizeStoredPath(log.LogFileName).substr(0, 128);
        PostMainNotify(2);
    }
}

void TMainForm::refreshAfterMerge(TQsoData &)
{
    if (m_qsoWindow)
        m_qsoWindow->RefreshFromLog();
    m_companions[5].refreshRequest = true;
}

bool TMainForm::countryDataNeedsSaving() { return m_countries.CountryDataNeedsSaving(); }

void TMainForm::saveCountryData() { saveCountryToMain(); }

void TMainForm::saveCountryToMain()
{
    if (!m_countries.CountryDataNeedsSaving())
        return;
    SaveCountryFile(m_countries, CountryTarget::MainFile, m_config.DefQSO_Cycle, Notifier());
}

void TMainForm::reloadCountryData()
{
    m_countries.FreeCountryData();
    LoadCountryFile(m_countries, Notifier());
    m_awards->CountryDataChanged();
    if (m_log)
        m_log->AwardTablesValid = false;
}

void TMainForm::destroyQsoWindow()
{
    if (m_qsoWindow) {
        delete m_qsoWindow.data();
        m_qsoWindow = nullptr;
        PostMainNotify(1);
    }
}

bool TMainForm::qsoWindowAgrees() { return !m_qsoWindow || m_qsoWindow->AgreeToLeaveMode(); }

// --- log commands -----------------------------------------------------------

QString TMainForm::logsDir() const { return QString::fromStdString(SaveDir()); }

bool TMainForm::CloseCurrentLog()
{
    if (!m_log)
        return true;
    if (m_log->LogOutOfDate || m_log->Modified) {
        Answer answer = Notifier().confirm(m_log->LogFileName + "\r\rDo you want to save the changes to this log?",
                                           Buttons::YesNoCancel);
        if (answer == Answer::Cancel)
            return false;
        m_log->CloseLog(answer == Answer::Yes);
    } else {
        m_log->CloseLog(false);
    }
    m_radioPollTrigger->stop();
    m_scannerTrigger->stop();
    StopBackupCountdown();
    destroyQsoWindow();
    m_log.reset();
    UpdateLogMenus();
    return true;
}

void TMainForm::NewClick()
{
    if (!qsoWindowAgrees())
        return;
    QString file = m_chooser->NewLog(this, logsDir());
    if (file.isEmpty() || !CloseCurrentLog())
        return;
    if (QFileInfo::exists(file)) {
        Answer answer = Notifier().show(MessageKind::Warning,
                                        file.toStdString() + "\r\rThis file exists already. Overwrite it?",
                                        Buttons::YesNo);
        if (answer != Answer::Yes)
            return;
    }
    m_log = std::make_unique<TQsoData>(m_services);
    m_log->NewLog(file.toStdString());
    if (m_qsoWindow)
        m_qsoWindow->StartAddRealTime();
    UpdateLogMenus();
}

void TMainForm::OpenClick()
{
    if (!qsoWindowAgrees())
        return;
    QString file = m_chooser->OpenLog(this, logsDir());
    if (file.isEmpty() || !CloseCurrentLog())
        return;
    OpenLogFile(file);
    m_lastBackupTime = QDateTime();
    UpdateCaption();
    UpdateLogMenus();
}

void TMainForm::SaveClick()
{
    StopBackupCountdown();
    if (m_log)
        m_log->WriteLog(true);
    saveCountryToMain();
}

void TMainForm::SaveAsClick()
{
    if (!m_log || m_log->Count() == 0)
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
        m_log->LogFileName = file.toStdString();
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(m_log->LogFileName).parent_path(), ec);
        m_log->WriteLog(true);
        saveCountryToMain();
        m_lastBackupTime = QDateTime();
        UpdateCaption();
        m_config.LASTLOG = NormalizeStoredPath(m_log->LogFileName).substr(0, 128);
        if (m_qsoWindow)
            m_qsoWindow->RefreshFromLog();
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
    std::string text = "LogFile = " + (m_log ? m_log->LogFileName : std::string("No logfile open"));
    if (m_log)
        text += "\rNr QSOs = " + std::to_string(m_log->Count()) + "\rNr Notes = " +
                std::to_string(m_log->Notes.Count()) + "\rSWL Records = " + std::to_string(m_log->SwlList.Count());
    Notifier().show(MessageKind::Information, "Current Status\r\r" + text, Buttons::Ok);
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
    bool open = m_log != nullptr;
    for (QAction *action : {m_save, m_saveAs, m_backup, m_close})
        action->setEnabled(open);
}

void TMainForm::UpdateLevelMenus()
{
    bool advanced = m_config.Personal_UserLevel >= 2;
    m_iotaItem->setEnabled(advanced);
    m_managersItem->setEnabled(advanced);
}

void TMainForm::SetImportExportHandler(std::function<void()> handler)
{
    m_importExport = std::move(handler);
    m_importExportItem->setVisible(m_importExport != nullptr);
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
    runReferenceEditor<TEditIOTADialog>(*this, m_countries, *m_settings, m_progress.get());
}

void TMainForm::EditManagersClick()
{
    runReferenceEditor<TEditQSLMgrDialog>(*this, m_countries, *m_settings, m_progress.get());
}

void TMainForm::EditAddressesClick()
{
    runReferenceEditor<TEditAddressDialog>(*this, m_countries, *m_settings, m_progress.get());
}

void TMainForm::UpdateRadioMenus() {} // the radio menu comes with the radio engine

// --- companions and internal messages ---------------------------------------

void TMainForm::SetCompanion(int entry, QWidget *window)
{
    if (entry < 0 || entry >= CompanionCount)
        return;
    m_companions[static_cast<std::size_t>(entry)] = {window, window != nullptr, false};
}

void TMainForm::CompanionClosed(int entry, QWidget *window)
{
    if (entry < 0 || entry >= CompanionCount)
        return;
    m_windowServices->SaveWindowPos(window, CompanionPositions[static_cast<std::size_t>(entry)]);
    if (Companion(entry) == window)
        SetCompanion(entry, nullptr);
}

QWidget *TMainForm::Companion(int entry) const
{
    return entry >= 0 && entry < CompanionCount ? m_companions[static_cast<std::size_t>(entry)].window.data() : nullptr;
}

void TMainForm::RequestRefresh(int entry, bool locationChanged)
{
    if (entry >= 0 && entry < CompanionCount)
        m_companions[static_cast<std::size_t>(entry)].refreshRequest = true;
    if (locationChanged)
        m_locationChanged = true;
}

void TMainForm::RequestHighlightAll()
{
    for (auto &entry : m_companions)
        entry.highlightRequest = true;
}

void TMainForm::PostMainNotify(int code)
{
    if (code == 11) {
        if (m_mainNotify11Pending)
            return; // one waiting refresh serves them all
        m_mainNotify11Pending = true;
    }
    QCoreApplication::postEvent(this, new MainNotify(code));
}

const QEvent::Type TMainForm::DeferReplyEvent = static_cast<QEvent::Type>(QEvent::User + 1027);

void TMainForm::PostSetTableRow(int row, QAbstractItemView *table)
{
    QCoreApplication::postEvent(this, new SetTableRow(row, table));
}

void TMainForm::PostDeferRequest(int code, QObject *requester)
{
    for (const auto &[pendingCode, pendingRequester] : m_deferPending)
        if (pendingCode == code && pendingRequester == requester)
            return; // the answer already on its way serves this request too
    m_deferPending.emplace_back(code, requester);
    QCoreApplication::postEvent(this, new DeferMessage(DeferRequestEvent, code, requester));
}

void TMainForm::customEvent(QEvent *event)
{
    if (event->type() == SetTableRowEvent) {
        auto *message = static_cast<SetTableRow *>(event);
        if (message->table && message->table->model()) {
            message->table->setCurrentIndex(message->table->model()->index(message->row, 0));
            message->table->viewport()->update();
        }
        return;
    }
    if (event->type() == DeferRequestEvent) {
        auto *message = static_cast<DeferMessage *>(event);
        std::erase_if(m_deferPending, [&](const auto &p) { return p.first == message->code && p.second == message->requester; });
        if (message->requester)
            QCoreApplication::postEvent(message->requester, new DeferMessage(DeferReplyEvent, message->code, nullptr));
        return;
    }
    if (event->type() != MainNotifyEvent)
        return QMainWindow::customEvent(event);
    int code = static_cast<MainNotify *>(event)->code;
    switch (code) {
    case 9:
        for (auto &entry : m_companions)
            if (auto *companion = dynamic_cast<CompanionWindow *>(entry.window.data()); companion && companion->IsSummaryPanel())
                entry.refreshRequest = true;
        break;
    case 11:
        m_mainNotify11Pending = false;
        if (m_qsoWindow)
            m_qsoWindow->RefreshCustomAwards();
        break;
    default:
        break; // the windows that act on the other codes register with their subsystems
    }
}

void TMainForm::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    ScreenInfo screen = screenInfo();
    if (m_windowServices->RescaleWindows(true, screen.pixelsPerInch, screen.width))
        PostMainNotify(9);
}

void TMainForm::ShowContestNumber(int number)
{
    m_nr->setText(number > 0 ? QString::number(number) : QString());
    m_nr->setVisible(number > 0);
}

void TMainForm::FocusQsoWindow()
{
    if (!m_qsoWindow)
        return;
    m_qsoWindow->raise();
    m_qsoWindow->activateWindow();
    // Keep the field the user was in; only a window without one gets the focus itself.
    if (QWidget *field = m_qsoWindow->focusWidget())
        field->setFocus();
    else
        m_qsoWindow->setFocus();
}

// --- shutdown -----------------------------------------------------------------

bool TMainForm::FormCloseQuery() { return qsoWindowAgrees() && CloseCurrentLog(); }

void TMainForm::FormClose()
{
    m_closing = true;
    disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
    m_clockTrigger->stop();
    StopBackupCountdown();
    for (auto &entry : m_companions)
        if (entry.window)
            entry.window->close();
    // FormDestroy: the main window's place and the configuration.
    if (isMinimized())
        showNormal();
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
