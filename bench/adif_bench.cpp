// ADIF import and export: a 100,000-QSO file into an empty log, the same into a
// 100,000-QSO log with duplicate checking, and the export of a 1,000,000-QSO
// log. The files are exports of logs made by the log generator, on the default
// country data of the build.

#include "exchangebench.h"

#include "exchange/exportlog.h"
#include "exchange/importfilter.h"

#include <map>

namespace {

using namespace vellum;
using namespace vellum::bench;

/// The ADIF export of a generated log, as bytes.
const std::string &adifOf(std::int64_t qsos, std::uint64_t seed)
{
    static std::map<std::pair<std::int64_t, std::uint64_t>, std::string> files;
    std::string &bytes = files[{qsos, seed}];
    if (bytes.empty()) {
        auto log = GeneratedLog(qsos, seed);
        ExportContext context{*log, Exchange().countries, nullptr, "/nonexistent"};
        bytes = ExportedBytes("adif-bench", "input.adi", [&context](const std::string &file) {
            ExportLog(context, file, AdifFilter(), RecordFormat::Adif);
        });
    }
    return bytes;
}

ImportResult importAdif(ImportContext &context, const std::string &bytes)
{
    return ImportAdifBytes(context, bytes, "bench.adi", AdifFilter());
}

void BM_ImportIntoEmptyLog(benchmark::State &state)
{
    if (!Exchange().loaded)
        return state.SkipWithError("no default country file in the build tree");
    TimeImportIntoEmptyLog(state, adifOf(100000, 1), 100000, importAdif);
}
BENCHMARK(BM_ImportIntoEmptyLog)->Unit(benchmark::kMillisecond)->UseRealTime();

/// Into a 100,000-QSO log: /0 a file of other QSOs ("Issue warning and stop",
/// none of them a duplicate), /1 the log's own QSOs ("Imported QSO is ignored",
/// every one a duplicate), /2 the log's own QSOs ("Imported QSO replaces
/// existing QSO").
void BM_ImportWithDuplicateCheck(benchmark::State &state)
{
    if (!Exchange().loaded)
        return state.SkipWithError("no default country file in the build tree");
    const bool own = state.range(0) > 0;
    const DuplicatePolicy policy = state.range(0) == 0 ? DuplicatePolicy::Ignore
                                   : state.range(0) == 1 ? DuplicatePolicy::Ignore
                                                         : DuplicatePolicy::Replace;
    const std::string &bytes = adifOf(100000, own ? 1 : 2);
    for (auto _ : state) {
        state.PauseTiming();
        auto log = GeneratedLog(100000, 1);
        state.ResumeTiming();
        ImportResult result = ImportInto(*log, bytes, policy, importAdif);
        if (result.counters.read != 100000)
            state.SkipWithError("not every QSO was read");
        state.counters["duplicates"] = static_cast<double>(result.counters.duplicates);
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_ImportWithDuplicateCheck)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportMillion(benchmark::State &state)
{
    if (!Exchange().loaded)
        return state.SkipWithError("no default country file in the build tree");
    static std::unique_ptr<TQsoData> log = GeneratedLog(1000000, 3);
    ExportContext context{*log, Exchange().countries, nullptr, "/nonexistent"};
    const std::string file = ScratchFile("adif-bench", "export.adi").string();
    std::int64_t bytes = 0;
    for (auto _ : state) {
        ExportResult result = ExportLog(context, file, AdifFilter(), RecordFormat::Adif);
        if (result.qsos != 1000000)
            state.SkipWithError("not every QSO was written");
        state.PauseTiming();
        bytes = static_cast<std::int64_t>(std::filesystem::file_size(file));
        std::filesystem::remove(file);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_ExportMillion)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
