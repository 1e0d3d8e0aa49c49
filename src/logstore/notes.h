#pragma once
// Per-callsign notes ("Notes for this Call"), kept sorted by call.

#include "lists.h"
#include "shortstring.h"

#include <functional>
#include <string>
#include <string_view>

namespace vellum {

struct TNoteRec {
    ShortString<12> Call;
    std::uint8_t Marked = 0; ///< set by exports for notes whose call was exported
    std::string Text;        ///< up to 255 characters
};

int CompareNoteOrder(const TNoteRec *a, const TNoteRec *b);

/// The notes of a log. Changes do not set the log's Modified flag; they call the
/// change hook (the backup countdown) and the caller changes a QSO in the same step.
class TNotes : public TBRSorted<TNoteRec> {
public:
    TNotes() : TBRSorted<TNoteRec>(CompareNoteOrder) {}

    /// Called after every change of a note.
    std::function<void()> onChange;
    /// Called before a note is set (call, its new text) or deleted (empty text); it may
    /// throw, and the note is then left as it was (the log's journal).
    std::function<void(std::string_view, std::string_view)> beforeChange;

    std::string NoteOf(std::string_view call) const;
    /// First word of the note, lowered, cut at the first character that is neither
    /// a letter nor "-", with its first letter and the letter after a "-" raised.
    std::string NameFromNote(std::string_view call) const;
    /// Appends "/" + text to the call's note, or inserts a new note.
    void AddNote(std::string_view call, std::string_view text);
    /// Replaces the call's note; an empty text deletes it.
    void SetNote(std::string_view call, std::string_view text);
    /// Position of the call's note, -1 when none.
    std::int32_t IndexOfCall(std::string_view call) const;
    void DeleteNote(std::string_view call);
    void ClearMarks();
    void MarkCall(std::string_view call);

private:
    void insertNote(std::string_view call, std::string_view text);
    void changed()
    {
        if (onChange)
            onChange();
    }
};

/// A QSL label owed to a short-wave listener (23 bytes stored).
struct TSwlRec {
    ShortString<12> Call;
    std::uint16_t Date = 0;
    std::int32_t Time = 0;
    std::uint8_t Band = 0;
    std::uint8_t Mode = 0;
    std::uint8_t Group = 0;
    std::uint8_t Printed = 0;
};
inline constexpr std::size_t SwlStoredSize = 23;
class ByteReader;
class ByteWriter;
/// Writes the stored SWL record (23 bytes).
void StoreSwl(const TSwlRec &swl, ByteWriter &out);
/// Reads a stored SWL record; throws ShortRead when fewer than 23 bytes are left.
TSwlRec LoadSwl(ByteReader &in);
int CompareSwlOrder(const TSwlRec *a, const TSwlRec *b);

class TSwlList : public TBRSorted<TSwlRec> {
public:
    TSwlList() : TBRSorted<TSwlRec>(CompareSwlOrder) {}
};

} // namespace vellum
