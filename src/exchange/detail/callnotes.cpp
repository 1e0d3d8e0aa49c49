#include "callnotes.h"

#include "logstore/notes.h"

#include <memory>
#include <vector>

namespace vellum {

std::string CallNoteBatch::NoteOf(std::string_view call) const
{
    auto it = m_changed.find(std::string(call));
    return it != m_changed.end() ? it->second : m_notes.NoteOf(call);
}

void CallNoteBatch::SetNote(std::string_view call, std::string text) { m_changed[std::string(call)] = std::move(text); }

void CallNoteBatch::Flush()
{
    if (m_changed.empty())
        return;
    // Existing notes first: the search needs the list sorted.
    std::vector<std::unique_ptr<TNoteRec>> fresh;
    for (auto &[call, text] : m_changed) {
        if (m_notes.IndexOfCall(call) >= 0) {
            m_notes.SetNote(call, text);
        } else {
            auto note = std::make_unique<TNoteRec>();
            note->Call = call;
            note->Text = text.substr(0, 255);
            fresh.push_back(std::move(note));
        }
    }
    m_changed.clear();
    if (fresh.empty())
        return;
    // With the room made first, adding cannot fail halfway.
    m_notes.SetCapacityAll(m_notes.Count() + static_cast<std::int64_t>(fresh.size()));
    m_notes.BeginBulk(false);
    for (auto &note : fresh)
        m_notes.AddRec(note.release());
    m_notes.EndBulk(false);
    if (m_notes.onChange)
        m_notes.onChange();
}

} // namespace vellum
