#pragma once
// The call notes an import changes, kept aside while it runs and written to
// the log's notes in one step at its end, so that thousands of new notes cost
// one sort instead of one sorted insert each.

#include <string>
#include <string_view>
#include <unordered_map>

namespace vellum {

class TNotes;

class CallNoteBatch {
public:
    explicit CallNoteBatch(TNotes &notes) : m_notes(notes) {}
    ~CallNoteBatch() { Flush(); }
    CallNoteBatch(const CallNoteBatch &) = delete;
    CallNoteBatch &operator=(const CallNoteBatch &) = delete;

    /// The call's note as changed so far, else as the log holds it.
    std::string NoteOf(std::string_view call) const;
    /// Changes the call's note (cut to 255 characters when written).
    void SetNote(std::string_view call, std::string text);
    /// Writes the changed notes into the log's notes.
    void Flush();

private:
    TNotes &m_notes;
    std::unordered_map<std::string, std::string> m_changed;
};

} // namespace vellum
