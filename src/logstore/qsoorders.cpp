#include "qsoorders.h"

#include "compare.h"

#include <algorithm>
#include <vector>

namespace vellum {

namespace {
const CustomAwardNames *g_customAwardNames = nullptr;

// Each helper compares one component and returns early on a difference.
#define VELLUM_CMP(expr)        \
    do {                        \
        if (int c_ = (expr))    \
            return c_;          \
    } while (0)

int cmpCall(const TQsoRec *a, const TQsoRec *b) { return CompareExact(a->Call.view(), b->Call.view()); }
int cmpDateTime(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(CompareNumbers(a->Date, b->Date));
    return CompareNumbers(a->Time, b->Time);
}
int cmpBandMode(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(CompareNumbers(a->Band, b->Band));
    return CompareNumbers(a->Mode, b->Mode);
}
int cmpCountry(const TQsoRec *a, const TQsoRec *b)
{
    return CompareNumbers(static_cast<std::uint16_t>(a->Country), static_cast<std::uint16_t>(b->Country));
}
} // namespace

void SetCustomAwardNames(const CustomAwardNames *names) { g_customAwardNames = names; }

int CompareDateOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(cmpDateTime(a, b));
    VELLUM_CMP(cmpCall(a, b));
    return cmpBandMode(a, b);
}

int CompareCallOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(cmpCall(a, b));
    VELLUM_CMP(cmpDateTime(a, b));
    return cmpBandMode(a, b);
}

int CompareBandOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(CompareNumbers(a->Band, b->Band));
    VELLUM_CMP(cmpCountry(a, b));
    return CompareCallOrder(a, b);
}

int CompareCountyOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(CompareNumbers(a->State, b->State));
    return CompareNumbers(a->County, b->County);
}

int CompareCustAwdOrder(const TQsoRec *a, const TQsoRec *b)
{
    if (g_customAwardNames) {
        VELLUM_CMP(CompareExact(g_customAwardNames->LongAwdName(a->CustAwd.view()),
                                g_customAwardNames->LongAwdName(b->CustAwd.view())));
        VELLUM_CMP(CompareExact(g_customAwardNames->LongAwdVal(a->CustAwd.view(), a->CustValue.view()),
                                g_customAwardNames->LongAwdVal(b->CustAwd.view(), b->CustValue.view())));
    }
    return CompareCallOrder(a, b);
}

int CompareGridOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(CompareExact(a->Grid.view(), b->Grid.view()));
    return CompareBandOrder(a, b);
}

int CompareGroupOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(CompareNumbers(a->Group, b->Group));
    return CompareDateOrder(a, b);
}

int CompareIotaOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(CompareExact(a->Iota.view(), b->Iota.view()));
    return CompareBandOrder(a, b);
}

int ComparePrefixOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(cmpCountry(a, b));
    VELLUM_CMP(CompareNumbers(a->Band, b->Band));
    VELLUM_CMP(cmpCall(a, b));
    VELLUM_CMP(cmpDateTime(a, b));
    return CompareNumbers(a->Mode, b->Mode);
}

int CompareSequenceOrder(const TQsoRec *a, const TQsoRec *b) { return CompareNumbers(a->PrtSeqNr, b->PrtSeqNr); }

int CompareStateOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(CompareNumbers(a->State, b->State));
    return CompareBandOrder(a, b);
}

int CompareWpxOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(CompareExact(a->WpxPfx.view(), b->WpxPfx.view()));
    return CompareCallOrder(a, b);
}

int CompareZoneOrder(const TQsoRec *a, const TQsoRec *b)
{
    VELLUM_CMP(CompareNumbers(a->Zone, b->Zone));
    return CompareBandOrder(a, b);
}

const std::array<SortOrderInfo, SortKeyCount> SortOrderTable = {{
    {"Band", "Band", CompareBandOrder},
    {"Call", "Callsign", nullptr},
    {"County", "County", CompareCountyOrder},
    {"Cust Awd", "Cust Awd", CompareCustAwdOrder},
    {"Date", "Date", nullptr},
    {"Grid", "Grid", CompareGridOrder},
    {"Group", "Group", CompareGroupOrder},
    {"IOTA", "IOTA", CompareIotaOrder},
    {"Prefix", "Prefix", ComparePrefixOrder},
    {"SeqPrtNr", "PrtSeqNr", CompareSequenceOrder},
    {"State", "State", CompareStateOrder},
    {"WPX", "WPX", CompareWpxOrder},
    {"Zone", "Zone", CompareZoneOrder},
}};

int ComparePrimaryKey(SortKey key, const TQsoRec *a, const TQsoRec *b)
{
    switch (key) {
    case SortKey::Band: return CompareNumbers(a->Band, b->Band);
    case SortKey::Call: return cmpCall(a, b);
    case SortKey::County: return CompareNumbers(a->County, b->County);
    case SortKey::CustAwd: return 0;
    case SortKey::Date: return CompareNumbers(a->Date, b->Date);
    case SortKey::Grid: return CompareExact(a->Grid.view(), b->Grid.view());
    case SortKey::Group: return CompareNumbers(a->Group, b->Group);
    case SortKey::Iota: return CompareExact(a->Iota.view(), b->Iota.view());
    case SortKey::Prefix: return cmpCountry(a, b);
    case SortKey::SeqPrtNr: return CompareNumbers(a->PrtSeqNr, b->PrtSeqNr);
    case SortKey::State: return CompareNumbers(a->State, b->State);
    case SortKey::Wpx: return CompareExact(a->WpxPfx.view(), b->WpxPfx.view());
    case SortKey::Zone: return CompareNumbers(a->Zone, b->Zone);
    }
    return 0;
}

namespace {
/// A record with the leading components of its order packed into integers.
struct PackedKey {
    std::uint64_t first;  ///< Call order: first 8 call bytes; Date order: date and time
    std::uint64_t second; ///< Call order: date and time; Date order: first 8 call bytes
    TQsoRec *rec;
};

std::uint64_t callPrefix(const TQsoRec &r)
{
    std::uint64_t key = 0;
    std::string_view call = r.Call.view();
    for (std::size_t i = 0; i < 8; ++i)
        key = (key << 8) | (i < call.size() ? static_cast<unsigned char>(call[i]) : 0u);
    return key;
}

std::uint64_t dateTime(const TQsoRec &r)
{
    // Time is compared signed: flipping the sign bit makes it an unsigned order.
    return (static_cast<std::uint64_t>(r.Date) << 32) | (static_cast<std::uint32_t>(r.Time) ^ 0x80000000u);
}

/// Whether two calls whose first 8 bytes are equal may still differ.
bool callsMayDiffer(const TQsoRec &a, const TQsoRec &b)
{
    return a.Call.size() > 8 || b.Call.size() > 8 || a.Call.size() != b.Call.size();
}

template <typename Less>
void sortPacked(TQsoRec **items, std::int32_t count, bool callFirst, Less less)
{
    std::vector<PackedKey> keys(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        TQsoRec &r = *items[i];
        keys[static_cast<std::size_t>(i)] = callFirst ? PackedKey{callPrefix(r), dateTime(r), &r}
                                                      : PackedKey{dateTime(r), callPrefix(r), &r};
    }
    std::sort(keys.begin(), keys.end(), less);
    for (std::int32_t i = 0; i < count; ++i)
        items[i] = keys[static_cast<std::size_t>(i)].rec;
}
} // namespace

void SortByCallOrder(TQsoRec **items, std::int32_t count)
{
    sortPacked(items, count, true, [](const PackedKey &a, const PackedKey &b) {
        if (a.first != b.first)
            return a.first < b.first;
        if (callsMayDiffer(*a.rec, *b.rec))
            if (int c = cmpCall(a.rec, b.rec))
                return c < 0;
        if (a.second != b.second)
            return a.second < b.second;
        return cmpBandMode(a.rec, b.rec) < 0;
    });
}

void SortByDateOrder(TQsoRec **items, std::int32_t count)
{
    sortPacked(items, count, false, [](const PackedKey &a, const PackedKey &b) {
        if (a.first != b.first)
            return a.first < b.first;
        if (a.second != b.second)
            return a.second < b.second;
        if (callsMayDiffer(*a.rec, *b.rec))
            if (int c = cmpCall(a.rec, b.rec))
                return c < 0;
        return cmpBandMode(a.rec, b.rec) < 0;
    });
}

#undef VELLUM_CMP

} // namespace vellum
