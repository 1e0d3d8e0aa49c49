#include "notesfile.h"

#include "importedqso.h"
#include "importfilter.h"
#include "lineinput.h"

#include "logstore/fileio.h"
#include "logstore/notes.h"
#include "logstore/trim.h"

#include <filesystem>

namespace vellum {

std::string NotesFileName(const std::string &dataFile, const ImportFilter &filter)
{
    if (filter.NoteExt.empty())
        return {};
    return std::filesystem::path(dataFile).replace_extension(filter.NoteExt.str()).string();
}

NotesFileResult ReadNotesFile(const std::string &importFile, const ImportFilter &filter, TNotes &notes)
{
    NotesFileResult result;
    std::string name = NotesFileName(importFile, filter);
    std::error_code ec;
    if (name.empty() || !std::filesystem::exists(name, ec))
        return result;
    result.found = true;
    std::vector<std::uint8_t> bytes = ReadWholeFile(name);
    LineInput input(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
    TextLine line;
    while (input.Next(line)) {
        std::size_t comma = line.text.find(',');
        if (comma == std::string_view::npos)
            continue;
        std::string_view call = Trim(line.text.substr(0, std::min<std::size_t>(comma, 12)));
        std::string_view text = line.text.substr(comma + 1);
        if (call.empty() || Trim(text).empty())
            continue;
        std::string before = notes.NoteOf(call);
        std::size_t joined = before.empty() ? text.size() : before.size() + 1 + text.size();
        if (joined > NoteCapacity || line.cut)
            ++result.cut;
        notes.AddNote(call, text);
        ++result.notes;
    }
    return result;
}

std::int64_t WriteNotesFile(const std::string &exportFile, const ImportFilter &filter, const TNotes &notes,
                            bool cycleFiles)
{
    std::string name = NotesFileName(exportFile, filter);
    if (name.empty())
        return 0;
    std::string text;
    std::int64_t written = 0;
    for (std::int32_t i = 0; i < notes.Count(); ++i) {
        const TNoteRec &note = *notes.Get(i);
        if (!note.Marked)
            continue;
        text += note.Call.str() + "," + note.Text + "\r\n";
        ++written;
    }
    WriteWholeFile(name, std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()), cycleFiles);
    return written;
}

} // namespace vellum
