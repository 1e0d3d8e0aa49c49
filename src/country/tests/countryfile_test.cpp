// Reading and writing the country file: round trip, the old layout, damaged
// files, the change flags and the autosave copy.

#include "testsupport/tempdir.h"
#include "testsupport/testcountry.h"

#include "country/countryfile.h"
#include "country/resolver.h"

#include "logstore/bytes.h"
#include "logstore/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> testFileBytes()
{
    TCountryData data;
    test::BuildTestCountryData(data);
    return CountryFileBytes(data);
}

/// Kinds of the nine tables in file order: true for variable records.
constexpr bool TailTable[9] = {true, false, false, true, false, true, false, true, true};

/// Rewrites a current file in the old layout: no magic, 2-byte counts, and the
/// IOTA records with their old 10-byte fixed part. tables says how many of
/// the nine tables to keep.
std::vector<std::uint8_t> toOldFormat(const std::vector<std::uint8_t> &current, int tables = 9)
{
    ByteReader in(current);
    in.skip(4);
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    for (int t = 0; t < tables; ++t) {
        std::uint16_t size = in.u16();
        std::uint32_t count = in.u32();
        bool oldIota = t == 5;
        w.u16(oldIota ? IotaField::OldSize : size);
        w.u16(static_cast<std::uint16_t>(count));
        for (std::uint32_t i = 0; i < count; ++i) {
            std::size_t length = TailTable[t] ? in.u16() : size;
            std::vector<std::uint8_t> record(length);
            in.bytes(record.data(), length);
            if (oldIota) {
                record.erase(record.begin() + IotaField::OldSize, record.begin() + IotaField::Size);
                length = record.size();
            }
            if (TailTable[t])
                w.u16(static_cast<std::uint16_t>(length));
            w.bytes(record.data(), length);
        }
    }
    return out;
}

/// The offset of table t (0-based) in a current file.
std::size_t tableOffset(const std::vector<std::uint8_t> &bytes, int table)
{
    ByteReader in(bytes);
    in.skip(4);
    for (int t = 0; t < table; ++t) {
        std::uint16_t size = in.u16();
        std::uint32_t count = in.u32();
        for (std::uint32_t i = 0; i < count; ++i)
            in.skip(TailTable[t] ? in.u16() : size);
    }
    return in.offset();
}

std::string readError(const std::vector<std::uint8_t> &bytes)
{
    TCountryData data;
    try {
        ReadCountryBytes(bytes, data);
    } catch (const std::exception &e) {
        EXPECT_EQ(data.CountryCount(), 0) << "a failed read leaves no tables";
        return e.what();
    }
    return {};
}

TEST(CountryFileTest, RoundTripIsByteIdentical)
{
    std::vector<std::uint8_t> bytes = testFileBytes();
    ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "CTYB");
    TCountryData data;
    EXPECT_FALSE(ReadCountryBytes(bytes, data));
    EXPECT_EQ(CountryFileBytes(data), bytes);
    EXPECT_EQ(data.CountryCount(), 8);
    EXPECT_EQ(data.Addresses.Count(), 1);
    EXPECT_EQ(data.States.Second.Count(), data.States.Count());
    EXPECT_EQ(data.Counties.TailStringBySecond(0), "Kings");
    CountryInfo us = data.Country(test::CountryOf(data, "K"));
    EXPECT_EQ(us.name, "United States");
    EXPECT_EQ(us.longitude, 10.5);
    EXPECT_EQ(us.latitude, -20.25);
    EXPECT_EQ(us.hasStates, HasStatesValue::Yes);
    EXPECT_NE(data.AwardStatusOf(1), nullptr);
    EXPECT_EQ(data.AwardStatusOf(99), nullptr);
}

TEST(CountryFileTest, OldLayoutIsReadAndSavedInTheCurrentOne)
{
    std::vector<std::uint8_t> current = testFileBytes();
    TCountryData data;
    EXPECT_TRUE(ReadCountryBytes(toOldFormat(current), data));
    // The old IOTA records come forward with no position; everything else is as written.
    EXPECT_EQ(data.Iota.FixedSize(), IotaField::Size);
    EXPECT_EQ(CountryFileBytes(data), current);

    // A file of the time before the address table ends after the county table.
    EXPECT_TRUE(ReadCountryBytes(toOldFormat(current, 8), data));
    EXPECT_EQ(data.Addresses.Count(), 0);
    EXPECT_EQ(data.Counties.Count(), 4);
}

TEST(CountryFileTest, EveryTruncationIsARefusedReadNeverACrash)
{
    std::vector<std::uint8_t> bytes = testFileBytes();
    std::size_t afterCounties = tableOffset(bytes, 8);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        std::string error = readError(cut);
        if (length == afterCounties)
            EXPECT_EQ(error, "") << "a file that ends after the county table is an older generation";
        else
            EXPECT_NE(error, "") << "cut at " << length;
    }
}

TEST(CountryFileTest, DamagedTablesAreNamedInTheError)
{
    std::vector<std::uint8_t> bytes = testFileBytes();
    std::size_t mappings = tableOffset(bytes, 1);

    auto wrongSize = bytes;
    storeU16(wrongSize.data() + mappings, 13);
    EXPECT_NE(readError(wrongSize).find("prefix mapping table"), std::string::npos) << readError(wrongSize);

    auto hugeCount = bytes;
    storeU32(hugeCount.data() + tableOffset(bytes, 2) + 2, 0x10000000);
    EXPECT_NE(readError(hugeCount).find("exception call table"), std::string::npos) << readError(hugeCount);

    // Sorting the country table would renumber every reference to it: refused.
    std::vector<std::uint8_t> disorder = bytes;
    std::size_t record0 = tableOffset(bytes, 0) + 6; // the u16 length of record 0 (prefix "")
    std::size_t record1 = record0 + 2 + loadU16(disorder.data() + record0);
    disorder[record1 + 2 + 1] = 'Z'; // record 1 ("K") now sorts after record 2 ("KH6")
    std::string error = readError(disorder);
    EXPECT_NE(error.find("country table"), std::string::npos) << error;
}

TEST(CountryFileTest, LengthBytesAboveTheirCapacityAreClamped)
{
    std::vector<std::uint8_t> bytes = testFileBytes();
    std::size_t mappings = tableOffset(bytes, 1) + 6;
    bytes[mappings + MappingField::Size] = 200; // record 1: prefix length far past the record
    TCountryData data;
    ReadCountryBytes(bytes, data);
    for (const Record *record : data.Mappings)
        EXPECT_LE(record[0], MappingField::PrefixCapacity);
    CountryResolver resolver(data);
    EXPECT_EQ(resolver.CountryOfCall("QQ2AB", 40000), test::CountryOf(data, "QQ"));
}

class CountryFileOnDiskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramDir(dir);
        fs::create_directories(SaveDir());
        test::BuildTestCountryData(data);
    }
    void TearDown() override { SetProgramDir("."); }

    test::TempDir temp{"country-disk"};
    std::string dir = temp.path();
    TCountryData data;
    RecordingNotifier notifier;
};

TEST_F(CountryFileOnDiskTest, MissingOrDamagedFileIsReportedNamingTheFile)
{
    TCountryData loaded;
    EXPECT_FALSE(LoadCountryFile(loaded, notifier));
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(notifier.shown[0].text.rfind(CountryText::FailedReading, 0), 0u);
    EXPECT_NE(notifier.shown[0].text.find("SAVE/VELLUM.CTY"), std::string::npos);

    std::vector<std::uint8_t> bytes = CountryFileBytes(data);
    bytes.resize(bytes.size() / 2);
    WriteWholeFile(SaveDir() + "/VELLUM.CTY", bytes, false);
    EXPECT_FALSE(LoadCountryFile(loaded, notifier));
    EXPECT_NE(notifier.shown.back().text.find("VELLUM.CTY"), std::string::npos);
    EXPECT_EQ(loaded.CountryCount(), 0);
}

TEST_F(CountryFileOnDiskTest, SavingSetsTheFlagsOnlyAfterTheWriteSucceeded)
{
    data.AddExceptionCall("QQ5NEW", 1, 5, 0);
    ASSERT_TRUE(SaveCountryFile(data, CountryTarget::Autosave, true, notifier));
    EXPECT_FALSE(data.CountryModified);
    EXPECT_TRUE(data.AutosavePending);
    EXPECT_TRUE(data.CountryDataNeedsSaving());
    EXPECT_TRUE(fs::exists(dir + "/VELLUM.CTB"));

    ASSERT_TRUE(SaveCountryFile(data, CountryTarget::MainFile, true, notifier));
    EXPECT_FALSE(data.AutosavePending);
    EXPECT_FALSE(data.CountryDataNeedsSaving());
    ASSERT_TRUE(SaveCountryFile(data, CountryTarget::MainFile, true, notifier));
    EXPECT_TRUE(fs::exists(SaveDir() + "/VELLUM.~TY")) << "Cycle Files keeps the previous generation";

    TCountryData loaded;
    ASSERT_TRUE(LoadCountryFile(loaded, notifier));
    EXPECT_EQ(CountryFileBytes(loaded), CountryFileBytes(data));
    RemoveCountryAutosave();
    EXPECT_FALSE(fs::exists(dir + "/VELLUM.CTB"));

    // A write that fails leaves the flags and the old file as they were.
    data.MarkCountryDataModified();
    fs::remove_all(SaveDir());
    EXPECT_FALSE(SaveCountryFile(data, CountryTarget::MainFile, false, notifier));
    EXPECT_TRUE(data.CountryModified);
    EXPECT_EQ(notifier.shown.back().text.rfind(CountryText::FailedWriting, 0), 0u);
}

TEST_F(CountryFileOnDiskTest, DefaultFileIsInstalledOnlyWhenNoneIsThere)
{
    std::string defaults = dir + "/default.cty";
    WriteCountryFile(data, defaults, false);
    EXPECT_TRUE(InstallDefaultCountryFile(defaults));
    EXPECT_FALSE(InstallDefaultCountryFile(defaults));
    TCountryData loaded;
    EXPECT_TRUE(LoadCountryFile(loaded, notifier));
    EXPECT_EQ(loaded.CountryCount(), data.CountryCount());
}

TEST_F(CountryFileOnDiskTest, DeletedWpxFileIsOptional)
{
    LoadDeletedWpx(data);
    EXPECT_EQ(data.DeletedWpx.Count(), 0);
    WriteWholeFile(SaveDir() + "/vellum.wpx", std::vector<std::uint8_t>{'Q', 'Q', '*', '\n'}, false);
    LoadDeletedWpx(data);
    EXPECT_TRUE(CountryResolver(data).IsDeletedWpx("QQ3"));
}

} // namespace
} // namespace vellum
