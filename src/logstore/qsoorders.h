#pragma once
// The orders of QSO records: the master (date) order, the call order and the
// browse orders of the QSO window and the logbook.

#include "qsorec.h"

#include <array>
#include <string>
#include <string_view>

namespace vellum {

using QsoCompareFn = int (*)(const TQsoRec *, const TQsoRec *);

int CompareDateOrder(const TQsoRec *a, const TQsoRec *b);     ///< Date, Time, Call, Band, Mode
int CompareCallOrder(const TQsoRec *a, const TQsoRec *b);     ///< Call, Date, Time, Band, Mode
int CompareBandOrder(const TQsoRec *a, const TQsoRec *b);     ///< Band, Country, Call order
int CompareCountyOrder(const TQsoRec *a, const TQsoRec *b);   ///< State, County
int CompareCustAwdOrder(const TQsoRec *a, const TQsoRec *b);  ///< long award name, long value, Call order
int CompareGridOrder(const TQsoRec *a, const TQsoRec *b);     ///< Grid, Band order
int CompareGroupOrder(const TQsoRec *a, const TQsoRec *b);    ///< Group, Date order
int CompareIotaOrder(const TQsoRec *a, const TQsoRec *b);     ///< Iota, Band order
int ComparePrefixOrder(const TQsoRec *a, const TQsoRec *b);   ///< Country, Band, Call, Date, Time, Mode
int CompareSequenceOrder(const TQsoRec *a, const TQsoRec *b); ///< PrtSeqNr
int CompareStateOrder(const TQsoRec *a, const TQsoRec *b);    ///< State, Band order
int CompareWpxOrder(const TQsoRec *a, const TQsoRec *b);      ///< WpxPfx, Call order
int CompareZoneOrder(const TQsoRec *a, const TQsoRec *b);     ///< Zone, Band order

/// Sorts records into the Call order / the Date order: the same result as sorting
/// by CompareCallOrder / CompareDateOrder, several times faster on large logs
/// because most comparisons are made on packed keys instead of the records.
void SortByCallOrder(TQsoRec **items, std::int32_t count);
void SortByDateOrder(TQsoRec **items, std::int32_t count);

/// Browse orders (the log's SortKey).
enum class SortKey : int {
    Band = 0, Call = 1, County = 2, CustAwd = 3, Date = 4, Grid = 5, Group = 6,
    Iota = 7, Prefix = 8, SeqPrtNr = 9, State = 10, Wpx = 11, Zone = 12,
};
inline constexpr int SortKeyCount = 13;

struct SortOrderInfo {
    const char *menuCaption;
    const char *name;
    QsoCompareFn compare; ///< null for Call and Date, served by ByCall and the master list
};
extern const std::array<SortOrderInfo, SortKeyCount> SortOrderTable;

/// Compares the primary key of a browse order ("Next Sorted"); 0 for Cust Awd.
int ComparePrimaryKey(SortKey key, const TQsoRec *a, const TQsoRec *b);

/// The long names of custom awards, looked up by the Cust Awd order.
class CustomAwardNames {
public:
    virtual ~CustomAwardNames() = default;
    virtual std::string LongAwdName(std::string_view award) const = 0;
    virtual std::string LongAwdVal(std::string_view award, std::string_view value) const = 0;
};
/// Sets the program-wide custom award list used by the Cust Awd order (null: empty names).
void SetCustomAwardNames(const CustomAwardNames *names);

} // namespace vellum
