#include "countrylookups.h"

#include "country/countrydata.h"
#include "country/iota.h"
#include "country/managers.h"

namespace vellum {

std::string CountryQsoLookups::ManagerOf(std::string_view call, std::uint16_t date) const
{
    return vellum::ManagerOf(m_countries, call, date);
}

void CountryQsoLookups::SetManager(std::string_view call, std::uint16_t date, std::string_view manager)
{
    TQsoRec rec;
    rec.Call = call;
    rec.Date = date;
    vellum::SetManager(m_countries, rec, manager);
}

bool CountryQsoLookups::IotaExists(std::string_view reference) const
{
    return AcceptableIota(m_countries.Iota, NormalizeTypedIota(reference), HasIotaReferences(m_countries.Iota));
}

std::optional<std::pair<double, double>> CountryQsoLookups::IotaPosition(std::string_view reference) const
{
    std::int32_t index = m_countries.Iota.IndexOfKey(NormalizeIotaReference(reference));
    if (index < 0)
        return std::nullopt;
    IotaInfo info = IotaInfo::Decode(m_countries.Iota.Get(index));
    if (info.latitude == 0 && info.longitude == 0)
        return std::nullopt;
    return std::pair<double, double>{info.latitude, info.longitude};
}

} // namespace vellum
