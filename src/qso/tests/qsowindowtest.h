#pragma once
// The whole program with a new log open in its QSO window: the fixture of the
// window tests that start from the QSO window (its own, and the companions').

#include "app/testing/Fprogram.h"
#include "qso/Fqso.h"

#include <gtest/gtest.h>

#include <vector>

namespace vellum::test {

class QsoWindowTest : public ProgramTest {
protected:
    using ProgramTest::ProgramTest;
    /// Home in Berlin, dates written yyyy-mm-dd, no log opened at start.
    void SetHomeInBerlin()
    {
        config.LASTLOG = "<none>";
        config.Personal_Latitude = 52.52;
        config.Personal_Longitude = 13.405;
        config.Personal_DateFormat = 3;
    }
    /// Starts the program with these windows and opens a new log "TEST.VLL"; form is its QSO window.
    void StartWithNewLog(const std::vector<WindowRegistration> &registrations)
    {
        program.Start(registrations);
        chooser.file = QString::fromStdString(program.SaveFile("TEST.VLL"));
        main->NewClick();
        form = dynamic_cast<TQSOForm *>(main->QsoWindow());
        ASSERT_NE(form, nullptr);
        form->show();
    }

    TQSOForm *form = nullptr;
};

} // namespace vellum::test
