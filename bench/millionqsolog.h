#pragma once
// The window benchmarks' program: started offscreen with some subsystems, then a
// generated log of a million QSOs written and opened as a user would open it.

#include "app/Fmain.h"
#include "app/programcontext.h"
#include "app/testing/Fprogram.h"
#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include <QString>

#include <memory>
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

} // namespace vellum::bench
