// Fuzz target: reading a country file from arbitrary bytes, then resolving a
// few calls and writing the tables back, as the program does after loading.

#include "country/countryfile.h"
#include "country/resolver.h"

#include "logstore/qsorec.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    vellum::TCountryData country;
    try {
        vellum::ReadCountryBytes(std::span<const std::uint8_t>(data, size), country);
    } catch (const std::exception &) {
        return 0; // a damaged file is reported, never used
    }
    vellum::CountryResolver resolver(country);
    static const char *const calls[] = {"K1ABC", "KH6/K1ABC", "K1ABC/4", "DL1ABC/P", "XX2E/QQ1AB", "/", "3Y/B/LA1A"};
    for (const char *call : calls) {
        vellum::TQsoRec rec;
        rec.Call = call;
        rec.Date = 40000;
        rec.State = 3;
        resolver.ResolveCountry(rec);
        (void)resolver.WpxPrefix(call);
    }
    for (std::int32_t i = 0; i < country.CountryCount(); ++i)
        (void)country.Country(i);
    (void)country.CountyName(1, 13);
    (void)country.CountyNumber("NY", "Kings");
    (void)country.AllowedState(1, "NY");
    (void)vellum::CountryFileBytes(country);
    return 0;
}
