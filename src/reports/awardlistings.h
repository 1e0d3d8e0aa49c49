#pragma once
// Listings and summaries of the four big awards (DXCC, WAZ, WAS, WPX), read
// from the award tables rebuilt with the award's report start date. The
// tables are left out of date afterwards, so the next reader rebuilds them with
// its own dates.

#include "awardentities.h"
#include "reporttable.h"

#include <variant>

namespace vellum {

enum class ListingKind { Countries, CountriesWithDeleted, NeededCountries, Zones, States, Wpx };
enum class SummaryKind { Countries, CountriesWithDeleted, Zones, States, Wpx, WpxHonorRoll };

/// A status column of a listing: a mode group (band 0) or a band (group -1).
struct ListingColumn {
    int group = -1;
    int band = 0;
};

/// What the rows and status columns of a listing stand for.
struct ListingCells {
    AwardIndex award = AwardDXCC;
    ModeBandChoice choice;
    std::size_t firstStatusColumn = 0;  ///< the table column of columns[0]
    std::vector<ListingColumn> columns;
    std::vector<std::string> entities;  ///< per row: the entity's key (ReportEntity::key)
};

struct ListingReport {
    ReportTable table;
    ListingCells cells;
};

/// A listing: the entity columns, then a status letter per counted mode group and band.
ListingReport MakeListing(TAwardModel &model, TQsoData &log, ListingKind kind, ModeBandChoice choice);
/// A summary: per mode group and band row the number of entities at each status.
ReportTable MakeSummary(TAwardModel &model, TQsoData &log, SummaryKind kind, ModeBandChoice choice);

/// The QSOs behind a listing cell: those of the entity on the cell's band and
/// mode group (0: any) that give the cell's status.
struct EntityQsos {
    AwardIndex award = AwardDXCC;
    std::string entity;  ///< country prefix, zone number, state abbreviation or WPX prefix
    int band = 0;
    int group = 0;
    TAwardStatus status = asWorked;
    AwardLevel level = AwardLevel::Mixed; ///< whose award flags (mixed, mode, band) a status 4 or 5 was read from
};

/// Why a cell stands for no QSO.
enum class CellRefusal {
    NotAStatusColumn, ///< an entity column ("Please select a mode or a band")
    NeverWorked,      ///< the never-worked letter ("Cannot select a QSO that never occured")
};

/// The QSOs behind the cell at a row and table column of a listing.
std::variant<EntityQsos, CellRefusal> QsosOfCell(const ReportTable &table, const ListingCells &cells, std::size_t row,
                                                 std::size_t column);

} // namespace vellum
