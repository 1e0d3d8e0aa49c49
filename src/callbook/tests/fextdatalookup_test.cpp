// "Callsign / Mgr lookup" in the program: F3 from the QSO window, a source library,
// the QSL manager program, setting the QSO's manager, the clipboard, "Full Size",
// "Automatic Update", and the online callbook answering slowly without blocking.

#include "callbook/Fextdatalookup.h"
#include "callbook/Fonlinesettings.h"
#include "callbook/Fqslprogram.h"

#include "localhttpserver.h"

#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "qso/Fqso.h"
#include "qso/Fqsodialogs.h"
#include "qso/qsoentry.h"
#include "setup/Fsetup.h"
#include "setup/Fsetupactions.h"
#include "testsupport/Fwindowtest.h"
#include "qso/tests/qsowindowtest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

namespace fs = std::filesystem;

/// A shell script as the QSL manager program.
std::string writeScript(const std::string &name, const std::string &body)
{
    test::WriteFile(name, "#!/bin/sh\n" + body);
    fs::permissions(name, fs::perms::owner_all);
    return name;
}

class LookupWindowTest : public test::QsoWindowTest {
protected:
    LookupWindowTest() : QsoWindowTest(VELLUM_DEFAULT_DATA_DIR, "callbook") {}
    void SetUp() override
    {
        config.LASTLOG = "<none>";
        config.Personal_DateFormat = 3;
        fs::create_directories(dir.file("EXTDATA"));
        fs::copy_file(CALLBOOK_TEST_SOURCE, dir.file("EXTDATA/QRZ32.so"));
        fs::create_directories(dir.file("cd"));
        test::WriteFile(dir.file("cd/fh.db"), "x");
        config.F_ExtAddrType = 4;
        config.F_ExtAddrPath = dir.file("cd");
        config.F_ExtFullSize = 1;
    }
    void start(std::vector<test::WindowRegistration> more = {})
    {
        std::vector<test::WindowRegistration> registrations{RegisterQsoWindows, RegisterCallbookWindows};
        registrations.insert(registrations.end(), more.begin(), more.end());
        StartWithNewLog(registrations);
    }
    QsoEntry &entry() { return *form->Entry(); }
    /// The online callbook as the configured source: user "ann" with password at url.
    void useOnlineSource(const QString &url, const char *password, int timeoutSeconds)
    {
        OnlineCallbookSettings settings;
        settings.user = "ann";
        settings.password = password;
        settings.baseUrl = url.toStdString();
        settings.timeoutSeconds = timeoutSeconds;
        SaveOnlineSettings(settings, program.SaveFile("CALLBOOK.CFG"));
        config.F_ExtAddrType = 6;
    }
    void typeCall(const char *call)
    {
        entry().Edit(QsoField::Call, call);
        entry().Leave(QsoField::Call);
    }
    QAction *qsoAction(const char *name) { return form->findChild<QAction *>(QString::fromLatin1(name)); }
    TExtDataLookup *window() { return qobject_cast<TExtDataLookup *>(main->Host().Companion(CompanionId::External)); }
    void waitForLookup()
    {
        ASSERT_NE(window(), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window()->Busy(); }, 60000));
    }
};

TEST_F(LookupWindowTest, SearchExternalDataLooksTheCallAndItsManagerUp)
{
    start();
    typeCall("QX1AB");
    QAction *search = qsoAction("SearchExternal1");
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->shortcut(), QKeySequence(Qt::Key_F3));
    search->trigger();
    waitForLookup();
    TExtDataLookup *lookup = window();
    EXPECT_EQ(lookup->windowTitle(), "Callsign / Mgr lookup");
    EXPECT_EQ(lookup->Lines(), (QStringList{"QX1AB", "Ann Example", "QX1AB QSL via QX9MGR/3, thanks", "Springfield",
                                            "----Address for QX9MGR/3", "QX9MGR/3 not found"}));
    EXPECT_EQ(lookup->CallField()->text(), "QX1AB");
    EXPECT_EQ(lookup->ManagerField()->text(), "QX9MGR/3");

    // The manager goes to the QSO window while both show the same call.
    QAction *setManager = lookup->Action("SetQSLManager1");
    EXPECT_TRUE(setManager->isEnabled());
    setManager->trigger();
    EXPECT_EQ(entry().Text(QsoField::Manager), "QX9MGR/3");

    // Selected lines (or all) go to the clipboard with CR LF after each.
    lookup->List()->item(1)->setSelected(true);
    lookup->List()->item(3)->setSelected(true);
    lookup->Action("CopyToClipBoard1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "Ann Example\r\nSpringfield\r\n");

    test::SaveScreenshot(lookup, "callbook-lookup.png");

    // Another call in the QSO window: the manager cannot be set from this one.
    typeCall("QX2CD");
    lookup->RefreshCompanion();
    EXPECT_FALSE(setManager->isEnabled());
    EXPECT_EQ(lookup->CallField()->text(), "QX1AB") << "without Automatic Update the window stays";
    lookup->SetAutomaticUpdate(true);
    waitForLookup();
    EXPECT_EQ(lookup->CallField()->text(), "QX2CD");
    EXPECT_EQ(lookup->Lines(), QStringList{"QX2CD not found"});

    // "Full Size" hides the entry panel; both choices are kept on closing.
    int tall = lookup->height();
    lookup->SetFullSize(false);
    EXPECT_FALSE(lookup->CallField()->isVisibleTo(lookup));
    EXPECT_LT(lookup->height(), tall);
    lookup->close();
    QApplication::processEvents();
    EXPECT_FALSE(config.F_ExtFullSize);
    EXPECT_TRUE(config.F_ExtAutoUpdate);
}

TEST_F(LookupWindowTest, CopyToManagerAddressAppendsTheLinesInTheAddressEditor)
{
    start();
    typeCall("QX1AB");
    qsoAction("SearchExternal1")->trigger();
    waitForLookup();
    TExtDataLookup *lookup = window();
    lookup->List()->item(1)->setSelected(true);
    lookup->List()->item(3)->setSelected(true);
    bool edited = false;
    QTimer::singleShot(0, [&edited] {
        EXPECT_TRUE(QTest::qWaitFor([] { return qobject_cast<TEditNote *>(QApplication::activeModalWidget()); }, 60000));
        if (auto *editor = qobject_cast<TEditNote *>(QApplication::activeModalWidget())) {
            edited = editor->Note() == "Ann Example|Springfield";
            editor->accept();
        }
    });
    lookup->Action("CopyToQSLManagerAddress1")->trigger();
    EXPECT_TRUE(edited);
    EXPECT_EQ(entry().Text(QsoField::Manager), "QX1AB") << "without a manager the call is its own";
    EXPECT_EQ(entry().ManagerAddress(), (std::vector<std::string>{"Ann Example", "Springfield"}));
}

TEST_F(LookupWindowTest, QslManagerProgramRunsWithTheCallAsItsArgument)
{
    config.F_ExtAddrType = 0;
    std::string marker = dir.file("ran");
    config.F_ExtQSLProg = writeScript(dir.file("mgr.sh"), "echo 'Manager finder 2.0'\necho \"  $1 via QX5MGR\"\n"
                                                          "echo > " + marker + "\n");
    config.F_ExtQSLEnabled = 1;
    start();
    typeCall("QX1AB");
    qsoAction("SearchExternal1")->trigger();
    waitForLookup();
    EXPECT_EQ(window()->Lines(), (QStringList{QString::fromStdString("----QSL info from: " + dir.file("mgr.sh")),
                                              "QX1AB via QX5MGR"}));
    EXPECT_EQ(window()->ManagerField()->text(), "QX5MGR");
    EXPECT_TRUE(fs::exists(dir.file("manager.res")));
}

TEST(QslProgram, UnsafeCallsTimeLimitAndMissingPrograms)
{
    test::TempDir dir;
    std::string marker = dir.file("ran");
    std::string program = writeScript(dir.file("mgr.sh"), "echo > " + marker + "\necho \"$1\"\n");
    CallbookLines lines;
    RunQslProgram(program, "QX1AB;touch x", 5000, lines);
    EXPECT_EQ(lines.back(), "Error in QSL lookup = the call may hold only letters, digits and \"/\"");
    EXPECT_FALSE(fs::exists(marker)) << "a call that is not a call never reaches the program";
    std::string slow = writeScript(dir.file("slow.sh"), "exec sleep 60\n");
    lines.clear();
    RunQslProgram(slow, "QX1AB", 1000, lines);
    EXPECT_EQ(lines.back(), "Error in QSL lookup = no answer within 1 s");
    lines.clear();
    RunQslProgram(dir.file("missing.sh"), "QX1AB", 5000, lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].rfind("Error in QSL lookup = ", 0), 0u);
    std::string silent = writeScript(dir.file("silent.sh"), "rm -f manager.res\n");
    lines.clear();
    RunQslProgram(silent, "QX1AB", 5000, lines);
    EXPECT_EQ(lines.back(), "No result file found");
}

TEST_F(LookupWindowTest, OnlineCallbookAnswersLaterWithoutBlockingTheQsoWindow)
{
    bool holdBack = true;
    QList<QTcpSocket *> held;
    test::LocalHttpServer server([&holdBack](const QUrlQuery &query) -> std::optional<QByteArray> {
        if (query.hasQueryItem("username"))
            return test::QrzAnswer("<Session><Key>k1</Key></Session>");
        if (holdBack && query.queryItemValue("callsign") == "QX1AB")
            return std::nullopt;
        return test::QrzAnswer("<Callsign><call>" + query.queryItemValue("callsign").toLatin1() +
                               "</call><fname>Ann</fname><name>Example</name><qslmgr>QX9MGR</qslmgr></Callsign>");
    });
    useOnlineSource(server.Url(), "pw", 3);
    start();
    typeCall("QX1AB");
    qsoAction("SearchExternal1")->trigger();
    ASSERT_NE(window(), nullptr);
    EXPECT_TRUE(window()->Busy());
    EXPECT_EQ(window()->Lines(), QStringList{"Looking up QX1AB ..."});
    // The QSO window goes on while the service keeps its answer back.
    typeCall("QX3EF");
    EXPECT_EQ(entry().Text(QsoField::Call), "QX3EF");
    waitForLookup();
    EXPECT_EQ(window()->Lines(), QStringList{"QRZ.com: no answer within 3 s"});
    holdBack = false;
    window()->Lookup("QX1AB", false);
    waitForLookup();
    EXPECT_EQ(window()->Lines(), (QStringList{"QX1AB", "Ann Example", "QX1AB via QX9MGR", "----Address for QX9MGR",
                                              "QX9MGR", "Ann Example", "QX9MGR via QX9MGR"}));
    // A window closed while its lookup waits gets no answer afterwards.
    holdBack = true;
    window()->Lookup("QX1AB", false);
    window()->close();
    QApplication::processEvents();
    QTest::qWait(50);
}

/// Answers the next modal dialog with its online settings editor: edit changes the fields.
void answerOnlineSettingsDialog(std::function<void(TOnlineSettingsEditor &)> edit, bool &answered)
{
    QTimer::singleShot(0, [edit, &answered] {
        EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 60000));
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        auto *editor = dialog ? dialog->findChild<TOnlineSettingsEditor *>() : nullptr;
        if (!editor)
            return;
        edit(*editor);
        answered = true;
        dialog->accept();
    });
}

TEST_F(LookupWindowTest, OnlineSettingsSavedInTheSetupDialogOrTheLookupWindowReachTheLookups)
{
    test::LocalHttpServer server([](const QUrlQuery &query) -> std::optional<QByteArray> {
        if (query.hasQueryItem("username"))
            return query.queryItemValue("username") == "ann" && query.queryItemValue("password") == "pw"
                       ? test::QrzAnswer("<Session><Key>k1</Key></Session>")
                       : test::QrzAnswer("<Session><Error>Username/password incorrect</Error></Session>");
        return test::QrzAnswer("<Callsign><call>" + query.queryItemValue("callsign").toLatin1() +
                               "</call><fname>Ann</fname></Callsign>");
    });
    useOnlineSource(server.Url(), "wrong", 30);
    config.Personal_Callsign = "QX0AA"; // no prompt for the own call
    start({RegisterSetupWindows});
    typeCall("QX1AB");
    qsoAction("SearchExternal1")->trigger();
    waitForLookup();
    EXPECT_EQ(window()->Lines(), QStringList{"QRZ.com: wrong user name or password"});

    // The password put right on the setup dialog's "Ext Data" page.
    {
        TSetupDialog dialog(main->Host(), nullptr, main.get());
        dialog.ShowPage(QStringLiteral("Ext Data"));
        auto *password = dialog.findChild<QLineEdit *>(QStringLiteral("OnlinePassword"));
        ASSERT_NE(password, nullptr);
        EXPECT_EQ(password->text(), "wrong");
        password->setText(QStringLiteral("pw"));
        dialog.SaveAndExit();
    }
    QApplication::processEvents(); // SettingsChanged
    window()->Lookup(QStringLiteral("QX1AB"), false);
    waitForLookup();
    EXPECT_EQ(window()->Lines(), (QStringList{"QX1AB", "Ann"}));

    // The lookup window's own item edits them with the same fields.
    bool answered = false;
    answerOnlineSettingsDialog(
        [](TOnlineSettingsEditor &editor) {
            EXPECT_EQ(editor.Settings().password, "pw") << "the settings the setup dialog saved";
            OnlineCallbookSettings changed = editor.Settings();
            changed.user = "nobody";
            editor.Show(changed);
        },
        answered);
    window()->Action("OnlineCallbook1")->trigger();
    EXPECT_TRUE(answered);
    EXPECT_EQ(LoadOnlineSettings(program.SaveFile("CALLBOOK.CFG")).user, "nobody");
    window()->Lookup(QStringLiteral("QX2CD"), false);
    waitForLookup();
    EXPECT_EQ(window()->Lines(), QStringList{"QRZ.com: wrong user name or password"});
}

} // namespace
} // namespace vellum
