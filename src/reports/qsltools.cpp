#include "qsltools.h"

#include "country/managers.h"
#include "logstore/qsotables.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <unordered_map>

namespace vellum {

namespace {

inline constexpr std::uint8_t MethodBuro = 1, MethodService = 2, MethodDirect = 3, MethodMoney = 4,
                              MethodIgnore = 6;

/// The QSL flags and methods of every QSO (by master position), changed here first.
class QslWorkingCopy {
public:
    explicit QslWorkingCopy(TQsoData &log) : m_log(log)
    {
        for (const TQsoRec *qso : log) {
            m_flags.push_back(qso->QslFlags);
            m_methods.push_back(qso->QslMethod);
        }
    }
    bool Labelled(std::int32_t position) const { return m_flags[Index(position)] & QslFlag::Label; }
    std::uint8_t Method(std::int32_t position) const { return m_methods[Index(position)]; }
    void Set(std::int32_t position, bool label, std::uint8_t method)
    {
        std::uint8_t &flags = m_flags[Index(position)];
        flags = static_cast<std::uint8_t>(label ? flags | QslFlag::Label : flags & ~QslFlag::Label);
        m_methods[Index(position)] = method;
    }
    /// Sets the changes in the log; returns the QSOs changed.
    std::int64_t Apply()
    {
        if (m_log.Count() != static_cast<std::int32_t>(m_flags.size()))
            return 0;
        std::size_t index = 0;
        return m_log.ChangeQsos([this, &index](TQsoRec &qso) {
            std::size_t at = index++;
            if (qso.QslFlags == m_flags[at] && qso.QslMethod == m_methods[at])
                return false;
            qso.QslFlags = m_flags[at];
            qso.QslMethod = m_methods[at];
            return true;
        });
    }

private:
    static std::size_t Index(std::int32_t position) { return static_cast<std::size_t>(position); }
    TQsoData &m_log;
    std::vector<std::uint8_t> m_flags;
    std::vector<std::uint8_t> m_methods;
};

bool qslSentWithin(const TQsoRec &qso, int days, std::uint16_t today)
{
    return qso.QslDate != 0 && static_cast<int>(qso.QslDate) > static_cast<int>(today) - days;
}

bool rowApplies(const MarkQslRow &row, const TQsoRec &qso, std::uint16_t today)
{
    return row.method != 0 && !qslSentWithin(qso, row.weeks * 7, today);
}

AwardIndex bigAward(MarkQslAward award) { return static_cast<AwardIndex>(static_cast<int>(award)); }

/// DXCC, WAZ, WAS, WPX: the first row whose level still needs the entity marks the QSO.
void markForBigAward(TAwardModel &model, TQsoData &log, const MarkQslOptions &options, QslWorkingCopy &copy)
{
    AwardIndex award = bigAward(options.award);
    model.EnsureAwardTables(log);
    const TConfigRecord &config = model.Config();
    const TAwardSetup &setup = model.Setup(award);
    for (std::int32_t position = log.Count() - 1; position >= 0; --position) {
        const TQsoRec &qso = *log.Get(position);
        if (!InSelection(log, qso) || qso.Date < options.onlyAfter || (qso.QslFlags & (QslFlag::Cnfm | QslFlag::Label)) ||
            qso.QslMethod == MethodIgnore || qso.Country == 0 || qso.RstRcvd == 0 ||
            (award == AwardDXCC && !(qso.QslFlags & QslFlag::ValidDX)))
            continue;
        std::optional<TAwardStatusBlock> block = model.EntityBlock(log, qso, award);
        if (!block)
            continue;
        int group = ModeGroupOf(qso.Mode);
        const MarkQslRow *row = nullptr;
        if (rowApplies(options.mixed, qso, options.today) && MixedStatus(*block) < asConfirmed &&
            CountsBand(config, setup, qso.Band) && CountsMode(config, setup, qso.Mode))
            row = &options.mixed;
        else if (rowApplies(options.band, qso, options.today) && BandStatus(*block, qso.Band) < asConfirmed &&
                 IsBandAward(config, setup, qso.Band))
            row = &options.band;
        else if (rowApplies(options.mode, qso, options.today) && ModeGroupStatus(*block, group) < asConfirmed &&
                 CountsMode(config, setup, qso.Mode))
            row = &options.mode;
        if (row)
            copy.Set(position, true, static_cast<std::uint8_t>(row->method));
    }
}

/// County and IOTA: per item not yet in hand, one QSO per band from its last QSO back.
void markForItems(TQsoData &log, const MarkQslOptions &options, QslWorkingCopy &copy)
{
    bool county = options.award == MarkQslAward::County;
    std::map<std::tuple<int, int, std::string>, std::vector<std::int32_t>> items;
    for (std::int32_t position = 0; position < log.Count(); ++position) {
        const TQsoRec &qso = *log.Get(position);
        if (!InSelection(log, qso))
            continue;
        if (county ? (qso.State == 0 || qso.County == 0) : qso.Iota.empty())
            continue;
        items[county ? std::tuple(int(qso.State), int(qso.County), std::string()) : std::tuple(0, 0, qso.Iota.str())]
            .push_back(position);
    }
    int weeks = options.mixed.weeks * 7;
    for (auto &[key, positions] : items) {
        bool skip = std::any_of(positions.begin(), positions.end(), [&](std::int32_t position) {
            const TQsoRec &qso = *log.Get(position);
            return qso.Date < options.onlyAfter || (qso.QslFlags & (QslFlag::Cnfm | QslFlag::Label)) ||
                   qslSentWithin(qso, weeks, options.today) || qso.QslMethod == MethodIgnore || qso.Country == 0;
        });
        if (skip || options.mixed.method == 0)
            continue;
        std::set<int> bands;
        for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
            const TQsoRec &qso = *log.Get(*it);
            if (qslSentWithin(qso, weeks, options.today) || !bands.insert(qso.Band).second)
                continue;
            copy.Set(*it, true, static_cast<std::uint8_t>(options.mixed.method));
        }
    }
}

/// The DX choices: per call, one QSO per band (or band and mode group) not yet covered.
void markForDx(const TConfigRecord &config, TQsoData &log, const MarkQslOptions &options, QslWorkingCopy &copy)
{
    bool allBandMode = options.award == MarkQslAward::DxAllBandMode;
    std::array<bool, 4> groupsUsed{};
    for (int mode = 1; mode < ModeCount; ++mode)
        if (config.StationModes[static_cast<std::size_t>(mode)])
            groupsUsed[static_cast<std::size_t>(ModeGroupOf(mode))] = true;
    const TBAI<TQsoRec> &byCall = log.ByCall();
    for (std::int32_t start = 0; start < byCall.Count();) {
        std::string_view call = byCall.Get(start)->Call.view();
        std::int32_t end = start;
        while (end < byCall.Count() && byCall.Get(end)->Call.view() == call)
            ++end;
        std::set<int> covered; // band * 4 + group (all band/mode) or band * 4 (single band)
        auto coverKey = [allBandMode](const TQsoRec &qso) { return qso.Band * 4 + (allBandMode ? ModeGroupOf(qso.Mode) : 0); };
        for (std::int32_t i = start; i < end; ++i) {
            const TQsoRec &qso = *byCall.Get(i);
            if (InSelection(log, qso) && ((qso.QslFlags & (QslFlag::Cnfm | QslFlag::Label)) || qso.QslDate != 0))
                covered.insert(coverKey(qso));
        }
        for (std::int32_t i = end - 1; i >= start; --i) {
            const TQsoRec &qso = *byCall.Get(i);
            int group = ModeGroupOf(qso.Mode);
            if (!InSelection(log, qso) || qso.Date < options.onlyAfter ||
                (qso.QslFlags & (QslFlag::Cnfm | QslFlag::Label)) || qso.QslDate != 0 ||
                qso.QslMethod == MethodIgnore || qso.Country == 0 || qso.Country == options.homeCountry ||
                !IsRealBand(qso.Band) || !config.StationBands[qso.Band] || !groupsUsed[static_cast<std::size_t>(group)] ||
                !covered.insert(coverKey(qso)).second)
                continue;
            copy.Set(log.PositionOf(&qso), true, static_cast<std::uint8_t>(options.mixed.method));
        }
        start = end;
    }
}

} // namespace

std::int64_t MarkQsosForQsl(TAwardModel &model, TQsoData &log, const MarkQslOptions &options)
{
    QslWorkingCopy copy(log);
    switch (options.award) {
    case MarkQslAward::County:
    case MarkQslAward::Iota: markForItems(log, options, copy); break;
    case MarkQslAward::DxSingleBand:
    case MarkQslAward::DxAllBandMode:
        if (options.mixed.method != 0)
            markForDx(model.Config(), log, options, copy);
        break;
    default: markForBigAward(model, log, options, copy); break;
    }
    return copy.Apply();
}

std::optional<RoutingCell> RoutingCellOf(const CountryResolver &resolver, const TQsoData &log, const TQsoRec &qso)
{
    if (!(qso.QslFlags & QslFlag::Label) || qso.QslMethod < MethodBuro || qso.QslMethod > MethodMoney ||
        !InSelection(log, qso))
        return std::nullopt;
    return RoutingCell{QslRouteClass(resolver, qso, true), qso.QslMethod};
}

RoutingCounts CountLabelledByRoute(const CountryResolver &resolver, const TQsoData &log)
{
    RoutingCounts counts{};
    for (const TQsoRec *qso : log)
        if (std::optional<RoutingCell> cell = RoutingCellOf(resolver, log, *qso))
            ++counts[static_cast<std::size_t>(cell->route)][static_cast<std::size_t>(cell->method - 1)];
    return counts;
}

namespace {

/// Changes the method of labelled QSOs of one method and route class.
std::int64_t changeMethod(const CountryResolver &resolver, TQsoData &log, std::uint8_t from, std::uint8_t to,
                          std::initializer_list<QslRoute> routes)
{
    return log.ChangeQsos([&](TQsoRec &qso) {
        if (!(qso.QslFlags & QslFlag::Label) || qso.QslMethod != from)
            return false;
        QslRoute route = QslRouteClass(resolver, qso, true);
        if (std::find(routes.begin(), routes.end(), route) == routes.end())
            return false;
        qso.QslMethod = to;
        return true;
    });
}

/// Calls visit for the QSOs of exactly this call, newest first, until it returns false.
template <typename Visit>
void forEachQsoOfCall(const TQsoData &log, std::string_view call, Visit visit)
{
    const TBAI<TQsoRec> &byCall = log.ByCall();
    for (std::int32_t i = log.EndOfCall(call) - 1; i >= 0 && byCall.Get(i)->Call == call; --i)
        if (!visit(*byCall.Get(i)))
            return;
}

} // namespace

std::int64_t BuroToDirectWithoutBuro(const CountryResolver &resolver, TQsoData &log)
{
    return changeMethod(resolver, log, MethodBuro, MethodDirect, {QslRoute::NoBuro});
}

std::int64_t DirectToServiceForNonUsaManagers(const CountryResolver &resolver, TQsoData &log)
{
    return changeMethod(resolver, log, MethodDirect, MethodService, {QslRoute::NoManager, QslRoute::OtherManager});
}

std::int64_t PassOnQslMethods(const CountryResolver &resolver, TQsoData &log, std::uint16_t mailedCutoff,
                              std::uint16_t today)
{
    QslWorkingCopy copy(log);
    const TCountryData &countries = resolver.Data();
    // Calls whose band and mode are confirmed or labelled, kept up to date as labels are given.
    std::set<std::tuple<std::string, int, int>> held;
    for (std::int32_t position = 0; position < log.Count(); ++position) {
        const TQsoRec &qso = *log.Get(position);
        if ((qso.QslFlags & QslFlag::Cnfm) || (qso.QslFlags & QslFlag::Label))
            held.insert({qso.Call.str(), qso.Band, qso.Mode});
    }
    std::unordered_map<std::string, std::vector<std::int32_t>> byManager;
    for (std::int32_t position = 0; position < log.Count(); ++position)
        if (std::string manager = ManagerOf(countries, *log.Get(position)); !manager.empty())
            byManager[manager].push_back(position);
    auto give = [&](std::int32_t position, std::uint8_t method) {
        const TQsoRec &qso = *log.Get(position);
        copy.Set(position, true, method);
        held.insert({qso.Call.str(), qso.Band, qso.Mode});
    };
    for (std::uint8_t method : {MethodMoney, MethodDirect, MethodService}) {
        for (std::int32_t position = 0; position < log.Count(); ++position) {
            if (!copy.Labelled(position) || copy.Method(position) != method)
                continue;
            const TQsoRec &source = *log.Get(position);
            forEachQsoOfCall(log, source.Call.view(), [&](const TQsoRec &other) {
                std::int32_t at = log.PositionOf(&other);
                if (at == position || qslSentWithin(other, mailedCutoff, today))
                    return true;
                bool lower = copy.Labelled(at) && copy.Method(at) < method;
                bool unheld = !copy.Labelled(at) && !held.count({other.Call.str(), other.Band, other.Mode});
                if (lower || unheld)
                    give(at, method);
                return true;
            });
            std::string manager = ManagerOf(countries, source);
            if (manager.empty())
                continue;
            for (std::int32_t at : byManager[manager]) {
                const TQsoRec &other = *log.Get(at);
                if (!copy.Labelled(at) && !held.count({other.Call.str(), other.Band, other.Mode}))
                    give(at, method);
            }
        }
    }
    return copy.Apply();
}

std::int64_t RemoveDuplicateQsls(TQsoData &log)
{
    QslWorkingCopy copy(log);
    const TBAI<TQsoRec> &byCall = log.ByCall();
    for (std::int32_t i = 0; i < byCall.Count(); ++i) {
        const TQsoRec &qso = *byCall.Get(i);
        std::int32_t position = log.PositionOf(&qso);
        if (!copy.Labelled(position))
            continue;
        // Another QSO of the call in the selection on the band and mode, as it now stands.
        forEachQsoOfCall(log, qso.Call.view(), [&](const TQsoRec &other) {
            std::int32_t at = log.PositionOf(&other);
            if (at == position || other.Band != qso.Band || other.Mode != qso.Mode || !InSelection(log, other))
                return true;
            if ((other.QslFlags & QslFlag::Cnfm) || copy.Labelled(at) || other.QslDate != 0) {
                copy.Set(position, false, copy.Method(position));
                return false;
            }
            return true;
        });
    }
    return copy.Apply();
}

} // namespace vellum
