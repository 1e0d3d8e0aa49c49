// vellum-cli: settings changed from outside. "config set NAME=VALUE ..." sets
// settings by the names "config show" prints; "config ini-export OUT" writes the
// INI form of the settings as the setup dialog's "Write INI File" does; "config
// ini-merge FILE" merges one as its "Merge INI file" followed by "Save Changes
// and Exit" does. Values are checked and clamped as after loading; the
// configuration file is written through the safe writer, and not at all when
// anything is wrong.

#include "cli.h"

#include "config/configfile.h"
#include "config/configrules.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "setup/configset.h"
#include "setup/setupini.h"

#include <filesystem>
#include <iostream>

namespace vellum::cli {

namespace {

/// Refuses to replace a configuration file that could not be loaded: it may be a
/// newer or damaged file the user still needs.
void requireUsableConfigFile(const std::string &fileName)
{
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec) || std::filesystem::file_size(fileName, ec) == 0)
        return;
    TConfigRecord scratch;
    RecordingNotifier quiet;
    if (!LoadConfig(scratch, fileName, std::nullopt, quiet, RejectedFile::LeaveAlone))
        throw CliError("the configuration file " + fileName + " cannot be used, so it is not replaced");
}

/// Writes the program's record to SAVE/VELLUM.CFG, keeping the screen it was written for.
std::string saveConfiguration()
{
    const std::string fileName = DataFileName(DataFile::Config);
    TConfigRecord &record = Config();
    std::error_code ec;
    std::filesystem::create_directories(SaveDir(), ec); // a program directory not used before
    try {
        SaveConfig(record, fileName, ScreenInfo{record.ScreenPpi, record.ScreenWidth});
    } catch (const EFileError &e) {
        throw CliError(e.what());
    }
    return fileName;
}

std::vector<SetupPage> iniPages() { return SetupPages(FindSetupChoices(Config()), false); }

int configSet(CliContext &context)
{
    if (context.args.empty())
        throw CliError("missing NAME=VALUE (config set NAME=VALUE ...)");
    const std::string fileName = DataFileName(DataFile::Config);
    requireUsableConfigFile(fileName);
    std::vector<SettingAdjustment> adjusted;
    try {
        adjusted = ApplySettings(Config(), context.args);
    } catch (const SettingError &e) {
        throw CliError(e.what());
    }
    saveConfiguration();
    std::string json = "{\"written\": " + JsonString(fileName) + ", \"set\": " + std::to_string(context.args.size()) +
                       ", \"adjusted\": [";
    for (std::size_t i = 0; i < adjusted.size(); ++i) {
        const SettingAdjustment &a = adjusted[i];
        json += std::string(i ? ", " : "") + "{\"name\": " + JsonString(a.name) + ", \"asked\": " + JsonString(a.asked) +
                ", \"stored\": " + JsonString(a.stored) + "}";
        context.notifier.warning(a.name + "=" + a.asked + " is stored as " + a.stored);
    }
    std::cout << json << "]}\n";
    return 0;
}

int configIniExport(CliContext &context)
{
    const std::string &target = context.arg(0, "output file (config ini-export OUT)");
    try {
        WriteSetupIniFile(Config(), iniPages(), target);
    } catch (const EFileError &e) {
        throw CliError(e.what());
    }
    std::cout << "{\"written\": " << JsonString(target) << "}\n";
    return 0;
}

int configIniMerge(CliContext &context)
{
    const std::string &source = context.arg(0, "INI file (config ini-merge FILE)");
    requireUsableConfigFile(DataFileName(DataFile::Config));
    TConfigRecord merged = Config();
    const IniMergeReport report = MergeSetupIniFile(merged, iniPages(), source);
    if (!report.Merged())
        throw CliError(source + ": " + report.Text());
    ApplyOwnCall(merged); // as saving the dialog after a merge does
    Config() = merged;
    const std::string written = saveConfiguration();
    std::string json = "{\"merged\": " + JsonString(source) + ", \"written\": " + JsonString(written) + ", \"notes\": [";
    for (std::size_t i = 0; i < report.notes.size(); ++i)
        json += std::string(i ? ", " : "") + JsonString(report.notes[i]);
    std::cout << json << "], \"more_notes\": " << report.moreNotes << "}\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("config set", "config set NAME=VALUE ...", configSet);
VELLUM_CLI_COMMAND("config ini-export", "config ini-export OUT", configIniExport);
VELLUM_CLI_COMMAND("config ini-merge", "config ini-merge FILE", configIniMerge);

} // namespace vellum::cli
