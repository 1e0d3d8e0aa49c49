// vellum-cli callbook against the local server: the configured online source with
// its stored settings, the service, address and user given on the command line
// with the password from the environment, a wrong password, a call not found,
// bad options, and a CD-ROM source whose library is missing. The password never
// appears in what the command prints.

#include "callbook/onlinecallbook.h"

#include "localhttpserver.h"

#include "testsupport/tempdir.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

using test::HamQthAnswer;
using test::LocalHttpServer;
using test::QrzAnswer;

const QString Password = QStringLiteral("s3cret-Pw");

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

/// The session-key service: user "ann" with Password; QX1AB is found, with manager QX9MGR.
std::optional<QByteArray> qrzService(const QUrlQuery &query)
{
    if (query.hasQueryItem("username"))
        return query.queryItemValue("username") == "ann" && query.queryItemValue("password") == Password
                   ? QrzAnswer("<Session><Key>k1</Key></Session>")
                   : QrzAnswer("<Session><Error>Username/password incorrect</Error></Session>");
    if (query.queryItemValue("s") != "k1")
        return QrzAnswer("<Session><Error>Invalid session key</Error></Session>");
    QByteArray call = query.queryItemValue("callsign").toLatin1();
    if (call == "QX1AB")
        return QrzAnswer("<Callsign><call>QX1AB</call><fname>Ann</fname><name>Example</name>"
                         "<country>Nowhere</country><qslmgr>QX9MGR</qslmgr></Callsign>");
    if (call == "QX9MGR")
        return QrzAnswer("<Callsign><call>QX9MGR</call><fname>Max</fname><name>Manager</name></Callsign>");
    return QrzAnswer("<Session><Key>k1</Key><Error>Not found: " + call + "</Error></Session>");
}

class CallbookCliTest : public ::testing::Test {
protected:
    CallbookCliTest() { std::filesystem::create_directories(dir.file("SAVE")); }

    /// Runs vellum-cli in the test's program directory; password null: the variable is not set.
    CliRun cli(const QStringList &arguments, const QString &password = QString())
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VELLUM_CALLBOOK_PASSWORD"));
        if (!password.isNull())
            environment.insert(QStringLiteral("VELLUM_CALLBOOK_PASSWORD"), password);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VELLUM_CLI), QStringList{"--dir", QString::fromStdString(dir.path())} + arguments);
        // The local server answers from this event loop while the command waits for it.
        EXPECT_TRUE(QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, 120000));
        CliRun run;
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_FALSE(run.out.contains(Password)) << run.out.toStdString();
        EXPECT_FALSE(run.err.contains(Password)) << run.err.toStdString();
        return run;
    }
    /// A failure: exit status 1, nothing on stdout, one line on stderr.
    void expectFailure(const CliRun &run, const QString &line)
    {
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, QString());
        EXPECT_EQ(run.err, QStringLiteral("vellum-cli: ") + line + QLatin1Char('\n'));
    }
    void storeSettings(const QString &url, const QString &password)
    {
        OnlineCallbookSettings settings;
        settings.user = "ann";
        settings.password = password.toStdString();
        settings.baseUrl = url.toStdString();
        settings.timeoutSeconds = 30;
        SaveOnlineSettings(settings, dir.file("SAVE/CALLBOOK.CFG"));
    }

    test::TempDir dir;
};

TEST_F(CallbookCliTest, ConfiguredOnlineSourceWithItsStoredSettings)
{
    LocalHttpServer server(qrzService);
    storeSettings(server.Url(), Password);
    ASSERT_EQ(cli({"config", "set", "F_ExtAddrType=6"}).status, 0);
    CliRun run = cli({"callbook", "qx1ab"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    EXPECT_EQ(run.out, "{\"call\":\"QX1AB\",\"source\":6,\"service\":\"QRZ.com\",\"manager\":\"QX9MGR\",\"lines\":["
                       "\"QX1AB\",\"Ann Example\",\"Nowhere\",\"QX1AB via QX9MGR\",\"----Address for QX9MGR\","
                       "\"QX9MGR\",\"Max Manager\"]}\n");
    // One session for the call and its manager.
    ASSERT_EQ(server.Requests().size(), 3);
    EXPECT_EQ(server.Requests()[2].queryItemValue("callsign"), "QX9MGR");

    // The variable's password goes over the stored one.
    expectFailure(cli({"callbook", "QX1AB"}, QStringLiteral("not-it")),
                  "callbook: QRZ.com: wrong user name or password");
    expectFailure(cli({"callbook", "QX7ZZ"}), "callbook: QX7ZZ not found (QRZ.com)");
}

TEST_F(CallbookCliTest, ServiceAddressAndUserFromTheCommandLine)
{
    LocalHttpServer server([](const QUrlQuery &query) -> std::optional<QByteArray> {
        if (query.hasQueryItem("u"))
            return query.queryItemValue("u") == "bob" && query.queryItemValue("p") == Password
                       ? HamQthAnswer("<session><session_id>id7</session_id></session>")
                       : HamQthAnswer("<session><error>Wrong user name or password</error></session>");
        if (query.queryItemValue("id") == "id7" && query.queryItemValue("callsign") == "QX2CD")
            return HamQthAnswer("<search><callsign>qx2cd</callsign><adr_name>Bob Example</adr_name></search>");
        return HamQthAnswer("<session><error>Callsign not found</error></session>");
    });
    // Stored settings of another service and user: the options go over them; no CD-ROM source is configured.
    storeSettings(QStringLiteral("http://127.0.0.1:9/unused"), QStringLiteral("stored"));
    QStringList online{"--service", "HamQTH", "--url", server.Url(), "--user", "bob", "--timeout", "30"};
    CliRun run = cli(QStringList{"callbook", "QX2CD"} + online, Password);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "{\"call\":\"QX2CD\",\"source\":6,\"service\":\"HamQTH\",\"manager\":\"\",\"lines\":["
                       "\"QX2CD\",\"Bob Example\"]}\n");
    EXPECT_EQ(server.Requests().first().queryItemValue("p"), Password);

    expectFailure(cli(QStringList{"callbook", "QX2CD"} + online, QStringLiteral("wrong")),
                  "callbook: HamQTH: wrong user name or password");
    expectFailure(cli(QStringList{"callbook", "QX0XX"} + online, Password), "callbook: QX0XX not found (HamQTH)");
    expectFailure(cli({"callbook", "QX2CD", "--service", "other"}), "callbook: --service takes qrz or hamqth, not other");
    expectFailure(cli({"callbook", "QX2CD", "--url", "ftp://x"}),
                  "callbook: --url takes an http:// or https:// address, not ftp://x");
    expectFailure(cli({"callbook", "QX2CD", "--timeout", "0"}), "--timeout takes a whole number from 1 to 300, not 0");
}

TEST_F(CallbookCliTest, CdRomSourceAndItsFailures)
{
    expectFailure(cli({"callbook", "QX1AB"}),
                  "callbook: no callbook source is chosen (F_ExtAddrType 0; --online uses the online callbook)");
    std::filesystem::create_directories(dir.file("cd"));
    test::WriteFile(dir.file("cd/fh.db"), "x");
    ASSERT_EQ(cli({"config", "set", "F_ExtAddrType=4", QString::fromStdString("F_ExtAddrPath=" + dir.file("cd"))}).status, 0);
    expectFailure(cli({"callbook", "QX1AB"}),
                  QString::fromStdString("callbook: the library of source 4 (QRZ32.so) is not in " + dir.file("EXTDATA")));

    std::filesystem::create_directories(dir.file("EXTDATA"));
    std::filesystem::copy_file(CALLBOOK_TEST_SOURCE, dir.file("EXTDATA/QRZ32.so"));
    CliRun run = cli({"callbook", "QX1AB"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "{\"call\":\"QX1AB\",\"source\":4,\"manager\":\"QX9MGR/3\",\"lines\":[\"QX1AB\",\"Ann Example\","
                       "\"QX1AB QSL via QX9MGR/3, thanks\",\"Springfield\",\"----Address for QX9MGR/3\","
                       "\"QX9MGR/3 not found\"]}\n");
    expectFailure(cli({"callbook", "QX2CD"}), "callbook: QX2CD not found");
}

} // namespace
} // namespace vellum
