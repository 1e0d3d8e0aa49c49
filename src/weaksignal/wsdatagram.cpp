#include "wsdatagram.h"

namespace vellum {

namespace {

/// Big-endian fields over a datagram; every read checks the bytes left first and
/// a failed read leaves the reader failed.
class StreamReader {
public:
    explicit StreamReader(std::string_view bytes) : m_bytes(bytes) {}

    bool ok() const { return m_ok; }

    std::uint64_t unsignedOf(std::size_t width)
    {
        if (!take(width))
            return 0;
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i)
            value = value << 8 | static_cast<unsigned char>(m_bytes[m_at - width + i]);
        return value;
    }
    std::uint32_t u32() { return static_cast<std::uint32_t>(unsignedOf(4)); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::uint64_t u64() { return unsignedOf(8); }
    std::int64_t i64() { return static_cast<std::int64_t>(u64()); }
    std::uint8_t u8() { return static_cast<std::uint8_t>(unsignedOf(1)); }
    bool flag() { return u8() != 0; }
    double real()
    {
        std::uint64_t bits = u64();
        double value;
        static_assert(sizeof value == sizeof bits);
        __builtin_memcpy(&value, &bits, sizeof value);
        return value;
    }
    /// A QByteArray of UTF-8: a 32-bit length, 0xFFFFFFFF for a null one.
    std::string text()
    {
        std::uint32_t length = u32();
        if (!m_ok || length == 0xFFFFFFFF)
            return {};
        if (length > WsMaxString || !take(length))
            return fail();
        return std::string(m_bytes.substr(m_at - length, length));
    }
    /// A QDateTime: Julian day, milliseconds, time spec (with an offset for spec 2).
    WsDateTime dateTime()
    {
        WsDateTime value{i64(), u32()};
        std::uint8_t spec = u8();
        if (spec == 2)
            i32(); // offset from UTC
        else if (spec == 3)
            text(); // a time zone id (a QTimeZone stream is its id)
        // Years 1582 to 9999 (Julian days 2299161 to 5373484): the range of dates a log may hold.
        if (spec > 3 || value.msOfDay >= 86400000 || value.julianDay < 2299161 || value.julianDay > 5373484)
            fail();
        return value;
    }

private:
    bool take(std::size_t width)
    {
        if (!m_ok || width > m_bytes.size() - m_at) {
            m_ok = false;
            return false;
        }
        m_at += width;
        return true;
    }
    std::string fail()
    {
        m_ok = false;
        return {};
    }

    std::string_view m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};

WsStatus readStatus(StreamReader &in)
{
    WsStatus s;
    s.dialHz = in.u64();
    s.mode = in.text();
    s.dxCall = in.text();
    in.text(); // report
    in.text(); // transmit mode
    in.flag(); // transmit enabled
    s.transmitting = in.flag();
    return s; // the fields after these are not used
}

WsDecode readDecode(StreamReader &in)
{
    WsDecode d;
    d.isNew = in.flag();
    d.msOfDay = in.u32();
    d.snr = in.i32();
    d.deltaTime = in.real();
    d.deltaHz = in.u32();
    d.mode = in.text();
    d.message = in.text();
    d.lowConfidence = in.flag();
    return d;
}

WsQsoLogged readQsoLogged(StreamReader &in)
{
    WsQsoLogged q;
    q.timeOff = in.dateTime();
    q.dxCall = in.text();
    q.dxGrid = in.text();
    q.txHz = in.u64();
    q.mode = in.text();
    q.reportSent = in.text();
    q.reportReceived = in.text();
    q.txPower = in.text();
    q.comments = in.text();
    q.name = in.text();
    q.timeOn = in.dateTime();
    // Later schema versions add these; a datagram of an older sender ends before them.
    for (std::string *field : {&q.operatorCall, &q.myCall, &q.myGrid, &q.exchangeSent, &q.exchangeReceived}) {
        StreamReader saved = in;
        *field = in.text();
        if (!in.ok()) {
            in = saved;
            break;
        }
    }
    return q;
}

WsMessage readMessage(StreamReader &in, std::uint32_t type)
{
    switch (static_cast<WsMessageType>(type)) {
    case WsMessageType::Status: return readStatus(in);
    case WsMessageType::Decode: return readDecode(in);
    case WsMessageType::QsoLogged: return readQsoLogged(in);
    case WsMessageType::LoggedAdif: return WsLoggedAdif{in.text()};
    default: return WsOther{};
    }
}

} // namespace

std::optional<WsDatagram> ReadWsDatagram(std::string_view bytes)
{
    StreamReader in(bytes);
    if (in.u32() != WsMagic || !in.ok())
        return std::nullopt;
    WsDatagram datagram;
    datagram.schema = in.u32();
    datagram.type = in.u32();
    datagram.id = in.text();
    if (!in.ok() || datagram.schema == 0)
        return std::nullopt;
    datagram.message = readMessage(in, datagram.type);
    if (!in.ok())
        return std::nullopt;
    return datagram;
}

WsCivilDate CivilDateOfJulianDay(std::int64_t julianDay)
{
    // Days since 1970-01-01, then the civil calendar (proleptic Gregorian).
    std::int64_t z = julianDay - 2440588 + 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int year = static_cast<int>(yoe + era * 400 + (month <= 2));
    return {year, month, day};
}

} // namespace vellum
