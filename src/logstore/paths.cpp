#include "paths.h"

#include "fileio.h"

#include <cstdlib>
#include <filesystem>
#include <strings.h>

namespace vellum {

namespace fs = std::filesystem;

namespace {
std::string &programDir()
{
    static std::string dir = ".";
    return dir;
}

const char *const DataExtensions[] = {"VLL", "CTY", "CFG", "PUT", "IEP", "REP", "CAL", "LAB", "INI", "TCP", "AWD", "WPX"};
} // namespace

void SetProgramDir(const std::string &dir)
{
    std::string d = dir;
    while (d.size() > 1 && d.back() == '/')
        d.pop_back();
    programDir() = d.empty() ? "." : d;
}

std::string ChooseProgramDir(const std::string &commandLineDir)
{
    if (!commandLineDir.empty())
        return commandLineDir;
    if (const char *env = std::getenv("VELLUM_DIR"); env && *env)
        return env;
    const char *home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/vellum";
}

std::string ProgramDir() { return programDir(); }
std::string SaveDir() { return ProgramDir() + "/SAVE"; }
std::string ImportDir() { return ProgramDir() + "/IMPORT"; }
std::string ExtDataDir() { return ProgramDir() + "/EXTDATA"; }
std::string RadiosDir() { return ProgramDir() + "/RADIOS"; }
std::string SoundsDir() { return ProgramDir() + "/sounds"; }
std::string MapsDir() { return ProgramDir() + "/maps"; }

std::string DataFileName(DataFile kind)
{
    return SaveDir() + "/VELLUM." + DataExtensions[static_cast<int>(kind)];
}

std::string BackupFileName(BackupFile kind)
{
    switch (kind) {
    case BackupFile::Log: return ProgramDir() + "/VELLUM.VLB";
    case BackupFile::Country: return ProgramDir() + "/VELLUM.CTB";
    case BackupFile::Master: return ProgramDir() + "/VELLUM.MAS";
    }
    return ProgramDir() + "/VELLUM.VLB";
}

std::string DefaultLogFileName() { return SaveDir() + "/QQ0QQ.VLL"; }

void CreateProgramDirs()
{
    for (const auto &dir : {ProgramDir(), SaveDir(), ImportDir(), ExtDataDir(), RadiosDir(), SoundsDir(), MapsDir()}) {
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (ec)
            throw EFileError("Cannot create directory " + dir + ": " + ec.message());
    }
}

std::string NormalizeStoredPath(std::string path)
{
    for (char &c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string FindFileNoCase(const std::string &dir, const std::string &name)
{
    std::string exact = dir + "/" + name;
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    for (const auto &entry : fs::directory_iterator(dir, ec)) {
        std::string candidate = entry.path().filename().string();
        if (strcasecmp(candidate.c_str(), name.c_str()) == 0)
            return entry.path().string();
    }
    return exact;
}

} // namespace vellum
