#include "terminalsettings.h"

#include "config/configrecord.h"

#include <algorithm>

namespace vellum {

TerminalSettings ReadTerminalSettings(const TConfigRecord &c, TerminalKind kind)
{
    TerminalSettings s;
    s.kind = kind;
    bool packet = kind == TerminalKind::Packet;
    s.type = packet ? c.TNC_Type : c.RTTY_Type;
    s.port = packet ? c.TNC_Comport : c.RTTY_Comport;
    s.baud = packet ? c.TNC_Baudrate : c.RTTY_Baudrate;
    s.flow = packet ? c.TNC_Flow : c.RTTY_Flow;
    s.parity = packet ? c.TNC_Parity : c.RTTY_Parity;
    s.maxLines = std::clamp<int>(packet ? c.Packet_max_lines : c.rtty_max_lines, 10, 100000);
    s.split = std::clamp<int>(packet ? c.PackSplit : c.RttySplit, 10, 90);
    s.checkSpots = packet || c.rtty_checkspots;
    s.checkOther = c.RTTY_CheckOtherW;
    s.bell = packet ? c.packet_soundbell : c.rtty_soundbell;
    s.alwaysImmediate = !packet && c.rtty_alwaysimmed;
    s.showFunctions = packet ? c.Packet_ShowFunction : c.rtty_showfunctions;
    return s;
}

void StoreTerminalSplit(TConfigRecord &c, TerminalKind kind, int percent)
{
    (kind == TerminalKind::Packet ? c.PackSplit : c.RttySplit) = std::clamp(percent, 10, 90);
}

FunctionKeys &TerminalKeys(TConfigRecord &c, TerminalKind kind) { return kind == TerminalKind::Packet ? c.TNCKEYS : c.RTTYKEYS; }

void StoreShowFunctions(TConfigRecord &c, TerminalKind kind, bool shown)
{
    (kind == TerminalKind::Packet ? c.Packet_ShowFunction : c.rtty_showfunctions) = shown;
}

const char *TerminalName(TerminalKind kind) { return kind == TerminalKind::Packet ? "Packet" : "RTTY"; }

int TerminalBaud(std::uint8_t code)
{
    static const int rates[] = {1200, 2400, 4800, 9600, 14400, 19200, 38400};
    return code >= 1 && code <= 7 ? rates[code - 1] : 9600;
}

SerialSettings TerminalSerialSettings(const TerminalSettings &t)
{
    SerialSettings s;
    s.comNumber = t.port;
    s.baud = TerminalBaud(t.baud);
    s.dataBits = t.parity == 2 ? 7 : 8;
    s.parity = t.parity == 2 ? Parity::Even : Parity::None;
    s.flow = t.flow == 2 ? FlowControl::XonXoff : t.flow == 3 ? FlowControl::RtsCts : FlowControl::None;
    return s;
}

} // namespace vellum
