// Fuzzes the master callsign file reader and its searches.

#include "country/mastercall.h"

#include <cstdint>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    vellum::TMasterCalls calls;
    if (!calls.LoadBytes(std::span<const std::uint8_t>(data, size)))
        return 0;
    for (std::size_t i = 0; i < calls.Count(); ++i)
        if (calls.Call(i).size() > 12)
            __builtin_trap(); // calls are held at 12 characters at most
    // Search texts taken from the input itself, plain and with the wildcards.
    std::string text(reinterpret_cast<const char *>(data), size < 6 ? size : 6);
    for (bool substring : {false, true}) {
        calls.Search(text, substring);
        calls.Search("?" + text, substring);
        calls.Search("D?1", substring);
        calls.Search("K", substring);
    }
    return 0;
}
