#pragma once
// The QSO window's lookups of QSL managers and IOTA references in the country data.

#include "qsologic.h"

namespace vellum {

class TCountryData;

class CountryQsoLookups : public QsoLookups {
public:
    explicit CountryQsoLookups(TCountryData &countries) : m_countries(countries) {}
    std::string ManagerOf(std::string_view call, std::uint16_t date) const override;
    void SetManager(std::string_view call, std::uint16_t date, std::string_view manager) override;
    bool IotaExists(std::string_view reference) const override;
    std::optional<std::pair<double, double>> IotaPosition(std::string_view reference) const override;

private:
    TCountryData &m_countries;
};

} // namespace vellum
