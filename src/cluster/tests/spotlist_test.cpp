// The spot list's orders, repeat rule and capacity, the spot file, the CSV
// lines, and the sound thread with a player that records what it was asked to play.

#include "cluster/spotannounce.h"
#include "cluster/spotlist.h"

#include "logstore/daytime.h"
#include "logstore/qsotables.h"
#include "logstore/fileio.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

namespace vellum {
namespace {

const std::uint16_t Day = *DayNumber(2026, 12, 9);

TSpotRecord spot(const char *call, double kHz, int minutes, int mode = 4, char rank = '5', const char *spotter = "W3LPL")
{
    TSpotRecord s;
    s.Call = call;
    s.Freq = kHz;
    s.Band = static_cast<std::uint8_t>(BandOfFreq(static_cast<std::int64_t>(kHz)));
    s.Mode = static_cast<std::uint8_t>(mode);
    s.Date = Day;
    s.Time = static_cast<std::uint16_t>(minutes);
    s.Class = rank;
    s.Spotter = spotter;
    return s;
}

std::vector<std::string> calls(const SpotList &list)
{
    std::vector<std::string> out;
    for (std::size_t row = 0; row < list.Count(); ++row)
        out.push_back(list.At(row).Call.str());
    return out;
}

TEST(SpotList, OrdersRepeatsAndCapacity)
{
    SpotList list(3);
    EXPECT_EQ(list.Add(spot("K1AA", 14025, 600)), SpotAdded::Inserted);
    EXPECT_EQ(list.Add(spot("JA1B", 7005, 590, 4, '1')), SpotAdded::Inserted);
    EXPECT_EQ(list.Add(spot("DL1C", 21010, 605, 4, '3')), SpotAdded::Inserted);
    EXPECT_EQ(calls(list), (std::vector<std::string>{"JA1B", "K1AA", "DL1C"}));

    // The same call on band and mode: a later spot replaces it, an older or equal one is dropped.
    EXPECT_EQ(list.Add(spot("K1AA", 14030, 610)), SpotAdded::Replaced);
    EXPECT_EQ(list.Add(spot("K1AA", 14030, 610)), SpotAdded::Dropped);
    EXPECT_EQ(list.Add(spot("K1AA", 14020, 550)), SpotAdded::Dropped);
    EXPECT_EQ(list.Add(spot("K1AA", 14220, 620, 14)), SpotAdded::Inserted) << "another mode is another key";
    EXPECT_EQ(calls(list), (std::vector<std::string>{"DL1C", "K1AA", "K1AA"})) << "full: the first in order went";

    list.SetOrder(SpotOrder::Frequency);
    EXPECT_EQ(calls(list), (std::vector<std::string>{"K1AA", "K1AA", "DL1C"}));
    list.Add(spot("VK9X", 28500, 700, 14));
    EXPECT_EQ(calls(list), (std::vector<std::string>{"K1AA", "DL1C", "VK9X"})) << "the lowest frequency went";
    EXPECT_EQ(*list.NearestTo(21008), 1u);

    list.SetOrder(SpotOrder::Priority);
    EXPECT_EQ(list.At(2).Call.str(), "DL1C") << "the most wanted class comes last";

    // In arrival order only an exact repeat from the same spotter is dropped.
    SpotList arrivals(10);
    arrivals.SetOrder(SpotOrder::Arrival);
    EXPECT_EQ(arrivals.Add(spot("K1AA", 14025, 600)), SpotAdded::Inserted);
    EXPECT_EQ(arrivals.Add(spot("K1AA", 14025, 600, 4, '5', "K1TTT")), SpotAdded::Inserted);
    EXPECT_EQ(arrivals.Add(spot("K1AA", 14025, 600)), SpotAdded::Dropped);
    EXPECT_EQ(arrivals.Add(spot("K1AA", 14025, 500)), SpotAdded::Inserted);
    EXPECT_EQ(arrivals.LastArrival(), 3);
}

TEST(SpotList, OldSpotsRemovalAndRerankingKeepTheOrder)
{
    SpotList list(10);
    list.Add(spot("OLD1", 14025, 100));
    list.Add(spot("NEW1", 14026, 700));
    list.Add(spot("OLD2", 14027, 200));
    EXPECT_EQ(list.RemoveOlderThan(Day, 720, 120), 2u);
    EXPECT_EQ(calls(list), std::vector<std::string>{"NEW1"});
    list.Add(spot("NEW2", 14028, 710));
    list.SetOrder(SpotOrder::Priority);
    list.ChangeEach([](TSpotRecord &s) { s.Class = s.Call == std::string_view("NEW1") ? '1' : '6'; });
    EXPECT_EQ(calls(list), (std::vector<std::string>{"NEW2", "NEW1"}));
    list.RemoveIf([](const TSpotRecord &s) { return s.Class == '6'; });
    EXPECT_EQ(calls(list), std::vector<std::string>{"NEW1"});
    EXPECT_EQ(list.Add(spot("NEW1", 14025, 720)), SpotAdded::Replaced) << "the key index survives the re-ranking";
}

TEST(SpotFile, RoundTripDamageAndForeignFiles)
{
    test::TempDir dir("spotfile");
    std::string file = dir.file("VELLUM.PUT");
    std::vector<TSpotRecord> spots = {spot("K1AA", 14025.5, 600), spot("JA1B", 7005, 590)};
    spots[0].Qsx = 14030.0;
    spots[0].Remarks = "CQ UP 5";
    spots[0].Arrival = 7;
    WriteSpotFile(file, spots, false);
    std::vector<std::uint8_t> bytes = ReadWholeFile(file);
    ASSERT_EQ(bytes.size(), 6u + 2 * 89);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "\x05SPOTB");
    EXPECT_EQ(bytes[6 + 18], 4) << "call length byte at offset 18";
    EXPECT_EQ(bytes[6 + 46], '5') << "class at offset 46";
    EXPECT_EQ(bytes[6 + 85], 7) << "arrival at offset 85";

    SpotFileContents read = ReadSpotFile(file);
    ASSERT_EQ(read.state, SpotFileState::Read);
    ASSERT_EQ(read.spots.size(), 2u);
    EXPECT_EQ(std::memcmp(&read.spots[0], &spots[0], sizeof(TSpotRecord)), 0);

    // A cut-off file gives its whole records and is kept aside; so is a file of another kind.
    bytes.resize(bytes.size() - 10);
    bytes[6 + 89 + 0] = 0xFF, bytes[6 + 7] = 0x7F, bytes[6 + 6] = 0xF8; // the first frequency is not a number
    WriteWholeFile(file, bytes, false);
    read = ReadSpotFile(file);
    EXPECT_EQ(read.state, SpotFileState::Damaged);
    EXPECT_TRUE(read.spots.empty()) << "a frequency that is not a number is no spot";
    EXPECT_TRUE(std::filesystem::exists(file + ".bad"));
    EXPECT_FALSE(std::filesystem::exists(file));
    WriteWholeFile(file, std::vector<std::uint8_t>{'D', 'X', 'S', 'P', 'O', 'T', 'S'}, false);
    EXPECT_EQ(ReadSpotFile(file).state, SpotFileState::Incompatible);
    EXPECT_TRUE(std::filesystem::exists(file + ".bad"));

    WriteSpotFile(file, {}, false);
    EXPECT_FALSE(std::filesystem::exists(file)) << "an empty list deletes the file";
    EXPECT_EQ(ReadSpotFile(file).state, SpotFileState::Missing);
}

TEST(SpotFile, CsvLines)
{
    TSpotRecord s = spot("K1AA", 14025.25, 12 * 60 + 5);
    s.Remarks = "say \"hi\", 5NN";
    EXPECT_EQ(SpotCsvLine(s), "09-Dec-2026,12:05,K1AA,14025.2,CW,W3LPL,\"say \"\"hi\"\", 5NN\"");
    EXPECT_EQ(SpotsWrittenText(0), "No Spot Written");
    EXPECT_EQ(SpotsWrittenText(1), "One Spot Written");
    EXPECT_EQ(SpotsWrittenText(12), "12 Spots Written");
}

// --- announcements --------------------------------------------------------------------------

TEST(SpotAnnouncement, CwTextAndTheSoundsOfASpot)
{
    TSpotRecord s = spot("3B8/K1A", 1234567, 600, 14, '3');
    s.Band = 12; // 1.2m
    EXPECT_EQ(CwAnnouncement(s), "<1.2M SSB 3B8/K1A> ");
    std::vector<SoundStep> steps = AnnouncementSounds(s, SpotVoice::BandModeCall, false, "/snd");
    std::vector<std::string> files;
    for (const SoundStep &step : steps)
        files.push_back(step.file);
    EXPECT_EQ(files, (std::vector<std::string>{"/snd/bandmode.WAV", "/snd/1_2m.WAV", "/snd/SSB.WAV", "/snd/3.WAV",
                                               "/snd/B.WAV", "/snd/8.WAV", "/snd/stroke.WAV", "/snd/K.WAV",
                                               "/snd/1.WAV", "/snd/A.WAV"}));
    EXPECT_EQ(steps[0].pauseAfterMs, 250);
    EXPECT_EQ(steps[3].pauseAfterMs, 0);
    s.Class = '5';
    EXPECT_EQ(AnnouncementSounds(s, SpotVoice::Call, true, "/snd").front().file, "/snd/callsign.WAV");
    EXPECT_EQ(AnnouncementSounds(s, SpotVoice::Call, false, "/snd").front().file, "/snd/3.WAV");
    // Every sound an announcement can ask for is made by the build.
    std::vector<SpokenSound> sounds = SpokenSounds();
    auto has = [&sounds](const std::string &name) {
        return std::any_of(sounds.begin(), sounds.end(), [&name](const SpokenSound &s) { return s.name == name; });
    };
    for (int band = 1; band < AllBandCount; ++band)
        EXPECT_TRUE(has(BandLabel(band, false)));
    for (int mode = 1; mode < AllModeCount; ++mode)
        EXPECT_TRUE(has(ModeName(mode)));
    EXPECT_TRUE(has("Country") && has("/") && has("Z") && has("0"));
}

/// Plays nothing: records the files and takes a while for each, as a real sound does.
class RecordingPlayer : public SoundPlayer {
public:
    bool Play(const std::string &file, const std::atomic<bool> &cancel) override
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            played.push_back(std::filesystem::path(file).filename().string());
        }
        for (int i = 0; i < 20 && !cancel; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return true;
    }
    std::vector<std::string> Played()
    {
        std::lock_guard<std::mutex> guard(lock);
        return played;
    }
    std::mutex lock;
    std::vector<std::string> played;
};

bool waitFor(const std::function<bool()> &done)
{
    for (int i = 0; i < 1000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

TEST(SpotAnnouncement, TheSoundThreadQueueCancelAndBusyCard)
{
    test::TempDir dir("sounds");
    for (const char *name : {"K", "1", "A", "B"}) // "C" and the class words are missing
        test::WriteFile(SoundFile(dir.path(), name), "RIFF");
    auto owned = std::make_unique<RecordingPlayer>();
    RecordingPlayer &player = *owned;
    Tsndthread thread(std::move(owned), [&dir](const TSpotRecord &s) {
        return AnnouncementSounds(s, SpotVoice::Call, false, dir.path());
    });
    thread.Queue(spot("K1AB", 14025, 600, 4, '1'));
    ASSERT_TRUE(waitFor([&player] { return player.Played().size() == 4; }));
    EXPECT_EQ(player.Played(), (std::vector<std::string>{"K.WAV", "1.WAV", "A.WAV", "B.WAV"}))
        << "missing files are skipped";

    // Twelve spots at once: the queue keeps the last ten.
    ASSERT_TRUE(waitFor([&thread] { return thread.Taken() == 1 && thread.Waiting() == 0; }));
    for (int i = 0; i < 12; ++i)
        thread.Queue(spot("K1C", 14025, 600 + i));
    EXPECT_LE(thread.Waiting(), Tsndthread::QueueCapacity);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    thread.Cancel();
    EXPECT_EQ(thread.Waiting(), 0u);
    std::size_t afterCancel = player.Played().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_LE(player.Played().size(), afterCancel + 1) << "the spot being spoken stops";

    // While the sound card is taken, spots are taken off the queue unheard.
    thread.SetSoundCardBusy([] { return true; });
    std::size_t before = player.Played().size();
    std::size_t taken = thread.Taken();
    thread.Queue(spot("K1AB", 14025, 700));
    ASSERT_TRUE(waitFor([&thread, taken] { return thread.Taken() == taken + 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(player.Played().size(), before);

    // A cancel with nothing queued does not silence the next spot.
    thread.SetSoundCardBusy(nullptr);
    thread.Cancel();
    thread.Queue(spot("AB1", 14025, 800));
    EXPECT_TRUE(waitFor([&player, before] { return player.Played().size() >= before + 3; }));
}

} // namespace
} // namespace vellum
