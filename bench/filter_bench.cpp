// Filter imports and exports: 100,000 QSOs of a fixed-column text file (the
// shipped paper-log layout) into an empty log, and the export of the same log
// through that filter. The file is the export of a log made by the log
// generator, on the default country data of the build.

#include "exchangebench.h"

#include "exchange/exportlog.h"
#include "exchange/filtertext.h"
#include "exchange/importfilter.h"

namespace {

using namespace vellum;
using namespace vellum::bench;

/// The shipped paper-log filter, without its notes file (the QSO lines alone).
const ImportFilter &paperFilter()
{
    static ImportFilter paper = [] {
        ImportFilter found;
        std::vector<std::uint8_t> text = ReadWholeFile(std::string(VELLUM_SOURCE_DIR) + "/data/import-export-filters.txt");
        for (const ImportFilter &filter :
             ParseFilterText(std::string_view(reinterpret_cast<const char *>(text.data()), text.size()), 45000).filters)
            if (filter.Id.view() == "PAPER")
                found = filter;
        found.NoteExt = "";
        return found;
    }();
    return paper;
}

bool ready() { return Exchange().loaded && paperFilter().Id.view() == "PAPER"; }

std::unique_ptr<TQsoData> &generatedLog()
{
    static std::unique_ptr<TQsoData> log = GeneratedLog(100000, 5);
    return log;
}

ExportResult exportTo(const std::string &file)
{
    ExportContext context{*generatedLog(), Exchange().countries, nullptr, "/nonexistent", &Exchange().config};
    return ExportLog(context, file, paperFilter(), RecordFormat::Filter);
}

const std::string &paperFile()
{
    static const std::string bytes =
        ExportedBytes("filter-bench", "input.txt", [](const std::string &file) { exportTo(file); });
    return bytes;
}

ImportResult importPaper(ImportContext &context, const std::string &bytes)
{
    return ImportFilterBytes(context, bytes, "bench.txt", paperFilter());
}

void BM_FilterImportIntoEmptyLog(benchmark::State &state)
{
    if (!ready())
        return state.SkipWithError("no default country file or filters in the build tree");
    TimeImportIntoEmptyLog(state, paperFile(), 100000, importPaper);
}
BENCHMARK(BM_FilterImportIntoEmptyLog)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilterExport(benchmark::State &state)
{
    if (!ready())
        return state.SkipWithError("no default country file or filters in the build tree");
    const std::string file = ScratchFile("filter-bench", "export.txt").string();
    for (auto _ : state) {
        if (exportTo(file).qsos != 100000)
            state.SkipWithError("not every QSO was written");
    }
    std::filesystem::remove(file);
    std::filesystem::remove(GenerationName(file)); // the file the second export kept
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_FilterExport)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
