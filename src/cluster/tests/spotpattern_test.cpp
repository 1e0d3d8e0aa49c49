// Cluster and skimmer lines through the spotting patterns, the date, time and
// QSX rules, the mode and band of a spot, its class against a real log, and the
// warning patterns.

#include "spotfixture.h"

#include "cluster/spotpattern.h"

#include "logstore/qsotables.h"

#include "testsupport/qsobuilder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vellum {
namespace {

constexpr const char *ClusterPattern = "DX|DE|r:|f|c|q|tZ";

ParsedSpot parsed(const char *pattern, const std::string &line, bool expectMatch = true)
{
    ParsedSpot spot;
    EXPECT_EQ(MatchSpotPattern(pattern, SpotMatchText(line), 2026, spot), expectMatch) << line;
    return spot;
}

TEST(SpotPattern, ClusterAndSkimmerLinesAsNodesSendThem)
{
    ParsedSpot spot = parsed(ClusterPattern, "DX de W3LPL:     14025.0  JA1ABC       big signal here   1234Z");
    EXPECT_DOUBLE_EQ(spot.freqKHz, 14025.0);
    EXPECT_EQ(spot.call, "JA1ABC");
    EXPECT_EQ(spot.spotter, "W3LPL");
    EXPECT_EQ(spot.remarks, "BIG SIGNAL HERE");
    EXPECT_EQ(spot.time, 12 * 60 + 34);
    EXPECT_EQ(spot.date, 0);

    // Skimmer spots: "-#" spotters, dB and WPM comments, lower case, no blank before the frequency.
    spot = parsed(ClusterPattern, "DX de EA5WU-#:7005.5  VK9XX        CW 22 dB 28 WPM CQ             2359Z");
    EXPECT_EQ(spot.spotter, "EA5WU-#");
    EXPECT_EQ(spot.remarks, "CW 22 DB 28 WPM CQ");
    spot = parsed(ClusterPattern, "dx de k1ttt-2:  3502.1  zs6aa/p  tnx 0001z");
    EXPECT_EQ(spot.call, "ZS6AA/P");
    EXPECT_EQ(spot.spotter, "K1TTT-2");
    EXPECT_EQ(spot.time, 1);
    // A leading "." of a frequency reads as "0.", four characters at least.
    EXPECT_DOUBLE_EQ(parsed("f|c*", ".137 OK1ABC").freqKHz, 0.137);

    // Remarks that fill the line are cut to 33 characters; a line without remarks has none.
    spot = parsed(ClusterPattern, "DX de W3LPL: 14025.0 JA1ABC " + std::string(60, 'X') + " 1234Z");
    EXPECT_EQ(spot.remarks.size(), 33u);
    spot = parsed(ClusterPattern, "DX de W3LPL: 14025.0 JA1ABC 1234Z");
    EXPECT_EQ(spot.remarks, "");
    EXPECT_EQ(spot.time, 12 * 60 + 34);
}

TEST(SpotPattern, WhatIsNoSpot)
{
    parsed(ClusterPattern, "DX de W3LPL:  140  JA1ABC  cq  1234Z", false);          // three-character frequency
    parsed(ClusterPattern, "DX de W3LPL: 14025.0 JA1ABCDEFGHIJ cq 1234Z", false);  // 13 characters
    parsed(ClusterPattern, "DX de W3LPL: 14025.0 12345 cq 1234Z", false);          // no letter
    parsed(ClusterPattern, "DX de W3LPL: 14025.0 JA1//ABC cq 1234Z", false);       // doubled stroke
    parsed(ClusterPattern, "DX de W3LPL: 14025.0 /JA1ABC cq 1234Z", false);        // leading stroke
    parsed(ClusterPattern, "DX de W3LPL: 14025.0 JA1ABC cq 2561Z", false);         // no such time
    parsed(ClusterPattern, "DX de W3LPL: 14025.0 JA1ABC cq -123Z", false);
    parsed(ClusterPattern, "DX de W3LPL: 14025.0", false);                         // the line ends first
    parsed(ClusterPattern, "     ", false);
    EXPECT_TRUE(IsSpotCallsign("3B8/K1A?"));
    EXPECT_FALSE(IsSpotCallsign("K1"));
}

TEST(SpotPattern, DatesOfTheShowDxForms)
{
    const char *pattern = "f|c|d|tZ|q|<r>";
    ParsedSpot spot = parsed(pattern, " 14025.0  K1ABC       12-Jan-2025 1234Z  big signal          <W3LPL>");
    EXPECT_EQ(spot.date, *DayNumber(2025, 1, 12));
    EXPECT_EQ(spot.spotter, "W3LPL");
    EXPECT_EQ(spot.remarks, "BIG SIGNAL");
    EXPECT_EQ(parsed(pattern, "14025.0 K1ABC 2-Jan-25 1234Z x <W3LPL>").date, *DayNumber(2025, 1, 2));
    EXPECT_EQ(parsed(pattern, "14025.0 K1ABC 31/12/2025 1234Z x <W3LPL>").date, *DayNumber(2025, 12, 31));
    EXPECT_EQ(parsed(pattern, "14025.0 K1ABC 12-Jan 1234Z x <W3LPL>", false).date, 0);
    parsed(pattern, "14025.0 K1ABC 31-Feb-2025 1234Z x <W3LPL>", false);
    parsed(pattern, "14025.0 K1ABC xx-Jan-2025 1234Z x <W3LPL>", false);
}

TEST(SpotPattern, QsxMarkersInTheRemarks)
{
    auto qsx = [](double kHz, const std::string &remarks) {
        ParsedSpot spot = parsed(ClusterPattern, "DX de W3LPL: " + std::to_string(kHz) + " JA1ABC " + remarks + " 1234Z");
        ApplyQsxMarker(spot);
        return RepairQsx(spot.freqKHz, spot.qsx);
    };
    EXPECT_DOUBLE_EQ(qsx(14025, "UP 5"), 14030);
    EXPECT_DOUBLE_EQ(qsx(14025, "up5"), 14030);
    EXPECT_DOUBLE_EQ(qsx(14025, "DN 2.5"), 14022.5);
    EXPECT_DOUBLE_EQ(qsx(14195, "QSX 225"), 14225);
    EXPECT_DOUBLE_EQ(qsx(14195, "QSX 25"), 14125);
    EXPECT_DOUBLE_EQ(qsx(14195, "QSX 14210"), 14210);
    EXPECT_DOUBLE_EQ(qsx(14025, "QSX 7050"), 0) << "17050 is still too far";
    EXPECT_DOUBLE_EQ(qsx(14025, "no marker"), 0);
    EXPECT_DOUBLE_EQ(qsx(14025, "UP"), 0) << "a marker without a number";
}

TEST(SpotPattern, WarningPatterns)
{
    EXPECT_TRUE(MatchWarningPattern("QQ0ABC DE *:*", "QQ0ABC DE K1TTT: hello"));
    EXPECT_FALSE(MatchWarningPattern("QQ0ABC DE *:*", "QQ0ABC DE K1TTT hello"));
    EXPECT_TRUE(MatchWarningPattern("TO ALL DE *", "TO ALL DE W3LPL: QRT"));
    EXPECT_TRUE(MatchWarningPattern("WWV", "WWV de W0MU <18>: SFI=120"));
    EXPECT_FALSE(MatchWarningPattern("WWV", " WWV"));
    EXPECT_TRUE(MatchWarningPattern("*", "x"));
    EXPECT_FALSE(MatchWarningPattern("*", ""));
    EXPECT_FALSE(MatchWarningPattern("", "anything"));
}

TEST(SpotPattern, HostileLinesAreMatchedInLinearTime)
{
    std::string line = "DX de " + std::string(200000, 'A') + ":" + std::string(200000, ' ') + std::string(100000, '9');
    auto start = std::chrono::steady_clock::now();
    ParsedSpot spot;
    for (const char *pattern : {ClusterPattern, "f|c|d|tZ|q|<r>", "r|f|c|q|<t|d>", "DX|c|f|q"})
        EXPECT_FALSE(MatchSpotPattern(pattern, line, 2026, spot));
    EXPECT_TRUE(MatchWarningPattern("*A*A*A*A*A*", line));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "no backtracking";
}

// --- from a line to a ranked spot -------------------------------------------------------

/// A CW QSO on 20 m a few days ago, counted for the awards, not confirmed.
void worked(test::SpotBench &bench, const char *call)
{
    test::QsoBuilder(call)
        .day(static_cast<std::uint16_t>(bench.today - 10))
        .band(5)
        .mode(4)
        .reports(599, 599)
        .qslFlags(QslFlag::ValidDX)
        .resolvedBy(bench.resolver)
        .addTo(*bench.log);
}

TEST(SpotIntake, DateTimeModeBandAndCountryOfTheSpot)
{
    test::SpotBench bench;
    bench.minutes = 10; // 00:10 UTC
    std::optional<TSpotRecord> spot = bench.intake.ParseLine("DX de W3LPL:  14025.0  JA1ABC   CQ UP 5   2350Z");
    ASSERT_TRUE(spot);
    EXPECT_EQ(spot->Date.get(), bench.today - 1) << "23:50 heard at 00:10 is yesterday's";
    EXPECT_DOUBLE_EQ(spot->Qsx.get(), 14030);
    EXPECT_EQ(spot->Band, 5);
    EXPECT_EQ(ModeName(spot->Mode), "CW");
    EXPECT_EQ(bench.countries.CountryName(spot->Country), "Japan");

    bench.minutes = 1430; // 23:50: a spot of 00:10 is tomorrow's
    EXPECT_EQ(bench.intake.ParseLine("DX de W3LPL:  14025.0  JA1ABC   CQ   0010Z")->Date.get(), bench.today + 1);
    // No time (an announcement as typed: "DX call freq remarks"): now; the phone
    // part of the band gives SSB, a mode word wins over it.
    spot = bench.intake.ParseLine("DX JA1ABC 14205.0 loud");
    ASSERT_TRUE(spot);
    EXPECT_EQ(spot->Time.get(), 1430);
    EXPECT_EQ(ModeName(spot->Mode), "SSB");
    EXPECT_EQ(ModeName(bench.intake.ParseLine("DX de W3LPL: 14205.0 JA1ABC rtty 1200Z")->Mode), "RTTY");
    EXPECT_EQ(ModeName(bench.intake.ParseLine("DX de W3LPL: 14085.0 JA1ABC FSK 1200Z")->Mode), "RTTY");
    EXPECT_EQ(ModeName(bench.intake.ParseLine("DX de W3LPL: 14205.0 JA1ABC AMAZING 1200Z")->Mode), "SSB")
        << "AM inside a word is no mode";
    spot = bench.intake.ParseLine("DX de DL1ABC: 14025.0 3B8CW QSX 7050 1201Z");
    EXPECT_EQ(spot->Remarks.view(), "QSX? QSX 7050");
    EXPECT_DOUBLE_EQ(spot->Qsx.get(), 0);

    EXPECT_FALSE(bench.intake.ParseLine("DX de W3LPL: 12000.0 JA1ABC outside every band 1200Z"));
    EXPECT_FALSE(bench.intake.ParseLine("DX de W3LPL"));
}

TEST(SpotIntake, ClassesAgainstTheLogTheAlertListAndTheSpotterFilter)
{
    test::SpotBench bench;
    auto classOf = [&bench](const std::string &line) {
        std::optional<TSpotRecord> spot = bench.intake.ParseLine(line);
        return spot ? spot->Class : '?';
    };
    EXPECT_EQ(classOf("DX de W3LPL: 14025.0 JA1ABC cq 1200Z"), '1');
    worked(bench, "JA1XYZ");
    EXPECT_EQ(classOf("DX de W3LPL: 14025.0 JA1ABC cq 1200Z"), '4') << "worked, not confirmed, different call";
    EXPECT_EQ(classOf("DX de W3LPL: 14205.0 JA1ABC cq 1200Z"), '2') << "phone is a new mode";
    EXPECT_EQ(classOf("DX de W3LPL: 7005.0 JA1ABC cq 1200Z"), '3');
    EXPECT_EQ(classOf("DX de W3LPL: 14025.0 JA1XYZ cq 1200Z"), '6') << "the same call on the same band and mode";

    bench.config.Packet_DXCallsign = "K1ABC,JA1XYZ,";
    EXPECT_EQ(classOf("DX de W3LPL: 14025.0 JA1XYZ cq 1200Z"), '1');

    // Spotters outside the accepted prefixes and zones make a spot of no interest; unknown ones never.
    bench.config.Packet_DXCallsign = "";
    bench.config.Packet_OkPrefixes = "DL,#5,";
    EXPECT_EQ(classOf("DX de DL1ABC-#: 14025.0 3B8CW cq 1200Z"), '1');
    EXPECT_EQ(classOf("DX de W1AW: 14025.0 3B8CW cq 1200Z"), '1') << "zone 5";
    EXPECT_EQ(classOf("DX de JA1ZZZ: 14025.0 3B8CW cq 1200Z"), '6');
    EXPECT_EQ(classOf("DX de Q0QQQ: 14025.0 3B8CW cq 1200Z"), '1') << "unknown spotter country";
}

TEST(SpotIntake, LinesTalkAlertsAndTheCappedQueue)
{
    test::SpotBench bench;
    bench.config.Packet_DXAlert = 2; // "New Mode"
    LineOutcome first = bench.intake.ProcessLine("DX de W3LPL: 14025.0 JA1ABC cq 1200Z");
    EXPECT_EQ(first.added, SpotAdded::Inserted);
    EXPECT_TRUE(first.announce);
    LineOutcome again = bench.intake.ProcessLine("DX de K1TTT: 14026.0 JA1ABC cq 1201Z");
    EXPECT_EQ(again.added, SpotAdded::Replaced);
    EXPECT_FALSE(again.announce) << "a spot that replaced an entry is not announced again";

    bench.config.Packet_IgnoreGray = true;
    worked(bench, "K1ABC");
    EXPECT_EQ(bench.intake.ProcessLine("DX de W3LPL: 14025.0 K1ABC cq 1200Z").added, SpotAdded::Dropped);
    EXPECT_EQ(bench.list.Count(), 1u);

    bench.config.packet_talk1 = "QQ0ABC DE *:*";
    EXPECT_EQ(bench.intake.ProcessLine("qq0abc de K1TTT: are you there").kind, LineKind::Talk);
    EXPECT_EQ(bench.intake.ProcessLine("nothing to see here").kind, LineKind::None);
    for (int i = 0; i < 25; ++i)
        bench.intake.ProcessLine("WWV de W0MU <" + std::to_string(i) + ">");
    ASSERT_EQ(bench.intake.TalkList().size(), SpotIntake::TalkCapacity);
    EXPECT_EQ(bench.intake.TalkList().back(), "WWV de W0MU <24>");
    bench.config.Packet_talkaction = 0; // "Ignore"
    EXPECT_EQ(bench.intake.ProcessLine("WWV de W0MU <99>").kind, LineKind::None);

    for (std::size_t i = 0; i < SpotIntake::QueueCapacity + 3; ++i)
        bench.intake.Queue("line");
    EXPECT_EQ(bench.intake.Waiting(), SpotIntake::QueueCapacity);
    EXPECT_EQ(bench.intake.Dropped(), 3u);
}

} // namespace
} // namespace vellum
