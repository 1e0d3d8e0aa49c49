#pragma once
// What the configuration holds for each of the two terminals (the packet
// terminal and the second one, "RTTY"), read as one shape.

#include "config/configrecord.h"
#include "station/serialsettings.h"

#include <array>
#include <cstdint>
#include <string>

namespace vellum {

enum class TerminalKind { Packet, Rtty };

/// The transport of a terminal: a COM port, a TCP client, or the message hand-over.
inline constexpr std::uint8_t TerminalTcpPort = 9;
inline constexpr std::uint8_t TerminalMsgPort = 10;

struct TerminalSettings {
    TerminalKind kind = TerminalKind::Packet;
    std::uint8_t type = 1;  ///< 1 "None", 2 "Regular"
    std::uint8_t port = 1;  ///< 1..8 COM, 9 TCP/IP, 10 Msg
    std::uint8_t baud = 4;  ///< 1..7
    std::uint8_t flow = 1;  ///< 1 None, 2 XON/XOFF, 3 RTS/CTS
    std::uint8_t parity = 1; ///< 1 8 bits/no parity, 2 7 bits/even parity
    int maxLines = 500;
    int split = 70;         ///< the splitter, percent of the window height
    bool checkSpots = true; ///< the packet terminal always hands its lines on
    bool checkOther = false;
    bool bell = false;
    bool alwaysImmediate = false;
    bool showFunctions = true;

    bool Enabled() const { return type > 1; }
    bool Serial() const { return port >= 1 && port <= 8; }
    bool Tcp() const { return port == TerminalTcpPort; }
    bool Msg() const { return port == TerminalMsgPort && kind == TerminalKind::Packet; }
};

TerminalSettings ReadTerminalSettings(const TConfigRecord &config, TerminalKind kind);
/// Stores the splitter position (the one setting the terminal itself changes).
void StoreTerminalSplit(TConfigRecord &config, TerminalKind kind, int percent);
/// The function-key texts of a terminal (16 of up to 75 characters).
FunctionKeys &TerminalKeys(TConfigRecord &config, TerminalKind kind);
/// "Show function keys" of a terminal.
void StoreShowFunctions(TConfigRecord &config, TerminalKind kind, bool shown);

/// "Packet" or "RTTY".
const char *TerminalName(TerminalKind kind);
/// Baud rates 1..7.
int TerminalBaud(std::uint8_t code);
SerialSettings TerminalSerialSettings(const TerminalSettings &settings);

} // namespace vellum
