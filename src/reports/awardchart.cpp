#include "awardchart.h"

#include "logstore/compare.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace vellum {

namespace {

/// The month of every day number, worked out once: charts look a month up per QSO.
const std::vector<MonthIndex> &monthOfDay()
{
    static const std::vector<MonthIndex> months = [] {
        std::vector<MonthIndex> table(65536);
        for (std::size_t day = 0; day < table.size(); ++day) {
            CalendarDate date = SplitDayNumber(static_cast<std::uint16_t>(day));
            table[day] = date.year * 12 + date.month - 1;
        }
        return table;
    }();
    return months;
}

} // namespace

MonthIndex MonthOf(std::uint16_t day) { return monthOfDay()[day]; }

std::string MonthText(MonthIndex month)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d", month / 12, month % 12 + 1);
    return text;
}

bool AwardOfName(std::string_view name, AwardIndex &award)
{
    for (int i = 0; i < AwardCount; ++i)
        if (CompareNoCase(name, AwardNames[static_cast<std::size_t>(i)]) == 0) {
            award = static_cast<AwardIndex>(i);
            return true;
        }
    return false;
}

namespace {

inline constexpr std::uint16_t Never = std::numeric_limits<std::uint16_t>::max();

/// The first day each entity was worked and confirmed, per level.
class FirstDates {
public:
    void Note(std::size_t entity, int level, TAwardStatus status, std::uint16_t day)
    {
        if (entity >= m_worked[0].size())
            for (int l = 0; l < 4; ++l) {
                m_worked[static_cast<std::size_t>(l)].resize(entity + 1, Never);
                m_confirmed[static_cast<std::size_t>(l)].resize(entity + 1, Never);
            }
        std::uint16_t &worked = m_worked[static_cast<std::size_t>(level)][entity];
        worked = std::min(worked, day);
        if (status >= asConfirmed) {
            std::uint16_t &confirmed = m_confirmed[static_cast<std::size_t>(level)][entity];
            confirmed = std::min(confirmed, day);
        }
    }
    const std::vector<std::uint16_t> &Worked(int level) const { return m_worked[static_cast<std::size_t>(level)]; }
    const std::vector<std::uint16_t> &Confirmed(int level) const { return m_confirmed[static_cast<std::size_t>(level)]; }

private:
    std::array<std::vector<std::uint16_t>, 4> m_worked;
    std::array<std::vector<std::uint16_t>, 4> m_confirmed;
};

/// The entity number of a QSO for the award, or -1 for none the reports list.
class EntityNumbers {
public:
    explicit EntityNumbers(AwardIndex award) : m_award(award) {}
    std::int64_t Of(const TQsoRec &qso)
    {
        switch (m_award) {
        case AwardDXCC: return qso.Country >= 1 ? qso.Country : -1;
        case AwardWAZ: return qso.Zone >= 1 && qso.Zone < ZoneBlockCount ? qso.Zone : -1;
        case AwardWAS: return qso.State >= 1 && qso.State < StateBlockCount ? qso.State : -1;
        default: {
            auto [it, added] = m_prefixes.try_emplace(qso.WpxPfx.view(), static_cast<std::int64_t>(m_prefixes.size()));
            return it->second;
        }
        }
    }

private:
    AwardIndex m_award;
    std::unordered_map<std::string_view, std::int64_t> m_prefixes; ///< views into the log's records
};

/// Adds one to every month from the first day's month on.
void accumulate(std::vector<std::int32_t> &series, const std::vector<std::uint16_t> &firstDays, MonthIndex firstMonth)
{
    for (std::uint16_t day : firstDays)
        if (day != Never)
            ++series[static_cast<std::size_t>(MonthOf(day) - firstMonth)];
    for (std::size_t i = 1; i < series.size(); ++i)
        series[i] += series[i - 1];
}

} // namespace

AwardChart ComputeAwardChart(const TAwardModel &model, const TQsoData &log, AwardIndex award)
{
    AwardChart chart;
    chart.award = award;
    const TConfigRecord &config = model.Config();
    const TAwardSetup &setup = model.Setup(award);
    for (int group = 0; group < 4; ++group)
        chart.levelCounted[static_cast<std::size_t>(group)] = CountsModeGroup(config, setup, group);
    TQsoStatusRule rule(log.CurSelection, config, model.Today());
    AwardStartDates start = DefaultStartDates();
    FirstDates first;
    EntityNumbers numbers(award);
    std::uint16_t firstDay = Never, lastDay = 0;
    for (const TQsoRec *qso : log) {
        TAwardStatus status = rule.Status(*qso);
        int group = ModeGroupOf(qso->Mode);
        if (status == asNotWorked || qso->Date < start[static_cast<std::size_t>(group)] || !model.CountsQso(*qso, award))
            continue;
        std::int64_t entity = numbers.Of(*qso);
        if (entity < 0)
            continue;
        first.Note(static_cast<std::size_t>(entity), 0, status, qso->Date);
        first.Note(static_cast<std::size_t>(entity), group, status, qso->Date);
        firstDay = std::min(firstDay, qso->Date);
        lastDay = std::max(lastDay, qso->Date);
    }
    if (firstDay == Never)
        return chart;
    chart.firstMonth = MonthOf(firstDay);
    chart.months = MonthOf(lastDay) - chart.firstMonth + 1;
    for (int level = 0; level < 4; ++level) {
        StandingSeries &series = chart.levels[static_cast<std::size_t>(level)];
        series.worked.assign(static_cast<std::size_t>(chart.months), 0);
        series.confirmed.assign(static_cast<std::size_t>(chart.months), 0);
        accumulate(series.worked, first.Worked(level), chart.firstMonth);
        accumulate(series.confirmed, first.Confirmed(level), chart.firstMonth);
    }
    return chart;
}

BandYearGrid ComputeBandYearGrid(const TQsoData &log)
{
    BandYearGrid grid;
    int firstYear = std::numeric_limits<int>::max(), lastYear = 0;
    for (const TQsoRec *qso : log)
        if (qso->Date != 0 && InSelection(log, *qso)) {
            int year = MonthOf(qso->Date) / 12;
            firstYear = std::min(firstYear, year);
            lastYear = std::max(lastYear, year);
        }
    if (lastYear == 0)
        return grid;
    grid.firstYear = firstYear;
    grid.years.assign(static_cast<std::size_t>(lastYear - firstYear + 1), {});
    for (const TQsoRec *qso : log) {
        if (qso->Date == 0 || !InSelection(log, *qso))
            continue;
        int band = IsBand(qso->Band) ? qso->Band : 0;
        ++grid.years[static_cast<std::size_t>(MonthOf(qso->Date) / 12 - firstYear)][static_cast<std::size_t>(band)];
        grid.bandUsed[static_cast<std::size_t>(band)] = true;
    }
    return grid;
}

} // namespace vellum
