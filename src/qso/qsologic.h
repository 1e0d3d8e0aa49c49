#pragma once
// The rules of the QSO window that need no window: what a call tells about a
// station, the blank QSO, exception learning, the contest duplicate check,
// navigation over the QSOs a selection admits, and direction and distance.

#include "geo/bearing.h"
#include "logstore/qsorec.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vellum {

class TQsoData;
class TCountryData;
class CountryResolver;
struct TConfigRecord;
template <typename T>
class TBAI;

/// Lookups of data that other parts keep (QSL managers, IOTA references).
class QsoLookups {
public:
    virtual ~QsoLookups() = default;
    virtual std::string ManagerOf(std::string_view call, std::uint16_t date) const { (void)call, (void)date; return {}; }
    virtual void SetManager(std::string_view call, std::uint16_t date, std::string_view manager) { (void)call, (void)date, (void)manager; }
    virtual bool IotaExists(std::string_view reference) const { (void)reference; return true; }
    /// Position of an IOTA reference; nothing when unknown or 0,0.
    virtual std::optional<std::pair<double, double>> IotaPosition(std::string_view reference) const { (void)reference; return std::nullopt; }
};

/// What processing a call gives the form.
struct CallInfo {
    std::int16_t country = 0;
    std::string prefix;       ///< the country's Prefix
    std::string countryName;
    std::uint8_t zone = 0;
    std::string state;        ///< abbreviation
    std::string iota;
    std::string grid;
    std::string county;       ///< county name
    bool ylOperator = false;
    bool validDx = true;
    std::string manager;
    std::string callNote;
};

class QsoLogic {
public:
    QsoLogic(TQsoData &log, TCountryData &countries, const CountryResolver &resolver, const TConfigRecord &config,
             QsoLookups &lookups)
        : m_log(log), m_countries(countries), m_resolver(resolver), m_config(config), m_lookups(lookups)
    {
    }

    /// A blank QSO from the defaults; with previous, its date, time, mode, band,
    /// QRP flag, satellite and group carry over.
    TQsoRec BlankQso(const TQsoRec *previous) const;

    /// Everything the form fills in from a call on a date.
    CallInfo ProcessCall(std::string_view call, std::uint16_t date) const;
    /// What the call resolves to on a date with state 0: the country fields, the
    /// resolved zone, the QSL manager and ValidDX, without the call's earlier QSOs.
    CallInfo ResolveCall(std::string_view call, std::uint16_t date) const;
    /// Country prefix, name, allowed state and default IOTA of a country index.
    void ShowCountry(std::int16_t country, CallInfo &info) const;

    /// When rec's Country or Zone differ from what the call resolves to, stores an
    /// exception call and gives every later QSO of the call the same country and
    /// zone. Returns the number of QSOs changed.
    int LearnException(const TQsoRec &rec);

    /// Whether the call was worked on this band and mode since the contest start
    /// (QSOs the selection does not admit are skipped).
    bool IsContestDupe(std::string_view call, std::uint8_t band, std::uint8_t mode, std::uint16_t startDate,
                       std::int32_t startTime, const std::function<bool(const TQsoRec &)> &admits) const;

    /// The first point found (grid, IOTA, state, country) with its label; nothing when none is known.
    std::optional<std::pair<std::string, GeoPoint>> LocatePoint(std::string_view grid, std::string_view iota,
                                                                std::string_view state, std::int16_t country) const;
    /// The first point found (grid, IOTA, state, country) with its label, and the
    /// bearing and distance to it from home; nothing when none is known.
    std::optional<std::pair<std::string, BearingDistance>> Locate(std::string_view grid, std::string_view iota,
                                                                  std::string_view state, std::int16_t country) const;
    /// "JO62: 296° 6,385Km" from the first point found: grid, IOTA, state, country.
    std::string DirectionText(std::string_view grid, std::string_view iota, std::string_view state,
                              std::int16_t country) const;

private:
    TQsoData &m_log;
    TCountryData &m_countries;
    const CountryResolver &m_resolver;
    const TConfigRecord &m_config;
    QsoLookups &m_lookups;
};

/// Moves over a browse index, skipping QSOs that are not shown.
class QsoNavigator {
public:
    using Admits = std::function<bool(const TQsoRec &)>;
    QsoNavigator(const TBAI<TQsoRec> &index, Admits admits) : m_index(index), m_admits(std::move(admits)) {}

    /// The next shown position from `from` moving by step (+1/-1); nothing past either end.
    std::optional<std::int32_t> Step(std::int32_t from, int step) const;
    std::optional<std::int32_t> First() const { return Step(-1, 1); }
    std::optional<std::int32_t> Last() const;
    /// The next shown QSO whose primary key (compare) differs from the one at from.
    std::optional<std::int32_t> StepSorted(std::int32_t from, int step,
                                           const std::function<int(const TQsoRec *, const TQsoRec *)> &compare) const;

private:
    const TBAI<TQsoRec> &m_index;
    Admits m_admits;
};

} // namespace vellum
