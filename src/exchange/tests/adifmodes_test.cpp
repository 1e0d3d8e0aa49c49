// ADIF names of today's modes and bands: MODE and SUBMODE, dB reports, the extended
// bands, and a file as a current station's logging program writes it.

#include "importfixture.h"

#include "exchange/adifmodes.h"
#include "exchange/adifwriter.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"

namespace vellum::test {
namespace {

TEST(AdifModes, SubmodesAndModesNameTheRightMode)
{
    struct Case {
        const char *mode, *submode, *expected;
    };
    const Case cases[] = {
        {"MFSK", "FT4", "FT4"},   {"PSK", "PSK63", "PSK"},  {"PSK", "PSK31", "PSK3"},  {"SSB", "USB", "SSB"},
        {"SSB", "LSB", "SSB"},    {"FT8", "", "FT8"},       {"JT65", "JT65B", "JT65"}, {"MFSK", "MFSK16", "MFSK"},
        {"MFSK", "Q65", "Q65"},   {"Q65", "", "Q65"},       {"TOR", "AMTORFEC", "MTOR"}, {"TOR", "GTOR", "GTOR"},
        {"PAC", "PAC3", "PTOR"},  {"PKT", "", "PACK"},      {"CLO", "", "CLOV"},      {"OLIVIA", "OLIVIA 8/250", "OLIVIA"},
        {"DIGITALVOICE", "C4FM", "DV"}, {"DSTAR", "", "DV"}, {"", "FT4", "FT4"},     {"ft8", "", "FT8"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ModeName(ModeOfAdif(c.mode, c.submode)), c.expected) << c.mode << "/" << c.submode;
    EXPECT_EQ(ModeOfAdif("VARA", ""), 0);
    // Every mode is written with names that read back as the same mode, or says it is not.
    for (int mode = 1; mode < AllModeCount; ++mode) {
        AdifModeName name = AdifModeOf(mode);
        EXPECT_EQ(ModeOfAdif(name.mode, name.submode) == mode, name.exact) << ModeName(mode);
    }
}

TEST(AdifModes, OneNameAloneAndTheStartOfOne)
{
    EXPECT_EQ(ModeName(ModeOfAdifName("FT4")), "FT4");   // a SUBMODE
    EXPECT_EQ(ModeName(ModeOfAdifName("PKT")), "PACK");  // a MODE of the ADIF table
    EXPECT_EQ(ModeName(ModeOfAdifName("C4FM")), "DV");
    EXPECT_EQ(ModeName(ModeOfAdifName("olivia")), "OLIVIA");
    EXPECT_EQ(ModeOfAdifName(""), 0);
    // Every program name cut to four characters names its mode again.
    for (int mode = 1; mode < AllModeCount; ++mode) {
        std::string cut = ModeName(mode).substr(0, 4);
        int read = ModeOfAdifName(cut) ? ModeOfAdifName(cut) : ModeOfAdifNameStart(cut);
        EXPECT_EQ(read, mode) << cut;
    }
    EXPECT_EQ(ModeName(ModeOfAdifNameStart("DIGI")), "DV");
    EXPECT_EQ(ModeName(ModeOfAdifNameStart("AMTO")), "MTOR");
    EXPECT_EQ(ModeName(ModeOfAdifNameStart("GTO")), "GTOR") << "the SUBMODE and the program name of one mode";
    EXPECT_EQ(ModeOfAdifNameStart("FST"), 0) << "FSTV and FST4 both begin so";
    EXPECT_EQ(ModeOfAdifNameStart("PS"), 0) << "PSK and PSK3 both begin so";
    EXPECT_EQ(ModeOfAdifNameStart("JT"), 0);
    EXPECT_EQ(ModeOfAdifNameStart(" "), 0);
    EXPECT_EQ(ModeOfAdifNameStart("XYZ"), 0);
}

TEST_F(ImportTest, EveryModeAndBandRoundTripsWithDbReports)
{
    std::string adif = "<EOH>";
    int written = 0;
    for (int mode = 1; mode < AllModeCount; ++mode) {
        for (int band = 1; band < AllBandCount; ++band) {
            if (band % 5 != mode % 5 && !IsExtendedBand(band))
                continue; // each extended band with every mode, the classic ones spread over the modes
            TQsoRec qso;
            qso.Call = "DL" + std::to_string(mode) + "X" + std::to_string(band);
            qso.Date = static_cast<std::uint16_t>(day(2024, 1, 1) + written / 1000);
            qso.Time = written % 1000 * 60;
            qso.Mode = static_cast<std::uint8_t>(mode);
            qso.Band = static_cast<std::uint8_t>(band);
            bool dB = ModeInfoOf(mode).dbReport;
            qso.RstSent = dB ? *EncodeRst("-" + std::to_string(mode)) : DefaultReport(mode);
            qso.RstRcvd = dB ? *EncodeRst("+0" + std::to_string(band % 10)) : DefaultReport(mode);
            WriteAdifRecord(adif, qso, {countries, log->Notes});
            ++written;
        }
    }
    ImportResult result = import(adif);
    EXPECT_EQ(result.counters.errors, 0);
    EXPECT_EQ(result.counters.simpleErrors, 0);
    ASSERT_EQ(log->Count(), written);
    for (std::int32_t i = 0; i < log->Count(); ++i) {
        const TQsoRec &q = qso(i);
        std::string call = q.Call.str();
        int mode = std::stoi(call.substr(2, call.find('X') - 2));
        ASSERT_EQ(q.Mode, mode) << call;
        EXPECT_EQ(q.Band, std::stoi(call.substr(call.find('X') + 1))) << call;
        if (ModeInfoOf(mode).dbReport) {
            EXPECT_EQ(DecodeRst(q.RstSent), "-" + std::string(mode < 10 ? "0" : "") + std::to_string(mode));
            EXPECT_EQ(DecodeRst(q.RstRcvd), "+0" + std::to_string(q.Band % 10));
        }
    }
}

} // namespace
} // namespace vellum::test
