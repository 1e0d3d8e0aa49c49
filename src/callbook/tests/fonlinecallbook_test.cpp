// The online callbooks against a local server answering in the services' XML
// formats: logging in, lookups, expired sessions, wrong passwords, calls not
// found, malformed answers, a server that does not answer and one that is gone.

#include "callbook/Fonlinecallbook.h"

#include "localhttpserver.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace vellum {
namespace {

using test::HamQthAnswer;
using test::LocalHttpServer;
using test::QrzAnswer;

const QByteArray QrzRecord = "<Callsign><call>QX1AB</call><fname>Ann</fname><name>Example</name>"
                             "<addr1>Main Street 1</addr1><addr2>Springfield</addr2><state>XS</state><zip>12345</zip>"
                             "<country>Nowhere</country><grid>FN31pr</grid><qslmgr>QX9MGR</qslmgr><lotw>1</lotw>"
                             "<eqsl>0</eqsl></Callsign><Session><Key>key2</Key><Count>12</Count></Session>";

/// The session-key service: user "ann", password "pw"; the first key expires after one lookup.
std::optional<QByteArray> qrzService(const QUrlQuery &query, int &logins)
{
    if (query.hasQueryItem("username")) {
        if (query.queryItemValue("password") != "pw")
            return QrzAnswer("<Session><Error>Username/password incorrect</Error></Session>");
        ++logins;
        return QrzAnswer("<Session><Key>key" + QByteArray::number(logins) + "</Key></Session>");
    }
    if (query.queryItemValue("s") != "key2")
        return QrzAnswer("<Session><Error>Session Timeout</Error></Session>");
    QString call = query.queryItemValue("callsign");
    if (call == "QX1AB")
        return QrzAnswer(QrzRecord);
    if (call == "SLOW")
        return std::nullopt;
    if (call == "BROKEN")
        return QByteArray("<QRZDatabase><Callsign><call>BROKEN</call></Callsign"); // cut short
    return QrzAnswer("<Session><Key>key2</Key><Error>Not found: " + call.toLatin1() + "</Error></Session>");
}

class OnlineClientTest : public ::testing::Test {
protected:
    /// The lines of the answer; outcome is how it ended.
    CallbookLines lookup(OnlineCallbookClient &client, const std::string &call)
    {
        std::optional<OnlineAnswer> answer;
        client.Lookup(call, [&answer](const OnlineAnswer &given) { answer = given; });
        // Generous: a loaded machine under the sanitizers is slow.
        EXPECT_TRUE(QTest::qWaitFor([&answer] { return answer.has_value(); }, 60000)) << call;
        outcome = answer ? answer->outcome : OnlineOutcome::Failed;
        return answer ? answer->lines : CallbookLines{"(no answer)"};
    }
    OnlineOutcome outcome = OnlineOutcome::Failed;
    OnlineCallbookSettings settings(OnlineService service, const QString &url, const char *password = "pw")
    {
        OnlineCallbookSettings s;
        s.service = service;
        s.user = "ann";
        s.password = password;
        s.baseUrl = url.toStdString();
        s.timeoutSeconds = 30; // generous: only the slow service's test waits for it
        return s;
    }
};

TEST_F(OnlineClientTest, SessionKeyServiceLooksUpAndLogsInAgainWhenTheSessionExpired)
{
    int logins = 0;
    LocalHttpServer server([&logins](const QUrlQuery &query) { return qrzService(query, logins); });
    OnlineCallbookClient client(settings(OnlineService::QrzXml, server.Url()), nullptr);
    CallbookLines lines = lookup(client, "QX1AB");
    EXPECT_EQ(lines, (CallbookLines{"QX1AB", "Ann Example", "Main Street 1", "Springfield", "XS 12345", "Nowhere",
                                    "Grid: FN31pr", "QX1AB via QX9MGR", "LoTW: yes", "eQSL: no"}));
    // key1 was refused as timed out, so the client logged in once more and asked again.
    ASSERT_EQ(server.Requests().size(), 4);
    EXPECT_EQ(server.Requests()[0].queryItemValue("username"), "ann");
    EXPECT_EQ(server.Requests()[1].queryItemValue("s"), "key1");
    EXPECT_EQ(server.Requests()[3].queryItemValue("s"), "key2");
    EXPECT_EQ(server.Requests()[3].queryItemValue("callsign"), "QX1AB");
    // The answer is kept: asking again sends nothing.
    EXPECT_EQ(lookup(client, "QX1AB"), lines);
    EXPECT_EQ(outcome, OnlineOutcome::Found);
    EXPECT_EQ(server.Requests().size(), 4);
    EXPECT_EQ(lookup(client, "QX7ZZ"), CallbookLines{"QX7ZZ not found"});
    EXPECT_EQ(outcome, OnlineOutcome::NotFound);
    EXPECT_EQ(lookup(client, "QX7ZZ"), CallbookLines{"QX7ZZ not found"});
    EXPECT_EQ(outcome, OnlineOutcome::NotFound) << "a call not found is kept as not found";
    EXPECT_EQ(lookup(client, "BROKEN"), CallbookLines{"QRZ.com: the answer is not in the service's XML format"});
    EXPECT_EQ(outcome, OnlineOutcome::Failed);
    EXPECT_EQ(logins, 2);
}

TEST_F(OnlineClientTest, WrongPasswordSlowServiceAndNoServiceAreOneLineEach)
{
    int logins = 0;
    LocalHttpServer server([&logins](const QUrlQuery &query) { return qrzService(query, logins); });
    OnlineCallbookClient wrong(settings(OnlineService::QrzXml, server.Url(), "bad"), nullptr);
    EXPECT_EQ(lookup(wrong, "QX1AB"), CallbookLines{"QRZ.com: wrong user name or password"});
    EXPECT_EQ(outcome, OnlineOutcome::Failed);

    OnlineCallbookSettings quick = settings(OnlineService::QrzXml, server.Url());
    quick.timeoutSeconds = 3;
    OnlineCallbookClient client(quick, nullptr);
    EXPECT_EQ(lookup(client, "QX1AB").size(), 10u);
    EXPECT_EQ(lookup(client, "SLOW"), CallbookLines{"QRZ.com: no answer within 3 s"});
    EXPECT_EQ(server.Requests().last().queryItemValue("callsign"), "SLOW");
    EXPECT_FALSE(client.Busy());

    // A port nobody listens on.
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closedPort = probe.serverPort();
    }
    OnlineCallbookClient gone(settings(OnlineService::QrzXml, QStringLiteral("http://127.0.0.1:%1/").arg(closedPort)),
                              nullptr);
    CallbookLines failed = lookup(gone, "QX1AB");
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].rfind("QRZ.com: no connection", 0), 0u) << failed[0];

    OnlineCallbookSettings nobody = settings(OnlineService::QrzXml, server.Url());
    nobody.user.clear();
    OnlineCallbookClient anonymous(nobody, nullptr);
    EXPECT_EQ(lookup(anonymous, "QX1AB"), CallbookLines{"QRZ.com: no user name in the online callbook settings"});
}

TEST_F(OnlineClientTest, FreeServiceWithItsSessionId)
{
    LocalHttpServer server([](const QUrlQuery &query) -> std::optional<QByteArray> {
        if (query.hasQueryItem("u"))
            return query.queryItemValue("p") == "pw"
                       ? HamQthAnswer("<session><session_id>abc123</session_id></session>")
                       : HamQthAnswer("<session><error>Wrong user name or password</error></session>");
        if (query.queryItemValue("id") != "abc123")
            return HamQthAnswer("<session><error>Session does not exist or expired</error></session>");
        if (query.queryItemValue("callsign") == "QX1AB")
            return HamQthAnswer("<search><callsign>qx1ab</callsign><nick>Ann</nick><adr_name>Ann Example</adr_name>"
                                "<adr_street1>Main Street 1</adr_street1><adr_city>Springfield</adr_city>"
                                "<adr_zip>12345</adr_zip><adr_country>Nowhere</adr_country><grid>fn31pr</grid>"
                                "<qsl_via>QX9MGR</qsl_via><lotw>Y</lotw><eqsl>N</eqsl></search>");
        if (query.queryItemValue("callsign") == "PLAIN")
            return QByteArray("this is no XML at all");
        return HamQthAnswer("<session><error>Callsign not found</error></session>");
    });
    OnlineCallbookClient client(settings(OnlineService::HamQthXml, server.Url()), nullptr);
    EXPECT_EQ(lookup(client, "QX1AB"), (CallbookLines{"QX1AB", "Ann Example", "Main Street 1", "12345 Springfield",
                                                      "Nowhere", "Grid: fn31pr", "QX1AB via QX9MGR", "LoTW: yes",
                                                      "eQSL: no"}));
    EXPECT_EQ(server.Requests()[1].queryItemValue("id"), "abc123");
    EXPECT_EQ(lookup(client, "QX2CD"), CallbookLines{"QX2CD not found"});
    EXPECT_EQ(lookup(client, "PLAIN"), CallbookLines{"HamQTH: the answer is not in the service's XML format"});
    OnlineCallbookClient wrong(settings(OnlineService::HamQthXml, server.Url(), "bad"), nullptr);
    EXPECT_EQ(lookup(wrong, "QX1AB"), CallbookLines{"HamQTH: wrong user name or password"});
}

TEST_F(OnlineClientTest, AnHttpErrorIsTheStatusAndNeverShowsThePassword)
{
    LocalHttpServer server([](const QUrlQuery &) -> std::optional<QByteArray> { return QByteArray("gone"); });
    server.SetStatus(404, "Not Found");
    OnlineCallbookClient client(settings(OnlineService::QrzXml, server.Url(), "Pa55-word"), nullptr);
    CallbookLines lines = lookup(client, "QX1AB");
    EXPECT_EQ(lines, CallbookLines{"QRZ.com: the service answered HTTP 404 Not Found"});
    EXPECT_EQ(outcome, OnlineOutcome::Failed);
    ASSERT_EQ(server.Requests().size(), 1);
    EXPECT_EQ(server.Requests()[0].queryItemValue("password"), "Pa55-word");
}

TEST_F(OnlineClientTest, AClientGoneWhileWaitingDeliversNothing)
{
    LocalHttpServer server([](const QUrlQuery &) -> std::optional<QByteArray> { return std::nullopt; });
    bool answered = false;
    {
        OnlineCallbookClient client(settings(OnlineService::QrzXml, server.Url()), nullptr);
        client.Lookup("QX1AB", [&answered](const OnlineAnswer &) { answered = true; });
        EXPECT_TRUE(QTest::qWaitFor([&server] { return !server.Requests().isEmpty(); }, 60000));
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(answered);
}

} // namespace
} // namespace vellum
