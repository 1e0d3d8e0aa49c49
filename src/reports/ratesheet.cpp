#include "ratesheet.h"

#include "awards/awardstatus.h"
#include "logstore/qsotables.h"

#include <array>

namespace vellum {

namespace {

inline constexpr std::int64_t SecondsPerDay = 86400;
inline constexpr std::int64_t RateSheetHours = 48;

struct HourCounts {
    std::array<std::int64_t, 4> groups{};
    std::array<std::int64_t, 16> bands{};
    void Add(const HourCounts &other)
    {
        for (std::size_t i = 0; i < groups.size(); ++i)
            groups[i] += other.groups[i];
        for (std::size_t i = 0; i < bands.size(); ++i)
            bands[i] += other.bands[i];
    }
};

class RateSheet {
public:
    RateSheet(const TConfigRecord &config) : m_config(config)
    {
        for (int mode = 1; mode < ModeCount; ++mode)
            if (config.StationModes[static_cast<std::size_t>(mode)])
                m_groups[static_cast<std::size_t>(ModeGroupOf(mode))] = true;
        m_table.title = "Rate Sheet";
        m_table.AddColumn("Hour", -6);
        m_table.AddColumn("Total", -6);
        for (int group = 1; group <= 3; ++group)
            if (m_groups[static_cast<std::size_t>(group)])
                m_table.AddColumn(ModeGroupNames[static_cast<std::size_t>(group)], -5);
        for (int band = 1; band <= 15; ++band)
            if (config.StationBands[static_cast<std::size_t>(band)])
                m_table.AddColumn(BandTable[static_cast<std::size_t>(band)].name, -5);
    }

    void AddRow(std::string_view name, const HourCounts &counts)
    {
        ReportLine line;
        line.Add(name);
        std::int64_t total = 0;
        for (int group = 1; group <= 3; ++group)
            total += counts.groups[static_cast<std::size_t>(group)];
        line.Count(total);
        for (int group = 1; group <= 3; ++group)
            if (m_groups[static_cast<std::size_t>(group)])
                line.Count(counts.groups[static_cast<std::size_t>(group)]);
        for (int band = 1; band <= 15; ++band)
            if (m_config.StationBands[static_cast<std::size_t>(band)])
                line.Count(counts.bands[static_cast<std::size_t>(band)]);
        m_table.lines.push_back(line.Take());
    }

    ReportTable Take() { return std::move(m_table); }

private:
    const TConfigRecord &m_config;
    std::array<bool, 4> m_groups{};
    ReportTable m_table;
};

} // namespace

ReportTable MakeRateSheet(const TConfigRecord &config, const TQsoData &log, ContestStart start)
{
    RateSheet sheet(config);
    std::int64_t startSeconds = std::int64_t{start.date} * SecondsPerDay + start.time;
    std::int64_t hour = 0;
    HourCounts current, totals;
    auto flush = [&] {
        sheet.AddRow(std::to_string(hour + 1), current);
        totals.Add(current);
        current = {};
    };
    for (const TQsoRec *qso : log) {
        std::int64_t elapsed = std::int64_t{qso->Date} * SecondsPerDay + qso->Time - startSeconds;
        if (elapsed < 0 || !InSelection(log, *qso))
            continue;
        std::int64_t index = elapsed / 3600;
        if (index >= RateSheetHours)
            break;
        if (index != hour) {
            flush();
            hour = index;
        }
        ++current.groups[static_cast<std::size_t>(ModeGroupOf(qso->Mode))];
        if (IsRealBand(qso->Band))
            ++current.bands[qso->Band];
    }
    flush();
    sheet.AddRow("Total", totals);
    return sheet.Take();
}

} // namespace vellum
