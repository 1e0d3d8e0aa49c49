#pragma once
// The entities the listings and summaries of the four big awards walk: each
// with the cells that name it and its status block in the award tables.

#include "awards/awardmodel.h"

#include <string>
#include <vector>

namespace vellum {

struct ReportEntity {
    std::vector<std::string> cells; ///< what names it in a listing (prefix and name, zone, ...)
    TConstStatusBlock block;
    std::string key;                ///< what a QSO search finds it by: country prefix, zone, state abbreviation, WPX prefix
};

/// Which entities of an award a report walks.
enum class EntitySet {
    CurrentCountries,         ///< countries from 1 on whose end date is open
    CountriesWithDeleted,     ///< current countries (empty "Del" cell), then deleted ones ("D")
    Zones,                    ///< 1..40
    States,                   ///< 1..50: abbreviation and name
    WpxPrefixes,              ///< every WPX prefix of the tables, sorted, "D" for a deleted one
    WpxPrefixesNotDeleted,
};

AwardIndex AwardOf(EntitySet set);

/// Rebuilds the award tables with the start date of the award's report code for
/// every mode group, as a report of the award reads them.
void RebuildForReport(TAwardModel &model, TQsoData &log, AwardIndex award);

/// The entities of the set, read from the tables as they are.
std::vector<ReportEntity> CollectEntities(TAwardModel &model, TQsoData &log, EntitySet set);

} // namespace vellum
