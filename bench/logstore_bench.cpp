// Log store benchmarks on a generated 1,000,000-QSO log: loading, saving,
// adding, deleting and finding by call.

#include "logstore/loggen.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>

namespace {

using namespace vellum;

constexpr std::int64_t LogSize = 1000000;

/// The generated log file, written once per run.
const std::string &logFile()
{
    static std::string path = [] {
        std::string dir = std::filesystem::temp_directory_path() / "vellum-bench";
        std::filesystem::create_directories(dir);
        SetProgramDir(dir);
        std::string file = dir + "/BENCH.VLL";
        TQsoData log;
        GeneratorOptions options;
        options.qsos = LogSize;
        options.seed = 42;
        GenerateLog(log, options);
        log.LogFileName = file;
        log.WriteLog(true);
        return file;
    }();
    return path;
}

std::unique_ptr<TQsoData> loadLog()
{
    auto log = std::make_unique<TQsoData>();
    if (!log->ReadLog(logFile(), LoadMode::Load, DuplicateMode::EmptyLog))
        std::abort();
    return log;
}

void BM_ReadLog(benchmark::State &state)
{
    logFile();
    for (auto _ : state) {
        auto log = loadLog();
        benchmark::DoNotOptimize(log->Count());
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * LogSize);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(logFile())));
}
BENCHMARK(BM_ReadLog)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_WriteLog(benchmark::State &state)
{
    auto log = loadLog();
    log->LogFileName = logFile() + ".out.VLL";
    for (auto _ : state) {
        log->SetModified();
        log->WriteLog(true);
    }
    state.SetItemsProcessed(state.iterations() * LogSize);
    std::filesystem::remove(log->LogFileName);
}
BENCHMARK(BM_WriteLog)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AddQso(benchmark::State &state)
{
    auto log = loadLog();
    std::mt19937 random(1);
    std::vector<std::unique_ptr<TQsoRec>> fresh;
    for (auto _ : state) {
        state.PauseTiming();
        fresh.clear();
        for (int i = 0; i < 10000; ++i) {
            auto rec = std::make_unique<TQsoRec>(*log->Get(static_cast<std::int32_t>(random() % LogSize)));
            rec->Time = static_cast<std::int32_t>(random() % 86400);
            fresh.push_back(std::move(rec));
        }
        state.ResumeTiming();
        for (auto &rec : fresh)
            log->AddQso(std::move(rec));
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_AddQso)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DeleteQso(benchmark::State &state)
{
    auto log = loadLog();
    std::mt19937 random(2);
    for (auto _ : state) {
        TQsoRec *victim = log->Get(static_cast<std::int32_t>(random() % static_cast<unsigned>(log->Count())));
        log->DeleteQso(victim);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DeleteQso)->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_FindByCall(benchmark::State &state)
{
    auto log = loadLog();
    std::mt19937 random(3);
    std::vector<std::string> calls;
    for (int i = 0; i < 4096; ++i)
        calls.push_back(log->Get(static_cast<std::int32_t>(random() % LogSize))->Call.str());
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(log->EndOfCall(calls[i++ & 4095]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindByCall)->Unit(benchmark::kNanosecond);

} // namespace

BENCHMARK_MAIN();
