// Fuzz target: what a callbook source library or the QSL manager file hands back,
// read as the lookup window reads it - every answer format, the manager found in
// the lines and the manager file's records.

#include "callbook/qslmanagerfile.h"
#include "callbook/resultlines.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::span<const char> text(reinterpret_cast<const char *>(data), size);
    vellum::CallbookLines lines;
    vellum::AddCarriageReturnLines(text, lines);
    vellum::AddCarriageReturnLinesSkippingEmptyRest(text, lines);
    vellum::AddCountedLines(text, size > 0 ? data[0] * 7 : 0, lines);
    (void)vellum::AddFlyingHorseFields(text, lines);
    vellum::AddBuckmasterFields(text, "QX1AB", "----QSL info from: test", lines);
    vellum::AddQslProgramResult(std::string_view(text.data(), text.size()), "QX1AB", lines);
    (void)vellum::ManagerFromLines(lines, "QX1AB");
    std::span<const std::uint8_t> file(data, size);
    if (auto first = vellum::QslManagerRecordAt(file, 0))
        vellum::AddQslManagerLines(file, 0, first->call, lines);
    return 0;
}
