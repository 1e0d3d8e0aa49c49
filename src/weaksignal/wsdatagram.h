#pragma once
// The datagrams of the weak-signal programs' common UDP message protocol: a
// QDataStream (big-endian) of the magic number, the schema, the message type and
// the sender's id, then the fields of the message. Read without Qt; a datagram that
// is not whole, or whose lengths run past its end, is no message.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace vellum {

inline constexpr std::uint32_t WsMagic = 0xADBCCBDA;
/// Strings longer than this are taken as hostile: no field of the protocol comes near.
inline constexpr std::uint32_t WsMaxString = 64 * 1024;

enum class WsMessageType : std::uint32_t {
    Heartbeat = 0, Status = 1, Decode = 2, QsoLogged = 5, Close = 6, LoggedAdif = 12,
};

struct WsStatus {
    std::uint64_t dialHz = 0;
    std::string mode; ///< "FT8", "FT4", ...
    std::string dxCall;
    bool transmitting = false;
};

struct WsDecode {
    bool isNew = true;
    std::uint32_t msOfDay = 0; ///< UTC milliseconds since midnight
    std::int32_t snr = 0;
    double deltaTime = 0;
    std::uint32_t deltaHz = 0; ///< audio offset from the dial frequency
    std::string mode;          ///< the program's one-character mode code
    std::string message;       ///< "CQ DL1ABC JO62"
    bool lowConfidence = false;
};

/// A UTC date and time of the protocol (QDateTime): Julian day and milliseconds.
struct WsDateTime {
    std::int64_t julianDay = 0;
    std::uint32_t msOfDay = 0;
};

struct WsQsoLogged {
    WsDateTime timeOff;
    std::string dxCall, dxGrid;
    std::uint64_t txHz = 0;
    std::string mode, reportSent, reportReceived, txPower, comments, name;
    WsDateTime timeOn;
    std::string operatorCall, myCall, myGrid, exchangeSent, exchangeReceived;
};

struct WsLoggedAdif {
    std::string adif;
};

/// A message the receiver does not act on (heartbeats, replies, ...).
struct WsOther {};

using WsMessage = std::variant<WsOther, WsStatus, WsDecode, WsQsoLogged, WsLoggedAdif>;

struct WsDatagram {
    std::uint32_t schema = 0;
    std::uint32_t type = 0;
    std::string id; ///< the sending program's instance ("WSJT-X")
    WsMessage message;
};

/// Reads one datagram; nothing when it is malformed (wrong magic, cut short, a
/// length past its end or above WsMaxString, a date the protocol cannot hold).
std::optional<WsDatagram> ReadWsDatagram(std::string_view bytes);

/// The civil date of a Julian day number (day 2440588 is 1970-01-01).
struct WsCivilDate {
    int year, month, day;
};
WsCivilDate CivilDateOfJulianDay(std::int64_t julianDay);

} // namespace vellum
