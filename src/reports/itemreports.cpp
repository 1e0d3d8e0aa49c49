#include "itemreports.h"

#include "awards/customaward.h"
#include "country/countrydata.h"
#include "country/countrytables.h"
#include "country/iota.h"
#include "logstore/compare.h"
#include "logstore/qsotables.h"

#include <algorithm>
#include <map>

namespace vellum {

const std::array<const char *, 8> ItemReportKindTitles = {
    "Listing", "Full listing", "Band Summary", "Mode Summary", "Submission", "Band Listing", "Mode Listing",
    "Needed Listing"};

std::uint8_t ItemQsoStatus(const TQsoRec &qso, std::uint32_t submittedMask)
{
    if (qso.RstRcvd == 0)
        return asNotWorked;
    if (qso.QslFlags & QslFlag::Cnfm)
        return QsoLevelStatus(qso, submittedMask);
    return qso.QslDate != 0 ? asQslSent : asWorked;
}

namespace {

std::uint32_t maskOf(ItemAward award)
{
    switch (award) {
    case ItemAward::Iota: return ItemMask::Iota;
    case ItemAward::County: return ItemMask::County;
    case ItemAward::Vucc: return ItemMask::Vucc;
    case ItemAward::Custom: return ItemMask::CustomAward;
    }
    return 0;
}

/// The bands and mode groups a report counts.
struct CountedLevels {
    std::array<bool, 16> bands{};
    std::array<bool, 4> groups{};
};

CountedLevels countedLevels(const TConfigRecord &config, const ItemReportSource &source)
{
    CountedLevels levels;
    for (int band = 1; band <= 15; ++band) {
        bool on = source.award == ItemAward::Vucc ? band >= 10 && config.VuccBands[static_cast<std::size_t>(band - 10)]
                                                  : config.StationBands[static_cast<std::size_t>(band)] && band != 15;
        if (source.award == ItemAward::Custom)
            on = on && source.custom && source.custom->AppliesToBand(band);
        levels.bands[static_cast<std::size_t>(band)] = on;
    }
    for (int mode = 1; mode < ModeCount; ++mode)
        if (config.StationModes[static_cast<std::size_t>(mode)])
            levels.groups[static_cast<std::size_t>(ModeGroupOf(mode))] = true;
    levels.groups[0] = false;
    if (source.award == ItemAward::Custom)
        for (int group = 1; group <= 3; ++group)
            levels.groups[static_cast<std::size_t>(group)] =
                levels.groups[static_cast<std::size_t>(group)] && source.custom && source.custom->AppliesToModeGroup(group);
    return levels;
}

std::string itemKey(const TCountryData &countries, const TConfigRecord &config, const TQsoRec &qso,
                    const ItemReportSource &source)
{
    switch (source.award) {
    case ItemAward::Iota: return qso.Iota.str();
    case ItemAward::County: {
        if (qso.State == 0 || qso.County == 0)
            return {};
        std::string name = countries.CountyName(qso.State, qso.County);
        return name.empty() ? std::string() : std::string(countries.StateAbbreviation(qso.State)) + " " + name;
    }
    case ItemAward::Vucc: {
        std::size_t length = std::clamp<std::size_t>(config.VuccGridLength, 2, 6);
        return qso.Grid.size() < length ? std::string() : std::string(qso.Grid.view().substr(0, length));
    }
    case ItemAward::Custom:
        if (!source.custom || CompareNoCase(qso.CustAwd.view(), source.custom->Ident) != 0)
            return {};
        return qso.CustValue.str();
    }
    return {};
}

/// The keys of every item of the award's full set (none for VUCC).
std::vector<std::string> fullSet(const TCountryData &countries, const ItemReportSource &source)
{
    std::vector<std::string> keys;
    switch (source.award) {
    case ItemAward::Iota:
        for (std::int32_t i = 0; i < countries.Iota.Count(); ++i)
            keys.push_back(std::string(KeyText(countries.Iota.Get(i), IotaField::ReferenceCapacity)));
        break;
    case ItemAward::County:
        for (std::int32_t i = 0; i < countries.Counties.Count(); ++i) {
            std::string_view key = KeyText(countries.Counties.Get(i), CountyField::KeyCapacity);
            keys.push_back(std::string(key.substr(0, std::min<std::size_t>(2, key.size()))) + " " +
                           countries.Counties.TailString(i));
        }
        break;
    case ItemAward::Vucc: break;
    case ItemAward::Custom:
        if (source.custom)
            for (const TCustAwardValue &value : source.custom->Values())
                keys.push_back(value.key);
        break;
    }
    std::erase_if(keys, [](const std::string &key) { return key.empty() || key.back() == ' '; });
    return keys;
}

} // namespace

std::vector<ItemEntry> CollectItemEntries(const TCountryData &countries, const TConfigRecord &config,
                                          const TQsoData &log, const ItemReportSource &source)
{
    CountedLevels levels = countedLevels(config, source);
    std::uint32_t mask = maskOf(source.award);
    std::map<std::string, ItemEntry, std::less<>> entries;
    for (const TQsoRec *qso : log) {
        int group = ModeGroupOf(qso->Mode);
        if (!IsRealBand(qso->Band) || !levels.bands[qso->Band] || !levels.groups[static_cast<std::size_t>(group)] ||
            !InSelection(log, *qso))
            continue;
        std::string key = itemKey(countries, config, *qso, source);
        if (key.empty())
            continue;
        auto [it, added] = entries.try_emplace(key);
        ItemEntry &entry = it->second;
        if (added)
            entry.key = key;
        std::uint8_t status = ItemQsoStatus(*qso, mask);
        if (status > entry.overall) {
            entry.best = qso;
            entry.overall = status;
        }
        entry.groups[static_cast<std::size_t>(group)] = std::max(entry.groups[static_cast<std::size_t>(group)], status);
        entry.bands[qso->Band] = std::max(entry.bands[qso->Band], status);
    }
    std::vector<ItemEntry> list;
    list.reserve(entries.size());
    for (auto &[key, entry] : entries)
        list.push_back(std::move(entry));
    return list;
}

namespace {

/// Adds the items of the full set not yet in the (sorted) list.
void addFullSet(std::vector<ItemEntry> &entries, const std::vector<std::string> &keys)
{
    std::vector<ItemEntry> added;
    for (const std::string &key : keys) {
        auto at = std::lower_bound(entries.begin(), entries.end(), key,
                                   [](const ItemEntry &e, const std::string &k) { return e.key < k; });
        if (at == entries.end() || at->key != key)
            added.push_back({key});
    }
    entries.insert(entries.end(), added.begin(), added.end());
    std::sort(entries.begin(), entries.end(), [](const ItemEntry &a, const ItemEntry &b) { return a.key < b.key; });
    entries.erase(std::unique(entries.begin(), entries.end(), [](auto &a, auto &b) { return a.key == b.key; }),
                  entries.end());
}

const char *awardTitle(const ItemReportSource &source)
{
    switch (source.award) {
    case ItemAward::Iota: return "IOTA";
    case ItemAward::County: return "Counties";
    case ItemAward::Vucc: return "VUCC";
    case ItemAward::Custom: return source.custom ? source.custom->Name.c_str() : "Custom";
    }
    return "";
}

/// The report's extra columns after "Nr" and their cells for an item.
class ExtraColumns {
public:
    ExtraColumns(const TCountryData &countries, const TConfigRecord &config, const ItemReportSource &source)
        : m_source(source)
    {
        if (source.award == ItemAward::Iota)
            for (std::int32_t i = 0; i < countries.Iota.Count(); ++i) {
                IotaInfo info = IotaInfo::Decode(countries.Iota.Get(i));
                m_iotaNames.emplace(info.reference, info.name);
            }
        m_gridWidth = config.VuccGridLength > 4 ? 6 : 4;
    }

    void AddColumns(ReportTable &table, bool keyOnly) const
    {
        switch (m_source.award) {
        case ItemAward::Iota:
            table.AddColumn("IOTA", 5);
            if (!keyOnly)
                table.AddColumn("Name", 38);
            break;
        case ItemAward::County: table.AddColumn("County", 21); break;
        case ItemAward::Vucc: table.AddColumn("Grid", m_gridWidth); break;
        case ItemAward::Custom:
            table.AddColumn("AwdVal", 8);
            if (!keyOnly && m_source.custom && m_source.custom->HasValueList())
                table.AddColumn("AwdStr", 12);
            break;
        }
    }

    void AddCells(ReportLine &line, const std::string &key, bool keyOnly) const
    {
        line.Add(key);
        if (keyOnly)
            return;
        if (m_source.award == ItemAward::Iota) {
            auto name = m_iotaNames.find(key);
            line.Add(name == m_iotaNames.end() ? std::string("** UNKNOWN **") : name->second);
        }
        if (m_source.award == ItemAward::Custom && m_source.custom && m_source.custom->HasValueList()) {
            const TCustAwardValue *value = m_source.custom->ValueOfKey(key);
            line.Add(value ? value->longName : std::string("** UNKNOWN **"));
        }
    }

private:
    const ItemReportSource &m_source;
    std::map<std::string, std::string, std::less<>> m_iotaNames;
    int m_gridWidth = 4;
};

bool keptByKind(const ItemEntry &entry, ItemReportKind kind)
{
    switch (kind) {
    case ItemReportKind::Listing: return entry.overall >= asWorked;
    case ItemReportKind::Submission: return entry.overall == asConfirmed || entry.overall == asSubmitted;
    case ItemReportKind::NeededListing: return entry.overall <= asQslSent;
    default: return true;
    }
}

void makeEntryListing(ItemReport &report, const ExtraColumns &extra, ItemReportKind kind)
{
    ReportTable &table = report.table;
    bool withStatus = kind != ItemReportKind::Submission;
    table.AddColumn("Nr", -5);
    extra.AddColumns(table, false);
    table.AddColumn("Callsign", 12);
    table.AddColumn("Date", 11);
    table.AddColumn("Band", -5);
    if (withStatus)
        table.AddColumn("Status", 3, PrintAlign::Center);
    std::int64_t number = 0;
    for (const ItemEntry &entry : report.entries) {
        ReportLine line;
        line.Number(++number);
        extra.AddCells(line, entry.key, false);
        if (entry.best)
            line.Add(entry.best->Call.view()).Add(ReportDate(entry.best->Date)).Add(BandInfoOf(entry.best->Band).name);
        else
            line.Add("").Add("").Add("");
        if (withStatus)
            line.Add(AwardStatusLetters[entry.overall]);
        table.lines.push_back(line.Take());
    }
}

/// Kinds 5 and 6: a status letter per counted band or mode group.
void makeLetterListing(ItemReport &report, const ExtraColumns &extra, const CountedLevels &levels, bool bands)
{
    ReportTable &table = report.table;
    extra.AddColumns(table, true);
    for (int level = 1; level <= (bands ? 15 : 3); ++level)
        if (bands ? levels.bands[static_cast<std::size_t>(level)] : levels.groups[static_cast<std::size_t>(level)])
            table.AddColumn(bands ? BandTable[static_cast<std::size_t>(level)].name : ModeGroupNames[static_cast<std::size_t>(level)],
                            bands ? 4 : 3, PrintAlign::Center);
    for (const ItemEntry &entry : report.entries) {
        ReportLine line;
        extra.AddCells(line, entry.key, true);
        for (int level = 1; level <= (bands ? 15 : 3); ++level) {
            if (bands ? levels.bands[static_cast<std::size_t>(level)] : levels.groups[static_cast<std::size_t>(level)])
                line.Add(AwardStatusLetters[bands ? entry.bands[static_cast<std::size_t>(level)]
                                                  : entry.groups[static_cast<std::size_t>(level)]]);
        }
        table.lines.push_back(line.Take());
    }
}

/// Kinds 2 and 3: per counted band or mode group the entries at each status, and a total row.
void makeItemSummary(ItemReport &report, const CountedLevels &levels, bool bands)
{
    ReportTable &table = report.table;
    table.AddColumn(bands ? "Band" : "Mode", 6);
    for (const char *name : {"Worked", "QSL sent", "Confirmed", "Submitted", "Checked", "Total"})
        table.AddColumn(name, -static_cast<int>(std::string_view(name).size()));
    auto addRow = [&table](std::string_view name, const std::array<std::int64_t, AwardStatusCount> &counts) {
        ReportLine line;
        line.Add(name);
        std::int64_t sum = 0;
        for (int status = asWorked; status <= asChecked; ++status) {
            line.Count(counts[static_cast<std::size_t>(status)]);
            sum += counts[static_cast<std::size_t>(status)];
        }
        table.lines.push_back(line.Count(sum).Take());
    };
    std::array<std::int64_t, AwardStatusCount> total{};
    for (const ItemEntry &entry : report.entries) {
        std::uint8_t highest = 0;
        for (int level = 1; level <= (bands ? 15 : 3); ++level)
            if (bands ? levels.bands[static_cast<std::size_t>(level)] : levels.groups[static_cast<std::size_t>(level)])
                highest = std::max(highest, bands ? entry.bands[static_cast<std::size_t>(level)]
                                                  : entry.groups[static_cast<std::size_t>(level)]);
        ++total[highest];
    }
    for (int level = 1; level <= (bands ? 15 : 3); ++level) {
        if (!(bands ? levels.bands[static_cast<std::size_t>(level)] : levels.groups[static_cast<std::size_t>(level)]))
            continue;
        std::array<std::int64_t, AwardStatusCount> counts{};
        for (const ItemEntry &entry : report.entries)
            ++counts[bands ? entry.bands[static_cast<std::size_t>(level)] : entry.groups[static_cast<std::size_t>(level)]];
        addRow(bands ? BandTable[static_cast<std::size_t>(level)].name : ModeGroupNames[static_cast<std::size_t>(level)],
               counts);
    }
    addRow("Total", total);
}

SubmissionPlan planItemSubmission(const TQsoData &log, const std::vector<ItemEntry> &entries, std::uint32_t mask)
{
    SubmissionPlan plan;
    plan.logCount = log.Count();
    for (const ItemEntry &entry : entries)
        if (entry.best && !(entry.best->AwdFlags & mask))
            plan.changes.push_back({log.PositionOf(entry.best), entry.best->AwdFlags, entry.best->AwdFlags | mask});
    std::sort(plan.changes.begin(), plan.changes.end(), [](auto &a, auto &b) { return a.position < b.position; });
    plan.result.marks = plan.result.qsos = static_cast<std::int64_t>(plan.changes.size());
    return plan;
}

} // namespace

ItemReport MakeItemReport(const TCountryData &countries, const TConfigRecord &config, const TQsoData &log,
                          const ItemReportSource &source, ItemReportKind kind)
{
    ItemReport report;
    report.entries = CollectItemEntries(countries, config, log, source);
    if (kind == ItemReportKind::FullListing || kind == ItemReportKind::NeededListing)
        addFullSet(report.entries, fullSet(countries, source));
    std::erase_if(report.entries, [kind](const ItemEntry &entry) { return !keptByKind(entry, kind); });
    report.table.title = std::string(awardTitle(source)) + " " + ItemReportKindTitles[static_cast<std::size_t>(kind)];
    CountedLevels levels = countedLevels(config, source);
    ExtraColumns extra(countries, config, source);
    switch (kind) {
    case ItemReportKind::BandSummary: makeItemSummary(report, levels, true); break;
    case ItemReportKind::ModeSummary: makeItemSummary(report, levels, false); break;
    case ItemReportKind::BandListing: makeLetterListing(report, extra, levels, true); break;
    case ItemReportKind::ModeListing: makeLetterListing(report, extra, levels, false); break;
    default: makeEntryListing(report, extra, kind); break;
    }
    if (kind == ItemReportKind::Submission)
        report.plan = planItemSubmission(log, report.entries, maskOf(source.award));
    if (kind == ItemReportKind::BandSummary || kind == ItemReportKind::ModeSummary || kind == ItemReportKind::BandListing)
        report.entries.clear();
    return report;
}

std::int64_t CommitItemSubmission(TQsoData &log, const ItemReport &report)
{
    return ApplySubmissionPlan(log, report.plan);
}

} // namespace vellum
