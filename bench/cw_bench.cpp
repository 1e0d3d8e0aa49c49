// The keyer thread's timing on this machine: each key-line change of a few hundred
// elements stamped with the steady clock against the time the thread planned for
// it. Reports the error's p50, p99 and maximum in microseconds.

#include "config/configfile.h"
#include "config/configrecord.h"
#include "station/morsesender.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

using namespace vellum;
using Clock = std::chrono::steady_clock;

namespace {

/// Stamps every change of the key with the steady clock.
class StampingKeyLine : public KeyLine {
public:
    bool Write(bool keyDown, bool, std::string &) override
    {
        Clock::time_point now = Clock::now();
        std::lock_guard lock(mutex);
        if (keyDown != key)
            stamps.push_back(now);
        key = keyDown;
        return true;
    }
    std::mutex mutex;
    std::vector<Clock::time_point> stamps;
    bool key = false;
};

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

void BM_KeyerTimingError(benchmark::State &state)
{
    const int wpm = static_cast<int>(state.range(0));
    TConfigRecord config = BuiltInConfig();
    config.Speed = config.wpm = wpm;
    config.sidetone = false;
    config.immediate = true;
    ConfigPublisher publisher(config);
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "PARIS "; // 14 elements each: 280 elements, 560 key changes
    std::vector<double> errors;
    std::string priority;
    for (auto _ : state) {
        KeyPort port;
        auto owned = std::make_unique<StampingKeyLine>();
        StampingKeyLine &line = *owned;
        port.Replace(std::move(owned));
        std::vector<Clock::time_point> planned;
        {
            TMorseSender sender([&] { return publisher.Snapshot(); }, port, nullptr);
            sender.SetTransitionProbe([&](bool, Clock::time_point at) { planned.push_back(at); });
            sender.Queue(text);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            while (!sender.Idle())
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::lock_guard lock(line.mutex);
        for (std::size_t i = 0; i < std::min(planned.size(), line.stamps.size()); ++i)
            errors.push_back(std::chrono::duration<double, std::micro>(line.stamps[i] - planned[i]).count());
    }
    std::thread([&] { priority = RaiseThreadPriority(); }).join();
    state.counters["changes"] = static_cast<double>(errors.size());
    state.counters["p50_us"] = percentile(errors, 0.50);
    state.counters["p99_us"] = percentile(errors, 0.99);
    state.counters["max_us"] = *std::max_element(errors.begin(), errors.end());
    state.SetLabel("thread priority: " + priority);
}

} // namespace

BENCHMARK(BM_KeyerTimingError)->Arg(20)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

BENCHMARK_MAIN();
