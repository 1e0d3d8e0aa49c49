// The terminals on real peers: a scripted telnet cluster and a web server on
// 127.0.0.1, and the local-socket hand-over; the typing area by keys.

#include "cluster/Fcluster.h"
#include "cluster/Fmsghandover.h"
#include "cluster/Freceivedview.h"
#include "cluster/Fterminal.h"
#include "station/Fbuttonframe.h"

#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "qso/Fqso.h"
#include "station/Ftcpchannel.h"
#include "testsupport/Fwindowtest.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

namespace vellum {
namespace {

/// Lets the event loop run until done() holds (at most about ten seconds).
template <typename Done>
bool runUntil(Done done)
{
    for (int i = 0; i < 1000 && !done(); ++i)
        QTest::qWait(10);
    return done();
}

class TerminalTest : public test::ProgramTest {
protected:
    TerminalTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "terminal") {}
    void start(std::uint8_t port)
    {
        config.LASTLOG = "<none>";
        config.TNC_Type = 2;
        config.TNC_Comport = port;
        config.RTTY_Type = 1;
        config.Packet_max_lines = 300;
        config.Packet_MsgHandshake = "vellum-test-target|Logger";
        program.Start({RegisterQsoWindows, RegisterClusterWindows});
        QCoreApplication::processEvents(); // the terminals open once the program runs
        cluster = ClusterOf(main->Host());
        ASSERT_NE(cluster, nullptr);
        cluster->SetSpotReceiver([this](const std::string &line) { spots.push_back(line); });
        packet = cluster->Terminal(TerminalKind::Packet);
        ASSERT_NE(packet, nullptr);
    }
    std::vector<std::string> shown() const
    {
        std::vector<std::string> lines;
        for (const DisplayLine &line : packet->Text().Lines())
            lines.push_back(line.text);
        return lines;
    }
    bool showing(const std::string &text) const
    {
        for (const std::string &line : shown())
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    TClusterStation *cluster = nullptr;
    TPacketW *packet = nullptr;
    std::vector<std::string> spots;
};

TEST_F(TerminalTest, ATelnetClusterSessionReachesTheScreenAndTheSpotList)
{
    start(TerminalTcpPort);
    QTcpServer node;
    ASSERT_TRUE(node.listen(QHostAddress::LocalHost, 0));
    packet->ConnectTo(ParseClusterAddress("Test node, 127.0.0.1:" + std::to_string(node.serverPort())));
    ASSERT_TRUE(runUntil([&] { return node.hasPendingConnections() || node.waitForNewConnection(10); }));
    QTcpSocket *peer = node.nextPendingConnection();
    ASSERT_TRUE(runUntil([&] { return showing("Connected to 127.0.0.1"); }));
    peer->write(QByteArray("\xFF\xFB\x01\xFF\xFD\x18Please enter your call: login: ", 38));
    ASSERT_TRUE(runUntil([&] { return showing("login: "); }));
    packet->TypeText(QStringLiteral("DL1ABC\r"), false);
    ASSERT_TRUE(runUntil([&] { return peer->bytesAvailable() >= 7 || peer->waitForReadyRead(10); }));
    QByteArray answered = peer->readAll();
    EXPECT_TRUE(answered.contains("DL1ABC\n")) << "a typed line goes out with a line feed";
    EXPECT_TRUE(answered.contains(QByteArray("\xFF\xFD\x01", 3))) << "the client answers the options";
    EXPECT_TRUE(showing("DL1ABC")) << "and is echoed";

    peer->write("DX de W1AW:     14025.0  JA1XYZ       cq up                  1234Z\r\n");
    peer->write("WWV de W0MU <18>:   SFI=150, A=5, K=1, No Storms -> No Storms\r\n");
    peer->write("To ALL de K1AA: nice \xFF\xFF opening\r\nhalf a line with \xFF");
    peer->flush();
    QTest::qWait(30);
    peer->write("\xFB\x03 the rest and no end");
    peer->flush();
    ASSERT_TRUE(runUntil([&] { return showing("the rest"); }));
    peer->disconnectFromHost();
    ASSERT_TRUE(runUntil([&] { return showing("closed"); }));
    auto count = [this](const std::string &line) { return std::count(spots.begin(), spots.end(), line); };
    EXPECT_EQ(count("DX de W1AW:     14025.0  JA1XYZ       cq up                  1234Z"), 1);
    EXPECT_EQ(count("WWV de W0MU <18>:   SFI=150, A=5, K=1, No Storms -> No Storms"), 1);
    EXPECT_EQ(count("To ALL de K1AA: nice \xFF opening"), 1) << "IAC IAC is a literal 255";
    EXPECT_EQ(count("half a line with  the rest and no end"), 1) << "a line cut by the close, once";
    EXPECT_FALSE(showing("Winsock error")) << "the node closing is no error";
    for (const std::string &line : shown())
        EXPECT_EQ(line.find('\xFB'), std::string::npos) << "no telnet command on the screen";

    test::SaveScreenshot(packet, "packet-terminal.png");
}

TEST_F(TerminalTest, AFloodOfLinesKeepsTheScrollbackAndEveryLine)
{
    start(TerminalTcpPort);
    QTcpServer node;
    ASSERT_TRUE(node.listen(QHostAddress::LocalHost, 0));
    packet->ConnectTo(ParseClusterAddress("127.0.0.1:" + std::to_string(node.serverPort())));
    ASSERT_TRUE(runUntil([&] { return node.hasPendingConnections() || node.waitForNewConnection(10); }));
    QTcpSocket *peer = node.nextPendingConnection();
    QByteArray flood;
    for (int i = 0; i < 100000; ++i)
        flood += "DX de K" + QByteArray::number(i) + ":  14025.0  JA1XYZ  flood line  1234Z\r\n";
    peer->write(flood);
    ASSERT_TRUE(runUntil([&] { return spots.size() >= 100001; })) << spots.size();
    EXPECT_EQ(spots.back(), "DX de K99999:  14025.0  JA1XYZ  flood line  1234Z");
    EXPECT_LE(packet->Text().Count(), 300u) << "the scrollback holds its capacity";
}

TEST_F(TerminalTest, PageModeReadsTheSpotsOfAWebPage)
{
    start(TerminalTcpPort);
    QTcpServer web;
    ASSERT_TRUE(web.listen(QHostAddress::LocalHost, 0));
    std::string address = "127.0.0.1:" + std::to_string(web.serverPort());
    QObject::connect(&web, &QTcpServer::newConnection, [&web, address] {
        QTcpSocket *client = web.nextPendingConnection();
        QObject::connect(client, &QTcpSocket::readyRead, client, [client, address] {
            QByteArray request = client->readAll();
            if (request.startsWith("GET /old"))
                client->write(QByteArray("HTTP/1.0 301 Moved\r\nLocation: http://") + address.c_str() + "/spots\r\n\r\n");
            else if (request.startsWith("GET /spots"))
                client->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body><PRE>"
                              "DX de W1AW:     14025.0  JA1XYZ       cq up                  1234Z 09 Dec\r\n"
                              "</PRE></body></html>\r\n");
            else
                client->write("HTTP/1.0 404 Not Found\r\n\r\n");
            client->disconnectFromHost();
        });
    });
    packet->ConnectTo(ParseClusterAddress("http://" + address + "/old"));
    ASSERT_TRUE(runUntil([&] { return !spots.empty(); }));
    EXPECT_NE(spots.back().find("JA1XYZ"), std::string::npos);
    EXPECT_NE(spots.back().find("<1234 09-Dec>"), std::string::npos);
    packet->ConnectTo(ParseClusterAddress("http://" + address + "/missing"));
    ASSERT_TRUE(runUntil([&] { return packet->windowTitle().startsWith("Error:"); }));
    EXPECT_EQ(packet->windowTitle(), "Error: Unknown status code = HTTP/1.0 404 Not Found");
}

TEST_F(TerminalTest, TheTypingAreaKeepsWhatWasSentAndPastesWithAQuestionFrom80Characters)
{
    start(TerminalTcpPort);
    TTypingArea *typing = packet->Typing();
    typing->setFocus();
    QTest::keyClicks(typing, "SH/DX");
    QTest::keyClick(typing, Qt::Key_Return);
    EXPECT_TRUE(typing->toPlainText().startsWith("SH/DX\n"));
    typing->moveCursor(QTextCursor::Start);
    QTest::keyClick(typing, Qt::Key_X);
    EXPECT_TRUE(typing->toPlainText().startsWith("SH/DX")) << "sent text cannot be changed";
    typing->moveCursor(QTextCursor::End);
    QTest::keyClick(typing, Qt::Key_Insert, Qt::AltModifier);
    EXPECT_TRUE(packet->windowTitle().contains("(IMMEDIATE MODE)"));
    QTest::keyClick(typing, Qt::Key_Insert);
    EXPECT_TRUE(packet->windowTitle().contains("(HOLDING)"));

    // F1 types key 1 expanded; the bar shows its caption; Ctrl+F1 is key 9.
    config.Personal_Callsign = "QQ0QQ";
    config.TNCKEYS[0] = "Call|SH/DX %~";
    config.TNCKEYS[8] = "Nine|BYE";
    packet->KeyBar()->Refresh();
    QTest::keyClick(typing, Qt::Key_F1);
    EXPECT_TRUE(typing->toPlainText().endsWith("SH/DX QQ0QQ")) << typing->toPlainText().toStdString();
    QTest::keyClick(typing, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_TRUE(typing->toPlainText().endsWith("BYE"));
    EXPECT_TRUE(packet->KeyBar()->findChild<QPushButton *>() != nullptr);

    QApplication::clipboard()->setText(QString(79, QChar('a')));
    std::size_t asked = notifier.shown.size();
    packet->PasteFromClipboard();
    EXPECT_EQ(notifier.shown.size(), asked) << "79 characters are pasted without asking";
    QApplication::clipboard()->setText(QString(80, QChar('b')));
    notifier.answers = {Answer::Cancel};
    packet->PasteFromClipboard();
    EXPECT_EQ(notifier.shown.back().text, "Paste 80 characters");
    QApplication::clipboard()->clear();
    packet->PasteFromClipboard();
    EXPECT_EQ(notifier.shown.back().text, "ClipBoard does not contain text");
}

TEST_F(TerminalTest, TheMessageHandOverTakesTextAndSaysWhenTheTargetIsMissing)
{
    start(TerminalMsgPort);
    // Another program hands a line to the packet terminal.
    QLocalSocket other;
    other.connectToServer(MsgHandOverName);
    ASSERT_TRUE(other.waitForConnected(2000));
    other.write(QByteArray("\x64" "DX de W9XX: 7010.0 K1ZZ cw\r", 28) + QByteArray(1, '\0'));
    ASSERT_TRUE(runUntil([&] { return other.bytesAvailable() > 0; }));
    EXPECT_EQ(other.readAll(), QByteArray("\x01", 1));
    EXPECT_EQ(spots.back(), "DX de W9XX: 7010.0 K1ZZ cw");
    other.write(QByteArray("\x05x", 2) + QByteArray(1, '\0'));
    ASSERT_TRUE(runUntil([&] { return other.bytesAvailable() > 0; }));
    EXPECT_EQ(other.readAll(), QByteArray("\x02", 1)) << "an unknown data code";

    // Typed text goes to the target program, which is not running here.
    packet->TypeText(QStringLiteral("SH/DX\r"), false);
    EXPECT_EQ(lastMessage(), "Packet target Application Window not found: \rClass: VELLUM-TEST-TARGET\t, Title: LOGGER");
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST(ClusterCli, LogsInPrintsTheNodeAndFetchesAPage)
{
    QTcpServer node;
    ASSERT_TRUE(node.listen(QHostAddress::LocalHost, 0));
    QByteArray heard;
    QObject::connect(&node, &QTcpServer::newConnection, [&] {
        QTcpSocket *peer = node.nextPendingConnection();
        peer->write(QByteArray("\xFF\xFB\x01login: ", 10));
        QObject::connect(peer, &QTcpSocket::readyRead, peer, [peer, &heard] {
            heard += peer->readAll();
            if (heard.contains("sh/dx\n")) {
                peer->write("DX de W1AW: 14025.0 JA1XYZ cq 1234Z\r\nBye\r\n");
                peer->disconnectFromHost();
            }
        });
    });
    QProcess cli;
    cli.start(VELLUM_CLI, {"cluster", "127.0.0.1", QString::number(node.serverPort()), "--login", "DL1ABC", "--send",
                           "sh/dx", "--seconds", "20"});
    ASSERT_TRUE(runUntil([&] { return cli.state() == QProcess::NotRunning; }));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QByteArray out = cli.readAllStandardOutput();
    EXPECT_TRUE(out.contains("login: ") && out.contains("JA1XYZ")) << out.toStdString();
    EXPECT_FALSE(out.contains('\xFF')) << "telnet commands removed";
    EXPECT_TRUE(heard.contains("DL1ABC\n"));

    QTcpServer web;
    ASSERT_TRUE(web.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&web, &QTcpServer::newConnection, [&web] {
        QTcpSocket *client = web.nextPendingConnection();
        QObject::connect(client, &QTcpSocket::readyRead, client, [client] {
            client->readAll();
            client->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<PRE>\r\n"
                          "DX de W1AW:     14025.0  JA1XYZ       cq up                  1234Z 09 Dec\r\n</PRE>\r\n");
            client->disconnectFromHost();
        });
    });
    QProcess http;
    http.start(VELLUM_CLI, {"http", QStringLiteral("http://127.0.0.1:%1/spots").arg(web.serverPort())});
    ASSERT_TRUE(runUntil([&] { return http.state() == QProcess::NotRunning; }));
    EXPECT_EQ(http.exitCode(), 0) << http.readAllStandardError().toStdString();
    EXPECT_TRUE(http.readAllStandardOutput().contains("<1234 09-Dec>"));
}

} // namespace
} // namespace vellum
