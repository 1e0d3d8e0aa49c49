// The spot list on a 1,000,000-QSO log, shown offscreen: cluster lines parsed,
// ranked against the award standing and inserted, the table repainted once per
// batch; and the memory the list holds once it is full.

#include "cluster/Fcluster.h"
#include "cluster/Fputout.h"
#include "cluster/terminalsettings.h"
#include "qso/Fqso.h"

#include "app/Fmain.h"
#include "app/programcontext.h"
#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include <QApplication>

#include "millionqsolog.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>

namespace {

using namespace vellum;

constexpr int Capacity = 10000;

struct Program {
    Program() : test(VELLUM_DEFAULT_DATA_DIR, "spot-bench")
    {
        test.config.LASTLOG = "<none>";
        test.config.TNC_Type = 2;
        test.config.TNC_Comport = TerminalTcpPort;
        test.config.Packet_max_putout = Capacity;
        TMainForm &main = bench::StartWithMillionQsoLog(test, {RegisterQsoWindows, RegisterClusterWindows});
        QApplication::processEvents(); // the terminals, and with them the spot list, open once the program runs
        list = ClusterOf(main.Host())->SpotList();
        list->show();
    }
    test::TestProgram test;
    TPutoutW *list = nullptr;
};

bench::LazyProgram<Program> programSlot;

Program &program() { return programSlot.Get(); }

/// Lines as a busy node and the skimmers send them: many calls, all HF bands, CW and phone.
std::vector<std::string> spotLines(std::size_t count, std::uint64_t seed)
{
    static const double bands[] = {1825, 3525, 7025, 10120, 14025, 18085, 21025, 24900, 28025, 50110,
                                   3790, 7150, 14250, 21300, 28500};
    std::vector<std::string> lines;
    lines.reserve(count);
    char line[160];
    for (std::size_t i = 0; i < count; ++i) {
        double kHz = bands[i % 15] + static_cast<double>(i % 97) / 10;
        std::snprintf(line, sizeof line, "DX de SK%zu-#:  %8.1f  %-12s CW %zu dB %zu WPM CQ      %02zu%02zuZ", i % 500, kHz,
                      GenerateCall(seed, i).c_str(), i % 30, 18 + i % 20, (i / 60) % 24, i % 60);
        lines.emplace_back(line);
    }
    return lines;
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    return 0;
}

void feed(TPutoutW &list, const std::vector<std::string> &lines)
{
    constexpr std::size_t Batch = 5000; // lines that arrive between two idle steps
    for (std::size_t at = 0; at < lines.size(); at += Batch) {
        for (std::size_t i = at; i < std::min(lines.size(), at + Batch); ++i)
            list.Receive(lines[i]);
        while (list.Intake().Waiting() > 0)
            list.ProcessQueue();
        QApplication::processEvents(); // the one repaint of the batch
    }
}

void BM_SpotLinesParsedRankedInserted(benchmark::State &state)
{
    TPutoutW &list = *program().list;
    std::uint64_t seed = 1;
    std::vector<std::string> lines = spotLines(static_cast<std::size_t>(state.range(0)), seed);
    feed(list, lines); // fill the list to its capacity first
    long fullKiB = residentKiB();
    for (auto _ : state) {
        state.PauseTiming();
        lines = spotLines(static_cast<std::size_t>(state.range(0)), ++seed);
        state.ResumeTiming();
        feed(list, lines);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["spots_in_list"] = static_cast<double>(list.List().Count());
    state.counters["rss_growth_at_capacity_kib"] = static_cast<double>(residentKiB() - fullKiB);
}
BENCHMARK(BM_SpotLinesParsedRankedInserted)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv) { return vellum::bench::RunWindowBenchmarks(argc, argv, programSlot); }
