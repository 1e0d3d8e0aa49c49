// The receiver on real sockets on 127.0.0.1: a test sender with each message type,
// the receiver of the program on the open log, and vellum-cli listen.

#include "wssender.h"

#include "weaksignal/Fweaksignal.h"

#include "cluster/Fcluster.h"
#include "cluster/Fputout.h"
#include "cluster/terminalsettings.h"

#include "app/testing/Fprogram.h"
#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "exchange/Fimportexport.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "qso/Fqso.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QProcess>
#include <QTest>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace vellum {
namespace {

/// Generous: the machine may be loaded and the build sanitized.
constexpr int WaitMs = 30000;

void send(std::uint16_t port, const std::string &bytes)
{
    QUdpSocket sender;
    sender.writeDatagram(bytes.data(), static_cast<qint64>(bytes.size()), QHostAddress::LocalHost, port);
}

/// A port no socket holds now (bound and let go).
std::uint16_t freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

const char *const Ft8Adif = "<adif_ver:5>3.1.0 <programid:6>WSJT-X <EOH> <call:6>DL1ABC <mode:3>FT8 <rst_sent:3>-12 "
                            "<rst_rcvd:3>+03 <qso_date:8>20240401 <time_on:6>123000 <band:3>60m <freq:8>5.357000 <EOR>";

class ReceiverTest : public test::ProgramTest {
protected:
    ReceiverTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "weaksignal") {}
};

TEST_F(ReceiverTest, TestSenderWithEachMessageTypeSplitAndMalformed)
{
    program.Start({RegisterQsoWindows});
    TQsoData &log = main->Context().MakeLog();
    WeakSignalReceiver receiver({log, countries, main->Context().Resolver(), config});
    std::vector<DecodedSpot> spots;
    receiver.SetDecodeSink([&spots](const DecodedSpot &spot) { spots.push_back(spot); });
    ASSERT_TRUE(receiver.Start({"127.0.0.1", 0})) << receiver.Error();
    std::uint16_t port = receiver.Port();
    ASSERT_NE(port, 0);

    std::string logged = test::QsoLoggedDatagram("K1ABC", 45000000);
    send(port, test::WsWriter(0).u32(3).text("2.6.1").text("r").bytes);
    send(port, test::StatusDatagram(14074000, "FT8"));
    send(port, test::DecodeDatagram("CQ DX DL1ABC JO62", -11, 1200));
    send(port, logged.substr(0, logged.size() / 2)); // a datagram split in two is two broken ones
    send(port, logged.substr(logged.size() / 2));
    send(port, logged);
    send(port, test::LoggedAdifDatagram(Ft8Adif));
    send(port, std::string(60000, '\xAD'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.Counters().datagrams == 8; }, WaitMs)) << receiver.Counters().datagrams;
    EXPECT_EQ(receiver.Counters().malformed, 3);
    EXPECT_EQ(log.Count(), 2);
    EXPECT_EQ(receiver.Counters().logged, 2);
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].call, "DL1ABC");

    WeakSignalReceiver taken({log, countries, main->Context().Resolver(), config});
    EXPECT_FALSE(taken.Start({"no address", 2237}));
    EXPECT_FALSE(taken.Error().empty());
}

TEST_F(ReceiverTest, TheProgramAddsLoggedQsosToTheOpenLog)
{
    std::uint16_t port = freePort();
    WriteWeakSignalAddress(dir.path(), {"127.0.0.1", port});
    EXPECT_EQ(ReadWeakSignalAddress(dir.path()).port, port);
    config.LASTLOG = "<none>";
    config.TNC_Type = 2; // a telnet terminal: the program keeps a spot list
    config.TNC_Comport = TerminalTcpPort;
    program.Start({RegisterQsoWindows, RegisterExchangeWindows, RegisterClusterWindows, RegisterWeakSignalWindows});
    chooser.file = QString::fromStdString(program.SaveFile("WS.VLL"));
    main->NewClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ActiveWeakSignalReceiver(main->Host()) != nullptr; }, WaitMs));
    EXPECT_EQ(ActiveWeakSignalReceiver(main->Host())->Port(), port);
    send(port, test::LoggedAdifDatagram(Ft8Adif));
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->Log() && main->Log()->Count() == 1; }, WaitMs));
    const TQsoRec &qso = *main->Log()->Get(0);
    EXPECT_EQ(ModeName(qso.Mode), "FT8");
    EXPECT_EQ(BandLabel(qso.Band, false), "60m");
    EXPECT_TRUE(main->Log()->IsModified());

    // A decoded CQ call is a spot of the spotter "DECODE", ranked against the log.
    TPutoutW *list = ClusterOf(main->Host())->SpotList();
    ASSERT_NE(list, nullptr);
    send(port, test::StatusDatagram(14074000, "FT8"));
    send(port, test::DecodeDatagram("CQ DX JA1XYZ PM95", -11, 1200));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->List().Count() == 1; }, WaitMs));
    const TSpotRecord &spot = list->List().At(0);
    EXPECT_EQ(spot.Call.view(), "JA1XYZ");
    EXPECT_EQ(spot.Spotter.view(), "DECODE");
    EXPECT_EQ(ModeName(spot.Mode), "FT8");
    EXPECT_EQ(BandLabel(spot.Band, false), "20m");
    EXPECT_DOUBLE_EQ(spot.Freq.get(), 14075.2);
    EXPECT_EQ(spot.Class, '1') << "no JA in the log: a new country";
}

TEST(ListenCommand, PrintsLoggedQsosAndSpotsWithTheirNeedAndWritesTheLog)
{
    test::TempDir temp("listen");
    RecordingNotifier notifier;
    LogServices services;
    services.notifier = &notifier;
    {
        TQsoData log(services);
        auto rec = std::make_unique<TQsoRec>();
        rec->Call = "DL2AAA";
        rec->Date = 40000;
        rec->Band = 5;
        rec->Mode = 16;
        log.AddQso(std::move(rec));
        log.LogFileName = temp.file("L.VLL");
        log.WriteLog(true);
    }
    std::uint16_t port = freePort();
    QProcess cli;
    cli.start(QString::fromLatin1(VELLUM_CLI),
              {"--dir", QString::fromStdString(temp.path()), "listen", "--log", QString::fromStdString(temp.file("L.VLL")),
               "--port", QString::number(port), "--seconds", "120"});
    ASSERT_TRUE(cli.waitForStarted());
    QByteArray out;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (out += cli.readAllStandardOutput()).contains("listening"); }, WaitMs)) << out.data();
    send(port, test::StatusDatagram(14074000, "FT8"));
    send(port, test::DecodeDatagram("CQ DL1ABC JO62", -11, 1200));
    send(port, test::LoggedAdifDatagram(Ft8Adif));
    ASSERT_TRUE(QTest::qWaitFor([&] { return (out += cli.readAllStandardOutput()).contains("\"logged\""); }, WaitMs)) << out.data();
    send(port, test::WsWriter(6).bytes); // the program closes
    ASSERT_TRUE(cli.waitForFinished(60000));
    out += cli.readAllStandardOutput();
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().data();
    std::string text = out.toStdString();
    EXPECT_NE(text.find("{\"logged\":{\"call\":\"DL1ABC\",\"date\":\"2024-04-01\",\"time\":\"12:30:00\",\"band\":\"60m\","
                        "\"mode\":\"FT8\",\"rst_sent\":\"-12\",\"rst_rcvd\":\"+03\"}}"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("{\"spot\":{\"call\":\"DL1ABC\",\"band\":\"20m\",\"mode\":\"FT8\",\"award\":\"DXCC\","), std::string::npos)
        << text;
    EXPECT_NE(text.find("\"kHz\":14075.200,\"snr\":-11"), std::string::npos) << text;
    EXPECT_NE(text.find("\"spotter\":\"DECODE\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"logged\":1,"), std::string::npos) << text;

    TQsoData back(services);
    ASSERT_TRUE(back.ReadLog(temp.file("L.VLL"), LoadMode::Load, DuplicateMode::EmptyLog));
    EXPECT_EQ(back.Count(), 2);
}

} // namespace
} // namespace vellum
