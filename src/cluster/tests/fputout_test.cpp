// The spot list window fed by a telnet cluster on 127.0.0.1: class colours,
// caption, keys into the QSO window, the file that keeps the list, the CSV
// export and the "/S" file of spot lines.

#include "cluster/Fcluster.h"
#include "cluster/Fputout.h"
#include "cluster/Fterminal.h"

#include "app/testing/Fprogram.h"
#include "testsupport/tempdir.h"
#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "qso/Fqso.h"
#include "qso/qsoentry.h"
#include "station/Fstation.h"
#include "station/portmap.h"
#include "station/radiocontrol.h"
#include "station/tests/radiopeers.h"
#include "station/tests/stationpeers.h"

#include <QApplication>
#include <QProcess>
#include <QDir>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace vellum {
namespace {

class SpotListTest : public test::ProgramTest {
protected:
    SpotListTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "spotlist") {}

    void start(bool withRadio = false)
    {
        config.LASTLOG = "<none>";
        if (withRadio) {
            config.Hardware_RadioType = "ASCII Semicolon CAT";
            config.Hardware_RadioCOMPort = 2;
            config.Hardware_RadioPollRate = 100;
            config.Hardware_RadioMaxTries = 1;
            config.ReopenFreqWindow = false;
        }
        config.TNC_Type = 2;
        config.TNC_Comport = TerminalTcpPort;
        config.Packet_DXVoice = 0;
        program.Start({RegisterQsoWindows, RegisterStationWindows, RegisterClusterWindows});
        QCoreApplication::processEvents(); // the terminals open once the program runs
        cluster = ClusterOf(main->Host());
        ASSERT_NE(cluster, nullptr);
        list = cluster->SpotList();
        ASSERT_NE(list, nullptr) << "the packet terminal feeds a spot list";
        chooser.file = QString::fromStdString(program.SaveFile("SPOTS.VLL"));
        main->NewClick();
        ASSERT_NE(main->Host().Entry(), nullptr);
    }

    /// Runs the program's idle work until done() holds (about ten seconds at most).
    template <typename Done>
    bool idleUntil(Done done)
    {
        for (int i = 0; i < 1000 && !done(); ++i) {
            QTest::qWait(10);
            main->Host().RunIdle();
        }
        return done();
    }

    void feedFromNode(const QByteArray &lines)
    {
        QTcpServer node;
        ASSERT_TRUE(node.listen(QHostAddress::LocalHost, 0));
        TPacketW *packet = cluster->Terminal(TerminalKind::Packet);
        packet->ConnectTo(ParseClusterAddress("127.0.0.1:" + std::to_string(node.serverPort())));
        ASSERT_TRUE(idleUntil([&] { return node.hasPendingConnections() || node.waitForNewConnection(10); }));
        QTcpSocket *peer = node.nextPendingConnection();
        peer->write(lines);
        peer->flush();
        int expected = static_cast<int>(lines.count('\n'));
        ASSERT_TRUE(idleUntil([&] { return received >= expected; })) << received;
        ASSERT_TRUE(idleUntil([&] { return list->Intake().Waiting() == 0; }));
        peer->disconnectFromHost();
    }

    std::vector<std::string> calls() const
    {
        std::vector<std::string> out;
        for (std::size_t row = 0; row < list->List().Count(); ++row)
            out.push_back(list->List().At(row).Call.str());
        return out;
    }

    TClusterStation *cluster = nullptr;
    TPutoutW *list = nullptr;
    int received = 0;
};

QByteArray nodeLines()
{
    return "DX de W3LPL:     14025.0  JA1ABC       CQ UP 5                        1234Z\r\n"
           "DX de EA5WU-#:    7005.5  VK9XX        CW 22 dB 28 WPM CQ             1235Z\r\n"
           "dx de k1ttt:      3502.1  zs6aa        cw 12 db 24 wpm                1236Z\r\n"
           "DX de DL1ABC:    14195.0  3B8CW        QSX 225 SSB                    1237Z\r\n"
           "To ALL de K1AA: nice opening\r\n"
           "DX de W3LPL:     14025.0  JA1ABC       CQ UP 5                        1238Z\r\n"
           "DX de ON4UN:     21295.0  PY2XYZ       big signal                     1239Z\r\n";
}

TEST_F(SpotListTest, FilledFromTheClusterWithItsClassesAndCaption)
{
    start();
    // A confirmed JA on 20 m CW makes JA1ABC "nothing special" there.
    QsoEntry &entry = *main->Host().Entry();
    entry.Edit(QsoField::Call, "JA1XYZ");
    entry.Leave(QsoField::Call);
    entry.Choose(QsoList::Band, 4);
    entry.Choose(QsoList::Mode, ModeOfName("CW") - 1);
    ASSERT_TRUE(entry.AddQso());
    cluster->SetSpotReceiver([this](const std::string &) { ++received; });
    feedFromNode(nodeLines());

    EXPECT_EQ(calls(), (std::vector<std::string>{"VK9XX", "ZS6AA", "3B8CW", "JA1ABC", "PY2XYZ"}))
        << "time order; the later JA1ABC spot replaced the first";
    const SpotList &spots = list->List();
    EXPECT_EQ(spots.At(3).Class, '4') << main->Host().Context().Log()->Count();
    EXPECT_EQ(spots.At(2).Class, '1');
    EXPECT_EQ(list->Intake().TalkList().size(), 1u);
    EXPECT_EQ(list->windowTitle(), "DX spots [DXCC] sorted by Time");

    // Classes 1 and 2 on their colour, the others in it.
    QAbstractItemModel *model = list->Table()->model();
    auto colour = [](std::int32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); };
    EXPECT_EQ(model->index(2, 1).data(Qt::BackgroundRole).value<QColor>(), colour(config.SpotColors[0]));
    EXPECT_EQ(model->index(3, 1).data(Qt::ForegroundRole).value<QColor>(), colour(config.SpotColors[3]));
    EXPECT_EQ(model->index(3, 0).data().toString(), "14,025.0");
    EXPECT_EQ(model->index(3, 3).data().toString(), "14030.0");
    EXPECT_EQ(model->index(1, 3).data().toString(), "") << "no QSX";
    EXPECT_EQ(list->Table()->currentIndex().row(), 4) << "the view follows the newest spot";

    list->SetOrder(SpotOrder::Priority);
    EXPECT_EQ(calls().front(), "JA1ABC") << "the least wanted first";
    EXPECT_EQ(calls().back(), "ZS6AA") << "new countries last, by call";
    list->SetAward(AwardWAZ);
    EXPECT_EQ(list->windowTitle(), "DX spots [WAZ] sorted by Priority");
    QTest::keyClick(list->Table(), Qt::Key_Insert);
    EXPECT_EQ(list->windowTitle(), "DX spots [WAZ] sorted by Priority (HOLDING)");
    list->SetOrder(SpotOrder::Time);
    list->SetAward(AwardDXCC);
    QTest::keyClick(list->Table(), Qt::Key_Insert);

    if (const char *shots = std::getenv("VELLUM_SCREENSHOT_DIR")) {
        list->resize(list->width(), 200);
        list->grab().save(QDir(shots).filePath("spot-list.png"));
    }
}

TEST_F(SpotListTest, KeysHandTheSpotToTheQsoWindowAndEditTheList)
{
    start();
    cluster->SetSpotReceiver([this](const std::string &) { ++received; });
    feedFromNode(nodeLines());
    QsoEntry &entry = *main->Host().Entry();

    list->SelectRow(1); // VK9XX: its country shows in the empty QSO window
    EXPECT_EQ(entry.Text(QsoField::Call), "");
    EXPECT_FALSE(entry.Text(QsoField::Prefix).empty());

    list->SelectRow(2);
    QTest::keyClick(list->Table(), Qt::Key_Return); // grab (no radio runs: nothing to tune)
    EXPECT_EQ(entry.Text(QsoField::Call), "3B8CW");
    EXPECT_EQ(entry.Index(QsoList::Band) + 1, 5);
    EXPECT_EQ(ModeName(entry.Index(QsoList::Mode) + 1), "SSB");
    EXPECT_EQ(entry.Mode(), QsoWindowMode::AddRealTime);

    list->SelectRow(0);
    QTest::keyClick(list->Table(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(calls().front(), "ZS6AA");

    // "Write spots to File": one line per spot, the folders made.
    std::string csv = dir.file("out/sub/spots.csv");
    ASSERT_TRUE(list->WriteSpots(csv));
    std::ifstream in(csv);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first.substr(first.find(',') + 1), "12:36,ZS6AA,3502.1,CW,K1TTT,\"CW 12 DB 24 WPM\"\r");
    EXPECT_EQ(lastMessage(), "4 Spots Written");

    list->ClearAll();
    EXPECT_EQ(list->List().Count(), 0u);
}

TEST_F(SpotListTest, TheListOutlivesTheProgramAndReadsTheStartFile)
{
    start();
    cluster->SetSpotReceiver([this](const std::string &) { ++received; });
    feedFromNode(nodeLines());
    std::vector<std::string> before = calls();
    cluster->CloseTerminal(TerminalKind::Packet);
    EXPECT_EQ(cluster->SpotList(), nullptr) << "no terminal feeds it";
    EXPECT_TRUE(std::filesystem::exists(program.SaveFile("VELLUM.PUT")));
    ASSERT_TRUE(cluster->ReopenTerminal(TerminalKind::Packet));
    list = cluster->SpotList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(calls(), before);
    EXPECT_EQ(list->List().LastArrival(), static_cast<std::int32_t>(before.size())) << "arrivals renumbered";

    // A file of spot lines, as "/S" names it, goes through the same patterns.
    std::string file = dir.file("spots.txt");
    std::ofstream(file) << "DX de W1AW:  28074.0  ZL2ABC  FT8 -12 dB  1300Z\r\nnot a spot\r\n";
    ASSERT_TRUE(main->Host().FeedSpotFile(file));
    ASSERT_TRUE(idleUntil([&] { return list->List().Count() == before.size() + 1; }));
    EXPECT_EQ(calls().back(), "ZL2ABC");
}

TEST_F(SpotListTest, SpotsTuneTheRadioAndTheListFollowsIt)
{
    test::PtyPair cable;
    test::AsciiRadio radio{cable.b};
    ASSERT_TRUE(cable.ok && radio.Start());
    PortMap ports;
    ports.SetDevicePath(2, cable.a);
    ports.Save();
    start(true);
    TStation *station = StationOf(main->Host());
    ASSERT_NE(station, nullptr);
    if (!station->Radio().Running())
        station->StartStopRadio();
    ASSERT_TRUE(station->Radio().Running()) << lastMessage();
    station->Radio().SetTiming({300, 300, 300});
    cluster->SetSpotReceiver([this](const std::string &) { ++received; });
    feedFromNode(nodeLines() + "DX de W1AW: 144300.0 K1ABC 2m meteor scatter 1240Z\r\n");

    // Grab: the radio goes to the spot (split on its QSX), the QSO window takes it.
    auto tunedTo = [&](std::int64_t a, std::int64_t b) {
        return idleUntil([&] { return radio.State().vfoA == a && (b == 0 || radio.State().vfoB == b); });
    };
    list->SelectRow(3); // JA1ABC 14025.0, QSX 14030.0
    QTest::keyClick(list->Table(), Qt::Key_Return);
    EXPECT_TRUE(tunedTo(14025000, 14030000));
    EXPECT_EQ(main->Host().Entry()->Text(QsoField::Call), "JA1ABC");
    // Back to where the radio was before.
    QTest::keyClick(list->Table(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(tunedTo(14250000, 0)) << radio.State().vfoA;
    // A spot beyond the radio's range is refused; "grab only" does not tune.
    list->SelectRow(5);
    QTest::keyClick(list->Table(), Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(main->Host().Entry()->Text(QsoField::Call), "K1ABC");
    list->Grab(true);
    EXPECT_TRUE(std::any_of(notifier.shown.begin(), notifier.shown.end(),
                            [](const auto &message) { return message.text == "Bad frequency for radio"; }));
    EXPECT_TRUE(tunedTo(14250000, 0));

    // Monitor keeps the spot in the first free scanner channel.
    list->SelectRow(1);
    QTest::keyClick(list->Table(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(config.ScanChannel[0].InUse);
    EXPECT_EQ(config.ScanChannel[0].Label.view(), "ZS6AA CW 12 DB 24 WP") << "cut to the label's 20 characters";
    EXPECT_DOUBLE_EQ(config.ScanChannel[0].Freq.get(), 3502.1);

    // In frequency order the list follows the radio: the nearest spot is selected.
    radio.SetState([] {
        test::SimulatedState state;
        state.vfoA = 21290000;
        return state;
    }());
    list->SetOrder(SpotOrder::Frequency);
    ASSERT_TRUE(idleUntil([&] { return list->Selected() && list->Selected()->Call == std::string_view("PY2XYZ"); }));
    EXPECT_TRUE(list->Holding());
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

QByteArray runCli(const QStringList &arguments, const QByteArray &input = {}, int *exitCode = nullptr)
{
    QProcess cli;
    cli.start(VELLUM_CLI, arguments);
    cli.write(input);
    cli.closeWriteChannel();
    EXPECT_TRUE(cli.waitForFinished(60000));
    if (exitCode)
        *exitCode = cli.exitCode();
    return cli.readAllStandardOutput();
}

TEST(SpotCli, SpotsKeptWithTheNeedTheNeedCommandGives)
{
    test::TempDir dir("spotcli");
    QString program = QString::fromStdString(dir.file("prog"));
    QString log = QString::fromStdString(dir.file("prog/SAVE/GEN.VLL"));
    runCli({"--dir", program, "log", "generate", "--qsos", "3000", "--seed", "4", log});
    QByteArray lines = "DX de W3LPL:     14025.0  JA1ABC       CQ UP 5                        1234Z\r\n"
                       "DX de W3LPL:     14025.0  JA1ABC       CQ UP 5                        1234Z\r\n"
                       "DX de EA5WU-#:    7005.5  VK9XX        CW 22 dB 28 WPM CQ             2359Z\r\n"
                       "WWV de W0MU <18>:   SFI=150, A=5, K=1\r\n";
    int exitCode = -1;
    QList<QByteArray> spots =
        runCli({"--dir", program, "spots", log, "-", "--today", "2026-12-09", "--time", "0010"}, lines, &exitCode)
            .trimmed()
            .split('\n');
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(spots.size(), 2) << "the repeat is no new spot, the talk line no spot";
    EXPECT_TRUE(spots[0].startsWith("{\"call\":\"JA1ABC\",\"freq_khz\":14025,\"band\":\"20m\",\"mode\":\"CW\","
                                    "\"spotter\":\"W3LPL\",\"time\":\"2026-12-09 12:34\",\"qsx_khz\":14030,"))
        << spots[0].toStdString();
    EXPECT_TRUE(spots[1].contains("\"time\":\"2026-12-08 23:59\"")) << "the day before";
    QByteArray need = runCli({"--dir", program, "need", log, "VK9XX", "40m", "CW", "2026-12-08", "--today", "2026-12-09"});
    QByteArray name = need.mid(need.indexOf("\"name\":") + 7).trimmed();
    name.chop(1);
    EXPECT_TRUE(spots[1].contains("\"need\":" + name)) << need.toStdString() << spots[1].toStdString();

    runCli({"--dir", program, "spots", "/nonexistent/log.VLL", "-"}, {}, &exitCode);
    EXPECT_EQ(exitCode, 1);
}

} // namespace
} // namespace vellum
