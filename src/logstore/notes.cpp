#include "notes.h"

#include "bytes.h"
#include "compare.h"

namespace vellum {

int CompareNoteOrder(const TNoteRec *a, const TNoteRec *b) { return CompareExact(a->Call.view(), b->Call.view()); }

int CompareSwlOrder(const TSwlRec *a, const TSwlRec *b)
{
    if (int c = CompareExact(a->Call.view(), b->Call.view()))
        return c;
    if (int c = CompareNumbers(a->Date, b->Date))
        return c;
    if (int c = CompareNumbers(a->Time, b->Time))
        return c;
    if (int c = CompareNumbers(a->Band, b->Band))
        return c;
    return CompareNumbers(a->Mode, b->Mode);
}

std::int32_t TNotes::IndexOfCall(std::string_view call) const
{
    TNoteRec key;
    key.Call = call;
    std::int32_t position = 0;
    return Find(&key, position) ? position : -1;
}

std::string TNotes::NoteOf(std::string_view call) const
{
    std::int32_t position = IndexOfCall(call);
    return position >= 0 ? Get(position)->Text : std::string();
}

std::string TNotes::NameFromNote(std::string_view call) const
{
    std::string note = NoteOf(call);
    auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (note.empty() || !isLetter(note[0]))
        return {};
    std::string name;
    for (char c : note) {
        if (!isLetter(c) && c != '-')
            break;
        bool raise = name.empty() || name.back() == '-';
        if (isLetter(c))
            c = raise ? static_cast<char>(c & ~0x20) : static_cast<char>(c | 0x20);
        name += c;
    }
    if (!name.empty() && name.back() == '-')
        name.pop_back();
    return name;
}

void TNotes::AddNote(std::string_view call, std::string_view text)
{
    std::int32_t position = IndexOfCall(call);
    if (position >= 0) {
        std::string joined = (Get(position)->Text + "/" + std::string(text)).substr(0, 255);
        if (beforeChange)
            beforeChange(call, joined);
        Get(position)->Text = joined;
    } else {
        if (beforeChange)
            beforeChange(call, text.substr(0, 255));
        insertNote(call, text);
    }
    changed();
}

void TNotes::insertNote(std::string_view call, std::string_view text)
{
    auto note = std::make_unique<TNoteRec>();
    note->Call = call;
    note->Text = std::string(text.substr(0, 255));
    AddRec(std::move(note));
}

void TNotes::SetNote(std::string_view call, std::string_view text)
{
    std::int32_t position = IndexOfCall(call);
    if (beforeChange && (position >= 0 || !text.empty()))
        beforeChange(call, text.substr(0, 255));
    if (text.empty()) {
        if (position >= 0)
            DeleteRec(position);
    } else if (position >= 0) {
        Get(position)->Text = std::string(text.substr(0, 255));
    } else {
        insertNote(call, text);
    }
    changed();
}

void TNotes::DeleteNote(std::string_view call)
{
    std::int32_t position = IndexOfCall(call);
    if (position >= 0) {
        if (beforeChange)
            beforeChange(call, {});
        DeleteRec(position);
        changed();
    }
}

void TNotes::ClearMarks()
{
    for (TNoteRec *note : *this)
        note->Marked = 0;
}

void TNotes::MarkCall(std::string_view call)
{
    std::int32_t position = IndexOfCall(call);
    if (position >= 0)
        Get(position)->Marked = 1;
}


void StoreSwl(const TSwlRec &swl, ByteWriter &out)
{
    out.shortString(swl.Call.view(), 12);
    out.u16(swl.Date);
    out.i32(swl.Time);
    out.u8(swl.Band);
    out.u8(swl.Mode);
    out.u8(swl.Group);
    out.u8(swl.Printed);
}

TSwlRec LoadSwl(ByteReader &in)
{
    TSwlRec swl;
    swl.Call = in.shortString(12);
    swl.Date = in.u16();
    swl.Time = in.i32();
    swl.Band = in.u8();
    swl.Mode = in.u8();
    swl.Group = in.u8();
    swl.Printed = in.u8();
    return swl;
}

} // namespace vellum
