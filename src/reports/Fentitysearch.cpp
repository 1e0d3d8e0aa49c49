#include "Fentitysearch.h"

#include "qso/qsoentry.h"

namespace vellum {

namespace {

constexpr int Yes = 0;                       ///< "Y" of the Y/N lists
constexpr int WheelSubmitted = 1, WheelChecked = 2; ///< "Subm" and "Chkd" of an award wheel

void fillEntity(QsoEntry &search, const EntityQsos &qsos)
{
    switch (qsos.award) {
    case AwardDXCC:
        search.Set(QsoField::Prefix, qsos.entity);
        search.Select(QsoList::ValidDx, Yes); // only QSOs valid for DXCC count
        break;
    case AwardWAZ: search.Set(QsoField::Zone, qsos.entity); break;
    case AwardWAS: search.Set(QsoField::State, qsos.entity); break;
    default: break; // WPX: the QSO window has no field for it (an extra condition)
    }
}

/// The award wheel of the award at the level: "DXCC mixed", "WAZ band", ...
std::optional<int> wheelOf(AwardIndex award, AwardLevel level)
{
    static constexpr const char *levels[] = {"mixed", "mode", "band"};
    std::string name = std::string(AwardNames[static_cast<std::size_t>(award)]) + " " +
                       levels[static_cast<std::size_t>(level)];
    for (int wheel = 0; wheel < AwardWheelCount; ++wheel)
        if (name == AwardWheelTable[wheel].award)
            return wheel;
    return std::nullopt;
}

/// QSL sent: any QSL date; confirmed: "Y"; submitted or checked: also the award's flag at the cell's level.
void fillStatus(QsoEntry &search, const EntityQsos &qsos, DateFormat dateFormat)
{
    if (qsos.status == asQslSent) {
        search.Set(QsoField::QslDate, FormatDate(*DayNumber(1901, 1, 2), dateFormat, false));
        return;
    }
    if (qsos.status < asConfirmed)
        return;
    search.Select(QsoList::Confirmed, Yes);
    if (qsos.status == asConfirmed)
        return;
    if (std::optional<int> wheel = wheelOf(qsos.award, qsos.level))
        search.Select(WheelList(*wheel), qsos.status == asSubmitted ? WheelSubmitted : WheelChecked);
}

} // namespace

bool SearchEntityQsos(QsoEntry &entry, const EntityQsos &qsos, DateFormat dateFormat)
{
    std::vector<SearchCondition> extra;
    if (qsos.award == AwardWPX)
        extra.push_back({-1, false, ConditionKind::WpxEqual, 0, qsos.entity});
    if (qsos.group != 0)
        extra.push_back({-1, false, ConditionKind::ModeGroupEqual, static_cast<std::uint32_t>(qsos.group), {}});
    return entry.SearchFor(
        [&](QsoEntry &search) {
            fillEntity(search, qsos);
            if (qsos.band != 0)
                search.Select(QsoList::Band, qsos.band - 1);
            fillStatus(search, qsos, dateFormat);
        },
        std::move(extra));
}

} // namespace vellum
