// Fuzz target: importing an IOTA text file into the IOTA editor's working
// copy, then exporting it and putting it into the country data, as the editor
// does; the country file written from it must read back.

#include "country/countryfile.h"
#include "country/iota.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char *>(data), size);
    vellum::TCountryData country;
    vellum::IotaRows rows;
    rows.Load(country);
    vellum::ImportReport report = rows.Import(text, size % 2 == 1);
    (void)vellum::ImportReportText(report, vellum::IotaRows::ReportCounts());
    std::string exported = rows.ExportText();
    // What the export writes, the import reads back (names holding a double
    // quote aside: the export does not escape them).
    bool quotes = false;
    for (const vellum::IotaInfo &row : rows.Rows())
        quotes = quotes || row.name.find('"') != std::string::npos;
    vellum::IotaRows again;
    if (again.Import(exported, true).errors != 0 && !quotes)
        std::abort();
    rows.Apply(country);
    vellum::TCountryData back;
    vellum::ReadCountryBytes(vellum::CountryFileBytes(country), back);
    return 0;
}
