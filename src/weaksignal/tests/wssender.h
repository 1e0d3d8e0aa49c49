#pragma once
// Datagrams of the weak-signal programs' UDP protocol as a sending program writes
// them (QDataStream, big-endian), for the tests.

#include "weaksignal/wsdatagram.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace vellum::test {

class WsWriter {
public:
    explicit WsWriter(std::uint32_t type, std::uint32_t schema = 2, const std::string &id = "WSJT-X")
    {
        u32(WsMagic).u32(schema).u32(type).text(id);
    }
    WsWriter &unsignedOf(std::uint64_t value, int width)
    {
        for (int i = width - 1; i >= 0; --i)
            bytes += static_cast<char>(value >> (8 * i) & 0xFF);
        return *this;
    }
    WsWriter &u8(std::uint8_t v) { return unsignedOf(v, 1); }
    WsWriter &u32(std::uint32_t v) { return unsignedOf(v, 4); }
    WsWriter &u64(std::uint64_t v) { return unsignedOf(v, 8); }
    WsWriter &real(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return u64(bits);
    }
    WsWriter &text(const std::string &v) { return u32(static_cast<std::uint32_t>(v.size())).raw(v); }
    WsWriter &raw(const std::string &v)
    {
        bytes += v;
        return *this;
    }
    /// A UTC QDateTime.
    WsWriter &dateTime(std::int64_t julianDay, std::uint32_t msOfDay) { return u64(static_cast<std::uint64_t>(julianDay)).u32(msOfDay).u8(1); }
    std::string bytes;
};

/// Julian day of 2024-04-01.
inline constexpr std::int64_t April1st2024 = 2460402;

inline std::string StatusDatagram(std::uint64_t dialHz, const std::string &mode)
{
    WsWriter w(1);
    w.u64(dialHz).text(mode).text("DL1ABC").text("-12").text(mode).u8(0).u8(0).u8(1).u32(1500).u32(1500);
    w.text("K1XX").text("FN42").text("JO62").u8(0).text("").u8(0).u8(0).u32(0).u32(15).text("Default").text("");
    return w.bytes;
}

inline std::string DecodeDatagram(const std::string &message, std::int32_t snr, std::uint32_t deltaHz)
{
    WsWriter w(2);
    w.u8(1).u32(45015000).u32(static_cast<std::uint32_t>(snr)).real(0.2).u32(deltaHz).text("~").text(message);
    w.u8(0).u8(0);
    return w.bytes;
}

inline std::string QsoLoggedDatagram(const std::string &call, std::uint32_t msOn)
{
    WsWriter w(5);
    w.dateTime(April1st2024, msOn + 60000).text(call).text("JO62").u64(14075234).text("FT8").text("-12").text("+03");
    w.text("50").text("tnx").text("Hans").dateTime(April1st2024, msOn).text("K1XX").text("K1XX").text("FN42");
    w.text("").text("");
    return w.bytes;
}

inline std::string LoggedAdifDatagram(const std::string &adif) { return WsWriter(12).text(adif).bytes; }

} // namespace vellum::test
