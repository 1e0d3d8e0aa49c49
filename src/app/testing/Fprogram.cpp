#include "Fprogram.h"

#include "country/countryfile.h"

#include <stdexcept>

namespace vellum::test {

QString ScriptedFileChooser::next()
{
    ++asked;
    return answers.isEmpty() ? file : answers.takeFirst();
}

TestProgram::TestProgram(const char *defaultDataDir, std::string_view label) : dir(label)
{
    qputenv("VELLUM_DEFAULT_DATA", defaultDataDir);
    PrepareProgramDir(QString::fromStdString(dir.path()));
    config = BuiltInConfig();
    if (!LoadCountryFile(countries, notifier))
        throw std::runtime_error("the default country file of " + std::string(defaultDataDir) + " cannot be read");
}

TestProgram::~TestProgram() { main.reset(); }

TMainForm &TestProgram::Start(std::vector<WindowRegistration> registrations, MainFormOptions options)
{
    options.notifier = &notifier;
    options.chooser = &chooser;
    options.installIdleHandler = false;
    options.endProgram = [this] { ++programEnded; };
    main = std::make_unique<TMainForm>(config, countries, std::move(options));
    for (const WindowRegistration &registration : registrations)
        registration(main->Host());
    main->FormShow();
    main->AppIdle();
    return *main;
}

} // namespace vellum::test
