// Country resolution: ResolveCountry + WpxPrefix over a million generated calls,
// and loading a 1,000,000-QSO log with every record resolved, on the default
// country data converted from cty.dat.

#include "country/countryfile.h"
#include "country/ctyconvert.h"
#include "country/resolver.h"

#include "logstore/fileio.h"
#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace {

using namespace vellum;

/// The default country file of the build tree, or a conversion of cty.dat made here.
TCountryData &countryData()
{
    static TCountryData data;
    static bool loaded = false;
    if (!loaded) {
        std::string built = std::string(VELLUM_BINARY_DIR) + "/data/SAVE/VELLUM.CTY";
        RecordingNotifier notifier;
        if (!std::filesystem::exists(built) || !LoadCountryFile(data, built, notifier)) {
            std::vector<std::uint8_t> text = ReadWholeFile("/usr/share/hamradio-files/cty.dat");
            ConvertCtyDat(ParseCtyDat(std::string_view(reinterpret_cast<const char *>(text.data()), text.size())),
                          LoadDefaultTables(std::string(VELLUM_SOURCE_DIR) + "/data"), nullptr, data);
        }
        loaded = true;
    }
    return data;
}

/// A million calls as a log holds them: mostly plain calls of every prefix the
/// data knows, some portable forms, some exact calls of the exception table,
/// and the log generator's own calls.
const std::vector<ShortString<12>> &calls()
{
    static std::vector<ShortString<12>> list;
    if (!list.empty())
        return list;
    const TCountryData &data = countryData();
    std::mt19937_64 random(42);
    auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    static const char *const suffixes[] = {"/P", "/M", "/MM", "/QRP", "/4", "/6"};
    list.reserve(1000000);
    for (std::size_t i = 0; i < 1000000; ++i) {
        std::size_t kind = below(100);
        std::string call;
        if (kind < 10) {
            call = data.Exceptions.KeyString(static_cast<std::int32_t>(1 + below(data.Exceptions.Count() - 1)));
        } else if (kind < 20) {
            call = GenerateCall(7, i);
        } else {
            call = data.Mappings.KeyString(static_cast<std::int32_t>(1 + below(data.Mappings.Count() - 1)));
            if (call.back() < '0' || call.back() > '9')
                call += static_cast<char>('0' + below(10));
            for (std::size_t n = 1 + below(3); n > 0; --n)
                call += static_cast<char>('A' + below(26));
            if (kind < 27)
                call += suffixes[below(6)];
            else if (kind < 30)
                call = "KH6/" + call;
        }
        list.emplace_back(call);
    }
    return list;
}

void BM_ResolveCountryAndWpx(benchmark::State &state)
{
    CountryResolver resolver(countryData());
    const auto &list = calls();
    TQsoRec rec;
    rec.Date = 45000;
    std::size_t i = 0;
    for (auto _ : state) {
        rec.Call = list[i].view();
        rec.State = 0;
        resolver.ResolveCountry(rec);
        std::string wpx = resolver.WpxPrefix(rec.Call.view());
        benchmark::DoNotOptimize(rec.Country);
        benchmark::DoNotOptimize(wpx);
        if (++i == list.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ResolveCountryAndWpx);

/// A generated log of a million QSOs, written once.
const std::string &millionQsoLog()
{
    static std::string file;
    if (file.empty()) {
        file = (std::filesystem::temp_directory_path() / ("vellum-country-bench-" + std::to_string(::getpid()) + ".VLL"))
                   .string();
        TQsoData log;
        log.NewLog(file);
        GeneratorOptions options;
        options.qsos = 1000000;
        GenerateLog(log, options);
        log.WriteLog(true);
        std::atexit([] { std::filesystem::remove(file); });
    }
    return file;
}

void BM_LoadMillionQsoLogWithResolution(benchmark::State &state)
{
    const std::string &file = millionQsoLog();
    CountryResolver resolver(countryData());
    LogServices services;
    if (state.range(0))
        services.resolver = &resolver;
    for (auto _ : state) {
        auto log = std::make_unique<TQsoData>(services);
        if (!log->ReadLog(file, LoadMode::Load, DuplicateMode::EmptyLog))
            throw std::runtime_error("cannot read " + file);
        benchmark::DoNotOptimize(log->Count());
        state.PauseTiming(); // freeing the log is not part of loading it
        log.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_LoadMillionQsoLogWithResolution)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
