#include "iota.h"

#include "logstore/bytes.h"
#include "logstore/compare.h"
#include "logstore/trim.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vellum {

namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

double doubleAt(const std::uint8_t *p)
{
    ByteReader reader(std::span<const std::uint8_t>(p, 8));
    return reader.f64();
}

/// "%6.3f"; a position that is not a finite number is written as 0.
std::string formatCoordinate(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%6.3f", std::isfinite(value) ? value : 0.0);
    return text;
}

/// The fields of an import line: the name runs to the closing double quote when
/// it begins with one, else to the next ","; the latitude runs to the next ",".
struct IotaLine {
    std::string_view reference, name, latitude, longitude;
    const char *missing = nullptr; ///< the field that is missing, if any
};

IotaLine splitIotaLine(std::string_view line)
{
    IotaLine fields;
    auto missing = [&fields](const char *what) {
        fields.missing = what;
        return fields;
    };
    std::size_t comma = line.find(',');
    if (comma == std::string_view::npos)
        return missing("no name");
    fields.reference = line.substr(0, comma);
    std::string_view rest = Trim(line.substr(comma + 1));
    if (!rest.empty() && rest.front() == '"') {
        std::size_t close = rest.find('"', 1);
        fields.name = rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
        comma = rest.find(',');
    } else {
        comma = rest.find(',');
        fields.name = rest.substr(0, comma);
    }
    if (comma == std::string_view::npos)
        return missing("no latitude");
    rest = rest.substr(comma + 1);
    comma = rest.find(',');
    if (comma == std::string_view::npos)
        return missing("no longitude");
    fields.latitude = rest.substr(0, comma);
    fields.longitude = rest.substr(comma + 1);
    return fields;
}

} // namespace

std::vector<std::uint8_t> IotaInfo::Encode() const
{
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.shortString(reference, IotaField::ReferenceCapacity);
    w.zeros(4);
    w.f64(longitude);
    w.f64(latitude);
    w.zeros(15);
    std::size_t length = std::min(name.size(), IotaField::NameCapacity);
    w.u8(static_cast<std::uint8_t>(length));
    w.bytes(name.data(), length);
    return out;
}

IotaInfo IotaInfo::Decode(const std::uint8_t *record)
{
    return {std::string(KeyText(record, IotaField::ReferenceCapacity)),
            std::string(ShortStringAt(record + IotaField::Size)), doubleAt(record + IotaField::Longitude),
            doubleAt(record + IotaField::Latitude)};
}

bool IsIotaReference(std::string_view text)
{
    return text.size() == 5 && isLetter(text[0]) && isLetter(text[1]) && isDigit(text[2]) && isDigit(text[3]) &&
           isDigit(text[4]);
}

std::string NormalizeIotaReference(std::string_view text)
{
    std::string out;
    for (char c : Trim(text))
        if (c != '-')
            out += c;
    return UpperAscii(out);
}

std::string NormalizeTypedIota(std::string_view text)
{
    std::string iota;
    for (char c : text)
        if (c != ' ')
            iota += c;
    iota = UpperAscii(iota);
    if (iota.size() >= 3 && iota[2] == '-') {
        if (iota.size() < 6)
            iota[2] = '0';
        else
            iota.erase(2, 1);
    }
    if (iota.size() >= 2 && iota.size() < 5)
        iota = iota.substr(0, 2) + std::string(5 - iota.size(), '0') + iota.substr(2);
    return iota;
}

bool HasIotaReferences(const TKeyedTwoIndex &table)
{
    for (std::int32_t i = 0; i < table.Count(); ++i)
        if (!table.KeyString(i).empty())
            return true;
    return false;
}

bool AcceptableIota(const TKeyedTwoIndex &table, std::string_view reference, bool tableHasReferences)
{
    return IsIotaReference(reference) && (!tableHasReferences || table.IndexOfKey(std::string(reference)) >= 0);
}

std::optional<double> ParseCoordinate(std::string_view text, double limit)
{
    text = Trim(text);
    double sign = 1;
    bool suffixed = false;
    if (!text.empty()) {
        char last = static_cast<char>(text.back() & ~0x20); // upper case of a letter
        if (last == 'N' || last == 'E' || last == 'S' || last == 'W') {
            sign = last == 'S' || last == 'W' ? -1 : 1;
            suffixed = true;
            text = Trim(text.substr(0, text.size() - 1));
        }
    }
    // Sign, digits and at most one point: nothing that strtod would read as
    // "nan", "inf" or hexadecimal.
    std::size_t digits = 0, points = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (isDigit(c))
            ++digits;
        else if (c == '.')
            ++points;
        else if (!((c == '-' || c == '+') && i == 0 && !suffixed))
            return std::nullopt;
    }
    if (digits == 0 || points > 1 || digits > 20)
        return std::nullopt;
    double value = sign * std::strtod(std::string(text).c_str(), nullptr);
    if (!std::isfinite(value) || std::fabs(value) > limit)
        return std::nullopt;
    return value;
}

int CompareIotaRows(const IotaInfo &a, const IotaInfo &b) { return CompareNoCase(a.reference, b.reference); }

void IotaRows::Load(const TCountryData &data)
{
    Clear();
    m_placeholder.clear();
    for (std::int32_t i = 0; i < data.Iota.Count(); ++i) {
        if (i == 0)
            m_placeholder = data.Iota.RecordBytes(0);
        else
            Append(IotaInfo::Decode(data.Iota.Get(i)));
    }
    SortStable();
}

void IotaRows::Apply(TCountryData &data) const
{
    data.Iota.ClearAll();
    std::vector<std::uint8_t> placeholder = m_placeholder.empty() ? IotaInfo{}.Encode() : m_placeholder;
    std::vector<std::vector<std::uint8_t>> records{std::move(placeholder)};
    for (const IotaInfo &row : Rows())
        records.push_back(row.Encode());
    data.Iota.SetCapacity(static_cast<std::int64_t>(records.size()));
    // Appended in order, not inserted: rows with equal references keep their order.
    for (const auto &bytes : records) {
        auto *record = new Record[bytes.size()];
        std::memcpy(record, bytes.data(), bytes.size());
        data.Iota.Add(record);
        data.Iota.Second.InsertSorted(record);
    }
}

std::int32_t IotaRows::FindKey(std::string_view text) const
{
    return LowerBound({std::string(text.substr(0, IotaField::ReferenceCapacity)), {}, 0, 0});
}

std::string IotaRows::ExportText() const
{
    std::string text;
    for (const IotaInfo &row : Rows())
        text += row.reference + ",\"" + row.name + "\"," + formatCoordinate(row.latitude) + "," +
                formatCoordinate(row.longitude) + "\n";
    return text;
}

const std::vector<ImportCount> &IotaRows::ReportCounts()
{
    static const std::vector<ImportCount> counts = {ImportCount::Deleted, ImportCount::Added, ImportCount::Replaced,
                                                    ImportCount::Errors};
    return counts;
}

ImportReport IotaRows::Import(std::string_view text, bool deleteExisting, ProgressService *progress)
{
    ImportReport report = StartImport(*this, deleteExisting);
    ForEachImportLine(text, progress, [&](int number, std::string_view line) {
        IotaLine fields = splitIotaLine(line);
        if (fields.missing)
            return report.Error(number, fields.missing, line);
        IotaInfo row;
        row.reference = NormalizeIotaReference(fields.reference);
        if (!IsIotaReference(row.reference))
            return report.Error(number, "not a reference of two letters and three digits", line);
        row.name = std::string(Trim(fields.name).substr(0, IotaField::NameCapacity));
        std::optional<double> latitude = ParseCoordinate(fields.latitude, 90);
        std::optional<double> longitude = ParseCoordinate(fields.longitude, 180);
        if (!latitude)
            return report.Error(number, "not a latitude", line);
        if (!longitude)
            return report.Error(number, "not a longitude", line);
        row.latitude = *latitude;
        row.longitude = *longitude;
        std::int32_t position = Find(row);
        if (position >= 0) {
            Mutable(position) = std::move(row);
            ++report.replaced;
        } else {
            Insert(std::move(row));
            ++report.added;
        }
    });
    return report;
}

} // namespace vellum
