// Award model benchmarks on a generated 1,000,000-QSO log, every QSO resolved
// over the default country file: rebuilding the award tables, adding and
// removing one QSO, and the need class of a spot.

#include "awards/awardqueries.h"
#include "millionqsoawards.h"

#include "logstore/qsodata.h"
#include "logstore/qsotables.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <random>

namespace {

using namespace vellum;

/// The log with its award tables built, made once.
struct AwardBench : bench::MillionQsoAwardLog {
    AwardBench() { model.RebuildAwardTables(*log, DefaultStartDates()); }
};

AwardBench &bench()
{
    static AwardBench instance;
    return instance;
}

void BM_RebuildAwardTables(benchmark::State &state)
{
    AwardBench &b = bench();
    for (auto _ : state) {
        b.log->InvalidateAwardTables();
        b.model.RebuildAwardTables(*b.log, DefaultStartDates());
    }
    if (!b.log->AwardTablesValid())
        state.SkipWithError("the tables were not rebuilt");
    state.SetItemsProcessed(state.iterations() * b.log->Count());
    state.counters["wpx_prefixes"] = b.countries.Wpx.Count();
}
BENCHMARK(BM_RebuildAwardTables)->Unit(benchmark::kMillisecond)->MinTime(3.0);

/// Copies of QSOs of the log, picked at random: adding a copy and removing it
/// again leaves the tables as they were and keeps them valid.
std::vector<TQsoRec> sampleQsos(const TQsoData &log, std::size_t count)
{
    std::mt19937_64 random(7);
    std::vector<TQsoRec> sample;
    sample.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        sample.push_back(*log.Get(static_cast<std::int32_t>(random() % static_cast<std::uint64_t>(log.Count()))));
    return sample;
}

void BM_AddAndRemoveQso(benchmark::State &state)
{
    AwardBench &b = bench();
    b.model.EnsureAwardTables(*b.log);
    // As while the spot list runs: the calls' summary exists and is kept up to date too.
    b.model.CallWorkedOn(*b.log, "K1ABC", 5, mgCW);
    std::vector<TQsoRec> sample = sampleQsos(*b.log, 65536);
    std::size_t next = 0;
    for (auto _ : state) {
        const TQsoRec &qso = sample[next];
        next = (next + 1) & (sample.size() - 1);
        b.model.AddQsoToAwards(*b.log, qso);
        b.model.RemoveQsoFromAwards(*b.log, qso);
    }
    if (!b.log->AwardTablesValid())
        state.SkipWithError("a removal fell back to a rebuild");
    // One item is one add or one remove.
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_AddAndRemoveQso);

/// Spots as the spot list sees them: half of them calls of the log, half new
/// calls, on every band and in the common modes.
std::vector<std::pair<std::string, SpotInfo>> spots(const AwardBench &b, std::size_t count)
{
    std::mt19937_64 random(11);
    static const int modes[] = {4, 14, 14, 4, 13, 10, 5, 1};
    std::vector<std::pair<std::string, SpotInfo>> list(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string &call = list[i].first;
        auto qsos = static_cast<std::uint64_t>(b.log->Count());
        call = (random() & 1) ? b.log->Get(static_cast<std::int32_t>(random() % qsos))->Call.str()
                              : GenerateCall(99, i);
        SpotInfo &spot = list[i].second;
        spot.band = 1 + static_cast<int>(random() % 15);
        spot.mode = modes[random() % 8];
        spot.date = *DayNumber(2024, 6, 1);
        spot.country = b.resolver.CountryOfCall(call, spot.date);
    }
    for (auto &[call, spot] : list)
        spot.call = call; // the strings no longer move
    return list;
}

void BM_NeedClass(benchmark::State &state)
{
    AwardBench &b = bench();
    auto award = static_cast<AwardIndex>(state.range(0));
    b.model.EnsureAwardTables(*b.log);
    auto list = spots(b, 65536);
    std::array<std::int64_t, 7> classes{};
    std::size_t next = 0;
    for (auto _ : state) {
        int needClass = NeedClass(b.model, b.log.get(), list[next].second, award);
        ++classes[static_cast<std::size_t>(needClass)];
        next = (next + 1) & (list.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(AwardNames[static_cast<std::size_t>(award)]);
    for (int c = 1; c <= 6; ++c)
        state.counters["class" + std::to_string(c)] =
            benchmark::Counter(static_cast<double>(classes[static_cast<std::size_t>(c)]) /
                               static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations())));
}
BENCHMARK(BM_NeedClass)->Arg(AwardDXCC)->Arg(AwardWAZ)->Arg(AwardWPX);

} // namespace

BENCHMARK_MAIN();
