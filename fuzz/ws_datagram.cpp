// Fuzzes the datagram reader of the weak-signal programs' UDP protocol: any bytes
// are read without reading past their end, and what is read is used as the
// receiver uses it (the call of a CQ message, the ADIF record of a logged QSO).

#include "weaksignal/wsdatagram.h"
#include "weaksignal/wssession.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace vellum;
    std::optional<WsDatagram> datagram = ReadWsDatagram(std::string_view(reinterpret_cast<const char *>(data), size));
    if (!datagram)
        return 0;
    if (const auto *decode = std::get_if<WsDecode>(&datagram->message))
        CallOfCq(decode->message);
    if (const auto *logged = std::get_if<WsQsoLogged>(&datagram->message))
        AdifOfLoggedQso(*logged);
    return 0;
}
