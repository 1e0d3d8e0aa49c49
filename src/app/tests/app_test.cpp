// Drives the real main window offscreen on a temporary program directory.

#include "testsupport/logfilebuilder.h"
#include "testsupport/tempdir.h"

#include "app/testing/Fprogram.h"

#include "app/Fmain.h"
#include "app/singleinstance.h"

#include "config/configfile.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/countryfile.h"
#include "country/resolver.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"

#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

namespace fs = std::filesystem;

class MainWindowTest : public test::ProgramTest {
protected:
    MainWindowTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "app") {}
    void SetUp() override { config.DefQSO_BackupInterval = 1; }

    void start(QStringList arguments = {})
    {
        MainFormOptions options;
        options.arguments = arguments;
        options.backupTickMs = 20;
        program.Start({}, options);
    }

    void addQso(const std::string &call)
    {
        auto rec = std::make_unique<TQsoRec>();
        rec->Call = call;
        rec->Date = 45000;
        rec->Time = static_cast<std::int32_t>(main->Log()->Count());
        main->Log()->AddQso(std::move(rec));
    }

    std::string file(const std::string &name) const { return dir.path() + "/SAVE/" + name; }
    QString qfile(const std::string &name) const { return QString::fromStdString(file(name)); }
    QString disk() const { return main->DiskPanel()->text(); }

    void writeLog(const std::string &name, int qsos)
    {
        test::LogFileBuilder b('H');
        for (int i = 0; i < qsos; ++i) {
            test::FileQso q;
            q.call = "DL" + std::to_string(i) + "ABC";
            q.date = 45000;
            q.time = i;
            b.qsos.push_back(q);
        }
        b.writeTo(file(name));
    }

};

TEST_F(MainWindowTest, NewLogChangeBackupCountdownAndSave)
{
    config.LASTLOG = "<none>";
    start();
    EXPECT_EQ(main->Log(), nullptr);
    EXPECT_FALSE(main->findChild<QAction *>("Save1")->isEnabled());

    chooser.answers = {qfile("NEW.VLL")};
    main->NewClick();
    ASSERT_NE(main->Log(), nullptr);
    ASSERT_NE(main->QsoWindow(), nullptr);
    EXPECT_TRUE(main->findChild<QAction *>("Save1")->isEnabled());
    EXPECT_EQ(disk(), "") << "a new log is written at once";
    EXPECT_TRUE(fs::exists(file("NEW.VLL")));
    EXPECT_TRUE(main->Log()->Journaling());

    addQso("DL1ABC");
    EXPECT_EQ(disk(), "Modified");
    EXPECT_EQ(main->BackupTicksLeft(), 12);
    ASSERT_TRUE(QTest::qWaitFor([&] { return disk() == "Modified[11]"; }, 2000)) << disk().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->BackupRequested(); }, 3000));
    main->AppIdle();
    EXPECT_TRUE(fs::exists(BackupFileName(BackupFile::Log)));
    EXPECT_FALSE(main->BackupRequested());
    EXPECT_EQ(disk(), "Modified");
    EXPECT_TRUE(main->Log()->IsOutOfDate());
    EXPECT_TRUE(main->windowTitle().contains("Last backup"));

    main->SaveClick();
    EXPECT_TRUE(fs::exists(file("NEW.VLL")));
    EXPECT_EQ(disk(), "");
    EXPECT_FALSE(main->Log()->IsModified());
    EXPECT_FALSE(main->Log()->IsOutOfDate());

    CountryResolver resolver(countries);
    LogServices services;
    services.resolver = &resolver;
    auto saved = std::make_unique<TQsoData>(services);
    ASSERT_TRUE(saved->ReadLog(file("NEW.VLL"), LoadMode::Load, DuplicateMode::EmptyLog));
    EXPECT_EQ(saved->Count(), 1);
    EXPECT_GT(saved->Get(0)->Country, 0) << "DL1ABC resolves with the default country data";
}

TEST_F(MainWindowTest, AfterAnAbnormalEndTheJournalBringsBackEveryQso)
{
    config.LASTLOG = "<none>";
    start();
    chooser.answers = {qfile("KEPT.VLL")};
    main->NewClick();
    for (const char *call : {"DL1ABC", "JA1XYZ", "K1ABC"})
        addQso(call);
    main->Log()->Notes.SetNote("K1ABC", "Bob");
    main.reset(); // the program is gone without closing the log: the saved file holds no QSO

    config.LASTLOG = file("KEPT.VLL");
    notifier.shown.clear();
    notifier.answers = {Answer::Yes};
    start();
    ASSERT_GE(notifier.shown.size(), 2u);
    EXPECT_NE(notifier.shown[0].text.find("4 change(s) made since it was last saved"), std::string::npos)
        << notifier.shown[0].text;
    ASSERT_NE(main->Log(), nullptr);
    EXPECT_EQ(main->Log()->Count(), 3);
    EXPECT_EQ(main->Log()->Notes.NoteOf("K1ABC"), "Bob");
    EXPECT_FALSE(main->Log()->IsModified()) << "the recovered changes are saved at once";
    main.reset();

    // Saved: nothing to recover; a declined journal is kept aside, not deleted.
    notifier.shown.clear();
    start();
    EXPECT_TRUE(notifier.shown.empty());
    addQso("G4ABC");
    main.reset();
    notifier.answers = {Answer::No};
    start();
    EXPECT_EQ(main->Log()->Count(), 3);
    EXPECT_TRUE(fs::exists(file("KEPT.VLJ~")));
    ASSERT_TRUE(main->CloseCurrentLog());
    EXPECT_FALSE(fs::exists(file("KEPT.VLJ"))) << "a log closed cleanly leaves no journal";
}

TEST_F(MainWindowTest, BackupWithNothingChangedClearsTheIndicator)
{
    config.LASTLOG = "<none>";
    start();
    main->BackupClick();
    main->AppIdle();
    EXPECT_EQ(disk(), "");
    EXPECT_FALSE(main->windowTitle().contains("Last backup"));
    EXPECT_FALSE(fs::exists(BackupFileName(BackupFile::Log)));
}

TEST_F(MainWindowTest, NoCountdownWithoutABackupInterval)
{
    config.LASTLOG = "<none>";
    config.DefQSO_BackupInterval = 0;
    start();
    chooser.answers = {qfile("A.VLL")};
    main->NewClick();
    addQso("K1ABC");
    QTest::qWait(100);
    EXPECT_EQ(disk(), "Modified");
    main->BackupClick(); // Alt+B still writes the backup
    main->AppIdle();
    EXPECT_TRUE(fs::exists(BackupFileName(BackupFile::Log)));
}

TEST_F(MainWindowTest, SaveAsAcceptsLowerCaseVllAndRefusesOtherNames)
{
    writeLog("ONE.VLL", 3);
    config.LASTLOG = file("ONE.VLL");
    start();
    ASSERT_NE(main->Log(), nullptr);
    chooser.answers = {qfile("copy.txt"), qfile("copy.vll")};
    main->SaveAsClick();
    EXPECT_NE(notifier.shown.at(0).text.find(".VLL"), std::string::npos);
    EXPECT_TRUE(fs::exists(file("copy.vll")));
    EXPECT_FALSE(fs::exists(file("copy.txt")));
    EXPECT_EQ(main->Log()->LogFileName, file("copy.vll"));
    EXPECT_EQ(std::string(config.LASTLOG.view()), file("copy.vll"));
}

TEST_F(MainWindowTest, CloseAnswersYesNoAndCancel)
{
    writeLog("ONE.VLL", 2);
    config.LASTLOG = file("ONE.VLL");
    start();
    ASSERT_NE(main->Log(), nullptr);
    addQso("W1AW");

    notifier.answers = {Answer::Cancel};
    main->CloseClick();
    EXPECT_NE(main->Log(), nullptr) << "Cancel leaves the log open";
    EXPECT_NE(main->QsoWindow(), nullptr);
    EXPECT_EQ(std::string(config.LASTLOG.view()), "<none>");

    notifier.answers = {Answer::No};
    main->CloseClick();
    EXPECT_EQ(main->Log(), nullptr);
    EXPECT_EQ(main->QsoWindow(), nullptr);
    TQsoData reread;
    ASSERT_TRUE(reread.ReadLog(file("ONE.VLL"), LoadMode::Load, DuplicateMode::EmptyLog));
    EXPECT_EQ(reread.Count(), 2) << "No drops the change";

    ASSERT_TRUE(main->OpenLogFile(qfile("ONE.VLL")));
    addQso("W1AW");
    notifier.answers = {Answer::Yes};
    main->CloseClick();
    TQsoData saved;
    ASSERT_TRUE(saved.ReadLog(file("ONE.VLL"), LoadMode::Load, DuplicateMode::EmptyLog));
    EXPECT_EQ(saved.Count(), 3) << "Yes saves";
    EXPECT_TRUE(fs::exists(file("ONE.~LL")));
}

TEST_F(MainWindowTest, ExitWithCancelKeepsTheProgramRunningAndExitSavesTheSettings)
{
    config.LASTLOG = "<none>";
    start();
    chooser.answers = {qfile("X.VLL")};
    main->NewClick();
    addQso("G4ABC");
    notifier.answers = {Answer::Cancel};
    EXPECT_FALSE(main->close());
    EXPECT_TRUE(main->isVisible());
    EXPECT_NE(main->Log(), nullptr);

    notifier.answers = {Answer::Yes};
    EXPECT_TRUE(main->close());
    EXPECT_TRUE(fs::exists(file("X.VLL")));
    EXPECT_TRUE(fs::exists(DataFileName(DataFile::Config)));
    EXPECT_FALSE(fs::exists(BackupFileName(BackupFile::Log)));
    TConfigRecord stored = BuiltInConfig();
    ASSERT_TRUE(LoadConfig(stored, DataFileName(DataFile::Config), std::nullopt, notifier));
    EXPECT_EQ(std::string(stored.LASTLOG.view()), file("X.VLL")) << "the next start reopens this log";
}

TEST_F(MainWindowTest, StartupLogFollowsTheCommandLineAndLastlog)
{
    writeLog("QQ0QQ.VLL", 1);
    writeLog("OTHER.VLL", 4);
    config.LASTLOG = "";
    start();
    ASSERT_NE(main->Log(), nullptr);
    EXPECT_EQ(main->Log()->LogFileName, file("QQ0QQ.VLL")) << "empty LASTLOG opens the default log";
    main.reset();

    config.LASTLOG = file("OTHER.VLL");
    start({"/F"});
    ASSERT_NE(main->Log(), nullptr);
    EXPECT_EQ(main->Log()->Count(), 4) << "a first argument beginning with / leaves LASTLOG in force";
    main.reset();

    start({qfile("QQ0QQ.VLL")});
    EXPECT_EQ(main->Log()->Count(), 1) << "a log named on the command line wins";
    main.reset();

    config.LASTLOG = "<none>";
    start();
    EXPECT_EQ(main->Log(), nullptr);
}

TEST_F(MainWindowTest, AnUnreadableStartupLogLeavesNoLogOpen)
{
    test::WriteFile(file("BAD.VLL"), {1, 2, 3});
    config.LASTLOG = file("BAD.VLL");
    start();
    EXPECT_EQ(main->Log(), nullptr);
    EXPECT_EQ(main->QsoWindow(), nullptr);
    EXPECT_EQ(notifier.shown.back().kind, MessageKind::Error);

    // A start-up log that no longer exists: said once, then made anew on disk.
    config.LASTLOG = "";
    notifier.shown.clear();
    start();
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_NE(lastMessage().find("QQ0QQ.VLL"), std::string::npos);
    ASSERT_NE(main->Log(), nullptr) << "never a program without a log and no hint what to do";
    EXPECT_EQ(main->Log()->LogFileName, file("QQ0QQ.VLL"));
    EXPECT_TRUE(fs::exists(file("QQ0QQ.VLL")));
    main.reset();
    notifier.shown.clear();
    start();
    EXPECT_TRUE(notifier.shown.empty()) << "the next start opens it without a word";
    ASSERT_NE(main->Log(), nullptr);
}

TEST_F(MainWindowTest, CrashRecoveryAnswers)
{
    config.LASTLOG = "<none>";
    auto leaveBackup = [&] {
        test::LogFileBuilder b('H');
        test::FileQso q;
        q.call = "K1ABC";
        q.date = 45000;
        b.qsos.push_back(q);
        b.writeTo(BackupFileName(BackupFile::Log));
        test::WriteFile(CountryAutosaveFileName(), test::ReadFile(CountryFileName()));
    };

    leaveBackup();
    notifier.answers = {Answer::No};
    start();
    EXPECT_NE(notifier.shown.at(0).text.find("A backup copy of a log file was found"), std::string::npos);
    EXPECT_FALSE(fs::exists(BackupFileName(BackupFile::Log)));
    EXPECT_FALSE(fs::exists(CountryAutosaveFileName()));

    leaveBackup();
    notifier.answers = {Answer::Yes};
    chooser.answers = {""};
    start();
    EXPECT_FALSE(fs::exists(BackupFileName(BackupFile::Log))) << "Yes, then cancel: both deleted";
    EXPECT_FALSE(fs::exists(CountryAutosaveFileName()));

    leaveBackup();
    notifier.answers = {Answer::Yes};
    chooser.answers = {qfile("RESCUED.VLL")};
    start();
    EXPECT_TRUE(fs::exists(file("RESCUED.VLL")));
    EXPECT_FALSE(fs::exists(BackupFileName(BackupFile::Log)));
    EXPECT_FALSE(fs::exists(CountryAutosaveFileName())) << "the autosave copy became the country file";
    ASSERT_NE(main->Log(), nullptr) << "the rescued log is opened to be verified";
    EXPECT_EQ(main->Log()->LogFileName, file("RESCUED.VLL"));
    EXPECT_EQ(main->Log()->Count(), 1);

    leaveBackup();
    notifier.shown.clear();
    notifier.answers = {Answer::Yes};
    chooser.answers = {QString::fromStdString(dir.path() + "/VELLUM.VLB/inside.vll"), ""};
    start();
    EXPECT_EQ(notifier.shown.at(1).text, "Problem renaming file, try again");
    EXPECT_TRUE(fs::exists(BackupFileName(BackupFile::Log))) << "kept until the normal end of this run";
}

TEST_F(MainWindowTest, HelpAboutAndInfo)
{
    config.LASTLOG = "<none>";
    start();
    main->InfoClick();
    EXPECT_EQ(notifier.shown.back().caption, "Current Status");
    EXPECT_EQ(lastMessage(), "LogFile = No logfile open");
    writeLog("INFO.VLL", 2);
    ASSERT_TRUE(main->OpenLogFile(qfile("INFO.VLL")));
    main->InfoClick();
    EXPECT_EQ(lastMessage(), "LogFile = " + file("INFO.VLL") + "\rNr QSOs = 2\rNr Notes = 0\rSWL Records = 0");
    auto *help = main->menuBar()->findChild<QMenu *>("HelpMenu");
    ASSERT_NE(help, nullptr);
    QStringList items;
    for (QAction *a : help->actions())
        items << a->text();
    EXPECT_EQ(items, (QStringList{"&Contents", "Search for Help On...", "How to &Use Help", "&About..."}));
    main->HelpContentsClick();
    QWidget *viewer = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == "HelpViewer" && w->isVisible())
            viewer = w;
    ASSERT_NE(viewer, nullptr);
    viewer->close();
}

TEST(SingleInstance, ASecondStartAsksTheFirstToComeForward)
{
    test::TempDir dir;
    SingleInstance first(QString::fromStdString(dir.path()));
    ASSERT_TRUE(first.acquire());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second(QString::fromStdString(dir.path()));
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(raised.wait(2000));
}

TEST(SingleInstance, TheRealProgramStartsOnlyOnce)
{
    test::TempDir dir;
    QStringList args{"--dir", QString::fromStdString(dir.path())};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VELLUM_DEFAULT_DATA", VELLUM_DEFAULT_DATA_DIR);
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(VELLUM_PROGRAM, args);
    ASSERT_TRUE(first.waitForStarted());
    // The first instance is running once its configuration directory and lock exist.
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(dir.path() + "/VELLUM.LCK"); }, 20000));
    QTest::qWait(500);
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(VELLUM_PROGRAM, args);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().toStdString();
    first.terminate();
    first.waitForFinished(5000);
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST_F(MainWindowTest, DatabaseEditorsFollowTheUserLevel)
{
    config.LASTLOG = "<none>";
    config.Personal_UserLevel = 1;
    start();
    EXPECT_FALSE(main->findChild<QAction *>("IOTA1")->isEnabled());
    EXPECT_FALSE(main->findChild<QAction *>("QSLManagers1")->isEnabled());
    EXPECT_TRUE(main->findChild<QAction *>("ManagerAddresses1")->isEnabled());
    config.Personal_UserLevel = 2;
    main->UpdateLevelMenus();
    EXPECT_TRUE(main->findChild<QAction *>("IOTA1")->isEnabled());
    EXPECT_TRUE(main->findChild<QAction *>("QSLManagers1")->isEnabled());
}

} // namespace
} // namespace vellum

#include <QStringListModel>
#include <QListView>

namespace vellum {
namespace {

/// Counts the DeferReply events it gets.
class Requester : public QObject {
public:
    int replies = 0;
    bool event(QEvent *e) override
    {
        if (e->type() == WindowHost::DeferReplyEvent) {
            ++replies;
            return true;
        }
        return QObject::event(e);
    }
};

TEST_F(MainWindowTest, InternalMessagesRunLaterAndCollapse)
{
    config.LASTLOG = "<none>";
    start();
    Requester requester;
    main->Host().PostDeferRequest(7, &requester);
    main->Host().PostDeferRequest(7, &requester);
    main->Host().PostDeferRequest(8, &requester);
    EXPECT_EQ(requester.replies, 0) << "answers come after the current event";
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(requester.replies, 2) << "one answer for the run of identical requests, one for the other code";

    QStringListModel model({"a", "b", "c"});
    QListView table;
    table.setModel(&model);
    main->Host().PostSetTableRow(2, &table);
    EXPECT_NE(table.currentIndex().row(), 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(table.currentIndex().row(), 2);

    int delivered = 0;
    {
        QObject receiver;
        main->Host().Handle(HostMessage::QsoEntryChanged, &receiver, [&] { ++delivered; });
        main->Host().Post(HostMessage::QsoEntryChanged);
        main->Host().Post(HostMessage::QsoEntryChanged);
        QCoreApplication::processEvents();
        EXPECT_EQ(delivered, 1) << "a message already waiting serves the repeated request";
    }
    main->Host().Post(HostMessage::QsoEntryChanged);
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 1) << "a handler goes with its receiver";
}

TEST_F(MainWindowTest, SubsystemsRegisterMenuItemsAndCompanions)
{
    config.LASTLOG = "<none>";
    start();
    int clicked = 0;
    main->Host().AddMenuItem({QStringLiteral("&File"), QStringLiteral("Tool1"), QStringLiteral("Tool"), {}, [&] { ++clicked; }});
    auto *tool = main->findChild<QAction *>("Tool1");
    ASSERT_NE(tool, nullptr) << "an item registered after the menus were built joins them";
    tool->trigger();
    EXPECT_EQ(clicked, 1);

    int made = 0;
    main->Host().RegisterCompanion(CompanionId::Sun, [&](WindowHost &) -> QWidget * {
        ++made;
        return new QWidget;
    });
    ASSERT_TRUE(main->Host().OpenCompanion(CompanionId::Sun));
    QWidget *sun = main->Host().Companion(CompanionId::Sun);
    ASSERT_NE(sun, nullptr);
    EXPECT_TRUE(main->Host().OpenCompanion(CompanionId::Sun));
    EXPECT_EQ(made, 1) << "an open companion is shown again, not made twice";
    main->Host().CompanionClosed(CompanionId::Sun, sun);
    EXPECT_EQ(main->Host().Companion(CompanionId::Sun), nullptr);
    delete sun;
    EXPECT_FALSE(main->Host().OpenCompanion(CompanionId::Psk31)) << "nothing registered, nothing made";

    int idle = 0;
    {
        QObject receiver;
        main->Host().AddIdleHook(&receiver, [&] { ++idle; });
        main->AppIdle();
        EXPECT_EQ(idle, 1) << "a registered idle hook runs with the idle work";
    }
    main->AppIdle();
    EXPECT_EQ(idle, 1) << "a hook goes with its receiver";
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST_F(MainWindowTest, TheFirstStartOpensTheDefaultLogAsANewLog)
{
    config.LASTLOG = "";
    MainFormOptions options;
    options.firstStart = true;
    program.Start({}, options);
    ASSERT_NE(main->Log(), nullptr) << "a new user can log at once";
    EXPECT_EQ(main->Log()->LogFileName, file("QQ0QQ.VLL"));
    EXPECT_TRUE(notifier.shown.empty()) << "no open-failure box";
    EXPECT_TRUE(fs::exists(file("QQ0QQ.VLL"))) << "written at once, so a restart after a crash finds it";
    EXPECT_TRUE(main->CloseCurrentLog());
    EXPECT_TRUE(notifier.shown.empty()) << "an untouched new default log closes without a question";
    test::TempDir fresh;
    EXPECT_TRUE(PrepareProgramDir(QString::fromStdString(fresh.path() + "/new")));
    EXPECT_FALSE(PrepareProgramDir(QString::fromStdString(fresh.path() + "/new"))) << "only the first start";
    SetProgramDir(dir.path());
}

TEST_F(MainWindowTest, AnUnreadableDeletedWpxListIsSaidAndTheProgramGoesOnWithoutIt)
{
    config.LASTLOG = "<none>";
    test::WriteFile(file("VELLUM.WPX"), "XX*\n");
    start();
    EXPECT_EQ(countries.DeletedWpx.Count(), 1) << "read when the main window is made";
    main.reset();

    fs::remove(file("VELLUM.WPX"));
    fs::create_directory(file("VELLUM.WPX")); // exists, but reading it fails
    start();
    ASSERT_FALSE(notifier.shown.empty());
    EXPECT_EQ(notifier.shown.front().kind, MessageKind::Warning);
    EXPECT_NE(notifier.shown.front().text.find("deleted WPX prefixes could not be read"), std::string::npos);
    EXPECT_EQ(countries.DeletedWpx.Count(), 0);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(program.programEnded, 0);
}

TEST_F(MainWindowTest, ACountryFileThatCannotBeReadAgainEndsTheProgramWithoutWritingIt)
{
    config.LASTLOG = "<none>";
    start();
    chooser.answers = {qfile("LOST.VLL")};
    main->NewClick();
    ASSERT_NE(main->Log(), nullptr);
    countries.MarkCountryDataModified(); // an editor changed the country data
    main->RunBackup();
    ASSERT_TRUE(fs::exists(CountryAutosaveFileName()));
    const std::vector<std::uint8_t> autosave = test::ReadFile(CountryAutosaveFileName());
    const std::string damaged = "not a country file";
    test::WriteFile(CountryFileName(), damaged);
    countries.MarkCountryDataModified();

    notifier.answers = {Answer::No}; // close without saving: the changes are dropped by reading the file again
    main->CloseClick();
    EXPECT_EQ(notifier.shown.back().kind, MessageKind::Error);
    EXPECT_EQ(notifier.shown.back().text.rfind("Failed reading the country file", 0), 0u);
    EXPECT_EQ(program.programEnded, 1);
    EXPECT_TRUE(main->CountryDataLost());

    // Whatever still reaches the main window writes no empty tables anywhere.
    main->SaveClick();
    main->BackupClick();
    main->AppIdle();
    main->RunBackup();
    chooser.answers = {qfile("OTHER.VLL")};
    main->NewClick();
    EXPECT_EQ(main->Log(), nullptr);
    main->close();
    EXPECT_EQ(test::ReadFile(CountryFileName()), std::vector<std::uint8_t>(damaged.begin(), damaged.end()));
    EXPECT_EQ(test::ReadFile(CountryAutosaveFileName()), autosave) << "kept for the next start";
    EXPECT_FALSE(main->isVisible());
}

} // namespace
} // namespace vellum
