// Filter imports and exports: 100,000 QSOs of a fixed-column text file (the
// shipped paper-log layout) into an empty log, and the export of the same log
// through that filter. The file is the export of a log made by the log
// generator, on the default country data of the build.

#include "exchange/exportlog.h"
#include "exchange/filtertext.h"
#include "exchange/importfilter.h"
#include "exchange/importlog.h"

#include "config/configrecord.h"
#include "country/countryfile.h"
#include "country/resolver.h"
#include "logstore/fileio.h"
#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

using namespace vellum;

struct Setting {
    TCountryData countries;
    std::unique_ptr<CountryResolver> resolver;
    SilentNotifier notifier;
    LogServices services;
    TConfigRecord config = BuiltInConfig();
    ImportFilter paper;
    bool loaded = false;
};

Setting &setting()
{
    static Setting s;
    if (!s.loaded) {
        s.loaded = LoadCountryFile(s.countries, std::string(VELLUM_BINARY_DIR) + "/data/SAVE/VELLUM.CTY", s.notifier);
        s.resolver = std::make_unique<CountryResolver>(s.countries);
        s.services.notifier = &s.notifier;
        s.services.resolver = s.resolver.get();
        std::vector<std::uint8_t> text = ReadWholeFile(std::string(VELLUM_SOURCE_DIR) + "/data/import-export-filters.txt");
        for (const ImportFilter &filter :
             ParseFilterText(std::string_view(reinterpret_cast<const char *>(text.data()), text.size()), 45000).filters)
            if (filter.Id.view() == "PAPER")
                s.paper = filter;
        s.paper.NoteExt = ""; // the QSO lines alone
        s.loaded = s.loaded && s.paper.Id.view() == "PAPER";
    }
    return s;
}

std::filesystem::path scratch(const std::string &name)
{
    return std::filesystem::temp_directory_path() / ("vellum-filter-bench-" + std::to_string(getpid()) + "-" + name);
}

std::unique_ptr<TQsoData> &generatedLog()
{
    static std::unique_ptr<TQsoData> log;
    if (!log) {
        log = std::make_unique<TQsoData>(setting().services);
        GeneratorOptions options;
        options.qsos = 100000;
        options.seed = 5;
        GenerateLog(*log, options);
    }
    return log;
}

ExportResult exportTo(const std::string &file)
{
    ExportContext context{*generatedLog(), setting().countries, nullptr, "/nonexistent", &setting().config};
    return ExportLog(context, file, setting().paper, RecordFormat::Filter);
}

const std::string &paperFile()
{
    static std::string bytes;
    if (bytes.empty()) {
        std::string file = scratch("input.txt").string();
        exportTo(file);
        std::vector<std::uint8_t> data = ReadWholeFile(file);
        std::filesystem::remove(file);
        bytes.assign(data.begin(), data.end());
    }
    return bytes;
}

class Answers : public ImportQuestions {
public:
    std::optional<DuplicatePolicy> AskDuplicatePolicy() override { return DuplicatePolicy::Stop; }
    PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &) override { return PrefixZoneChoice::Vellum; }
};

void BM_FilterImportIntoEmptyLog(benchmark::State &state)
{
    if (!setting().loaded)
        return state.SkipWithError("no default country file or filters in the build tree");
    const std::string &bytes = paperFile();
    Setting &s = setting();
    for (auto _ : state) {
        auto log = std::make_unique<TQsoData>(s.services);
        Answers answers;
        ImportContext context{*log, s.countries, *s.resolver, s.config, answers, "/nonexistent", 45000};
        ImportResult result = ImportFilterBytes(context, bytes, "bench.txt", s.paper);
        if (result.counters.read != 100000)
            state.SkipWithError("not every QSO was read");
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 100000);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_FilterImportIntoEmptyLog)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilterExport(benchmark::State &state)
{
    if (!setting().loaded)
        return state.SkipWithError("no default country file or filters in the build tree");
    const std::string file = scratch("export.txt").string();
    for (auto _ : state) {
        if (exportTo(file).qsos != 100000)
            state.SkipWithError("not every QSO was written");
    }
    std::filesystem::remove(file);
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_FilterExport)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
