#pragma once
// The QSL tools of the "Labels" menu: marking QSOs for QSL cards ("Mark QSOs
// for QSL") and reworking the routes of labelled QSOs ("Change QSL routing").
// Each works its changes out on a copy of the QSL fields and then sets them in
// one journaled change of the log.

#include "awards/awardmodel.h"
#include "country/managers.h"

#include <array>
#include <cstdint>
#include <optional>

namespace vellum {

enum class MarkQslAward { Dxcc, Waz, Was, Wpx, County, Iota, DxSingleBand, DxAllBandMode };

/// A row of the dialog: the QSL method (1..5; 0 = none) and the weeks a QSL
/// sent before must lie back.
struct MarkQslRow {
    int method = 0;
    int weeks = 0;
};

struct MarkQslOptions {
    MarkQslAward award = MarkQslAward::Dxcc;
    std::uint16_t onlyAfter = 0;  ///< "Only QSOs after": QSOs before it are not marked
    MarkQslRow mixed, band, mode;  ///< band and mode rows for the four big awards only
    std::uint16_t today = 0;
    std::int16_t homeCountry = 0; ///< the country of the station call today (DX choices)
};

/// Marks QSOs for QSL: each gets the label flag and its row's method. Returns
/// the QSOs marked; when above 0 the log is modified and the award tables are out of date.
std::int64_t MarkQsosForQsl(TAwardModel &model, TQsoData &log, const MarkQslOptions &options);

inline constexpr int RouteMethodCount = 4; ///< Buro, QSLSvc, Direct, $$$$
/// Labelled QSOs in the selection by route class (QslRoute) and method (1..4 at [0..3]).
using RoutingCounts = std::array<std::array<std::int64_t, RouteMethodCount>, 4>;
RoutingCounts CountLabelledByRoute(const CountryResolver &resolver, const TQsoData &log);

/// A count cell of "Change QSL routing": a route class and a QSL method (1..4).
struct RoutingCell {
    QslRoute route = QslRoute::NoBuro;
    int method = 1;
    bool operator==(const RoutingCell &) const = default;
};
/// The cell a QSO is counted in: labelled, in the selection, with a method 1..4; none otherwise.
std::optional<RoutingCell> RoutingCellOf(const CountryResolver &resolver, const TQsoData &log, const TQsoRec &qso);

/// "Mark QSOs going to same station or manager".
std::int64_t PassOnQslMethods(const CountryResolver &resolver, TQsoData &log, std::uint16_t mailedCutoff,
                              std::uint16_t today);
/// "Change Buro to Direct if no buro".
std::int64_t BuroToDirectWithoutBuro(const CountryResolver &resolver, TQsoData &log);
/// "Change Direct to Service for non-USA managers".
std::int64_t DirectToServiceForNonUsaManagers(const CountryResolver &resolver, TQsoData &log);
/// "Remove duplicate QSLs": a labelled QSO loses its label when another QSO of
/// its call in the selection on the same band and mode is confirmed, labelled
/// or has a QSL-sent date (of two labelled twins one keeps its label).
std::int64_t RemoveDuplicateQsls(TQsoData &log);

} // namespace vellum
