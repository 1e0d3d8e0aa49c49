#include "countryfile.h"

#include "logstore/bytes.h"
#include "logstore/compare.h"
#include "logstore/paths.h"
#include "logstore/trim.h"

#include <cstring>
#include <filesystem>
#include <functional>

#ifndef VELLUM_DEFAULT_DATA_DIR
#define VELLUM_DEFAULT_DATA_DIR "data"
#endif

namespace vellum {

namespace {

/// Runs one table's reader and prefixes any read error with the table's name.
void readTable(const char *name, TStream &stream, const std::function<void()> &read)
{
    std::int64_t at = stream.Position();
    try {
        read();
    } catch (const std::exception &e) {
        throw EReadError(std::string(name) + " (at byte " + std::to_string(at) + "): " + e.what());
    }
}

/// The country and state tables are referred to by position (from mappings,
/// exception calls, sections and QSO records), so sorting them after reading
/// would point those references at other entries: a table of them out of key
/// order is a damaged file. Checks the order without consuming the stream.
void checkTailTableOrder(TStream &stream, bool oldCounts, std::size_t keyCapacity)
{
    std::int64_t start = stream.Position();
    std::uint16_t fixed = stream.ReadU16();
    std::uint32_t count = oldCounts ? stream.ReadU16() : stream.ReadU32();
    stream.ExpectRecords(count, 2u + fixed + 1u, "records");
    std::string previous;
    std::vector<std::uint8_t> key(keyCapacity + 1);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t length = stream.ReadU16();
        if (length <= keyCapacity)
            throw EReadError("record " + std::to_string(i) + " has a length of " + std::to_string(length) + " bytes");
        if (length > stream.Remaining())
            throw EReadError("record " + std::to_string(i) + " runs past the end of the file");
        stream.Read(key.data(), key.size());
        stream.Seek(length - static_cast<std::int64_t>(key.size()), SeekOrigin::Current);
        std::string current(KeyText(key.data(), keyCapacity));
        if (i > 0 && CompareNoCase(previous, current) > 0)
            throw EReadError("record " + std::to_string(i) + " (" + current + ") is out of key order");
        previous = std::move(current);
    }
    stream.Seek(start, SeekOrigin::Begin);
}

void readIndexedTable(TKeyedTwoIndex &table, TStream &stream, bool oldCounts)
{
    checkTailTableOrder(stream, oldCounts, table.KeyCapacity());
    table.LoadFromStream(stream, oldCounts);
}

/// Old files hold IOTA records with a 10-byte fixed part (reference and 4
/// reserved bytes): they are brought to the current layout with no position.
void readIotaTable(TKeyedTwoIndex &table, TStream &stream, bool oldCounts)
{
    std::int64_t start = stream.Position();
    std::uint16_t fixed = stream.ReadU16();
    stream.Seek(start, SeekOrigin::Begin);
    if (!oldCounts || fixed != IotaField::OldSize) {
        table.LoadFromStream(stream, oldCounts);
        return;
    }
    TKeyedTwoIndex old(IotaField::OldSize, IotaField::ReferenceCapacity);
    old.LoadFromStream(stream, oldCounts);
    std::vector<std::uint8_t> record;
    for (std::int32_t i = 0; i < old.Count(); ++i) {
        const std::uint8_t *source = old.Get(i);
        record.assign(IotaField::Size, 0);
        std::memcpy(record.data(), source, IotaField::Reserved);
        std::string_view name = ShortStringAt(old.TailOf(i));
        record.push_back(static_cast<std::uint8_t>(name.size()));
        record.insert(record.end(), name.begin(), name.end());
        table.AddRecord(record.data());
    }
}

void clampKeys(TSortedCollection &table, std::initializer_list<std::pair<std::size_t, std::size_t>> fields)
{
    for (Record *record : table)
        for (auto [offset, capacity] : fields)
            ClampShortString(record + offset, capacity);
}

/// Cuts every length byte of a fixed part to its capacity, so that no later
/// reader of a record runs past it.
void clampAllKeys(TCountryData &data)
{
    clampKeys(data.Countries, {{CountryField::Prefix, CountryField::PrefixCapacity},
                               {CountryField::Iota, CountryField::IotaCapacity}});
    clampKeys(data.Mappings, {{MappingField::Prefix, MappingField::PrefixCapacity}});
    clampKeys(data.Exceptions, {{ExceptionField::Call, ExceptionField::CallCapacity}});
    clampKeys(data.States, {{StateField::Abbreviation, StateField::AbbreviationCapacity}});
    clampKeys(data.Sections, {{SectionField::Section, SectionField::SectionCapacity}});
    clampKeys(data.Iota, {{IotaField::Reference, IotaField::ReferenceCapacity}});
    clampKeys(data.Managers, {{ManagerField::Call, ManagerField::CallCapacity}, {ManagerField::Manager, 12}});
    clampKeys(data.Counties, {{CountyField::Key, CountyField::KeyCapacity}});
    clampKeys(data.Addresses, {{AddressField::Call, AddressField::CallCapacity}});
}

void readAllTables(TStream &stream, TCountryData &data, bool old)
{
    readTable("country table", stream, [&] { readIndexedTable(data.Countries, stream, old); });
    readTable("prefix mapping table", stream, [&] { data.Mappings.LoadFromStream(stream, old); });
    readTable("exception call table", stream, [&] { data.Exceptions.LoadFromStream(stream, old); });
    readTable("state table", stream, [&] { readIndexedTable(data.States, stream, old); });
    readTable("ARRL section table", stream, [&] { data.Sections.LoadFromStream(stream, old); });
    readTable("IOTA table", stream, [&] { readIotaTable(data.Iota, stream, old); });
    readTable("QSL manager table", stream, [&] { data.Managers.LoadFromStream(stream, old); });
    readTable("county table", stream, [&] { data.Counties.LoadFromStream(stream, old); });
    // Files written before the address table existed end after the county table.
    if (!stream.Eof())
        readTable("manager address table", stream, [&] { data.Addresses.LoadFromStream(stream, old); });
}

} // namespace

bool ReadCountryData(TStream &stream, TCountryData &data)
{
    data.FreeCountryData();
    bool old = true;
    try {
        char magic[4] = {};
        if (stream.Remaining() >= 4) {
            stream.Read(magic, 4);
            old = std::memcmp(magic, CountryMagic, 4) != 0;
        }
        if (old)
            stream.Seek(0, SeekOrigin::Begin);
        readAllTables(stream, data, old);
    } catch (...) {
        data.FreeCountryData();
        throw;
    }
    clampAllKeys(data);
    data.CreateAwardBlocks();
    data.CountryModified = false;
    data.AutosavePending = false;
    return old;
}

bool ReadCountryBytes(std::span<const std::uint8_t> bytes, TCountryData &data)
{
    TMemoryStream stream(bytes);
    return ReadCountryData(stream, data);
}

void WriteCountryData(TStream &stream, const TCountryData &data)
{
    stream.Write(CountryMagic, 4);
    data.Countries.SaveToStream(stream);
    data.Mappings.SaveToStream(stream);
    data.Exceptions.SaveToStream(stream);
    data.States.SaveToStream(stream);
    data.Sections.SaveToStream(stream);
    data.Iota.SaveToStream(stream);
    data.Managers.SaveToStream(stream);
    data.Counties.SaveToStream(stream);
    data.Addresses.SaveToStream(stream);
}

std::vector<std::uint8_t> CountryFileBytes(const TCountryData &data)
{
    TMemoryStream stream;
    WriteCountryData(stream, data);
    return stream.Bytes();
}

void WriteCountryFile(const TCountryData &data, const std::string &fileName, bool cycleFiles)
{
    SafeFileWriter writer(fileName);
    WriteCountryData(writer.Stream(), data);
    writer.Commit(cycleFiles);
}

std::string CountryFileName() { return FindFileNoCase(SaveDir(), "VELLUM.CTY"); }

std::string CountryAutosaveFileName() { return BackupFileName(BackupFile::Country); }

std::string DefaultCountryFileName() { return std::string(VELLUM_DEFAULT_DATA_DIR) + "/SAVE/VELLUM.CTY"; }

bool LoadCountryFile(TCountryData &data, const std::string &fileName, UserNotifier &notifier)
{
    try {
        TBufferedFileStream stream(fileName, FileMode::Read);
        ReadCountryData(stream, data);
        return true;
    } catch (const std::exception &e) {
        data.FreeCountryData();
        notifier.error(std::string(CountryText::FailedReading) + "\r" + fileName + ": " + e.what());
        return false;
    }
}

bool LoadCountryFile(TCountryData &data, UserNotifier &notifier)
{
    return LoadCountryFile(data, CountryFileName(), notifier);
}

bool SaveCountryFile(TCountryData &data, CountryTarget target, bool cycleFiles, UserNotifier &notifier)
{
    std::string fileName = target == CountryTarget::MainFile ? CountryFileName() : CountryAutosaveFileName();
    try {
        WriteCountryFile(data, fileName, cycleFiles);
    } catch (const std::exception &e) {
        notifier.error(std::string(CountryText::FailedWriting) + "\r" + fileName + ": " + e.what());
        return false;
    }
    if (target == CountryTarget::MainFile)
        data.AutosavePending = false;
    else if (data.CountryModified)
        data.AutosavePending = true;
    data.CountryModified = false;
    return true;
}

void RemoveCountryAutosave()
{
    std::error_code ec;
    std::filesystem::remove(CountryAutosaveFileName(), ec);
}

bool InstallDefaultCountryFile(const std::string &defaultFile)
{
    std::error_code ec;
    if (std::filesystem::exists(CountryFileName(), ec))
        return false;
    std::vector<std::uint8_t> bytes = ReadWholeFile(defaultFile);
    std::filesystem::create_directories(SaveDir(), ec);
    WriteWholeFile(SaveDir() + "/VELLUM.CTY", bytes, false);
    return true;
}

void ParseDeletedWpx(TCountryData &data, std::string_view text)
{
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        line = Trim(line.substr(0, 255));
        if (line.empty() || line.find_first_of("?x") != std::string_view::npos)
            continue;
        bool family = line.back() == '*';
        if (family)
            line.remove_suffix(1);
        line = line.substr(0, DeletedWpxField::PrefixCapacity);
        if (line.empty())
            continue;
        std::uint8_t record[DeletedWpxField::Size] = {};
        record[0] = static_cast<std::uint8_t>(line.size());
        std::memcpy(record + 1, line.data(), line.size());
        record[DeletedWpxField::Family] = family ? 1 : 0;
        if (data.DeletedWpx.IndexOfKey(record) >= 0)
            continue;
        data.DeletedWpx.AddCopy(record);
    }
}

void LoadDeletedWpx(TCountryData &data)
{
    data.DeletedWpx.FreeAll();
    std::string fileName = FindFileNoCase(SaveDir(), "VELLUM.WPX");
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec))
        return;
    std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
    ParseDeletedWpx(data, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

} // namespace vellum
