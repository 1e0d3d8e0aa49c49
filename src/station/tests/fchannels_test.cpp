// The byte channels on real peers: a serial cable of two pseudo-terminals and
// a scripted telnet peer on 127.0.0.1.

#include "stationpeers.h"

#include "station/Fserialchannel.h"
#include "station/Ftcpchannel.h"

#include <QCoreApplication>
#include <QFile>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

namespace vellum {
namespace {

/// Modem lines that only record what they were told.
struct RecordedLines : ModemLines {
    std::vector<std::pair<Line, bool>> *calls;
    explicit RecordedLines(std::vector<std::pair<Line, bool>> *record) : calls(record) {}
    bool Set(Line line, bool on, std::string &) override
    {
        calls->emplace_back(line, on);
        return true;
    }
};

std::string readAll(ByteChannel &channel, std::size_t count)
{
    std::string text;
    while (text.size() < count && channel.WaitForData(2000))
        while (auto byte = channel.GetChar())
            text += static_cast<char>(*byte);
    return text;
}

TEST(SerialChannel, CarriesBytesBothWaysAndKeepsTheLineLevels)
{
    test::PtyPair cable;
    ASSERT_TRUE(cable.ok) << "socat makes the pseudo-terminals";
    SerialSettings settings;
    settings.comNumber = 2;
    settings.baud = 4800;
    settings.dtr = false;
    TSerialChannel near(settings, cable.a), far(settings, cable.b);
    std::vector<std::pair<ModemLines::Line, bool>> lines;
    near.SetLinesMaker([&lines](int) { return std::make_unique<RecordedLines>(&lines); });
    ASSERT_TRUE(near.Open()) << near.LastError();
    ASSERT_TRUE(far.Open()) << far.LastError();
    using L = ModemLines::Line;
    EXPECT_EQ(lines, (std::vector<std::pair<L, bool>>{{L::Dtr, false}, {L::Rts, true}})) << "levels set while closed";
    near.SetDtr(true);
    EXPECT_EQ(lines.back(), std::make_pair(L::Dtr, true));

    std::size_t told = 0;
    far.OnTriggerAvail([&told](std::size_t count) { told += count; });
    EXPECT_TRUE(near.PutString("AP1090;"));
    near.PutChar(0xFF);
    EXPECT_TRUE(near.Flush(2000));
    EXPECT_EQ(readAll(far, 8), std::string("AP1090;\xFF"));
    EXPECT_EQ(told, 8u) << "the notification carries the byte count";
    EXPECT_GT(near.OutBuffFree(), 0u);

    EXPECT_FALSE(far.SetRts(false)) << "a pseudo-terminal has no modem lines";
    EXPECT_NE(far.LineError().find("RTS"), std::string::npos);
    EXPECT_TRUE(far.IsOpen()) << "and still carries bytes";
}

TEST(SerialChannel, AMissingDeviceOrOneThatVanishesIsAMessage)
{
    TSerialChannel missing(SerialSettings{}, "/dev/vellum-no-such-port");
    EXPECT_FALSE(missing.Open());
    EXPECT_NE(missing.LastError().find("COM1 (/dev/vellum-no-such-port)"), std::string::npos);
    EXPECT_FALSE(missing.PutString("x"));

    test::PtyPair cable;
    ASSERT_TRUE(cable.ok);
    TSerialChannel port(SerialSettings{}, cable.a);
    std::string why;
    port.OnBroken([&why](const std::string &message) { why = message; });
    ASSERT_TRUE(port.Open());
    cable.Stop();
    for (int i = 0; i < 100 && why.empty(); ++i) {
        port.PutString("still there?");
        port.WaitForData(20);
        QCoreApplication::processEvents();
    }
    EXPECT_FALSE(why.empty()) << "the owner hears of it";
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.PutString("x")) << "and nothing more is written";
}

TEST(TcpChannel, TelnetCommandsNeverReachTheCaller)
{
    QTcpServer peer;
    ASSERT_TRUE(peer.listen(QHostAddress::LocalHost, 0));
    TTcpChannel client("127.0.0.1", std::to_string(peer.serverPort()), true);
    bool connected = false;
    client.OnConnected([&connected] { connected = true; });
    ASSERT_TRUE(client.Open()) << client.LastError();
    ASSERT_TRUE(peer.waitForNewConnection(2000));
    QTcpSocket *node = peer.nextPendingConnection();
    QCoreApplication::processEvents();
    EXPECT_TRUE(connected);

    // A node greeting with options, a literal 255 and a sequence split across writes.
    node->write(QByteArray("login: \xFF\xFB\x01\xFF\xFD\x18", 13));
    node->flush();
    EXPECT_EQ(readAll(client, 7), "login: ");
    node->write(QByteArray("a\xFF", 2));
    node->flush();
    QTest::qWait(50);
    node->write(QByteArray("\xFF" "b\xFF\xFA\x18\x01\xFF", 7));
    node->flush();
    QTest::qWait(50);
    node->write(QByteArray("\xF0" "c\r\n", 4));
    node->flush();
    EXPECT_EQ(readAll(client, 6), std::string("a\xFF" "bc\r\n"));
    while (node->bytesAvailable() < 6 && node->waitForReadyRead(2000)) {
    }
    QByteArray answers = node->readAll();
    EXPECT_EQ(answers, QByteArray("\xFF\xFD\x01\xFF\xFC\x18", 6)) << "DO ECHO, WONT TERMINAL-TYPE";

    client.PutString("DL1ABC\xFF\r\n");
    client.Flush(2000);
    while (node->bytesAvailable() < 10 && node->waitForReadyRead(2000)) {
    }
    EXPECT_EQ(node->readAll(), QByteArray("DL1ABC\xFF\xFF\r\n", 10)) << "a 255 sent is doubled";

    bool closed = false;
    client.OnClosed([&closed] { closed = true; });
    node->disconnectFromHost();
    for (int i = 0; i < 100 && !closed; ++i)
        QTest::qWait(10);
    EXPECT_TRUE(closed);
}

TEST(TcpChannel, PortNamesAndRefusedConnections)
{
    EXPECT_EQ(TTcpChannel::PortNumber("telnet"), 23);
    EXPECT_EQ(TTcpChannel::PortNumber("7300"), 7300);
    EXPECT_EQ(TTcpChannel::PortNumber("70000"), 0);
    EXPECT_EQ(TTcpChannel::PortNumber("http"), 0);
    TTcpChannel nobody("127.0.0.1", std::to_string(test::freeTcpPort()), true);
    int error = -1;
    nobody.OnSocketError([&error](int code) { error = code; });
    EXPECT_FALSE(nobody.Open());
    EXPECT_FALSE(nobody.LastError().empty());
    EXPECT_EQ(error, static_cast<int>(QAbstractSocket::ConnectionRefusedError));
}

} // namespace
} // namespace vellum
