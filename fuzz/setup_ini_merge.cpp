// Fuzz target: the INI form of the settings merged into the built-in ones. Any
// bytes must merge without crashing; a damaged text leaves the record as it
// was; a merged record is one the checks after loading leave alone.

#include "config/configrules.h"
#include "setup/setupini.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace vellum;
    static const std::vector<SetupPage> pages = SetupPages(SetupChoices{{"IC-706"}, {"LogBook"}}, false);
    TConfigRecord record = BuiltInConfig();
    const IniMergeReport report =
        MergeSetupIni(record, pages, std::string_view(reinterpret_cast<const char *>(data), size));
    if (!report.Merged() && std::memcmp(&record, &BuiltInConfig(), sizeof record) != 0)
        std::abort();
    TConfigRecord clamped = record;
    ClampStringLengths(clamped);
    ClampSettings(clamped);
    if (std::memcmp(&clamped, &record, sizeof record) != 0)
        std::abort();
    return 0;
}
