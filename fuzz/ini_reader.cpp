// Fuzz target: INI text. Reading any bytes must not crash; the text a rewrite
// would write must read back to the same text; sections must come out sorted;
// every value must be readable as text and numbers; a number written must read
// back unchanged.

#include "config/inifile.h"
#include "logstore/compare.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using vellum::TIniFile;

// A name that never exists, so the object starts empty and never touches a file.
constexpr const char *NoFile = "/nonexistent-vellum-fuzz/fuzz.ini";

void readEveryValue(const TIniFile &ini)
{
    std::string previous;
    bool first = true;
    for (const std::string &section : ini.ReadSections()) {
        if (!first && vellum::CompareNoCase(previous, section) >= 0)
            std::abort();
        first = false;
        previous = section;
        for (const std::string &key : ini.ReadSection(section)) {
            const std::string text = ini.ReadString(section, key, "");
            if (!text.empty() && (static_cast<unsigned char>(text.front()) <= ' ' ||
                                  static_cast<unsigned char>(text.back()) <= ' '))
                std::abort();
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadBool(section, key, false);
            if (!std::isfinite(ini.ReadFloat(section, key, 0.0)))
                std::abort();
        }
    }
}

void writeNumbersBack(TIniFile &ini, const std::uint8_t *data, std::size_t size)
{
    if (size < sizeof(double))
        return;
    double number;
    std::memcpy(&number, data, sizeof number);
    if (std::isfinite(number)) {
        ini.WriteFloat("fuzz", "float", number);
        if (ini.ReadFloat("fuzz", "float", 0.0) != number)
            std::abort();
    }
    std::int32_t whole;
    std::memcpy(&whole, data, sizeof whole);
    ini.WriteInteger("fuzz", "int", whole);
    if (ini.ReadInteger("fuzz", "int", 0) != whole)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    TIniFile ini(NoFile);
    ini.LoadText(input);
    const std::string text = ini.Text();
    TIniFile again(NoFile);
    again.LoadText(text);
    if (again.Text() != text)
        std::abort();
    readEveryValue(ini);
    writeNumbersBack(ini, data, size);
    ini.LoadText(""); // nothing left to write
    return 0;
}
