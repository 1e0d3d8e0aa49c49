#pragma once
// The notes file of a filter: beside the data file, with the filter's note
// extension; one line per callsign note, "CALL,note".

#include <cstdint>
#include <string>

namespace vellum {

class TNotes;
struct ImportFilter;

/// The data file's name with the extension NoteExt; empty when the filter has no notes file.
std::string NotesFileName(const std::string &dataFile, const ImportFilter &filter);

struct NotesFileResult {
    bool found = false;    ///< the notes file existed
    std::int64_t notes = 0; ///< lines that gave a note
    std::int64_t cut = 0;   ///< notes cut at 255 characters
};

/// Adds each "CALL,text" line of the notes file to the call's note (after "/"
/// when it has one). Throws EFileError when the file exists but cannot be read.
NotesFileResult ReadNotesFile(const std::string &importFile, const ImportFilter &filter, TNotes &notes);
/// Writes the marked notes, in call order, to the notes file of exportFile
/// (through a temporary file); returns how many. Throws EFileError.
std::int64_t WriteNotesFile(const std::string &exportFile, const ImportFilter &filter, const TNotes &notes,
                            bool cycleFiles);

} // namespace vellum
