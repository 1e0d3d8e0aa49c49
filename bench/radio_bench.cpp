// Radio benchmark: one status read of the shipped ASCII definition (IF; and FB;,
// 58 bytes on the line) against the simulated radio on a pseudo-terminal pair.
// A pseudo-terminal moves bytes without a baud rate, so the time measured is
// what the engine adds to the bytes' time on a real line (15 ms at 38400 baud).

#include "station/channels.h"
#include "station/radio.h"
#include "station/radiocontrol.h"
#include "station/tests/radiopeers.h"
#include "station/tests/stationpeers.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vellum;

void BM_RadioStatusRead(benchmark::State &state)
{
    ChannelRuntime runtime;
    test::PtyPair cable;
    test::AsciiRadio peer(cable.b);
    std::vector<std::string> problems;
    std::optional<TRadioDefinition> definition =
        LoadRadioDefinition(std::string(VELLUM_SOURCE_DIR) + "/data/RADIOS", "ASCII Semicolon CAT", problems);
    if (!cable.ok || !peer.Start() || !definition) {
        state.SkipWithError("no pseudo-terminal pair or definition");
        return;
    }
    SerialSettings serial;
    serial.baud = 38400;
    std::unique_ptr<ByteChannel> channel = MakeSerialChannel(serial, cable.a);
    if (!channel->Open()) {
        state.SkipWithError("the pseudo-terminal does not open");
        return;
    }
    TRadio radio(*definition, RadioSettings{}, std::move(channel));
    for (auto _ : state)
        if (!radio.ReadStatus())
            state.SkipWithError("the status read failed");
    state.counters["line_ms_at_38400"] = 58 * 10 * 1000.0 / 38400;
}
BENCHMARK(BM_RadioStatusRead)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
