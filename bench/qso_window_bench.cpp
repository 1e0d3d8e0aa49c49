// The QSO window on a 1,000,000-QSO log, driven offscreen: showing the next
// QSO, adding a QSO, and switching the sort order.

#include "qso/Fqso.h"
#include "qso/fxsummary.h"

#include "app/Fmain.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/countryfile.h"
#include "logstore/loggen.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

using namespace vellum;

class Silent : public FileChooser {
public:
    QString OpenLog(QWidget *, const QString &) override { return {}; }
    QString NewLog(QWidget *, const QString &) override { return {}; }
    QString SaveLogAs(QWidget *, const QString &) override { return {}; }
};

/// A program with a 1,000,000-QSO log open in the QSO window.
struct Program {
    Program()
    {
        std::string dir = (std::filesystem::temp_directory_path() / "vellum-window-bench").string();
        std::filesystem::remove_all(dir);
        qputenv("VELLUM_DEFAULT_DATA", VELLUM_DEFAULT_DATA_DIR);
        PrepareProgramDir(QString::fromStdString(dir));
        config = BuiltInConfig();
        config.LASTLOG = "<none>";
        LoadCountryFile(countries, notifier);
        CurrentQsoWindowFactory() = [](TQsoData &log, TMainForm &main) -> TQsoWindowBase * {
            return new TQSOForm(log, main);
        };
        MainFormOptions options;
        options.notifier = &notifier;
        options.chooser = &chooser;
        options.installIdleHandler = false;
        main = std::make_unique<TMainForm>(config, countries, options);
        main->FormShow();
        main->AppIdle();
        {
            TQsoData generated(main->Services());
            GeneratorOptions gen;
            gen.qsos = 1000000;
            GenerateLog(generated, gen);
            generated.LogFileName = dir + "/SAVE/BIG.VLL";
            generated.WriteLog(true);
        }
        main->OpenLogFile(QString::fromStdString(dir + "/SAVE/BIG.VLL"));
        form = dynamic_cast<TQSOForm *>(main->QsoWindow());
    }
    RecordingNotifier notifier;
    Silent chooser;
    TConfigRecord config;
    TCountryData countries;
    std::unique_ptr<TMainForm> main;
    TQSOForm *form = nullptr;
};

/// Made at the first use; main drops it while the QApplication still exists, as
/// windows must not outlive it.
std::unique_ptr<Program> &programSlot()
{
    static std::unique_ptr<Program> p;
    return p;
}

Program &program()
{
    if (!programSlot())
        programSlot() = std::make_unique<Program>();
    return *programSlot();
}

void BM_ShowNextQso(benchmark::State &state)
{
    TQSOForm *form = program().form;
    form->GoFirst();
    for (auto _ : state) {
        form->GoNext();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShowNextQso)->Unit(benchmark::kMillisecond);

void BM_AddQso(benchmark::State &state)
{
    TQSOForm *form = program().form;
    form->AddOffline();
    std::int32_t before = program().main->Log()->Count();
    int n = 0;
    for (auto _ : state) {
        form->Field("FQso_Call")->setText(QStringLiteral("DL%1ABC").arg(n++ % 10));
        form->ProcessCall();
        form->Field("FQso_Time")->setText(QStringLiteral("%1:%2").arg(n / 60 % 24, 2, 10, QChar('0')).arg(n % 60, 2, 10, QChar('0')));
        form->AddQso();
        QApplication::processEvents();
    }
    state.counters["added"] = static_cast<double>(program().main->Log()->Count() - before);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AddQso)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_SwitchSortOrder(benchmark::State &state)
{
    TQSOForm *form = program().form;
    form->EscapePressed();
    int key = 0;
    for (auto _ : state) {
        form->SetSortOrder(key == 0 ? static_cast<int>(SortKey::Zone) : static_cast<int>(SortKey::Band));
        key ^= 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SwitchSortOrder)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_SearchCallPatternWholeLog(benchmark::State &state)
{
    TQSOForm *form = program().form;
    program().config.DefQSO_CallSearch = 2; // Pattern
    form->EscapePressed();
    for (auto _ : state) {
        form->StartSearch(false);
        form->Field("FQso_Call")->setText(QStringLiteral("DL*A?C"));
        benchmark::DoNotOptimize(form->CountQsos()); // every QSO of the log tested
    }
    form->EscapePressed();
    state.SetItemsProcessed(state.iterations() * program().main->Log()->Count());
}
BENCHMARK(BM_SearchCallPatternWholeLog)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RefreshCountryPanelForNewCall(benchmark::State &state)
{
    TQSOForm *form = program().form;
    form->AddOffline();
    form->OpenCompanion(0);
    auto *panel = dynamic_cast<CompanionWindow *>(program().main->Companion(0));
    const char *calls[] = {"DL1ABC", "JA1XYZ", "K1ABC", "VK2AA", "G4ABC", "PY2AA"};
    int n = 0;
    for (auto _ : state) {
        form->Field("FQso_Call")->setText(QString::fromLatin1(calls[n++ % 6]));
        form->ProcessCall();
        panel->RefreshCompanion();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RefreshCountryPanelForNewCall)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    programSlot().reset();
    return 0;
}
