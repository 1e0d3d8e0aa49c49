// Fuzz target: importing a QSL manager text file into the manager editor's
// working copy of a small table, then exporting it, putting it into the
// country data and looking managers up, as the editor and the QSO window do.

#include "country/managers.h"

#include "logstore/qsorec.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char *>(data), size);
    vellum::TCountryData country;
    auto record = vellum::ManagerInfo{"QQ1AB", 0, "K1M"}.Encode();
    country.Managers.AddCopy(record.data());
    vellum::ManagerRows rows;
    rows.Load(country);
    vellum::ImportReport report = rows.Import(text, size % 2 == 1);
    (void)vellum::ImportReportText(report, vellum::ManagerRows::ReportCounts());
    std::string exported = rows.ExportText();
    rows.Apply(country);
    vellum::ManagerRows again;
    (void)again.Import(exported, true);
    for (std::int32_t i = 0; i < rows.Count() && i < 8; ++i)
        (void)vellum::ManagerOf(country, rows.At(i).call, static_cast<std::uint16_t>(rows.At(i).date + 1));
    return 0;
}
