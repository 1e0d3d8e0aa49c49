// The packet terminal under a flood: lines per second from a telnet node on
// 127.0.0.1 to the scrollback and the spot list's entry point, with the window
// shown offscreen, and the longest time the event loop was kept from input.

#include "cluster/Fcluster.h"
#include "cluster/Fterminal.h"

#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "config/configrecord.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

using namespace vellum;

void BM_TelnetFloodToScrollback(benchmark::State &state)
{
    const int lines = static_cast<int>(state.range(0));
    test::TestProgram program(VELLUM_DEFAULT_DATA_DIR, "cluster-bench");
    program.config.LASTLOG = "<none>";
    program.config.TNC_Type = 2;
    program.config.TNC_Comport = TerminalTcpPort;
    program.config.Packet_max_lines = 500;
    TMainForm &main = program.Start({RegisterClusterWindows});
    QApplication::processEvents();
    TClusterStation &cluster = *ClusterOf(main.Host());
    TPacketW &packet = *cluster.Terminal(TerminalKind::Packet);
    packet.show();
    std::int64_t received = 0;
    cluster.SetSpotReceiver([&received](const std::string &) { ++received; });
    QByteArray flood;
    for (int i = 0; i < lines; ++i)
        flood += "DX de K" + QByteArray::number(i) + ":     14025.0  JA1XYZ       flood line of a busy node 1234Z\r\n";
    double worstGapMs = 0;
    for (auto _ : state) {
        QTcpServer node;
        node.listen(QHostAddress::LocalHost, 0);
        packet.ConnectTo(ParseClusterAddress("127.0.0.1:" + std::to_string(node.serverPort())));
        while (!node.hasPendingConnections())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        QTcpSocket *peer = node.nextPendingConnection();
        received = 0;
        // A timer stands for the user: the longest gap between its ticks is the longest input had to wait.
        QElapsedTimer clock, sinceTick;
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            worstGapMs = std::max(worstGapMs, sinceTick.nsecsElapsed() / 1e6);
            sinceTick.restart();
        });
        clock.start();
        sinceTick.start();
        tick.start();
        peer->write(flood);
        while (received < lines)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        tick.stop();
        packet.CloseConnection();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * lines);
    state.counters["worst_input_wait_ms"] = worstGapMs;
}
BENCHMARK(BM_TelnetFloodToScrollback)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
