#include "addresses.h"

#include "logstore/compare.h"
#include "logstore/trim.h"

#include <algorithm>

namespace vellum {

namespace {

constexpr char LineSeparator = '\xFF';
constexpr std::size_t TailCapacity = 255;

std::vector<std::uint8_t> fixedPart(std::string_view call)
{
    std::vector<std::uint8_t> fixed(AddressField::Size, 0);
    std::size_t length = std::min(call.size(), AddressField::CallCapacity);
    fixed[0] = static_cast<std::uint8_t>(length);
    std::copy_n(call.begin(), length, fixed.begin() + 1);
    return fixed;
}

/// The fields of an import line: separated by ","; a field that begins with a
/// double quote (after blanks) runs to the next double quote, and what follows
/// up to the next "," is ignored; other fields are trimmed.
std::vector<std::string> splitFields(std::string_view line)
{
    constexpr auto npos = std::string_view::npos;
    std::vector<std::string> fields;
    std::string_view rest = line;
    while (true) {
        std::string_view field = TrimLeft(rest);
        std::size_t comma;
        if (!field.empty() && field.front() == '"') {
            std::size_t close = field.find('"', 1);
            fields.emplace_back(field.substr(1, close == npos ? npos : close - 1));
            comma = close == npos ? npos : field.find(',', close);
        } else {
            comma = field.find(',');
            fields.emplace_back(Trim(field.substr(0, comma)));
        }
        if (comma == npos)
            return fields;
        rest = field.substr(comma + 1);
    }
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string upperCall(std::string_view call)
{
    return UpperAscii(Trim(call).substr(0, AddressField::CallCapacity));
}

} // namespace

std::vector<std::string> ManagerAddress(const TCountryData &data, std::string_view call)
{
    std::vector<std::string> lines;
    if (call.empty() || call.size() > AddressField::CallCapacity)
        return lines;
    std::int32_t position = data.Addresses.IndexOfKey(fixedPart(call).data());
    if (position >= 0)
        data.Addresses.GetLines(position, lines);
    return lines;
}

void ReplaceManagerAddress(TCountryData &data, std::string_view call, const std::vector<std::string> &lines)
{
    std::string manager = upperCall(call);
    if (manager.empty())
        return;
    std::vector<std::uint8_t> fixed = fixedPart(manager);
    std::int32_t position = data.Addresses.IndexOfKey(fixed.data());
    if (position >= 0)
        data.Addresses.DeleteAt(position);
    data.Addresses.AddLines(fixed.data(), FitAddressLines(lines, TailCapacity - 1));
    data.MarkCountryDataModified();
}

int CompareAddressRows(const AddressRow &a, const AddressRow &b) { return CompareNoCase(a.call, b.call); }

std::string JoinAddressLines(const std::vector<std::string> &lines)
{
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += LineSeparator;
        joined += lines[i];
    }
    return joined;
}

std::vector<std::string> FitAddressLines(const std::vector<std::string> &lines, std::size_t capacity)
{
    std::vector<std::string> fitted;
    std::size_t used = 0;
    for (const std::string &line : lines) {
        std::size_t separator = fitted.empty() ? 0 : 1;
        if (used + separator > capacity)
            break;
        std::size_t room = capacity - used - separator;
        fitted.push_back(line.substr(0, room));
        used += separator + fitted.back().size();
    }
    // A stored address keeps no empty last line.
    while (!fitted.empty() && fitted.back().empty())
        fitted.pop_back();
    return fitted;
}

void AddressRows::Load(const TCountryData &data)
{
    Clear();
    for (std::int32_t i = 0; i < data.Addresses.Count(); ++i) {
        AddressRow row{std::string(KeyText(data.Addresses.Get(i), AddressField::CallCapacity)), {}};
        data.Addresses.GetLines(i, row.lines);
        Append(std::move(row));
    }
    SortStable();
}

void AddressRows::Apply(TCountryData &data) const
{
    data.Addresses.FreeAll();
    for (const AddressRow &row : Rows())
        data.Addresses.AddLines(fixedPart(row.call).data(), row.lines);
}

std::int32_t AddressRows::AddCall(std::string_view call)
{
    AddressRow row{upperCall(call), {}};
    if (row.call.empty() || Find(row) >= 0)
        return -1;
    return Insert(std::move(row));
}

void AddressRows::DeleteRow(std::int32_t position)
{
    Delete(position);
    if (Empty())
        Insert({AddressText::EmptyListCall, {}});
}

void AddressRows::SetLines(std::int32_t position, const std::vector<std::string> &lines)
{
    Mutable(position).lines = FitAddressLines(lines, AddressEditorCapacity);
}

std::int32_t AddressRows::FindCall(std::string_view text) const
{
    if (Empty())
        return -1;
    std::int32_t position = LowerBound({std::string(text), {}});
    return std::min(position, Count() - 1);
}

std::string AddressRows::ExportText() const
{
    std::string text;
    for (const AddressRow &row : Rows()) {
        text += quoted(row.call);
        for (const std::string &line : row.lines)
            text += "," + quoted(line);
        text += "\n";
    }
    return text;
}

const std::vector<ImportCount> &AddressRows::ReportCounts()
{
    static const std::vector<ImportCount> counts = {ImportCount::Deleted, ImportCount::Added, ImportCount::Replaced,
                                                    ImportCount::Skipped, ImportCount::Errors};
    return counts;
}

ImportReport AddressRows::Import(std::string_view text, bool deleteExisting, ProgressService *progress)
{
    ImportReport report = StartImport(*this, deleteExisting);
    ForEachImportLine(text, progress, [&](int number, std::string_view line) {
        std::vector<std::string> fields = splitFields(line);
        AddressRow row{upperCall(fields.front()), {}};
        if (row.call.empty())
            return report.Error(number, "no call", line);
        // The byte 0xFF separates the lines of a stored address.
        for (auto field = fields.begin() + 1; field != fields.end(); ++field) {
            std::replace(field->begin(), field->end(), LineSeparator, '?');
            row.lines.push_back(std::move(*field));
        }
        // What the record holds: the joined lines cut as the table cuts them.
        row.lines = FitAddressLines(row.lines, TailCapacity - 1);
        std::int32_t position = Find(row);
        if (position < 0) {
            Insert(std::move(row));
            ++report.added;
        } else if (JoinAddressLines(At(position).lines) != JoinAddressLines(row.lines)) {
            Mutable(position).lines = std::move(row.lines);
            ++report.replaced;
        } else {
            ++report.skipped;
        }
    });
    return report;
}

} // namespace vellum
