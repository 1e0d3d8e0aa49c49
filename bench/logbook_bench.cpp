// The logbook's report over generated logs: listing a 1,000,000-QSO log, and
// printing (laid out, and as a PDF) or writing CSV of 100,000 QSOs in the
// shipped "LogBook" layout.

#include "logbook/logbookreport.h"
#include "print/pdfoutput.h"
#include "print/tablecsv.h"

#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include "countingsurface.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>

namespace {

using namespace vellum;

const TQsoData &generatedLog(std::int64_t qsos)
{
    static std::map<std::int64_t, std::unique_ptr<TQsoData>> logs;
    auto &log = logs[qsos];
    if (!log) {
        log = std::make_unique<TQsoData>();
        GeneratorOptions options;
        options.qsos = qsos;
        GenerateLog(*log, options);
    }
    return *log;
}

ReportDefinition logBookLayout()
{
    std::vector<std::string> problems;
    auto set = TReportDefinitions::FromText("[LogBook]\nSORT=Date\nNOTEWIDTH=30\nNumber=\nDate=\nTime=\nCallsign=\n"
                                            "Band=\nMode=\nrstS=\nrstR=\nCountry=\nQSO Notes=\n",
                                            problems);
    return set.Get(0);
}

/// A report of a log: the list, its cells and rows, and the print job.
struct Report {
    explicit Report(const TQsoData &log)
        : definition(logBookLayout()), cells({&log, nullptr, nullptr, DateFormat::YearMonthDay, false},
                                            definition.noteWidth)
    {
        list.Build(log, definition.sort);
        rows = std::make_unique<LogbookRows>(list, cells, definition.columns);
        job.title = LogbookTitle(definition, definition.sort, false);
        job.columns = LogbookColumns(definition, false);
        job.rows = rows.get();
    }
    ReportDefinition definition;
    LogbookCells cells;
    LogbookList list;
    std::unique_ptr<LogbookRows> rows;
    TablePrintJob job;
};

std::string scratchFile(const char *name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_ListWholeLog(benchmark::State &state)
{
    const TQsoData &log = generatedLog(1000000);
    LogbookList list;
    for (auto _ : state) {
        list.Build(log, SortKey::Date);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(state.iterations() * log.Count());
}
BENCHMARK(BM_ListWholeLog)->Unit(benchmark::kMillisecond);


void BM_PrintLayout100k(benchmark::State &state)
{
    Report report(generatedLog(100000));
    TableStyle style;
    style.lines = TableLines::LinesAndShades;
    for (auto _ : state) {
        bench::CountingSurface surface;
        TablePrintResult result = PrintTable(surface, report.job, style);
        state.counters["pages"] = result.pages;
    }
    state.SetItemsProcessed(state.iterations() * report.list.Count());
}
BENCHMARK(BM_PrintLayout100k)->Unit(benchmark::kMillisecond);

void BM_PrintPdf100k(benchmark::State &state)
{
    Report report(generatedLog(100000));
    const std::string file = scratchFile("vellum-bench-100k.pdf");
    for (auto _ : state) {
        TablePrintResult result = WriteTablePdf(report.job, TableStyle{}, file, {"A4", 2100, 2970, true});
        state.counters["pages"] = result.pages;
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
    std::filesystem::remove(file);
    state.SetItemsProcessed(state.iterations() * report.list.Count());
}
BENCHMARK(BM_PrintPdf100k)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Csv100k(benchmark::State &state)
{
    Report report(generatedLog(100000));
    const std::string file = scratchFile("vellum-bench-100k.csv");
    for (auto _ : state) {
        CsvResult result = WriteTableCsv(file, report.job.columns, *report.rows);
        benchmark::DoNotOptimize(result.rows);
    }
    std::filesystem::remove(file);
    state.SetItemsProcessed(state.iterations() * report.list.Count());
}
BENCHMARK(BM_Csv100k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
