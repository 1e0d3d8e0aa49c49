// ADIF import and export: a 100,000-QSO file into an empty log, the same into a
// 100,000-QSO log with duplicate checking, and the export of a 1,000,000-QSO
// log. The files are exports of logs made by the log generator, on the default
// country data of the build.

#include "exchange/exportlog.h"
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
#include <map>
#include <memory>
#include <unistd.h>

namespace {

using namespace vellum;

/// The country data and the services of every log here.
struct Setting {
    TCountryData countries;
    std::unique_ptr<CountryResolver> resolver;
    SilentNotifier notifier;
    LogServices services;
    TConfigRecord config = BuiltInConfig();
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
    }
    return s;
}

std::filesystem::path scratch(const std::string &name)
{
    return std::filesystem::temp_directory_path() / ("vellum-adif-bench-" + std::to_string(getpid()) + "-" + name);
}

std::unique_ptr<TQsoData> generatedLog(std::int64_t qsos, std::uint64_t seed)
{
    auto log = std::make_unique<TQsoData>(setting().services);
    GeneratorOptions options;
    options.qsos = qsos;
    options.seed = seed;
    GenerateLog(*log, options);
    return log;
}

/// The ADIF export of a generated log, as bytes.
const std::string &adifOf(std::int64_t qsos, std::uint64_t seed)
{
    static std::map<std::pair<std::int64_t, std::uint64_t>, std::string> files;
    std::string &bytes = files[{qsos, seed}];
    if (bytes.empty()) {
        auto log = generatedLog(qsos, seed);
        ExportContext context{*log, setting().countries, nullptr, "/nonexistent"};
        std::string file = scratch("input.adi").string();
        ExportLog(context, file, AdifFilter(), RecordFormat::Adif);
        std::vector<std::uint8_t> data = ReadWholeFile(file);
        std::filesystem::remove(file);
        bytes.assign(data.begin(), data.end());
    }
    return bytes;
}

class Answers : public ImportQuestions {
public:
    explicit Answers(DuplicatePolicy policy) : m_policy(policy) {}
    std::optional<DuplicatePolicy> AskDuplicatePolicy() override { return m_policy; }
    PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &) override { return PrefixZoneChoice::Vellum; }

private:
    DuplicatePolicy m_policy;
};

ImportResult importInto(TQsoData &log, const std::string &bytes, DuplicatePolicy policy)
{
    Setting &s = setting();
    Answers answers(policy);
    ImportContext context{log, s.countries, *s.resolver, s.config, answers, "/nonexistent", 45000};
    return ImportAdifBytes(context, bytes, "bench.adi", AdifFilter());
}

void BM_ImportIntoEmptyLog(benchmark::State &state)
{
    if (!setting().loaded)
        return state.SkipWithError("no default country file in the build tree");
    const std::string &bytes = adifOf(100000, 1);
    for (auto _ : state) {
        auto log = std::make_unique<TQsoData>(setting().services);
        ImportResult result = importInto(*log, bytes, DuplicatePolicy::Stop);
        if (result.counters.read != 100000)
            state.SkipWithError("not every QSO was read");
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 100000);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ImportIntoEmptyLog)->Unit(benchmark::kMillisecond)->UseRealTime();

/// Into a 100,000-QSO log: /0 a file of other QSOs ("Issue warning and stop",
/// none of them a duplicate), /1 the log's own QSOs ("Imported QSO is ignored",
/// every one a duplicate), /2 the log's own QSOs ("Imported QSO replaces
/// existing QSO").
void BM_ImportWithDuplicateCheck(benchmark::State &state)
{
    if (!setting().loaded)
        return state.SkipWithError("no default country file in the build tree");
    const bool own = state.range(0) > 0;
    const DuplicatePolicy policy = state.range(0) == 0 ? DuplicatePolicy::Ignore
                                   : state.range(0) == 1 ? DuplicatePolicy::Ignore
                                                         : DuplicatePolicy::Replace;
    const std::string &bytes = adifOf(100000, own ? 1 : 2);
    for (auto _ : state) {
        state.PauseTiming();
        auto log = generatedLog(100000, 1);
        state.ResumeTiming();
        ImportResult result = importInto(*log, bytes, policy);
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
    if (!setting().loaded)
        return state.SkipWithError("no default country file in the build tree");
    static std::unique_ptr<TQsoData> log = generatedLog(1000000, 3);
    ExportContext context{*log, setting().countries, nullptr, "/nonexistent"};
    const std::string file = scratch("export.adi").string();
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
