#include "managers.h"

#include "resolver.h"

#include "logstore/bytes.h"
#include "logstore/compare.h"
#include "logstore/daytime.h"
#include "logstore/qsorec.h"
#include "logstore/trim.h"

#include <charconv>
#include <cstdio>

namespace vellum {

namespace {

constexpr std::size_t ManagerCapacity = 12;

std::string callText(std::string_view text) { return UpperAscii(Trim(text).substr(0, ManagerField::CallCapacity)); }

/// Position of the record in force for (call, date), or -1. A lower-bound
/// search for (call, date); without an equal record the one just before is
/// taken, and of a run of records with equal call and date the first (the one
/// added last) counts, so that it stays in force on later dates too.
std::int32_t recordInForce(const TQSLMgrIndex &table, std::string_view call, std::uint16_t date)
{
    if (call.empty() || call.size() > ManagerField::CallCapacity)
        return -1;
    auto key = ManagerInfo{std::string(call), date, {}}.Encode();
    std::int32_t position = 0;
    if (!table.Search(key.data(), position)) {
        if (position == 0)
            return -1;
        --position;
        const std::uint8_t *last = table.Get(position);
        while (position > 0 && table.CompareKeys(table.Get(position - 1), last) == 0)
            --position;
    }
    const std::uint8_t *record = table.Get(position);
    if (KeyText(record, ManagerField::CallCapacity) != call || loadU16(record + ManagerField::Date) > date)
        return -1;
    return position;
}

} // namespace

std::array<std::uint8_t, ManagerField::Size> ManagerInfo::Encode() const
{
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.shortString(call, ManagerField::CallCapacity);
    w.u16(date);
    w.shortString(manager, ManagerCapacity);
    std::array<std::uint8_t, ManagerField::Size> record{};
    std::copy_n(out.begin(), record.size(), record.begin());
    return record;
}

ManagerInfo ManagerInfo::Decode(const std::uint8_t *record)
{
    return {std::string(KeyText(record, ManagerField::CallCapacity)), loadU16(record + ManagerField::Date),
            std::string(KeyText(record + ManagerField::Manager, ManagerCapacity))};
}

std::string ManagerOf(const TCountryData &data, std::string_view call, std::uint16_t date)
{
    std::int32_t position = recordInForce(data.Managers, call, date);
    if (position < 0)
        return {};
    return std::string(KeyText(data.Managers.Get(position) + ManagerField::Manager, ManagerCapacity));
}

std::string ManagerOf(const TCountryData &data, const TQsoRec &rec) { return ManagerOf(data, rec.Call.view(), rec.Date); }

void SetManager(TCountryData &data, const TQsoRec &rec, std::string_view manager)
{
    std::string_view call = rec.Call.view();
    if (call.empty())
        return;
    std::string wanted = UpperAscii(manager.substr(0, ManagerCapacity));
    std::int32_t position = recordInForce(data.Managers, call, rec.Date);
    bool alreadyInForce =
        position >= 0 && KeyText(data.Managers.Get(position) + ManagerField::Manager, ManagerCapacity) == wanted;
    if (!alreadyInForce) {
        auto record = ManagerInfo{std::string(call), rec.Date, wanted}.Encode();
        data.Managers.AddCopy(record.data());
    }
    data.MarkCountryDataModified();
}

std::string_view QslRouteName(QslRoute route)
{
    switch (route) {
    case QslRoute::NoBuro: return "No buro";
    case QslRoute::NoManager: return "No manager";
    case QslRoute::UsaManager: return "USA manager";
    case QslRoute::OtherManager: return "Other mgr";
    }
    return {};
}

QslRoute QslRouteClass(const CountryResolver &resolver, const TQsoRec &rec, bool useManager)
{
    const TCountryData &data = resolver.Data();
    std::int32_t country = resolver.CountryOfCall(BaseCall(rec.Call.view()), rec.Date);
    std::string manager = useManager ? ManagerOf(data, rec) : std::string();
    if (!manager.empty())
        country = resolver.CountryOfCall(manager, rec.Date);
    bool countryIsUsa = data.CountryPrefix(country) == "K";
    bool buroRoute = country != 0 && (data.CountryByte(country, CountryField::Buro) != FlagNo ||
                                      (!manager.empty() && countryIsUsa && data.CountryPrefix(rec.Country) != "K"));
    if (rec.QslMethod == 1 && !buroRoute)
        return QslRoute::NoBuro;
    if (manager.empty())
        return QslRoute::NoManager;
    return countryIsUsa ? QslRoute::UsaManager : QslRoute::OtherManager;
}

// --- the working copy ---------------------------------------------------------

int CompareManagerRows(const ManagerRow &a, const ManagerRow &b)
{
    int c = CompareExact(a.call, b.call);
    return c != 0 ? c : CompareNumbers(a.date, b.date);
}

void ManagerRows::Load(const TCountryData &data)
{
    Clear();
    for (const Record *record : data.Managers) {
        ManagerInfo info = ManagerInfo::Decode(record);
        Append({std::move(info.call), info.date, std::move(info.manager)});
    }
    SortStable(); // the table is in key order; this only guards against a damaged one
}

void ManagerRows::Apply(TCountryData &data) const
{
    data.Managers.FreeAll();
    data.Managers.SetCapacity(Count());
    for (const ManagerRow &row : Rows()) {
        // Appended, not inserted: rows of equal call and date keep their order.
        auto record = ManagerInfo{row.call, row.date, row.manager}.Encode();
        auto *copy = new Record[record.size()];
        std::copy(record.begin(), record.end(), copy);
        data.Managers.Add(copy);
    }
}

std::int32_t ManagerRows::FindKey(std::string_view text) const
{
    return LowerBound({std::string(text.substr(0, ManagerField::CallCapacity)), 0, {}});
}

std::string FormatManagerDate(std::uint16_t day)
{
    if (day == 0)
        return {};
    CalendarDate d = SplitDayNumber(day);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", d.day, d.month, d.year);
    return text;
}

std::optional<std::uint16_t> ParseManagerDate(std::string_view field)
{
    if (field.size() < 10)
        return std::nullopt;
    auto number = [field](std::size_t at, std::size_t length) {
        int value = -1;
        const char *first = field.data() + at, *last = first + length;
        auto [end, error] = std::from_chars(first, last, value);
        return error == std::errc() && end == last ? value : -1;
    };
    int day = number(0, 2), month = number(3, 2), year = number(6, 4);
    if (day < 0 || month < 0 || year < 1900)
        return std::nullopt;
    return DayNumber(year, month, day);
}

std::string ManagerRows::ExportText() const
{
    std::string text;
    for (const ManagerRow &row : Rows())
        text += row.call + "," + FormatManagerDate(row.date) + "," + row.manager + "\n";
    return text;
}

const std::vector<ImportCount> &ManagerRows::ReportCounts()
{
    static const std::vector<ImportCount> counts = {ImportCount::Deleted,  ImportCount::Added, ImportCount::Replaced,
                                                    ImportCount::Skipped, ImportCount::Dupes, ImportCount::Errors};
    return counts;
}

ImportReport ManagerRows::Import(std::string_view text, bool deleteExisting, ProgressService *progress)
{
    ImportReport report = StartImport(*this, deleteExisting);
    ForEachImportLine(text, progress, [&](int number, std::string_view line) {
        std::size_t first = line.find(','), second = first == std::string_view::npos ? first : line.find(',', first + 1);
        if (second == std::string_view::npos)
            return report.Error(number, "not two commas", line);
        ManagerRow row{callText(line.substr(0, first)), 0, callText(line.substr(second + 1))};
        if (row.call.empty())
            return report.Error(number, "no call", line);
        if (row.manager.empty())
            return report.Error(number, "no manager", line);
        std::string_view dateField = Trim(line.substr(first + 1, second - first - 1));
        if (!dateField.empty()) {
            std::optional<std::uint16_t> date = ParseManagerDate(dateField);
            if (!date)
                return report.Error(number, "not a date dd/mm/yyyy", line);
            row.date = *date;
        }
        std::int32_t position = Find(row);
        if (position < 0) {
            Insert(std::move(row));
            ++report.added;
        } else if (At(position).manager != row.manager) {
            Mutable(position).manager = row.manager;
            ++report.replaced;
        } else {
            ++report.skipped;
        }
    });
    // A row that repeats the manager of the row before it (same call) adds
    // nothing; one with that row's date is never in force.
    report.dupes = RemoveFollowing([](const ManagerRow &kept, const ManagerRow &row) {
        return kept.call == row.call && (kept.manager == row.manager || kept.date == row.date);
    });
    return report;
}

} // namespace vellum
