#pragma once
// The window benchmarks' program: started offscreen with some subsystems, then a
// generated log of a million QSOs written and opened as a user would open it.

#include "app/Fmain.h"
#include "app/programcontext.h"
#include "app/testing/Fprogram.h"
#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include <QString>

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

} // namespace vellum::bench
