#pragma once
// The window benchmarks' program: started offscreen with some subsystems, then a
// generated log of a million QSOs written and opened as a user would open it.

#include "app/Fmain.h"
#include "app/windowhost.h"
#include "app/programcontext.h"
#include "app/testing/Fprogram.h"
#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include <QApplication>
#include <QString>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vellum::bench {

inline TMainForm &StartWithMillionQsoLog(test::TestProgram &test, std::vector<test::WindowRegistration> registrations)
{
    TMainForm &main = test.Start(std::move(registrations));
    {
        TQsoData generated(main.Context().Services());
        GeneratorOptions gen;
        gen.qsos = 1000000;
        GenerateLog(generated, gen);
        generated.LogFileName = test.SaveFile("BIG.VLL");
        generated.WriteLog(true);
    }
    main.OpenLogFile(QString::fromStdString(test.SaveFile("BIG.VLL")));
    return main;
}

/// The program of a window benchmark: started with those subsystems on a fresh
/// program directory, the generated log open, the QSO window's entry at hand.
struct MillionQsoProgram {
    MillionQsoProgram(std::string_view name, std::vector<test::WindowRegistration> registrations)
        : test(VELLUM_DEFAULT_DATA_DIR, name)
    {
        test.config.LASTLOG = "<none>";
        entry = StartWithMillionQsoLog(test, std::move(registrations)).Host().Entry();
    }
    TMainForm &main() { return *test.main; }

    test::TestProgram test;
    QsoEntry *entry = nullptr; ///< of the QSO window, which shows every change
};

/// A benchmark program made on first use and dropped (Drop) before the QApplication ends.
template <typename Program>
class LazyProgram {
public:
    Program &Get()
    {
        if (!m_program)
            m_program = std::make_unique<Program>();
        return *m_program;
    }
    void Drop() { m_program.reset(); }

private:
    std::unique_ptr<Program> m_program;
};

/// The main of a window benchmark: the offscreen platform, the benchmarks, and the
/// program dropped while the QApplication still exists.
template <typename Program>
int RunWindowBenchmarks(int argc, char **argv, LazyProgram<Program> &program)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    program.Drop();
    return 0;
}

} // namespace vellum::bench
