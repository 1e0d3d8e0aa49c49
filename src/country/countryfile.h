#pragma once
// The country file "VELLUM.CTY" (and its autosave copy "VELLUM.CTB"): "CTYB"
// followed by the nine tables with 4-byte counts; files without the magic have
// 2-byte counts and are read too. The deleted-WPX list "VELLUM.WPX" is a text file.

#include "countrydata.h"

#include "logstore/fileio.h"
#include "logstore/services.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

namespace CountryText {
inline constexpr const char *FailedReading = "Failed reading the country file";
inline constexpr const char *FailedWriting = "Failed writing the country file";
} // namespace CountryText

inline constexpr char CountryMagic[4] = {'C', 'T', 'Y', 'B'};

/// Reads the nine tables from a stream into data, replacing what it held; builds
/// the award-status blocks, empties the WPX table and clears both change flags.
/// Returns whether the stream had the old layout (no "CTYB", 2-byte counts).
/// Throws EReadError (or ShortRead) saying which table is damaged and where; the
/// data is then left empty.
bool ReadCountryData(TStream &stream, TCountryData &data);
/// ReadCountryData over bytes in memory.
bool ReadCountryBytes(std::span<const std::uint8_t> bytes, TCountryData &data);

/// Writes "CTYB" and the nine tables in their present order.
void WriteCountryData(TStream &stream, const TCountryData &data);
std::vector<std::uint8_t> CountryFileBytes(const TCountryData &data);

/// Writes the country file to fileName through a safe rewrite (temporary file,
/// fsync, "~" generation when cycleFiles, rename). Throws EFileError naming the
/// file; the old file is then untouched.
void WriteCountryFile(const TCountryData &data, const std::string &fileName, bool cycleFiles);

/// The country file of the program directory (SAVE/VELLUM.CTY, found without regard to case).
std::string CountryFileName();
/// The autosave copy (VELLUM.CTB in the program directory).
std::string CountryAutosaveFileName();
/// The default country file built from cty.dat with the program ("<data>/SAVE/VELLUM.CTY").
std::string DefaultCountryFileName();

/// Reads fileName into data. On failure (missing file or any read error) shows
/// "Failed reading the country file" with the file name and the reason as an
/// error, leaves data empty and returns false: the program cannot run without it.
bool LoadCountryFile(TCountryData &data, const std::string &fileName, UserNotifier &notifier);
/// LoadCountryFile of CountryFileName().
bool LoadCountryFile(TCountryData &data, UserNotifier &notifier);

enum class CountryTarget { MainFile, Autosave };

/// Writes the country file or its autosave copy. On success: the main file clears
/// AutosavePending; the copy sets it when CountryModified was set; both clear
/// CountryModified. On failure the flags stay, the old file is untouched, the
/// user is told ("Failed writing the country file", the file and the reason) and
/// the result is false.
bool SaveCountryFile(TCountryData &data, CountryTarget target, bool cycleFiles, UserNotifier &notifier);

/// Deletes the autosave copy, if any (at a normal end of the program).
void RemoveCountryAutosave();

/// Copies the default country file into the program directory when it has no
/// country file yet. Returns true when a copy was made. Throws EFileError when
/// the default file cannot be read or the copy cannot be written.
bool InstallDefaultCountryFile(const std::string &defaultFile);

/// Fills the deleted-WPX list from the text of VELLUM.WPX: one prefix per line;
/// empty lines and lines holding "?" or a lower-case "x" are skipped; a final
/// "*" marks the prefix and the prefix followed by digits; repeats are skipped.
void ParseDeletedWpx(TCountryData &data, std::string_view text);
/// Reads VELLUM.WPX of the save directory; a missing file leaves the list empty.
/// Throws EFileError when the file exists but cannot be read.
void LoadDeletedWpx(TCountryData &data);

} // namespace vellum
