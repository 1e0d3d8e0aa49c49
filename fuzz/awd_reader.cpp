// Fuzz target: reading a custom award definition file from arbitrary bytes,
// then the look-ups the QSO window and the reports make on the list.

#include "awards/customawardfile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char *>(data), size);
    vellum::TCustAwardList list;
    vellum::SilentNotifier quiet;
    vellum::ReadCustomAwards(text, list, quiet);
    for (std::int32_t i = 0; i < list.Count(); ++i) {
        const vellum::TCustAward &award = list.At(i);
        if (list.IndexOf(award.Ident) != i)
            __builtin_trap(); // identifiers are unique and found again
        (void)list.LongAwdName(award.Ident);
        (void)list.LongAwdVal(award.Ident, "G1");
        (void)award.CheckValue("12AB");
        (void)award.FormatValue("abcdefghij");
        for (const vellum::TCustAwardValue &value : award.Values())
            (void)list.LongAwdVal(award.Ident, value.key);
    }
    (void)list.AwardsFor("DL", 5, 4);
    (void)list.AwardsFor("", 15, 13);
    return 0;
}
