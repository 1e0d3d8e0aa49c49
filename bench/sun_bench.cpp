// Sunrise and sunset: the one-year table (730 computations) and the grey-line
// list over 400 places (two per place) are computed in one pass while the user
// waits with the busy cursor.

#include "geo/sun.h"

#include "logstore/daytime.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vellum;

void BM_OneYearTable(benchmark::State &state)
{
    std::uint16_t first = *DayNumber(2025, 1, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(OneYearSunTable(first, {52.52, 13.405}, {-33.87, 151.21}));
}
BENCHMARK(BM_OneYearTable)->Unit(benchmark::kMillisecond);

void BM_GreyLineList(benchmark::State &state)
{
    std::vector<GreyLinePlace> places;
    for (int i = 0; i < 400; ++i)
        places.push_back({"P", "Place", {-60.0 + (i % 13) * 10.0, -180.0 + i * 0.9}});
    std::uint16_t day = *DayNumber(2024, 12, 21);
    SunTimes home = SunTimesOnDay(day, {52.52, 13.405});
    for (auto _ : state)
        benchmark::DoNotOptimize(GreyLineList(day, home, 600, places));
}
BENCHMARK(BM_GreyLineList)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
