#include "awardlistings.h"

#include "logstore/qsotables.h"
#include "print/printengine.h"

#include <array>

namespace vellum {

namespace {

struct ListingShape {
    EntitySet set;
    const char *heading;
    std::vector<std::pair<const char *, int>> entityColumns; ///< negative width: right-aligned
};

ListingShape listingShape(ListingKind kind)
{
    switch (kind) {
    case ListingKind::Countries: return {EntitySet::CurrentCountries, "Countries listing", {{"Prefix", 5}, {"Country", 28}}};
    case ListingKind::CountriesWithDeleted:
        return {EntitySet::CountriesWithDeleted, "Countries listing (including deleted)",
                {{"Del", 3}, {"Prefix", 5}, {"Country", 28}}};
    case ListingKind::NeededCountries:
        return {EntitySet::CurrentCountries, "Needed Countries listing", {{"Prefix", 5}, {"Country", 28}}};
    case ListingKind::Zones: return {EntitySet::Zones, "Zones listing", {{"Zone", -2}}};
    case ListingKind::States: return {EntitySet::States, "States listing", {{"ST", 3}, {"State", 15}}};
    case ListingKind::Wpx: return {EntitySet::WpxPrefixes, "WPX listing", {{"PFX", 7}, {"D", 1}}};
    }
    return listingShape(ListingKind::Countries);
}

/// The status columns of a listing: mode groups (band 0) and bands (group of the choice).
std::vector<ListingColumn> statusColumns(const TConfigRecord &config, const TAwardSetup &setup, ModeBandChoice choice)
{
    std::vector<ListingColumn> columns;
    if (choice.group != 0)
        columns.push_back({choice.group, 0});
    else
        for (int group = choice.band != 0 ? 1 : 0; group < ModeGroupCount; ++group)
            if (CountsModeGroup(config, setup, group))
                columns.push_back({group, 0});
    if (choice.band != 0)
        columns.push_back({-1, choice.band});
    else
        for (int band = 1; band <= 15; ++band)
            if (CountsBand(config, setup, band))
                columns.push_back({-1, band});
    return columns;
}

TAwardStatus statusIn(TConstStatusBlock block, const ListingColumn &column, ModeBandChoice choice)
{
    if (column.group >= 0) {
        if (choice.band != 0)
            return BandGroupStatus(block, choice.band, column.group);
        return ModeGroupStatus(block, column.group);
    }
    return choice.group != 0 ? BandGroupStatus(block, column.band, choice.group) : BandStatus(block, column.band);
}

TAwardStatus levelStatus(TConstStatusBlock block, ModeBandChoice choice)
{
    if (choice.group != 0)
        return ModeGroupStatus(block, choice.group);
    if (choice.band != 0)
        return BandStatus(block, choice.band);
    return MixedStatus(block);
}

/// Leaves the tables out of date once a report was read from them: the next reader rebuilds with its own dates.
struct InvalidateAfter {
    TQsoData &log;
    ~InvalidateAfter() { log.InvalidateAwardTables(); }
};

} // namespace

ListingReport MakeListing(TAwardModel &model, TQsoData &log, ListingKind kind, ModeBandChoice choice)
{
    ListingShape shape = listingShape(kind);
    AwardIndex award = AwardOf(shape.set);
    InvalidateAfter invalidate{log};
    RebuildForReport(model, log, award);
    ListingReport listing;
    ListingCells &cells = listing.cells;
    cells.award = award;
    cells.choice = choice;
    cells.firstStatusColumn = shape.entityColumns.size();
    cells.columns = statusColumns(model.Config(), model.Setup(award), choice);

    ReportTable &table = listing.table;
    table.title = shape.heading + SelectedModeBandText(choice);
    for (const auto &[name, width] : shape.entityColumns)
        table.AddColumn(name, width);
    for (const ListingColumn &column : cells.columns)
        table.AddColumn(column.group >= 0 ? ModeGroupNames[static_cast<std::size_t>(column.group)]
                                          : BandTable[static_cast<std::size_t>(column.band)].shortName,
                        3, PrintAlign::Center);
    for (const ReportEntity &entity : CollectEntities(model, log, shape.set)) {
        if (kind == ListingKind::NeededCountries && levelStatus(entity.block, choice) >= asConfirmed)
            continue;
        ReportLine line;
        for (const std::string &cell : entity.cells)
            line.Add(cell);
        for (const ListingColumn &column : cells.columns)
            line.Add(AwardStatusLetters[statusIn(entity.block, column, choice)]);
        table.lines.push_back(line.Take());
        cells.entities.push_back(entity.key);
    }
    return listing;
}

namespace {

/// The status a cell shows, read back from its letter.
TAwardStatus statusOfLetter(std::string_view letter)
{
    for (std::size_t status = 0; status < AwardStatusLetters.size(); ++status)
        if (letter == AwardStatusLetters[status])
            return static_cast<TAwardStatus>(status);
    return asNotWorked;
}

} // namespace

std::variant<EntityQsos, CellRefusal> QsosOfCell(const ReportTable &table, const ListingCells &cells, std::size_t row,
                                                 std::size_t column)
{
    if (row >= cells.entities.size() || row >= table.lines.size() || column < cells.firstStatusColumn ||
        column - cells.firstStatusColumn >= cells.columns.size())
        return CellRefusal::NotAStatusColumn;
    std::vector<std::string_view> texts = SplitTabs(table.lines[row]);
    TAwardStatus status = column < texts.size() ? statusOfLetter(texts[column]) : asNotWorked;
    if (status == asNotWorked)
        return CellRefusal::NeverWorked;
    const ListingColumn &shown = cells.columns[column - cells.firstStatusColumn];
    EntityQsos qsos{cells.award, cells.entities[row], cells.choice.band, cells.choice.group, status, AwardLevel::Band};
    if (shown.group < 0) {
        qsos.band = shown.band;
    } else {
        // Mode-group cells are the group's own cells, or with a band chosen the band's cells of the group.
        qsos.group = shown.group;
        if (cells.choice.band == 0)
            qsos.level = shown.group == 0 ? AwardLevel::Mixed : AwardLevel::Mode;
    }
    return qsos;
}

namespace {

struct SummaryShape {
    EntitySet set;
    const char *name;
};

SummaryShape summaryShape(SummaryKind kind)
{
    switch (kind) {
    case SummaryKind::Countries: return {EntitySet::CurrentCountries, "Current Countries "};
    case SummaryKind::CountriesWithDeleted: return {EntitySet::CountriesWithDeleted, "Current & Deleted Countries "};
    case SummaryKind::Zones: return {EntitySet::Zones, "Zones"};
    case SummaryKind::States: return {EntitySet::States, "States"};
    case SummaryKind::Wpx: return {EntitySet::WpxPrefixes, "Prefixes"};
    case SummaryKind::WpxHonorRoll: return {EntitySet::WpxPrefixesNotDeleted, "Prefixes"};
    }
    return summaryShape(SummaryKind::Countries);
}

/// Entities per status (index 1..5) of one summary row.
using StatusCounts = std::array<std::int64_t, AwardStatusCount>;

struct SummaryCounts {
    std::array<StatusCounts, ModeGroupCount> groups{}; ///< [0]: MIX
    std::array<StatusCounts, 16> bands{};
};

SummaryCounts countSummary(const std::vector<ReportEntity> &entities, ModeBandChoice choice)
{
    SummaryCounts counts;
    for (const ReportEntity &entity : entities) {
        TConstStatusBlock block = entity.block;
        if (choice.band != 0) {
            for (int group = 1; group <= 3; ++group)
                ++counts.groups[static_cast<std::size_t>(group)][BandGroupStatus(block, choice.band, group)];
            ++counts.bands[static_cast<std::size_t>(choice.band)][BandStatus(block, choice.band)];
            continue;
        }
        for (int group = 0; group < ModeGroupCount; ++group)
            ++counts.groups[static_cast<std::size_t>(group)][ModeGroupStatus(block, group)];
        for (int band = 1; band <= 15; ++band)
            ++counts.bands[static_cast<std::size_t>(band)]
                          [choice.group != 0 ? BandGroupStatus(block, band, choice.group) : BandStatus(block, band)];
    }
    return counts;
}

void addCountRow(ReportTable &table, std::string_view name, const StatusCounts &counts)
{
    ReportLine line;
    line.Add(name);
    std::int64_t total = 0;
    for (int status = asWorked; status <= asChecked; ++status) {
        line.Count(counts[static_cast<std::size_t>(status)]);
        total += counts[static_cast<std::size_t>(status)];
    }
    line.Count(total).Count(counts[asConfirmed] + counts[asSubmitted] + counts[asChecked]);
    table.lines.push_back(line.Take());
}

void addInto(StatusCounts &sum, const StatusCounts &row)
{
    for (std::size_t status = 0; status < sum.size(); ++status)
        sum[status] += row[status];
}

} // namespace

ReportTable MakeSummary(TAwardModel &model, TQsoData &log, SummaryKind kind, ModeBandChoice choice)
{
    SummaryShape shape = summaryShape(kind);
    AwardIndex award = AwardOf(shape.set);
    InvalidateAfter invalidate{log};
    RebuildForReport(model, log, award);
    const TConfigRecord &config = model.Config();
    const TAwardSetup &setup = model.Setup(award);
    std::vector<ReportEntity> entities = CollectEntities(model, log, shape.set);
    bool wpx = shape.set == EntitySet::WpxPrefixes || shape.set == EntitySet::WpxPrefixesNotDeleted;
    std::int64_t available = wpx ? 0 : static_cast<std::int64_t>(entities.size());
    if (shape.set == EntitySet::States) {
        std::int64_t listed = static_cast<std::int64_t>(model.Countries().States.Count()) - 1;
        available = std::clamp<std::int64_t>(listed, 0, StateBlockCount - 1);
    }

    ReportTable table;
    table.title = std::string(shape.name) + " Summary" + SelectedModeBandText(choice);
    table.AddColumn(" Band/Mode", 10);
    for (const char *name : {"Worked", "QSL Mailed", "Confirmed", "Submit", "Checked", "Totals", "CnfTotal"})
        table.AddColumn(name, -static_cast<int>(std::string_view(name).size()));
    table.lines.push_back(ReportLine().Add("Available").Add(".").Add(".").Add(".").Add(".").Add(".").Count(available).Take());

    SummaryCounts counts = countSummary(entities, choice);
    if (choice.group != 0) {
        addCountRow(table, ModeGroupNames[static_cast<std::size_t>(choice.group)],
                    counts.groups[static_cast<std::size_t>(choice.group)]);
    } else {
        if (choice.band == 0)
            addCountRow(table, "MIX", counts.groups[0]);
        StatusCounts modeTotal{};
        for (int group = 1; group <= 3; ++group)
            if (CountsModeGroup(config, setup, group)) {
                addCountRow(table, ModeGroupNames[static_cast<std::size_t>(group)], counts.groups[static_cast<std::size_t>(group)]);
                addInto(modeTotal, counts.groups[static_cast<std::size_t>(group)]);
            }
        addCountRow(table, "Mode Total", modeTotal);
    }
    if (choice.band != 0) {
        addCountRow(table, BandTable[static_cast<std::size_t>(choice.band)].name, counts.bands[static_cast<std::size_t>(choice.band)]);
    } else {
        StatusCounts bandTotal{};
        for (int band = 1; band <= 15; ++band)
            if (CountsBand(config, setup, band)) {
                addCountRow(table, BandTable[static_cast<std::size_t>(band)].name, counts.bands[static_cast<std::size_t>(band)]);
                addInto(bandTotal, counts.bands[static_cast<std::size_t>(band)]);
            }
        addCountRow(table, "Band Total", bandTotal);
    }
    return table;
}

} // namespace vellum
