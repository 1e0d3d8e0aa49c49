#include "qsorec.h"

#include "bytes.h"

#include <cstring>

namespace vellum {

void NoteText::set(std::string_view text)
{
    if (text.empty()) {
        m_text.reset();
        return;
    }
    m_text = std::make_unique<std::string>(text.substr(0, 255));
}

namespace {
template <std::size_t N>
void storeString(std::uint8_t *p, const ShortString<N> &s)
{
    p[0] = static_cast<std::uint8_t>(s.size());
    std::memset(p + 1, 0, N);
    std::memcpy(p + 1, s.data(), s.size());
}

template <std::size_t N>
void loadString(const std::uint8_t *p, ShortString<N> &s)
{
    std::size_t length = p[0] <= N ? p[0] : N;
    s.assign(std::string_view(reinterpret_cast<const char *>(p + 1), length));
}
} // namespace

void StoreQso(const TQsoRec &r, std::span<std::uint8_t, QsoStoredSize> out)
{
    using namespace QsoOffset;
    std::uint8_t *p = out.data();
    storeString(p + Call, r.Call);
    storeU32(p + Time, static_cast<std::uint32_t>(r.Time));
    storeU16(p + Date, r.Date);
    p[Band] = r.Band;
    p[Mode] = r.Mode;
    storeU32(p + AwdFlags, r.AwdFlags);
    storeU16(p + RstRcvd, r.RstRcvd);
    storeU16(p + RstSent, r.RstSent);
    p[State] = r.State;
    storeString(p + Iota, r.Iota);
    storeU16(p + County, r.County);
    storeString(p + Grid, r.Grid);
    storeU16(p + QslDate, r.QslDate);
    p[QslMethod] = r.QslMethod;
    p[Satellite] = r.Satellite;
    p[Group] = r.Group;
    storeU16(p + PrtSeqNr, r.PrtSeqNr);
    storeString(p + Recvd, r.Recvd);
    storeU16(p + Country, static_cast<std::uint16_t>(r.Country));
    p[Zone] = r.Zone;
    p[QslFlags] = r.QslFlags;
    storeString(p + CustAwd, r.CustAwd);
    storeString(p + CustValue, r.CustValue);
}

void LoadQso(std::span<const std::uint8_t, QsoStoredSize> in, TQsoRec &r)
{
    using namespace QsoOffset;
    const std::uint8_t *p = in.data();
    loadString(p + Call, r.Call);
    r.Time = static_cast<std::int32_t>(loadU32(p + Time));
    r.Date = loadU16(p + Date);
    r.Band = p[Band];
    r.Mode = p[Mode];
    r.AwdFlags = loadU32(p + AwdFlags);
    r.RstRcvd = loadU16(p + RstRcvd);
    r.RstSent = loadU16(p + RstSent);
    r.State = p[State];
    loadString(p + Iota, r.Iota);
    r.County = loadU16(p + County);
    loadString(p + Grid, r.Grid);
    r.QslDate = loadU16(p + QslDate);
    r.QslMethod = p[QslMethod];
    r.Satellite = p[Satellite];
    r.Group = p[Group];
    r.PrtSeqNr = loadU16(p + PrtSeqNr);
    loadString(p + Recvd, r.Recvd);
    r.Country = static_cast<std::int16_t>(loadU16(p + Country));
    r.Zone = p[Zone];
    r.QslFlags = p[QslFlags];
    loadString(p + CustAwd, r.CustAwd);
    loadString(p + CustValue, r.CustValue);
}

const std::array<AwardFlagPair, 16> AwardFlagTable = {{
    {"Cust Awd", 0x04000000, 0x08000000},
    {"County", 0x01000000, 0x02000000},
    {"DXCC band", 0x00000040, 0x00000080},
    {"DXCC mixed", 0x00000004, 0x00000008},
    {"DXCC mode", 0x00000010, 0x00000020},
    {"IOTA", 0x00100000, 0x00200000},
    {"VUCC", 0x00000001, 0x00000002},
    {"WAS band", 0x00000400, 0x00000800},
    {"WAS mixed", 0x00000100, 0x00000200},
    {"WAS mode", 0x00001000, 0x00002000},
    {"WAZ band", 0x00040000, 0x00080000},
    {"WAZ mixed", 0x00004000, 0x00008000},
    {"WAZ mode", 0x00010000, 0x00020000},
    {"WPX band", 0x00400000, 0x00800000},
    {"WPX mixed", 0x10000000, 0x20000000},
    {"WPX mode", 0x40000000, 0x80000000},
}};

} // namespace vellum
