#pragma once
// The whole program with the QSO and station windows, for the station's window tests.

#include "station/Fstation.h"

#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "qso/Fqso.h"

#include <QAction>
#include <QCoreApplication>

#include <gtest/gtest.h>

namespace vellum::test {

class StationProgramTest : public ProgramTest {
protected:
    explicit StationProgramTest(std::string_view label) : ProgramTest(VELLUM_DEFAULT_DATA_DIR, label) {}
    /// The program with a new log (SAVE/logName) and its QSO window open.
    void openLog(const char *logName)
    {
        program.Start({RegisterQsoWindows, RegisterStationWindows});
        chooser.file = QString::fromStdString(program.SaveFile(logName));
        main->NewClick();
        QCoreApplication::processEvents(); // QsoWindowOpened
        station = StationOf(main->Host());
        ASSERT_NE(station, nullptr);
    }
    QAction *qsoAction(const char *name) { return main->QsoWindow()->findChild<QAction *>(name); }

    TStation *station = nullptr;
};

} // namespace vellum::test
