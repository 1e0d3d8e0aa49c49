#pragma once
// The program directory and the fixed names of the data files below it.

#include <string>

namespace vellum {

/// Kinds of data files (extension of SAVE/VELLUM.<ext>).
enum class DataFile {
    Log = 0, Country = 1, Config = 2, SpotList = 3, ImportExportFilters = 4, Reports = 5,
    Calendar = 6, Labels = 7, IniExport = 8, TelnetAddresses = 9, CustomAwards = 10, DeletedWpx = 11,
};

/// Kinds of backup files (ProgramDir/VELLUM.<ext>).
enum class BackupFile { Log = 0, Country = 1, Master = 3 };

/// Sets the program directory (no trailing slash is kept).
void SetProgramDir(const std::string &dir);
/// Picks the program directory: the --dir value when given, else $VELLUM_DIR,
/// else ~/.local/share/vellum.
std::string ChooseProgramDir(const std::string &commandLineDir);

std::string ProgramDir();
std::string SaveDir();
std::string ImportDir();
std::string ExtDataDir();
std::string RadiosDir();
std::string SoundsDir();
std::string MapsDir();
std::string DataFileName(DataFile kind);
std::string BackupFileName(BackupFile kind);
/// SAVE/QQ0QQ.VLL, the log opened when no other is named.
std::string DefaultLogFileName();

/// Creates the program directory and its fixed sub-directories; throws EFileError.
void CreateProgramDirs();

/// A stored file name with Windows separators read with "/".
std::string NormalizeStoredPath(std::string path);

/// The path of name inside dir, matching the name without regard to case when
/// the exact name does not exist; dir + "/" + name when nothing matches.
std::string FindFileNoCase(const std::string &dir, const std::string &name);

} // namespace vellum
