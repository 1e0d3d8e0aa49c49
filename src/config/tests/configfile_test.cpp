// Loading and saving the configuration file, and the snapshots worker threads read.

#include "configtestutil.h"
#include "testsupport/tempdir.h"

#include "config/configfields.h"
#include "config/configfile.h"
#include "config/configrules.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <random>
#include <thread>

namespace vellum {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr const char *ScreenChanged = "Screen characteristics have changed,\rusing defaults setting";

std::vector<std::uint8_t> RecordBytes(const TConfigRecord &record)
{
    const auto bytes = ConfigBytes(record);
    return {bytes.begin(), bytes.end()};
}

/// The built-in image with the screen defaults of pixelsPerInch applied.
TConfigRecord DefaultsFor(std::int32_t pixelsPerInch)
{
    TConfigRecord record = BuiltInConfig();
    ResetScreenDefaults(record, pixelsPerInch);
    return record;
}

void ExpectSameRecord(const TConfigRecord &actual, const TConfigRecord &expected)
{
    EXPECT_EQ(RecordBytes(actual), RecordBytes(expected));
}

TEST(ConfigFile, DefaultImageWrittenAndReadBackIsByteIdentical)
{
    TempDir dir;
    const std::string file = dir.file("VELLUM.CFG");
    TConfigRecord written = BuiltInConfig();
    SaveConfig(written, file, ScreenInfo{0, 0});
    const std::vector<std::uint8_t> bytes = ReadFile(file);
    ASSERT_EQ(bytes.size(), ConfigRecordSize);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 9), std::string("\x08ZAPHCFGI"));
    EXPECT_EQ(bytes, RecordBytes(BuiltInConfig()));

    RecordingNotifier notifier;
    TConfigRecord read;
    EXPECT_TRUE(LoadConfig(read, file, ScreenInfo{0, 0}, notifier));
    EXPECT_TRUE(notifier.shown.empty());
    ExpectSameRecord(read, BuiltInConfig());
}

TEST(ConfigFile, SaveStoresTheScreenAndTheMagic)
{
    TempDir dir;
    const std::string file = dir.file("VELLUM.CFG");
    TConfigRecord record = BuiltInConfig();
    record.magic = "XXXX";
    SaveConfig(record, file, ScreenInfo{96, 1920});
    const std::vector<std::uint8_t> bytes = ReadFile(file);
    ASSERT_EQ(bytes.size(), ConfigRecordSize);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 9), std::string("\x08ZAPHCFGI"));
    EXPECT_EQ(bytes[12] | bytes[13] << 8, 96);
    EXPECT_EQ(bytes[16] | bytes[17] << 8, 1920);
    EXPECT_EQ(record.ScreenPpi, 96);

    // Cycle Files keeps the previous generation.
    SaveConfig(record, file, ScreenInfo{120, 1920});
    EXPECT_EQ(ReadFile(dir.file("VELLUM.~FG")), bytes);
    record.DefQSO_Cycle = false;
    std::filesystem::remove(dir.file("VELLUM.~FG"));
    SaveConfig(record, file, ScreenInfo{120, 1920});
    EXPECT_FALSE(std::filesystem::exists(dir.file("VELLUM.~FG")));
}

TEST(ConfigFile, ForeignFileIsReadWithEveryDocumentedValue)
{
    TempDir dir;
    const std::string file = dir.file("VELLUM.CFG");
    // Unused bytes and the unused ends of strings hold 0xA5: they must survive.
    const std::vector<std::uint8_t> image = test::BuildImage(true, 0xA5);
    WriteFile(file, image);
    RecordingNotifier notifier;
    TConfigRecord record = BuiltInConfig();
    ASSERT_TRUE(LoadConfig(record, file, ScreenInfo{96, 1920}, notifier));
    EXPECT_TRUE(notifier.shown.empty());

    std::map<std::string, test::Value> values;
    ForEachLeafSetting(record, [&](const std::string &path, const auto &field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        if constexpr (requires { Field::capacity; })
            values[path] = std::string(field.view());
        else if constexpr (std::is_same_v<Field, LeF64>)
            values[path] = static_cast<double>(field);
        else if constexpr (std::is_same_v<Field, ByteBool>)
            values[path] = std::int64_t{field.raw()};
        else
            values[path] = static_cast<std::int64_t>(field);
    });
    for (const test::LayoutField &field : test::DocumentedLayout()) {
        if (field.path == "ContestEnabled")
            EXPECT_EQ(values.at(field.path), test::Value(std::int64_t{0})) << "contest mode is off after loading";
        else
            EXPECT_EQ(values.at(field.path), field.foreign) << field.path;
    }

    std::vector<std::uint8_t> expected = image;
    expected[4112] = 0; // ContestEnabled
    EXPECT_EQ(RecordBytes(record), expected);
    SaveConfig(record, dir.file("COPY.CFG"), ScreenInfo{96, 1920});
    EXPECT_EQ(ReadFile(dir.file("COPY.CFG")), expected);
}

TEST(ConfigFile, ChangedScreenResetsOnlyFontsAndScale)
{
    TempDir dir;
    const std::string file = dir.file("VELLUM.CFG");
    const std::vector<std::uint8_t> image = test::BuildImage(true, 0);
    WriteFile(file, image); // written on a 96 pixels-per-inch screen 1920 wide
    for (const ScreenInfo screen : {ScreenInfo{120, 1920}, ScreenInfo{96, 2560}}) {
        RecordingNotifier notifier;
        TConfigRecord record;
        EXPECT_TRUE(LoadConfig(record, file, screen, notifier));
        ASSERT_EQ(notifier.shown.size(), 1u);
        EXPECT_EQ(notifier.shown[0].kind, MessageKind::Information);
        EXPECT_EQ(notifier.shown[0].text, ScreenChanged);

        TConfigRecord expected;
        std::memcpy(&expected, image.data(), ConfigRecordSize);
        expected.ContestEnabled = false;
        ResetScreenDefaults(expected, screen.pixelsPerInch);
        ExpectSameRecord(record, expected);
    }
    // Without a screen (vellum-cli) the stored fonts stay.
    RecordingNotifier notifier;
    TConfigRecord record;
    EXPECT_TRUE(LoadConfig(record, file, std::nullopt, notifier));
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(record.F_FontLName.view(), "Tahoma");
}

TEST(ConfigFile, MissingEmptyOrUnreadableFileGivesDefaultsSilently)
{
    TempDir dir;
    WriteFile(dir.file("EMPTY.CFG"), "");
    std::filesystem::create_directory(dir.file("DIR.CFG"));
    for (const char *name : {"MISSING.CFG", "EMPTY.CFG", "DIR.CFG"}) {
        RecordingNotifier notifier;
        TConfigRecord record = BuiltInConfig();
        record.ContestEnabled = true;
        record.Speed = 33;
        EXPECT_FALSE(LoadConfig(record, dir.file(name), ScreenInfo{144, 2560}, notifier)) << name;
        EXPECT_TRUE(notifier.shown.empty()) << name;
        ExpectSameRecord(record, DefaultsFor(144));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("MISSING.CFG")));
}

struct Rejected {
    const char *what;
    std::vector<std::uint8_t> bytes;
    const char *reason;
};

std::vector<Rejected> RejectedFiles()
{
    const std::vector<std::uint8_t> good = test::BuildImage(true, 0);
    std::vector<Rejected> files;
    files.push_back({"8671 bytes", {good.begin(), good.end() - 1}, "it has 8671 bytes instead of 8672"});
    std::vector<std::uint8_t> longer = good;
    longer.push_back(0);
    files.push_back({"8673 bytes", longer, "it has 8673 bytes instead of 8672"});
    files.push_back({"9 bytes", {good.begin(), good.begin() + 9}, "it has 9 bytes instead of 8672"});
    std::vector<std::uint8_t> letter = good;
    letter[5] = 'X'; // ZAPHXFGI
    files.push_back({"one letter off", letter, "it does not begin with ZAPHCFGI"});
    std::vector<std::uint8_t> shortMagic = good;
    shortMagic[0] = 7;
    files.push_back({"magic of 7 characters", shortMagic, "it does not begin with ZAPHCFGI"});
    return files;
}

TEST(ConfigFile, FileOfWrongSizeOrMagicGivesDefaultsAndIsKeptAside)
{
    for (const Rejected &bad : RejectedFiles()) {
        SCOPED_TRACE(bad.what);
        TempDir dir;
        const std::string file = dir.file("VELLUM.CFG");
        WriteFile(file, bad.bytes);
        WriteFile(dir.file("VELLUM.~FG"), {1, 2, 3}); // an older generation is replaced
        RecordingNotifier notifier;
        TConfigRecord record;
        EXPECT_FALSE(LoadConfig(record, file, ScreenInfo{96, 1920}, notifier));
        ExpectSameRecord(record, DefaultsFor(96));
        ASSERT_EQ(notifier.shown.size(), 1u);
        EXPECT_EQ(notifier.shown[0].kind, MessageKind::Warning);
        const std::string &text = notifier.shown[0].text;
        EXPECT_NE(text.find(file), std::string::npos) << text;
        EXPECT_NE(text.find(bad.reason), std::string::npos) << text;
        EXPECT_NE(text.find("kept as " + dir.file("VELLUM.~FG")), std::string::npos) << text;
        EXPECT_EQ(ReadFile(dir.file("VELLUM.~FG")), bad.bytes);
        EXPECT_EQ(ReadFile(file), bad.bytes);

        // The next save replaces the bad file; the copy kept aside stays.
        SaveConfig(record, file, ScreenInfo{96, 1920});
        EXPECT_EQ(ReadFile(file), RecordBytes(record));
        EXPECT_EQ(ReadFile(dir.file("VELLUM.~FG")), bad.bytes);
    }
}

TEST(ConfigFile, ReadOnlyLoadLeavesARejectedFileAlone)
{
    TempDir dir;
    const std::string file = dir.file("VELLUM.CFG");
    WriteFile(file, {8, 'Z', 'A', 'P', 'H'});
    RecordingNotifier notifier;
    TConfigRecord record;
    EXPECT_FALSE(LoadConfig(record, file, std::nullopt, notifier, RejectedFile::LeaveAlone));
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].text.find("kept"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("VELLUM.~FG")));
    ExpectSameRecord(record, BuiltInConfig());
}

TEST(ConfigFile, MagicLengthAboveEightCountsAsEight)
{
    std::vector<std::uint8_t> image = test::BuildImage(false, 0);
    image[0] = 200;
    EXPECT_EQ(CheckConfigImage(image), ConfigImageState::Valid);
    TConfigRecord record;
    ReadConfigImage(record, std::span<const std::uint8_t, ConfigRecordSize>(image.data(), ConfigRecordSize));
    EXPECT_EQ(record.magic.view(), "ZAPHCFGI");

    TempDir dir;
    SaveConfig(record, dir.file("VELLUM.CFG"), ScreenInfo{});
    EXPECT_EQ(ReadFile(dir.file("VELLUM.CFG"))[0], 8);
}

TEST(ConfigFile, EveryTruncatedDefaultImageIsRejected)
{
    const std::vector<std::uint8_t> image = test::BuildImage(false, 0);
    EXPECT_EQ(CheckConfigImage({}), ConfigImageState::Empty);
    for (std::size_t size = 1; size < ConfigRecordSize; ++size)
        ASSERT_EQ(CheckConfigImage(std::span(image.data(), size)), ConfigImageState::WrongSize) << size;
    EXPECT_EQ(CheckConfigImage(image), ConfigImageState::Valid);
}

TEST(ConfigFile, RandomBytesLoadSafely)
{
    TempDir dir;
    const std::string file = dir.file("VELLUM.CFG");
    std::mt19937 random(12345);
    for (int round = 0; round < 40; ++round) {
        const std::size_t size = round % 4 == 0 ? 1 + random() % 20000 : ConfigRecordSize;
        std::vector<std::uint8_t> bytes(size);
        for (auto &b : bytes)
            b = static_cast<std::uint8_t>(random());
        if (round % 2 == 1 && size == ConfigRecordSize)
            std::memcpy(bytes.data(), "\x08ZAPHCFGI", 9);
        WriteFile(file, bytes);
        RecordingNotifier notifier;
        TConfigRecord record;
        const bool loaded = LoadConfig(record, file, ScreenInfo{96, 1920}, notifier, RejectedFile::LeaveAlone);
        EXPECT_EQ(loaded, round % 2 == 1 && size == ConfigRecordSize);
        EXPECT_FALSE(record.ContestEnabled);
        ForEachLeafSetting(record, [](const std::string &path, const auto &field) {
            using Field = std::remove_cvref_t<decltype(field)>;
            if constexpr (requires { Field::capacity; }) {
                EXPECT_LE(field.size(), Field::capacity) << path;
            }
        });
        TConfigRecord again = record;
        ClampSettings(again);
        EXPECT_EQ(RecordBytes(again), RecordBytes(record));
    }
}

TEST(ConfigFile, FailedSaveThrowsAndLeavesNoFile)
{
    TempDir dir;
    TConfigRecord record = BuiltInConfig();
    const std::string file = dir.file("missing/VELLUM.CFG");
    EXPECT_THROW(SaveConfig(record, file, ScreenInfo{}), EFileError);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ConfigFile, ProgramRecordLoadsFromTheSaveDirectoryAndIsPublished)
{
    TempDir dir;
    SetProgramDir(dir.path());
    CreateProgramDirs();
    TConfigRecord stored = BuiltInConfig();
    stored.Speed = 31;
    stored.DefQSO_Group = 4;
    SaveConfig(stored, DataFileName(DataFile::Config), ScreenInfo{});

    RecordingNotifier notifier;
    EXPECT_TRUE(LoadConfig(std::nullopt, notifier));
    EXPECT_EQ(Config().Speed, 31);
    EXPECT_EQ(ConfigSnapshot()->Speed, 31);

    Config().Speed = 35; // not seen by the threads until published
    EXPECT_EQ(ConfigSnapshot()->Speed, 31);
    PublishConfigSnapshot();
    EXPECT_EQ(ConfigSnapshot()->Speed, 35);

    SaveConfig(ScreenInfo{});
    TConfigRecord reread;
    EXPECT_TRUE(LoadConfig(reread, DataFileName(DataFile::Config), ScreenInfo{}, notifier));
    EXPECT_EQ(reread.Speed, 35);
    Config() = BuiltInConfig();
    PublishConfigSnapshot();
}

TEST(ConfigSnapshot, ReaderThreadSeesOnlyWholePublishedRecords)
{
    TConfigRecord record = BuiltInConfig();
    record.tone = record.Speed * 10;
    record.PSK31KEYS[15] = std::to_string(record.Speed);
    ConfigPublisher publisher(record);
    std::atomic<bool> done{false};
    std::atomic<int> torn{0}, backwards{0}, reads{0};
    std::thread reader([&] {
        std::int32_t last = 0;
        while (!done.load()) {
            const std::shared_ptr<const TConfigRecord> snapshot = publisher.Snapshot();
            const std::int32_t speed = snapshot->Speed;
            // The writer always changes these together.
            if (snapshot->wpm != speed || snapshot->tone != speed * 10 ||
                snapshot->PSK31KEYS[15].view() != std::to_string(speed))
                ++torn;
            if (speed < last)
                ++backwards;
            last = speed;
            ++reads;
        }
    });
    for (std::int32_t i = 21; i <= 3000; ++i) {
        record.Speed = i;
        record.wpm = i;
        record.tone = i * 10;
        record.PSK31KEYS[15] = std::to_string(i);
        publisher.Publish(record);
    }
    while (reads.load() < 100)
        std::this_thread::yield();
    done = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_EQ(backwards.load(), 0);
    EXPECT_EQ(publisher.Snapshot()->Speed, 3000);
}

} // namespace
} // namespace vellum
