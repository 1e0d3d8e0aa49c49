#include "config/configsettings.h"

#include "logstore/qsotables.h"

namespace vellum {

double CwCutoffKHz(const TConfigRecord &config, int band)
{
    if (band >= 1 && band < BandCount)
        return config.Personal_CWcutoff[static_cast<std::size_t>(band)];
    return IsExtendedBand(band) ? ExtendedCwCutoff(band) : 0;
}

bool ConfigLogSettings::cycleFiles() const { return m_record.DefQSO_Cycle; }

std::uint8_t ConfigLogSettings::defaultGroup() const { return m_record.DefQSO_Group; }

DateFormat ConfigLogSettings::dateFormat() const
{
    const std::uint8_t wheel = m_record.Personal_DateFormat;
    return wheel >= 1 && wheel <= 3 ? static_cast<DateFormat>(wheel) : DateFormat::MonthDayYear;
}

} // namespace vellum
