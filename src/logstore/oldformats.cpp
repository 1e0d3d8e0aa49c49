#include "oldformats.h"

#include "bytes.h"

#include <algorithm>
#include <string>

namespace vellum {

std::size_t QsoRecordSize(char format)
{
    switch (format) {
    case 'B':
    case 'C': return 52;
    case 'D': return 57;
    case 'E': return 60;
    case 'F': return 61;
    default: return QsoStoredSize;
    }
}

bool FormatHasQsoNote(char format) { return format >= 'F'; }
bool FormatHasHeaderWord(char format) { return format >= 'G'; }

std::uint8_t RenumberOldMode(std::uint8_t oldMode)
{
    static const std::uint8_t modes[4] = {0, 14, 4, 13};
    return oldMode < 4 ? modes[oldMode] : 0;
}

namespace {
/// The fields of the old record layout (offsets of format "F").
struct OldRecord {
    std::string call;
    std::uint16_t oldTime = 0; // minutes since 00:00 plus 1, 0 unknown
    std::uint16_t date = 0;
    std::uint8_t band = 0;
    std::uint8_t mode = 0;
    std::uint32_t flags = 0;
    std::uint16_t rstRcvd = 0, rstSent = 0;
    std::uint8_t state = 0;
    std::string iota;
    std::int32_t tenTen = 0;
    std::uint16_t county = 0;
    std::string grid;
    std::uint16_t qslDate = 0;
    std::uint8_t qslMethod = 0, satellite = 0, group = 0;
    std::uint16_t prtSeqNr = 0;
    std::string recvd;
    std::int16_t country = 0;
    std::uint8_t zone = 0;
    std::uint8_t qslFlags = 0;
};

OldRecord parseOld(std::span<const std::uint8_t> bytes)
{
    ByteReader r(bytes);
    OldRecord o;
    o.call = r.shortString(12);
    o.oldTime = r.u16();
    o.date = r.u16();
    o.band = r.u8();
    o.mode = r.u8();
    o.flags = r.u32();
    o.rstRcvd = r.u16();
    o.rstSent = r.u16();
    o.state = r.u8();
    o.iota = r.shortString(5);
    o.tenTen = r.i32();
    o.county = r.u16();
    o.grid = r.shortString(4);
    o.qslDate = r.u16();
    o.qslMethod = r.u8();
    o.satellite = r.u8();
    o.group = r.u8();
    o.prtSeqNr = r.u16();
    if (r.remaining() >= 5)
        o.recvd = r.shortString(4);
    if (r.remaining() >= 3) {
        o.country = r.i16();
        o.zone = r.u8();
    }
    if (r.remaining() >= 1)
        o.qslFlags = r.u8();
    return o;
}

void setBitFrom(std::uint32_t &flags, int bit, std::uint8_t &qslFlags, std::uint8_t mask)
{
    if (flags & (1u << bit)) {
        qslFlags |= mask;
        flags &= ~(1u << bit);
    }
}
} // namespace

void OldFormatConverter::Convert(std::span<const std::uint8_t> bytes, TQsoRec &rec)
{
    if (m_format == 'G') {
        LoadQso(bytes.first<QsoStoredSize>(), rec);
        rec.Mode = RenumberOldMode(rec.Mode);
        return;
    }
    OldRecord o = parseOld(bytes);
    char step = m_format;
    if (step == 'B') { // B -> C
        o.flags &= ~((1u << 28) | (1u << 29));
        step = 'C';
    }
    if (step == 'C') { // C -> D
        o.recvd.clear();
        step = 'D';
    }
    if (step == 'D') { // D -> E
        o.country = 0;
        o.zone = 0;
        step = 'E';
    }
    if (step == 'E') { // E -> F
        if (o.band == 12)
            o.band = 15;
        o.flags &= ~(1u << 27);
        o.qslFlags = 0;
        setBitFrom(o.flags, 0, o.qslFlags, QslFlag::Cnfm);
        setBitFrom(o.flags, 1, o.qslFlags, QslFlag::Label);
        setBitFrom(o.flags, 31, o.qslFlags, QslFlag::QRP);
        setBitFrom(o.flags, 30, o.qslFlags, QslFlag::YLop);
        setBitFrom(o.flags, 26, o.qslFlags, QslFlag::ValidDX);
    }
    // F -> G: move to the current layout.
    rec = TQsoRec();
    rec.Call = o.call;
    if (m_havePrevious && o.oldTime == m_previousOldTime)
        m_sameMinuteCounter = std::min(m_sameMinuteCounter + 1, 59);
    else
        m_sameMinuteCounter = 0;
    m_havePrevious = true;
    m_previousOldTime = o.oldTime;
    rec.Time = o.oldTime == 0 ? 0 : (static_cast<std::int32_t>(o.oldTime) - 1) * 60 + m_sameMinuteCounter;
    rec.Date = o.date;
    rec.Band = o.band;
    rec.Mode = RenumberOldMode(o.mode); // G -> H
    bool submitted1010 = o.flags & (1u << 22);
    bool checked1010 = o.flags & (1u << 23);
    rec.AwdFlags = o.flags & 0x333FFFFFu;
    rec.RstRcvd = o.rstRcvd;
    rec.RstSent = o.rstSent;
    rec.State = o.state;
    rec.Iota = o.iota;
    rec.County = o.county;
    rec.Grid = o.grid;
    rec.QslDate = o.qslDate;
    rec.QslMethod = o.qslMethod;
    rec.Satellite = o.satellite == 0 ? 1 : o.satellite;
    rec.Group = o.group;
    rec.PrtSeqNr = o.prtSeqNr;
    rec.Recvd = o.recvd;
    rec.Country = o.country;
    rec.Zone = o.zone;
    rec.QslFlags = o.qslFlags;
    if (o.tenTen != 0 && rec.Band == 9) {
        rec.CustAwd = "1010";
        rec.CustValue = std::to_string(o.tenTen);
        if (submitted1010)
            rec.AwdFlags |= 0x04000000u;
        if (checked1010)
            rec.AwdFlags |= 0x08000000u;
    }
}

} // namespace vellum
