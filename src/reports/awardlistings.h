#pragma once
// Listings and summaries of the four big awards (DXCC, WAZ, WAS, WPX), read
// from the award tables rebuilt with the award's report start date. The
// tables are left out of date afterwards, so the next reader rebuilds them with
// its own dates.

#include "awardentities.h"
#include "reporttable.h"

namespace vellum {

enum class ListingKind { Countries, CountriesWithDeleted, NeededCountries, Zones, States, Wpx };
enum class SummaryKind { Countries, CountriesWithDeleted, Zones, States, Wpx, WpxHonorRoll };

/// A listing: the entity columns, then a status letter per counted mode group and band.
ReportTable MakeListing(TAwardModel &model, TQsoData &log, ListingKind kind, ModeBandChoice choice);
/// A summary: per mode group and band row the number of entities at each status.
ReportTable MakeSummary(TAwardModel &model, TQsoData &log, SummaryKind kind, ModeBandChoice choice);

} // namespace vellum
