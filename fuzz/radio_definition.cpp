// Fuzz target: radio definition files. Reading any bytes must not crash; a
// definition read without problems must keep every field inside the 50-byte
// block, decode any bytes there into 64 bits, never write a value that does not
// fit, and read back unchanged after it is written.

#include "config/inifile.h"
#include "station/radiodefinition.h"
#include "station/radiofields.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vellum;

// A name that never exists, so the object starts empty and never touches a file.
constexpr const char *NoFile = "/nonexistent-vellum-fuzz/radio.rig";

void checkFields(const TRadioDefinition &d, const std::uint8_t *data, std::size_t size)
{
    std::vector<std::uint8_t> block(RadioBlockSize, 0);
    for (std::size_t i = 0; i < size && i < block.size(); ++i)
        block[i] = data[i];
    for (const RadioFieldDef &field : d.fields) {
        if (field.lengthOrMask == 0)
            continue;
        auto format = static_cast<FieldFormat>(field.format);
        std::size_t first = field.position + (d.oneBased ? 0u : 1u);
        std::size_t span = format == FieldFormat::Flag || format == FieldFormat::ByteM ? 1 : field.lengthOrMask;
        if (first < 1 || first + span - 1 > RadioBlockSize)
            std::abort(); // validation let a field leave the block
        std::int64_t value = DecodeFieldValue(format, std::span(block).subspan(first - 1, span), field.lengthOrMask);
        if (std::optional<std::vector<std::uint8_t>> bytes = EncodeFieldValue(format, value, field.lengthOrMask))
            if (format != FieldFormat::ByteM && bytes->size() > span)
                std::abort(); // a value written wider than its field
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TIniFile ini(NoFile);
    ini.LoadText(std::string_view(reinterpret_cast<const char *>(data), size));
    std::vector<std::string> problems;
    TRadioDefinition definition = ReadRadioDefinition(ini, problems);
    ini.LoadText("");
    for (const RadioCommandDef &command : definition.commands)
        (void)DecodeCommandString(command.text, definition.format);
    if (!problems.empty())
        return 0;
    checkFields(definition, data, size);
    TIniFile written(NoFile);
    WriteRadioDefinition(written, definition);
    TIniFile again(NoFile);
    again.LoadText(written.Text());
    written.LoadText("");
    std::vector<std::string> later;
    TRadioDefinition reread = ReadRadioDefinition(again, later);
    again.LoadText("");
    if (!later.empty() || reread.modes != definition.modes || reread.model != definition.model)
        std::abort();
    for (std::size_t f = 0; f < RadioFieldCount; ++f)
        if (reread.fields[f].position != definition.fields[f].position ||
            reread.fields[f].lengthOrMask != definition.fields[f].lengthOrMask)
            std::abort();
    return 0;
}
