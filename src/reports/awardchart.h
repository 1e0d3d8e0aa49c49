#pragma once
// The award standing over time: for one award (DXCC, WAZ, WAS, WPX) the number
// of entities worked and confirmed at the end of each month, at the mixed level
// and per mode group, by the award model's rules (the selection in force, the
// received report, the cutoffs, the start dates, what the award counts); a
// QSO counts from its date on. And the QSOs per band and year.

#include "awards/awardmodel.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

/// A month as year * 12 + (month - 1).
using MonthIndex = std::int32_t;
MonthIndex MonthOf(std::uint16_t day);
/// "2024-06".
std::string MonthText(MonthIndex month);

/// Entities worked and confirmed at the end of each month of the chart.
struct StandingSeries {
    std::vector<std::int32_t> worked;
    std::vector<std::int32_t> confirmed;
};

struct AwardChart {
    AwardIndex award = AwardDXCC;
    MonthIndex firstMonth = 0;                    ///< the month of the first counted QSO
    std::int32_t months = 0;                      ///< up to the month of the last counted QSO
    std::array<StandingSeries, 4> levels;         ///< [0] mixed, [1..3] the mode groups
    std::array<bool, 4> levelCounted{};           ///< the award counts the level (Mixed on, a mode of the group valid)
};

/// The chart of an award over the log (the tables are not touched).
AwardChart ComputeAwardChart(const TAwardModel &model, const TQsoData &log, AwardIndex award);
/// An award by its name ("DXCC", "WAZ", "WAS", "WPX", any case); false when none.
bool AwardOfName(std::string_view name, AwardIndex &award);

/// QSOs in the selection in force per year and band.
struct BandYearGrid {
    std::int32_t firstYear = 0;
    std::vector<std::array<std::int64_t, 35>> years; ///< [year - firstYear][band 0..34]
    std::array<bool, 35> bandUsed{};
};
BandYearGrid ComputeBandYearGrid(const TQsoData &log);

} // namespace vellum
