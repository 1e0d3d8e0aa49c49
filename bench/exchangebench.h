#pragma once
// What the import and export benchmarks share: the default country data of the
// build with the services of every log, generated logs, scratch files, the
// answers of an import, and the timing loop of an import into an empty log.

#include "exchange/importlog.h"

#include "logstore/fileio.h"

#include "config/configrecord.h"
#include "country/countryfile.h"
#include "country/resolver.h"
#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

namespace vellum::bench {

/// The country data and the services of every log of a benchmark.
struct ExchangeSetting {
    TCountryData countries;
    std::unique_ptr<CountryResolver> resolver;
    SilentNotifier notifier;
    LogServices services;
    TConfigRecord config = BuiltInConfig();
    bool loaded = false;
};

/// The setting, loaded on first use from the build tree's default country file.
inline ExchangeSetting &Exchange()
{
    static ExchangeSetting s;
    if (!s.loaded) {
        s.loaded = LoadCountryFile(s.countries, std::string(VELLUM_BINARY_DIR) + "/data/SAVE/VELLUM.CTY", s.notifier);
        s.resolver = std::make_unique<CountryResolver>(s.countries);
        s.services.notifier = &s.notifier;
        s.services.resolver = s.resolver.get();
    }
    return s;
}

/// A file of this run in the temporary directory: "vellum-<bench>-<pid>-<name>".
inline std::filesystem::path ScratchFile(const std::string &bench, const std::string &name)
{
    return std::filesystem::temp_directory_path() /
           ("vellum-" + bench + "-" + std::to_string(getpid()) + "-" + name);
}

/// The bytes an export wrote: `write` writes a scratch file, which is read and removed.
inline std::string ExportedBytes(const std::string &bench, const std::string &name,
                                 const std::function<void(const std::string &file)> &write)
{
    std::string file = ScratchFile(bench, name).string();
    write(file);
    std::vector<std::uint8_t> data = ReadWholeFile(file);
    std::filesystem::remove(file);
    return std::string(data.begin(), data.end());
}

/// A log made by the log generator.
inline std::unique_ptr<TQsoData> GeneratedLog(std::int64_t qsos, std::uint64_t seed)
{
    auto log = std::make_unique<TQsoData>(Exchange().services);
    GeneratorOptions options;
    options.qsos = qsos;
    options.seed = seed;
    GenerateLog(*log, options);
    return log;
}

/// An import's questions answered without asking: one duplicate policy, the program's zones.
class ImportAnswers : public ImportQuestions {
public:
    explicit ImportAnswers(DuplicatePolicy policy) : m_policy(policy) {}
    std::optional<DuplicatePolicy> AskDuplicatePolicy() override { return m_policy; }
    PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &) override { return PrefixZoneChoice::Vellum; }

private:
    DuplicatePolicy m_policy;
};

/// Imports `bytes` into `log` with the answers given.
using Importer = std::function<ImportResult(ImportContext &context, const std::string &bytes)>;

/// Runs `import` into `log` with the setting's data and the duplicate policy.
inline ImportResult ImportInto(TQsoData &log, const std::string &bytes, DuplicatePolicy policy, const Importer &import)
{
    ExchangeSetting &s = Exchange();
    ImportAnswers answers(policy);
    ImportContext context{log, s.countries, *s.resolver, s.config, answers, "/nonexistent", 45000};
    return import(context, bytes);
}

/// The timing loop of an import of a file of `qsos` QSOs into an empty log: the
/// log is made inside the timing, its removal outside; every QSO must be read.
inline void TimeImportIntoEmptyLog(benchmark::State &state, const std::string &bytes, std::int64_t qsos,
                                   const Importer &import)
{
    for (auto _ : state) {
        auto log = std::make_unique<TQsoData>(Exchange().services);
        ImportResult result = ImportInto(*log, bytes, DuplicatePolicy::Stop, import);
        if (result.counters.read != qsos)
            state.SkipWithError("not every QSO was read");
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * qsos);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

} // namespace vellum::bench
