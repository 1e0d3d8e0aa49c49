// Report benchmarks on a generated 1,000,000-QSO log over the default country
// file: one report of each family (listing, summary, submission, item award,
// rate sheet) produced as the report window produces it, and the award chart.
// The figures are computation only: nothing is printed or written.

#include "millionqsoawards.h"
#include "reports/awardchart.h"
#include "reports/reportcatalog.h"

#include "awards/customaward.h"

#include <benchmark/benchmark.h>


namespace {

using namespace vellum;

/// The log, a contest start on its last day and a custom award on every band, made once.
struct ReportBench : bench::MillionQsoAwardLog {
    ReportBench()
    {
        // The last day of the log: the rate sheet passes over every QSO before it.
        config.ContestStartDate = log->Get(log->Count() - 1)->Date;
        custom.SetBands("111111111111111");
    }
    RecordingNotifier notifier;
    TCustAward custom{"1010"};
};

ReportBench &bench()
{
    static ReportBench instance;
    return instance;
}

void produce(benchmark::State &state, const char *name)
{
    ReportBench &b = bench();
    const ReportSpec *spec = FindReport(name);
    if (!spec) {
        state.SkipWithError("no such report");
        return;
    }
    std::size_t lines = 0;
    for (auto _ : state) {
        ContestStart contest{b.config.ContestStartDate, 0};
        ProducedReport report = ProduceReport(*spec, {b.model, *b.log, b.notifier, {}, &b.custom, contest});
        lines = report.table.lines.size();
        benchmark::DoNotOptimize(report.table.lines.data());
    }
    state.counters["lines"] = static_cast<double>(lines);
}

void BM_Listing_DxccListing(benchmark::State &state) { produce(state, "DXCC Listing"); }
void BM_Listing_WpxListing(benchmark::State &state) { produce(state, "WPX Listing"); }
void BM_Summary_DxccSummary(benchmark::State &state) { produce(state, "DXCC Summary"); }
void BM_Summary_WpxSummary(benchmark::State &state) { produce(state, "WPX Summary"); }
void BM_Submission_Dxcc(benchmark::State &state) { produce(state, "DXCC Submission"); }
void BM_Submission_WazFiveBand(benchmark::State &state) { produce(state, "WAZ Five Band Submission"); }
void BM_Submission_Wpx(benchmark::State &state) { produce(state, "WPX Submission"); }
void BM_Item_IotaFullListing(benchmark::State &state) { produce(state, "IOTA Listing"); }
void BM_Item_CountyBandSummary(benchmark::State &state) { produce(state, "Counties Band Summary"); }
void BM_Item_VuccBandListing(benchmark::State &state) { produce(state, "VUCC Band Listing"); }
void BM_Item_CustomListing(benchmark::State &state) { produce(state, "Custom Listing Worked"); }
void BM_Rate_RateSheet(benchmark::State &state) { produce(state, "Contest Rate Sheet"); }

void BM_Chart_Award(benchmark::State &state)
{
    ReportBench &b = bench();
    auto award = static_cast<AwardIndex>(state.range(0));
    for (auto _ : state) {
        AwardChart chart = ComputeAwardChart(b.model, *b.log, award);
        benchmark::DoNotOptimize(chart.levels[0].worked.data());
    }
    state.SetLabel(AwardNames[static_cast<std::size_t>(award)]);
}

void BM_Chart_BandYearGrid(benchmark::State &state)
{
    for (auto _ : state) {
        BandYearGrid grid = ComputeBandYearGrid(*bench().log);
        benchmark::DoNotOptimize(grid.years.data());
    }
}

} // namespace

BENCHMARK(BM_Listing_DxccListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Listing_WpxListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Summary_DxccSummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Summary_WpxSummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Submission_Dxcc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Submission_WazFiveBand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Submission_Wpx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Item_IotaFullListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Item_CountyBandSummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Item_VuccBandListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Item_CustomListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rate_RateSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chart_Award)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chart_BandYearGrid)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
