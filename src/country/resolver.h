#pragma once
// Callsign resolution over the country data: country and CQ zone of a call on a
// date (with the state rules of the country), the home call of a portable call,
// the WPX prefix and the deleted-WPX list.

#include "countrydata.h"

#include "logstore/qsorec.h"
#include "logstore/services.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellum {

/// The portable designators resolution ignores before or after a "/".
inline constexpr std::array<std::string_view, 14> DesignatorList = {"A", "B", "E", "J", "M", "P", "R",
                                                                    "T", "AA", "AE", "AM", "MM", "QRP", "WG"};
/// CQ zone of a call-area digit after a "/" in a country whose HasStates is 1.
inline constexpr std::array<std::uint8_t, 10> AreaZoneTable = {4, 5, 5, 5, 5, 4, 3, 3, 4, 4};

/// Whether part is one of the designators (ignoring case).
bool IsDesignator(std::string_view part);

/// The call without its portable parts: while a "/" is left, the text before the
/// first "/" is kept when the "/" lies past the middle, else the text after it.
std::string BaseCall(std::string_view call);

/// Resolves calls against one country data object, which must outlive it.
class CountryResolver : public CallResolver {
public:
    explicit CountryResolver(const TCountryData &data) : m_data(data) {}

    /// Sets Country and Zone of rec from its Call and Date, and clears or sets its
    /// State as the country's HasStates says. A call that matches no exception
    /// call and no mapping gets country 0 and zone 0.
    void ResolveCountry(TQsoRec &rec) const override;
    /// The WPX prefix of a call (at most 7 characters; empty for an empty call).
    std::string WpxPrefix(std::string_view call) const override;

    /// ResolveCountry of a scratch record holding only the call (cut to 12), the date and no state.
    TQsoRec ResolveCall(std::string_view call, std::uint16_t date) const;
    std::int16_t CountryOfCall(std::string_view call, std::uint16_t date) const;
    std::uint8_t ZoneOfCall(std::string_view call, std::uint16_t date) const;
    /// Whether the deleted-WPX list marks the prefix.
    bool IsDeletedWpx(std::string_view prefix) const;

    const TCountryData &Data() const { return m_data; }

private:
    const TCountryData &m_data;
};

} // namespace vellum
