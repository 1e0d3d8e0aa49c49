// Fuzz target: importing a manager address text file into the address
// editor's working copy, then exporting it, putting it into the country data
// and reading the addresses back, as the editor and the QSO window do.

#include "country/addresses.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char *>(data), size);
    vellum::TCountryData country;
    vellum::ReplaceManagerAddress(country, "K1M", {"Box 1", "Newington"});
    vellum::AddressRows rows;
    rows.Load(country);
    vellum::ImportReport report = rows.Import(text, size % 2 == 1);
    (void)vellum::ImportReportText(report, vellum::AddressRows::ReportCounts());
    std::string exported = rows.ExportText();
    rows.Apply(country);
    vellum::AddressRows again;
    (void)again.Import(exported, true);
    for (std::int32_t i = 0; i < rows.Count() && i < 8; ++i)
        (void)vellum::ManagerAddress(country, rows.At(i).call);
    if (!rows.Empty())
        rows.DeleteRow(0);
    return 0;
}
