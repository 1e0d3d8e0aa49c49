#pragma once
// What a serial channel is set to while it is closed: the port, the line
// settings, the buffers, the flow control and the two modem lines.

#include <cstddef>

namespace vellum {

enum class Parity { None, Even };
enum class FlowControl {
    None,
    XonXoff, ///< both directions; reception resumes when the input has drained to InSize / 25
    RtsCts,  ///< hardware flow; reception resumes at InSize / 10
};

struct SerialSettings {
    int comNumber = 1; ///< COM1..COM8
    int baud = 9600;
    int dataBits = 8;  ///< 7 or 8
    Parity parity = Parity::None;
    int stopBits = 1;  ///< 1 or 2
    std::size_t inSize = 1024;
    std::size_t outSize = 1024;
    FlowControl flow = FlowControl::None;
    bool dtr = true;
    bool rts = true;

    /// The input level at which reception resumes after a flow stop.
    std::size_t ResumeLevel() const
    {
        return flow == FlowControl::XonXoff ? inSize / 25 : flow == FlowControl::RtsCts ? inSize / 10 : 0;
    }
};

} // namespace vellum
