#pragma once
// The whole program for window tests and window benchmarks: a fresh program
// directory with the default data, the built-in configuration, the default
// country data, and the main window with scripted message boxes and file dialogs.

#include "testsupport/tempdir.h"

#include "app/Fmain.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "logstore/services.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace vellum::test {

/// File dialogs answered from a script: each call takes the next answer; with
/// none left, `file` ("" = cancel).
class ScriptedFileChooser : public FileChooser {
public:
    QStringList answers;
    QString file;
    int asked = 0;

    QString OpenLog(QWidget *, const QString &) override { return next(); }
    QString NewLog(QWidget *, const QString &) override { return next(); }
    QString SaveLogAs(QWidget *, const QString &) override { return next(); }

private:
    QString next();
};

/// What a subsystem registers with the window host (RegisterQsoWindows, ...).
using WindowRegistration = std::function<void(WindowHost &)>;

class TestProgram {
public:
    /// Prepares the program directory from the default data of the build
    /// (defaultDataDir) and loads its country file; throws std::runtime_error when
    /// that fails. The configuration is the built-in one.
    explicit TestProgram(const char *defaultDataDir, std::string_view label = "program");
    ~TestProgram();

    /// Makes the main window with the scripted dialogs and no idle handler (tests run
    /// the idle work themselves), lets each subsystem register its windows, shows it.
    /// With the setup windows registered (RegisterSetupWindows) and no own call in the
    /// configuration, the first log that opens brings the setup dialog's "Personal"
    /// page up as a child of main; it does not block, so a test that ignores it goes on.
    TMainForm &Start(std::vector<WindowRegistration> registrations = {}, MainFormOptions options = {});

    /// A file of the program's SAVE directory.
    std::string SaveFile(std::string_view name) const { return dir.file("SAVE/" + std::string(name)); }
    std::string LastMessage() const { return notifier.shown.empty() ? "" : notifier.shown.back().text; }

    TempDir dir;
    RecordingNotifier notifier;
    ScriptedFileChooser chooser;
    TConfigRecord config;
    TCountryData countries;
    std::unique_ptr<TMainForm> main;
    int programEnded = 0; ///< how often the main window asked to end the program
};

/// A GoogleTest fixture around a TestProgram, with its parts under their usual names.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest(const char *defaultDataDir, std::string_view label) : program(defaultDataDir, label) {}
    std::string lastMessage() const { return program.LastMessage(); }

    TestProgram program;
    TempDir &dir = program.dir;
    RecordingNotifier &notifier = program.notifier;
    ScriptedFileChooser &chooser = program.chooser;
    TConfigRecord &config = program.config;
    TCountryData &countries = program.countries;
    std::unique_ptr<TMainForm> &main = program.main;
};

} // namespace vellum::test
