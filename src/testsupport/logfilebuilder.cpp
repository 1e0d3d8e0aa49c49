#include "logfilebuilder.h"

#include "tempdir.h"

namespace vellum::test {

namespace {
struct Out {
    std::vector<std::uint8_t> b;
    void u8(unsigned v) { b.push_back(static_cast<std::uint8_t>(v)); }
    void u16(unsigned v) { u8(v & 0xFF), u8((v >> 8) & 0xFF); }
    void u32(std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); }
    /// string[capacity] with deliberately non-zero filler after the text, which readers must ignore
    void str(const std::string &s, std::size_t capacity, std::uint8_t filler = 0xEE)
    {
        u8(static_cast<unsigned>(s.size()));
        for (std::size_t i = 0; i < capacity; ++i)
            u8(i < s.size() ? static_cast<std::uint8_t>(s[i]) : filler);
    }
    void text(const std::string &s)
    {
        u8(static_cast<unsigned>(s.size()));
        for (char c : s)
            u8(static_cast<std::uint8_t>(c));
    }
};

void writeOldQso(Out &o, const FileQso &q, char format)
{
    o.str(q.call, 12);           // 0
    o.u16(q.oldTime);            // 13
    o.u16(q.date);               // 15
    o.u8(q.band);                // 17
    o.u8(q.mode);                // 18
    o.u32(q.flags);              // 19
    o.u16(q.rstRcvd);            // 23
    o.u16(q.rstSent);            // 25
    o.u8(q.state);               // 27
    o.str(q.iota, 5);            // 28
    o.u32(static_cast<std::uint32_t>(q.tenTen)); // 34
    o.u16(q.county);             // 38
    o.str(q.grid, 4);            // 40
    o.u16(q.qslDate);            // 45
    o.u8(q.qslMethod);           // 47
    o.u8(q.satellite);           // 48
    o.u8(q.group);               // 49
    o.u16(q.prtSeqNr);           // 50 -> 52 bytes for "B", "C"
    if (format >= 'D')
        o.str(q.recvd, 4);       // 52 -> 57
    if (format >= 'E') {
        o.u16(static_cast<std::uint16_t>(q.country)); // 57
        o.u8(q.zone);            // 59 -> 60
    }
    if (format >= 'F')
        o.u8(q.qslFlags);        // 60 -> 61
}

void writeCurrentQso(Out &o, const FileQso &q)
{
    o.str(q.call, 12);           // 0
    o.u32(static_cast<std::uint32_t>(q.time)); // 13
    o.u16(q.date);               // 17
    o.u8(q.band);                // 19
    o.u8(q.mode);                // 20
    o.u32(q.flags);              // 21
    o.u16(q.rstRcvd);            // 25
    o.u16(q.rstSent);            // 27
    o.u8(q.state);               // 29
    o.str(q.iota, 5);            // 30
    o.u16(q.county);             // 36
    o.str(q.grid, 6);            // 38
    o.u16(q.qslDate);            // 45
    o.u8(q.qslMethod);           // 47
    o.u8(q.satellite);           // 48
    o.u8(q.group);               // 49
    o.u16(q.prtSeqNr);           // 50
    o.str(q.recvd, 4);           // 52
    o.u16(static_cast<std::uint16_t>(q.country)); // 57
    o.u8(q.zone);                // 59
    o.u8(q.qslFlags);            // 60
    o.str(q.custAwd, 4);         // 61
    o.str(q.custValue, 8);       // 66 -> 75
}
} // namespace

std::vector<std::uint8_t> LogFileBuilder::bytes() const
{
    Out o;
    o.u8(8);
    for (char c : std::string("ZAPHLOG"))
        o.u8(static_cast<std::uint8_t>(c));
    o.u8(static_cast<std::uint8_t>(m_format));
    if (m_format >= 'G')
        o.u32(m_headerWord);
    o.u16(static_cast<unsigned>(groups.size()));
    for (const auto &g : groups)
        o.str(g, 25);
    o.u16(static_cast<unsigned>(selections.size()));
    for (const auto &s : selections)
        o.b.insert(o.b.end(), s.begin(), s.end());
    o.u32(static_cast<std::uint32_t>(qsos.size()));
    for (const auto &q : qsos) {
        if (m_format >= 'G')
            writeCurrentQso(o, q);
        else
            writeOldQso(o, q, m_format);
        if (m_format >= 'F')
            o.text(q.note);
    }
    o.u32(static_cast<std::uint32_t>(notes.size()));
    for (const auto &[call, text] : notes) {
        o.str(call, 12);
        o.text(text);
    }
    if (m_format >= 'G' && !omitSwlSection) {
        o.u32(static_cast<std::uint32_t>(swl.size()));
        for (const auto &s : swl) {
            o.str(s.call, 12);
            o.u16(s.date);
            o.u32(static_cast<std::uint32_t>(s.time));
            o.u8(s.band), o.u8(s.mode), o.u8(s.group), o.u8(s.printed);
        }
    }
    return o.b;
}

void LogFileBuilder::writeTo(const std::string &path) const { WriteFile(path, bytes()); }

std::vector<std::uint8_t> SelectionBytes(const std::string &name, bool dateFilter, std::uint16_t first,
                                         std::uint16_t last, bool groupFilter, std::vector<int> groups)
{
    Out o;
    o.str(name, 25, 0);
    o.u8(dateFilter);
    o.u16(first);
    o.u16(last);
    o.u8(groupFilter);
    std::vector<std::uint8_t> set(32, 0);
    for (int g : groups)
        set[static_cast<std::size_t>(g / 8)] |= static_cast<std::uint8_t>(1u << (g % 8));
    o.b.insert(o.b.end(), set.begin(), set.end());
    return o.b;
}

} // namespace vellum::test
