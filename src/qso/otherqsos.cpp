// QSO entry: "Check other QSOs" (Alt+O) - whether the county, custom award or
// award value of a field was worked already, and how well.

#include "qsoentry.h"

#include "app/programcontext.h"
#include "awards/awardstatus.h"
#include "awards/customaward.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "logstore/trim.h"

namespace vellum {

namespace {

/// What a QSO must hold to count: a county (state and name) or a custom award, with or without a value.
struct OtherQsosKey {
    std::string state, county, award, value;
    bool byValue = false;

    bool Matches(const TQsoRec &q, const TCountryData &countries) const
    {
        if (!state.empty())
            return q.State != 0 && countries.StateAbbreviation(q.State) == state && q.County != 0 &&
                   countries.CountyName(q.State, q.County) == county;
        return q.CustAwd.view() == award && (!byValue || q.CustValue.view() == value);
    }
};

const char *statusName(TAwardStatus status)
{
    static const char *const names[] = {"", "Worked", "QSL sent", "Confirmed"};
    return names[std::min<int>(status, 3)];
}

} // namespace

void QsoEntry::CheckOtherQsos(OtherQsosOf what)
{
    OtherQsosKey key;
    switch (what) {
    case OtherQsosOf::County:
        key.state = Trim(Text(QsoField::State));
        key.county = key.state.empty() ? std::string() : std::string(Trim(Text(QsoField::County)));
        break;
    case OtherQsosOf::CustomAward: key.award = chosenAward(); break;
    case OtherQsosOf::AwardValueList:
    case OtherQsosOf::AwardValueTyped:
        key.award = chosenAward();
        key.value = customValueKey();
        key.byValue = true;
        break;
    }
    bool county = what == OtherQsosOf::County;
    if ((county && (key.state.empty() || key.county.empty())) || (!county && key.award.empty()) ||
        (key.byValue && key.value.empty())) {
        notifier().warning("Not a valid search");
        return;
    }
    const TCountryData &countries = m_context.Countries();
    TQsoStatusRule rule(m_log.CurSelection, config(), TodayDayNumber());
    const TQsoRec *best = nullptr;
    TAwardStatus bestStatus = asNotWorked;
    for (const TQsoRec *q : m_log) {
        if (!key.Matches(*q, countries))
            continue;
        TAwardStatus status = rule.Status(*q);
        if (status > bestStatus) {
            best = q;
            bestStatus = status;
        }
    }
    if (!best) {
        notifier().information("No matching qso found");
        return;
    }
    notifier().information(best->Call.str() + "\r" + FormatDate(best->Date, m_log.settings().dateFormat(), false) + "\r" +
                           FormatTime(best->Time, false) + "\r" + BandLabel(best->Band, config().DefQSO_ShowBandMHz) +
                           "\r" + statusName(bestStatus));
}

} // namespace vellum
