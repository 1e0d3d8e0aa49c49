// Journal benchmark: appending one QSO entry and waiting for it to reach the
// disk (fdatasync), as every acknowledged change of the log will.

#include "logstore/journal.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace vellum;

/// The journal lives in the build tree, on the disk the program's files use,
/// not in a temporary file system whose sync costs nothing.
std::string journalFile()
{
    std::string dir = std::string(VELLUM_BINARY_DIR) + "/bench-journal";
    std::filesystem::create_directories(dir);
    return dir + "/BENCH.VLJ";
}

void BM_JournalAppendQso(benchmark::State &state)
{
    JournalWriter writer;
    writer.Open(journalFile(), {});
    TQsoRec qso;
    qso.Call = "DL1ABC";
    qso.Date = 45000;
    qso.Band = 5;
    qso.Mode = 4;
    qso.QsoNote.set("Operator Hans, 100 W into a dipole");
    for (auto _ : state) {
        ++qso.Time;
        writer.Append(JournalEntry::QsoAdded(qso));
    }
    state.SetItemsProcessed(state.iterations());
    writer.Remove();
}
BENCHMARK(BM_JournalAppendQso)->Unit(benchmark::kMicrosecond)->MinTime(3.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
