// The QSO window on a 1,000,000-QSO log, driven offscreen: showing the next
// QSO, adding a QSO, and switching the sort order; the logbook window over the
// same log: opening it (in the date order and in the "Award Standing" layout)
// and scrolling through it.

#include "logbook/Flogbook.h"
#include "qso/Fqso.h"

#include "app/testing/Fprogram.h"

#include "app/Fmain.h"
#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include <QApplication>
#include <QScrollBar>
#include <QTableView>

#include "millionqsolog.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using namespace vellum;

/// The program with a 1,000,000-QSO log open in the QSO window.
struct Program : bench::MillionQsoProgram {
    Program() : MillionQsoProgram("window-bench", {RegisterQsoWindows, RegisterLogbookWindows}) {}
    TConfigRecord &config = test.config;
};

bench::LazyProgram<Program> programSlot;

Program &program() { return programSlot.Get(); }

void BM_ShowNextQso(benchmark::State &state)
{
    QsoEntry &entry = *program().entry;
    entry.GoFirst();
    for (auto _ : state) {
        entry.GoNext();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShowNextQso)->Unit(benchmark::kMillisecond);

void BM_AddQso(benchmark::State &state)
{
    QsoEntry &entry = *program().entry;
    entry.AddOffline();
    std::int32_t before = program().main().Log()->Count();
    int n = 0;
    for (auto _ : state) {
        entry.Edit(QsoField::Call, "DL" + std::to_string(n++ % 10) + "ABC");
        entry.Leave(QsoField::Call);
        char time[8];
        std::snprintf(time, sizeof time, "%02d:%02d", n / 60 % 24, n % 60);
        entry.Set(QsoField::Time, time);
        entry.AddQso();
        QApplication::processEvents();
    }
    state.counters["added"] = static_cast<double>(program().main().Log()->Count() - before);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AddQso)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_SwitchSortOrder(benchmark::State &state)
{
    QsoEntry &entry = *program().entry;
    entry.EscapePressed();
    int key = 0;
    for (auto _ : state) {
        entry.SetSortOrder(key == 0 ? static_cast<int>(SortKey::Zone) : static_cast<int>(SortKey::Band));
        key ^= 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SwitchSortOrder)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_SearchCallPatternWholeLog(benchmark::State &state)
{
    QsoEntry &entry = *program().entry;
    program().config.DefQSO_CallSearch = 2; // Pattern
    entry.EscapePressed();
    for (auto _ : state) {
        entry.StartSearch(false);
        entry.Edit(QsoField::Call, "DL*A?C");
        benchmark::DoNotOptimize(entry.CountQsos()); // every QSO of the log tested
    }
    entry.EscapePressed();
    state.SetItemsProcessed(state.iterations() * program().main().Log()->Count());
}
BENCHMARK(BM_SearchCallPatternWholeLog)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RefreshCountryPanelForNewCall(benchmark::State &state)
{
    QsoEntry &entry = *program().entry;
    WindowHost &host = program().main().Host();
    entry.AddOffline();
    host.OpenCompanion(CompanionId::Country);
    auto *panel = dynamic_cast<CompanionWindow *>(host.Companion(CompanionId::Country));
    const char *calls[] = {"DL1ABC", "JA1XYZ", "K1ABC", "VK2AA", "G4ABC", "PY2AA"};
    int n = 0;
    for (auto _ : state) {
        entry.Edit(QsoField::Call, calls[n++ % 6]);
        entry.Leave(QsoField::Call);
        panel->RefreshCompanion();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RefreshCountryPanelForNewCall)->Unit(benchmark::kMillisecond);

TLogbook *openLogbook(WindowHost &host)
{
    host.OpenCompanion(CompanionId::Logbook);
    auto *logbook = static_cast<TLogbook *>(host.Companion(CompanionId::Logbook));
    logbook->show();
    logbook->Table()->viewport()->repaint();
    return logbook;
}

/// Opening the logbook over the whole log: the list, the model and the first painted rows.
void BM_LogbookOpen(benchmark::State &state)
{
    WindowHost &host = program().main().Host();
    for (auto _ : state) {
        TLogbook *logbook = openLogbook(host);
        benchmark::DoNotOptimize(logbook->List().Count());
        state.PauseTiming();
        delete logbook;
        state.ResumeTiming();
    }
    state.counters["qsos"] = static_cast<double>(program().main().Log()->Count());
}
BENCHMARK(BM_LogbookOpen)->Unit(benchmark::kMillisecond);

/// Opening the logbook in the "Award Standing" layout, sorted by prefix (country,
/// band, then the call order), over the whole log.
void BM_LogbookOpenAwardStanding(benchmark::State &state)
{
    WindowHost &host = program().main().Host();
    auto &report = host.Context().Config().F_CurrentReport;
    const std::string before = report.str();
    report = "Award Standing";
    for (auto _ : state) {
        TLogbook *logbook = openLogbook(host);
        benchmark::DoNotOptimize(logbook->List().Count());
        state.PauseTiming();
        if (logbook->List().Sort() != SortKey::Prefix)
            state.SkipWithError("the layout is not sorted by prefix");
        delete logbook;
        state.ResumeTiming();
    }
    report = before;
}
BENCHMARK(BM_LogbookOpenAwardStanding)->Unit(benchmark::kMillisecond);

/// A jump to another part of the logbook's list, its rows painted.
void BM_LogbookScrollPage(benchmark::State &state)
{
    TLogbook *logbook = openLogbook(program().main().Host());
    QScrollBar *bar = logbook->Table()->verticalScrollBar();
    int position = 0;
    for (auto _ : state) {
        position = (position + 9973 * 37) % std::max(1, bar->maximum());
        bar->setValue(position);
        logbook->Table()->viewport()->repaint();
    }
    delete logbook;
}
BENCHMARK(BM_LogbookScrollPage)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) { return vellum::bench::RunWindowBenchmarks(argc, argv, programSlot); }
