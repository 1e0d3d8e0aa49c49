#include "journal.h"

#include "bytes.h"
#include "fileio.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace vellum {

namespace {

constexpr std::array<std::uint8_t, 4> Magic = {'V', 'L', 'J', '1'};
constexpr std::uint16_t FormatVersion = 1;
constexpr std::size_t NoteCapacity = 255;
constexpr std::size_t CallCapacity = 12;

constexpr std::array<std::uint32_t, 256> makeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr auto CrcTable = makeCrcTable();

// --- payload pieces ---

void writeText(ByteWriter &out, std::string_view text, std::size_t capacity)
{
    text = text.substr(0, capacity);
    out.u8(static_cast<std::uint8_t>(text.size()));
    out.bytes(text.data(), text.size());
}

std::string readText(ByteReader &in, std::size_t capacity)
{
    std::size_t length = in.u8();
    if (length > capacity)
        throw ShortRead("a text longer than its capacity");
    std::string text(length, '\0');
    in.bytes(text.data(), length);
    return text;
}

void writeQso(ByteWriter &out, const TQsoRec &qso)
{
    std::array<std::uint8_t, QsoStoredSize> stored{};
    StoreQso(qso, stored);
    out.bytes(stored.data(), stored.size());
    writeText(out, qso.QsoNote.text(), NoteCapacity);
}

TQsoRec readQso(ByteReader &in)
{
    std::array<std::uint8_t, QsoStoredSize> stored{};
    in.bytes(stored.data(), stored.size());
    TQsoRec qso;
    LoadQso(stored, qso);
    qso.QsoNote.set(readText(in, NoteCapacity));
    return qso;
}

void writePayload(ByteWriter &out, const JournalEntry &entry)
{
    switch (entry.Kind) {
    case JournalKind::QsoAdded:
    case JournalKind::QsoDeleted:
    case JournalKind::QsoReplaced:
        for (const TQsoRec &qso : entry.Qsos)
            writeQso(out, qso);
        break;
    case JournalKind::BulkChange:
    case JournalKind::QsosDeleted: {
        std::size_t perItem = entry.Kind == JournalKind::BulkChange ? 2 : 1; // a bulk change counts pairs
        out.u32(static_cast<std::uint32_t>(entry.Qsos.size() / perItem));
        for (const TQsoRec &qso : entry.Qsos)
            writeQso(out, qso);
        break;
    }
    case JournalKind::NoteSet:
        writeText(out, entry.Call, CallCapacity);
        writeText(out, entry.Text, NoteCapacity);
        break;
    case JournalKind::NoteDeleted:
        writeText(out, entry.Call, CallCapacity);
        break;
    case JournalKind::SwlAdded:
    case JournalKind::SwlDeleted:
        StoreSwl(entry.Swl, out);
        break;
    case JournalKind::GroupNames:
        out.u16(static_cast<std::uint16_t>(entry.GroupNames.size()));
        for (const std::string &name : entry.GroupNames)
            writeText(out, name, GroupNameCapacity);
        break;
    case JournalKind::Selections: {
        out.u16(static_cast<std::uint16_t>(entry.Selections.size()));
        std::array<std::uint8_t, SelectionStoredSize> stored{};
        for (const TSelection &selection : entry.Selections) {
            StoreSelection(selection, stored);
            out.bytes(stored.data(), stored.size());
        }
        out.i32(entry.SelIndex);
        break;
    }
    case JournalKind::Checkpoint: {
        std::string_view name = std::string_view(entry.Text).substr(0, JournalMaxFileName);
        out.u16(static_cast<std::uint16_t>(name.size()));
        out.bytes(name.data(), name.size());
        break;
    }
    }
}

void readQsos(ByteReader &in, JournalEntry &entry, std::uint64_t count)
{
    in.expectRecords(count, QsoStoredSize + 1, "QSOs");
    entry.Qsos.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i)
        entry.Qsos.push_back(readQso(in));
}

void readPayload(ByteReader &in, JournalEntry &entry)
{
    switch (entry.Kind) {
    case JournalKind::QsoAdded:
    case JournalKind::QsoDeleted:
        readQsos(in, entry, 1);
        break;
    case JournalKind::QsoReplaced:
        readQsos(in, entry, 2);
        break;
    case JournalKind::BulkChange:
        readQsos(in, entry, std::uint64_t{in.u32()} * 2);
        break;
    case JournalKind::QsosDeleted:
        readQsos(in, entry, in.u32());
        break;
    case JournalKind::NoteSet:
        entry.Call = readText(in, CallCapacity);
        entry.Text = readText(in, NoteCapacity);
        break;
    case JournalKind::NoteDeleted:
        entry.Call = readText(in, CallCapacity);
        break;
    case JournalKind::SwlAdded:
    case JournalKind::SwlDeleted:
        entry.Swl = LoadSwl(in);
        break;
    case JournalKind::GroupNames: {
        std::uint16_t count = in.u16();
        in.expectRecords(count, 1, "group names");
        for (std::uint16_t i = 0; i < count; ++i)
            entry.GroupNames.push_back(readText(in, GroupNameCapacity));
        break;
    }
    case JournalKind::Selections: {
        std::uint16_t count = in.u16();
        in.expectRecords(count, SelectionStoredSize, "selections");
        std::array<std::uint8_t, SelectionStoredSize> stored{};
        for (std::uint16_t i = 0; i < count; ++i) {
            in.bytes(stored.data(), stored.size());
            LoadSelection(stored, entry.Selections.emplace_back());
        }
        entry.SelIndex = in.i32();
        break;
    }
    case JournalKind::Checkpoint: {
        std::uint16_t length = in.u16();
        if (length > JournalMaxFileName)
            throw ShortRead("a file name longer than its capacity");
        entry.Text.resize(length);
        in.bytes(entry.Text.data(), length);
        break;
    }
    default:
        throw ShortRead("an unknown entry kind " + std::to_string(static_cast<int>(entry.Kind)));
    }
    if (!in.atEnd())
        throw ShortRead("bytes after the entry's payload");
}

JournalEntry entryOf(JournalKind kind)
{
    JournalEntry entry;
    entry.Kind = kind;
    return entry;
}

// --- reading ---

class JournalParser {
public:
    explicit JournalParser(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    JournalContents parse()
    {
        if (!readHeader())
            return std::move(m_contents);
        m_contents.State = JournalState::Complete;
        std::size_t offset = JournalHeaderSize;
        while (offset < m_bytes.size() && readEntry(offset)) {
        }
        m_contents.ValidLength = offset;
        return std::move(m_contents);
    }

private:
    bool readHeader()
    {
        if (m_bytes.size() < JournalHeaderSize) {
            m_contents.Problem = "the journal is shorter than its header";
            return false;
        }
        ByteReader in(m_bytes.first(JournalHeaderSize));
        std::array<std::uint8_t, 4> magic{};
        in.bytes(magic.data(), magic.size());
        std::uint16_t version = in.u16();
        in.u16();
        std::uint64_t size = in.u32();
        size |= std::uint64_t{in.u32()} << 32;
        std::uint64_t mtime = in.u32();
        mtime |= std::uint64_t{in.u32()} << 32;
        std::uint32_t crc = in.u32();
        if (magic != Magic || crc != Crc32(m_bytes.first(JournalHeaderSize - 4)) || version != FormatVersion) {
            m_contents.Problem = "not a journal of this program's format";
            return false;
        }
        m_contents.Identity = {size, static_cast<std::int64_t>(mtime)};
        m_contents.ValidLength = JournalHeaderSize;
        return true;
    }

    /// Reads the entry at offset; on success moves offset past it.
    bool readEntry(std::size_t &offset)
    {
        std::size_t left = m_bytes.size() - offset;
        if (left < 4)
            return stop(offset, true, "an entry cut off in its length");
        std::uint32_t length = loadU32(m_bytes.data() + offset);
        if (length == 0 || length > JournalMaxEntryLength)
            return stop(offset, restIsZero(offset), "an entry length of " + std::to_string(length));
        std::uint32_t expected = static_cast<std::uint32_t>(m_contents.Entries.size() + 1);
        std::uint64_t whole = std::uint64_t{length} + 12;
        if (whole > left) {
            // A length damaged upwards looks like an entry cut off: a whole entry
            // further on tells the two apart.
            bool more = wholeEntryFollows(offset + 1, expected + 1);
            return stop(offset, !more, more ? "an entry length of " + std::to_string(length) : "an entry cut off");
        }
        bool last = whole == left;
        if (!wholeEntryAt(offset))
            return stop(offset, last, "an entry failing its CRC");
        std::span<const std::uint8_t> body = m_bytes.subspan(offset + 4, length + 4);
        std::uint32_t sequence = loadU32(body.data());
        if (sequence != expected)
            return stop(offset, false,
                        "sequence number " + std::to_string(sequence) + " where " + std::to_string(expected) +
                            " was due");
        JournalEntry entry = entryOf(static_cast<JournalKind>(body[4]));
        try {
            ByteReader in(body.subspan(5));
            readPayload(in, entry);
        } catch (const ShortRead &e) {
            return stop(offset, false, std::string("an entry whose payload is wrong: ") + e.what());
        }
        m_contents.Entries.push_back(std::move(entry));
        offset += whole;
        return true;
    }

    /// Whether a whole entry with a valid CRC starts at offset.
    bool wholeEntryAt(std::size_t offset) const
    {
        std::size_t left = m_bytes.size() - offset;
        if (left < 13)
            return false;
        std::uint32_t length = loadU32(m_bytes.data() + offset);
        if (length == 0 || length > JournalMaxEntryLength || std::uint64_t{length} + 12 > left)
            return false;
        return loadU32(m_bytes.data() + offset + 8 + length) == Crc32(m_bytes.subspan(offset + 4, length + 4));
    }

    /// Whether a whole entry with this sequence number starts anywhere from offset on.
    bool wholeEntryFollows(std::size_t offset, std::uint32_t sequence) const
    {
        for (std::size_t at = offset; at + 13 <= m_bytes.size(); ++at)
            if (loadU32(m_bytes.data() + at + 4) == sequence && wholeEntryAt(at))
                return true;
        return false;
    }

    bool restIsZero(std::size_t offset) const
    {
        for (std::size_t i = offset; i < m_bytes.size(); ++i)
            if (m_bytes[i] != 0)
                return false;
        return true;
    }

    bool stop(std::size_t offset, bool torn, const std::string &what)
    {
        m_contents.State = torn ? JournalState::TornTail : JournalState::Damaged;
        m_contents.Problem = what + " at byte " + std::to_string(offset) + " after entry " +
                             std::to_string(m_contents.Entries.size());
        return false;
    }

    std::span<const std::uint8_t> m_bytes;
    JournalContents m_contents;
};

} // namespace

std::string JournalFileName(const std::string &logFileName)
{
    std::size_t slash = logFileName.find_last_of('/');
    std::size_t dot = logFileName.find_last_of('.');
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
                        dot + 1 < logFileName.size();
    if (!hasExtension)
        return logFileName.substr(0, dot == logFileName.size() - 1 ? dot : logFileName.size()) + ".VLJ";
    std::string name = logFileName;
    char &last = name.back();
    last = std::islower(static_cast<unsigned char>(last)) ? 'j' : 'J';
    return name;
}

JournalIdentity LogFileIdentity(const std::string &logFile)
{
    struct stat info {};
    if (::stat(logFile.c_str(), &info) != 0)
        return {};
    return {static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

bool JournalMatchesLog(const JournalIdentity &journal, const std::string &logFile)
{
    return journal == LogFileIdentity(logFile);
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc)
{
    crc = ~crc;
    for (std::uint8_t b : bytes)
        crc = CrcTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::vector<std::uint8_t> EncodeJournalHeader(const JournalIdentity &identity)
{
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.bytes(Magic.data(), Magic.size());
    out.u16(FormatVersion);
    out.u16(0);
    out.u32(static_cast<std::uint32_t>(identity.Size));
    out.u32(static_cast<std::uint32_t>(identity.Size >> 32));
    auto mtime = static_cast<std::uint64_t>(identity.MTimeNs);
    out.u32(static_cast<std::uint32_t>(mtime));
    out.u32(static_cast<std::uint32_t>(mtime >> 32));
    out.u32(Crc32(bytes));
    return bytes;
}

namespace {
/// Room for the QSOs of an entry as stored, so that a bulk entry grows its buffer once.
std::size_t storedQsosSize(const JournalEntry &entry)
{
    std::size_t size = 0;
    for (const TQsoRec &qso : entry.Qsos)
        size += QsoStoredSize + 1 + std::min(qso.QsoNote.text().size(), NoteCapacity);
    return size;
}
} // namespace

std::vector<std::uint8_t> EncodeJournalPayload(const JournalEntry &entry)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(storedQsosSize(entry) + 16);
    ByteWriter out(bytes);
    out.u8(static_cast<std::uint8_t>(entry.Kind));
    writePayload(out, entry);
    return bytes;
}

std::vector<std::uint8_t> EncodeJournalEntry(std::uint32_t sequence, const JournalEntry &entry)
{
    // Length and sequence, then the payload written in place, then the CRC.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(storedQsosSize(entry) + 32);
    ByteWriter out(bytes);
    out.u32(0);
    out.u32(sequence);
    out.u8(static_cast<std::uint8_t>(entry.Kind));
    writePayload(out, entry);
    std::size_t length = bytes.size() - 8;
    if (length > JournalMaxEntryLength)
        throw EFileError("A journal entry of " + std::to_string(length) + " bytes is too large");
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
    out.u32(Crc32(std::span(bytes).subspan(8), Crc32(std::span(bytes).subspan(4, 4))));
    return bytes;
}

JournalEntry JournalEntry::QsoAdded(const TQsoRec &qso)
{
    JournalEntry entry = entryOf(JournalKind::QsoAdded);
    entry.Qsos = {qso};
    return entry;
}

JournalEntry JournalEntry::QsoDeleted(const TQsoRec &qso)
{
    JournalEntry entry = entryOf(JournalKind::QsoDeleted);
    entry.Qsos = {qso};
    return entry;
}

JournalEntry JournalEntry::QsoReplaced(const TQsoRec &oldQso, const TQsoRec &newQso)
{
    JournalEntry entry = entryOf(JournalKind::QsoReplaced);
    entry.Qsos = {oldQso, newQso};
    return entry;
}

JournalEntry JournalEntry::BulkChange(std::vector<std::pair<TQsoRec, TQsoRec>> changes)
{
    JournalEntry entry = entryOf(JournalKind::BulkChange);
    entry.Qsos.reserve(changes.size() * 2);
    for (auto &[oldQso, newQso] : changes) {
        entry.Qsos.push_back(std::move(oldQso));
        entry.Qsos.push_back(std::move(newQso));
    }
    return entry;
}

JournalEntry JournalEntry::QsosDeleted(std::vector<TQsoRec> qsos)
{
    JournalEntry entry = entryOf(JournalKind::QsosDeleted);
    entry.Qsos = std::move(qsos);
    return entry;
}

JournalEntry JournalEntry::NoteSet(std::string_view call, std::string_view text)
{
    JournalEntry entry = entryOf(JournalKind::NoteSet);
    entry.Call = call.substr(0, CallCapacity);
    entry.Text = text.substr(0, NoteCapacity);
    return entry;
}

JournalEntry JournalEntry::NoteDeleted(std::string_view call)
{
    JournalEntry entry = entryOf(JournalKind::NoteDeleted);
    entry.Call = call.substr(0, CallCapacity);
    return entry;
}

JournalEntry JournalEntry::SwlAdded(const TSwlRec &swl)
{
    JournalEntry entry = entryOf(JournalKind::SwlAdded);
    entry.Swl = swl;
    return entry;
}

JournalEntry JournalEntry::SwlDeleted(const TSwlRec &swl)
{
    JournalEntry entry = entryOf(JournalKind::SwlDeleted);
    entry.Swl = swl;
    return entry;
}

JournalEntry JournalEntry::GroupNamesSet(const std::vector<std::string> &names)
{
    JournalEntry entry = entryOf(JournalKind::GroupNames);
    for (const std::string &name : names)
        entry.GroupNames.push_back(name.substr(0, GroupNameCapacity));
    return entry;
}

JournalEntry JournalEntry::SelectionsSet(const std::vector<TSelection> &selections, std::int32_t index)
{
    JournalEntry entry = entryOf(JournalKind::Selections);
    entry.Selections = selections;
    entry.SelIndex = index;
    return entry;
}

JournalEntry JournalEntry::Checkpoint(std::string_view writtenTo)
{
    JournalEntry entry = entryOf(JournalKind::Checkpoint);
    entry.Text = writtenTo.substr(0, JournalMaxFileName);
    return entry;
}

JournalContents ReadJournal(std::span<const std::uint8_t> bytes) { return JournalParser(bytes).parse(); }

JournalContents ReadJournalFile(const std::string &journalFile) { return ReadJournal(ReadWholeFile(journalFile)); }

} // namespace vellum
