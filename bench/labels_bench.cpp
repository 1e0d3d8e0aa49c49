// QSL labels and the bulk commands of the QSO window on a 1,000,000-QSO log open
// in the program (journaled as the program journals it): the print list of each
// kind of run, the label printer placing a whole QSL run on pages (a counting
// surface, nothing rasterised), and each bulk command over the whole log.

#include "labels/labeljob.h"
#include "labels/labellayout.h"
#include "labels/printlist.h"
#include "logbook/Flogbook.h"
#include "qso/Fqso.h"
#include "qso/bulkcommands.h"
#include "qso/qsoentry.h"
#include "qso/qsofields.h"

#include "app/testing/Fprogram.h"

#include "app/Fmain.h"
#include "app/programcontext.h"
#include "config/configrecord.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"

#include <QApplication>

#include "countingsurface.h"
#include "millionqsolog.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace vellum;

/// The program with the 1,000,000-QSO log open in the QSO window.
struct Program : bench::MillionQsoProgram {
    Program() : MillionQsoProgram("labels-bench", {RegisterQsoWindows, RegisterLogbookWindows}) {}
    TQsoData &log() { return *main().Log(); }
    ProgramContext &context() { return main().Context(); }
    /// Saves the log (outside the timing): the journal starts afresh instead of growing by every command.
    void save()
    {
        log().WriteLog(true);
        test.notifier.shown.clear();
    }
    /// Drops the changes (and their journal) and opens the saved log again.
    void reopen()
    {
        log().StopJournal();
        main().OpenLogFile(QString::fromStdString(test.SaveFile("BIG.VLL")));
        entry = main().Host().Entry();
    }
};

bench::LazyProgram<Program> programSlot;

Program &program() { return programSlot.Get(); }

// --- the print list --------------------------------------------------------------------

void printList(benchmark::State &state, LabelKind kind)
{
    Program &p = program();
    LabelOptions options = LabelOptionsFrom(p.context().Config());
    options.printManagers = true; // the manager of every QSO looked up too
    LabelPrintList list(p.log(), p.context().Resolver());
    for (auto _ : state) {
        list.Collect(ListSettingsFrom(kind, options));
        benchmark::DoNotOptimize(list.Items().data());
    }
    state.counters["listed"] = static_cast<double>(list.Items().size());
}

void BM_PrintListQsl(benchmark::State &state) { printList(state, LabelKind::Qsl); }
BENCHMARK(BM_PrintListQsl)->Unit(benchmark::kMillisecond);
void BM_PrintListSequence(benchmark::State &state) { printList(state, LabelKind::Sequence); }
BENCHMARK(BM_PrintListSequence)->Unit(benchmark::kMillisecond);
void BM_PrintListSwl(benchmark::State &state) { printList(state, LabelKind::Swl); }
BENCHMARK(BM_PrintListSwl)->Unit(benchmark::kMillisecond);

/// The QSL run's list when every QSO of the log waits for a label.
void BM_PrintListQslEveryQso(benchmark::State &state)
{
    Program &p = program();
    std::vector<std::uint8_t> flags;
    for (TQsoRec *qso : p.log()) {
        flags.push_back(qso->QslFlags);
        qso->QslFlags = static_cast<std::uint8_t>(qso->QslFlags | QslFlag::Label);
    }
    printList(state, LabelKind::Qsl);
    std::size_t i = 0;
    for (TQsoRec *qso : p.log())
        qso->QslFlags = flags[i++];
}
BENCHMARK(BM_PrintListQslEveryQso)->Unit(benchmark::kMillisecond);

// --- the label printer -----------------------------------------------------------------

/// TMyLabPr placing the whole QSL run (managers, method and address labels on) on L7159 sheets.
void BM_LabelRunOnPages(benchmark::State &state)
{
    Program &p = program();
    LabelJobSetup setup;
    setup.options = LabelOptionsFrom(p.context().Config());
    setup.options.printManagers = setup.options.printMethod = true;
    setup.options.greeting1 = "@@ 73 &&";
    LabelFileContents shipped = ReadLabelFile(std::string(VELLUM_SOURCE_DIR) + "/data/VELLUM.LAB");
    if (shipped.layouts.empty()) {
        state.SkipWithError("no shipped label layouts");
        return;
    }
    setup.layout = shipped.layouts.front();
    LabelPrintList list(p.log(), p.context().Resolver());
    list.Collect(ListSettingsFrom(LabelKind::Qsl, setup.options));
    const LabelJobLookups lookups = LookupsOf(p.log(), &p.context().Countries());
    LabelJobResult result;
    int pages = 0;
    for (auto _ : state) {
        bench::CountingSurface surface;
        result = PrintLabelRun(surface, list.Items(), setup, lookups);
        pages = surface.pages;
    }
    state.counters["qsos"] = static_cast<double>(result.printed.size());
    state.counters["labels"] = result.labels;
    state.counters["pages"] = pages;
}
BENCHMARK(BM_LabelRunOnPages)->Unit(benchmark::kMillisecond);

// --- the bulk commands -----------------------------------------------------------------

/// One command per iteration, timed; undo (not timed) brings the log back for the next.
template <typename Command, typename Undo>
void bulkCommand(benchmark::State &state, Command command, Undo undo)
{
    Program &p = program();
    p.save();
    std::int64_t changed = 0;
    for (auto _ : state) {
        BulkCommands bulk(*p.entry);
        changed = command(bulk);
        state.PauseTiming();
        undo(bulk);
        p.save();
        state.ResumeTiming();
    }
    state.counters["changed"] = static_cast<double>(changed);
}

void BM_SetPrintFlags(benchmark::State &state)
{
    bulkCommand(state, [](BulkCommands &b) { return b.SetPrintFlags(true); },
                [](BulkCommands &b) { b.SetPrintFlags(false); });
}
BENCHMARK(BM_SetPrintFlags)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ClearPrintFlags(benchmark::State &state)
{
    bulkCommand(state, [](BulkCommands &b) { return b.SetPrintFlags(false); },
                [](BulkCommands &b) { b.SetPrintFlags(true); });
}
BENCHMARK(BM_ClearPrintFlags)->Unit(benchmark::kMillisecond)->Iterations(3);

/// "Mark All" of the QSL run, then what the QSO window does after the run: every
/// printed QSO gets today's QSL date and loses its Label flag. Every QSO but those
/// of the method Ignore waits for a label (the log saved so, opened again between runs).
void BM_MarkForQsl(benchmark::State &state)
{
    Program &p = program();
    BulkCommands(*p.entry).SetPrintFlags(true);
    bulkCommand(
        state,
        [&p](BulkCommands &b) {
            b.BeforeLabelRun(LabelKind::Qsl);
            LabelPrintList list(p.log(), p.context().Resolver());
            list.Collect(ListSettingsFrom(LabelKind::Qsl, LabelOptionsFrom(p.context().Config())));
            list.MarkAll();
            return b.AfterLabelRun(LabelKind::Qsl, TodayDayNumber());
        },
        [&p](BulkCommands &) { p.reopen(); });
}
BENCHMARK(BM_MarkForQsl)->Unit(benchmark::kMillisecond)->Iterations(2);

/// "Confirm SWL" on the QSO shown: the record added, the next time removed again.
void BM_ConfirmSwl(benchmark::State &state)
{
    Program &p = program();
    p.entry->GoFirst();
    BulkCommands bulk(*p.entry);
    if (!bulk.CanConfirmSwl()) {
        state.SkipWithError("no QSO shown");
        return;
    }
    for (auto _ : state)
        bulk.ConfirmSwl("ONL4321");
    state.counters["swl"] = static_cast<double>(p.log().SwlList.Count());
}
BENCHMARK(BM_ConfirmSwl)->Unit(benchmark::kMillisecond);

/// "Check other QSOs" of a county: every QSO of the log compared.
void BM_CheckOtherQsos(benchmark::State &state)
{
    Program &p = program();
    p.entry->AddOffline();
    p.entry->Set(QsoField::State, "NY");
    p.entry->Set(QsoField::County, "Kings");
    for (auto _ : state)
        p.entry->CheckOtherQsos(OtherQsosOf::County);
    state.SetLabel(p.test.LastMessage().substr(0, 40));
    p.entry->ClearQso();
}
BENCHMARK(BM_CheckOtherQsos)->Unit(benchmark::kMillisecond);

/// "Delete QSOs" of every QSO of the log; the log is opened again between runs.
void BM_DeleteQsos(benchmark::State &state)
{
    Program &p = program();
    bulkCommand(state, [](BulkCommands &b) { return b.DeleteQsos(); }, [&p](BulkCommands &) { p.reopen(); });
}
BENCHMARK(BM_DeleteQsos)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char **argv) { return vellum::bench::RunWindowBenchmarks(argc, argv, programSlot); }
