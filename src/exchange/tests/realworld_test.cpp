// Files in the styles other programs write, read through ImportLog from disk:
// ADIF 3 with header, application and user-defined fields; no header and
// lower-case tags; old DOS files with type indicators, cp1252 text and a
// Ctrl-Z; contest exchanges; and UTF-8 text whose lengths count characters.

#include "importfixture.h"

#include "logstore/qsotables.h"
#include "logstore/report.h"

namespace vellum::test {
namespace {

class RealWorldFiles : public ImportTest {
protected:
    ImportResult importFile(const std::string &name)
    {
        ImportContext context{*log, countries, resolver, config, questions, dir.string(), today};
        return ImportLog(context, std::string(VELLUM_SOURCE_DIR) + "/src/exchange/tests/data/" + name, filter,
                         RecordFormat::Adif);
    }
};

TEST_F(RealWorldFiles, ModernAdif3WithApplicationFields)
{
    ImportResult result = importFile("modern-adif3.adi");
    EXPECT_EQ(result.outcome, ImportOutcome::Finished);
    ASSERT_EQ(log->Count(), 3);
    EXPECT_EQ(result.counters.read, 3);
    EXPECT_EQ(result.counters.errors, 0);
    EXPECT_EQ(result.counters.simpleErrors, 2); // a Cyrillic name, an unknown county
    EXPECT_EQ(result.counters.countryExceptions, 0) << "DXCC numbers without a prefix map are passed over";

    const TQsoRec &dl = find("DL1ABC");
    EXPECT_EQ(dl.Date, day(2023, 4, 15));
    EXPECT_EQ(dl.Time, 18 * 3600 + 30 * 60 + 12);
    EXPECT_EQ(dl.Band, 5);
    EXPECT_EQ(dl.Mode, ModeOfName("PSK3")) << "SUBMODE PSK31";
    EXPECT_EQ(dl.RstSent, 599);
    EXPECT_EQ(dl.RstRcvd, 579);
    EXPECT_EQ(dl.Zone, 14);
    EXPECT_EQ(dl.Grid, "JN58td");
    EXPECT_EQ(dl.QslDate, day(2023, 4, 20));
    EXPECT_FALSE(dl.QslFlags & QslFlag::Cnfm);
    EXPECT_EQ(dl.QsoNote.text(), "Freq=14.07412");
    EXPECT_EQ(log->Notes.NoteOf("DL1ABC"), "J\xFCrgen|M\xFCnchen") << "UTF-8 made cp1252";

    const TQsoRec &ja = find("JA1XYZ");
    EXPECT_EQ(ja.Band, 7);
    EXPECT_EQ(ja.Mode, ModeOfName("FT8"));
    EXPECT_EQ(DecodeRst(ja.RstSent), "-10");
    EXPECT_EQ(DecodeRst(ja.RstRcvd), "-15");
    EXPECT_TRUE(ja.QslFlags & QslFlag::Cnfm);
    EXPECT_EQ(ja.QsoNote.text(), "Freq=21.074|first JA on 15");
    EXPECT_EQ(log->Notes.NoteOf("JA1XYZ"), "?????") << "characters cp1252 lacks are shown, not garbled";

    const TQsoRec &w = find("W1AW/4");
    EXPECT_EQ(w.Time, 23 * 3600 + 59 * 60);
    EXPECT_EQ(w.Band, 3);
    EXPECT_EQ(countries.StateAbbreviation(w.State), "NC");
    EXPECT_EQ(w.Zone, countries.StateCqZone(w.State));
    EXPECT_EQ(w.Iota, "NA067");
    EXPECT_EQ(log->Notes.NoteOf("W1AW/4"), "QSLVIA bureau");
}

TEST_F(RealWorldFiles, CurrentStationWithTodaysModesAndBands)
{
    ImportResult result = importFile("current-station.adi");
    EXPECT_EQ(result.outcome, ImportOutcome::Finished);
    EXPECT_EQ(result.counters.errors, 0);
    EXPECT_EQ(result.counters.simpleErrors, 0);
    ASSERT_EQ(log->Count(), 11);
    struct Expected {
        const char *call, *mode, *band, *sent, *received;
    };
    const Expected expected[] = {
        {"JA1AA", "FT8", "20m", "-12", "+05"},   {"K1ABC", "FT4", "40m", "-03", "-09"},
        {"EA8AB", "FT8", "60m", "+00", "-20"},   {"G3XYZ", "SSB", "60m", "59", "57"},
        {"OH2AB", "CW", "630m", "559", "579"},   {"SM5AB", "PSK", "20m", "599", "599"},
        {"W1ABC", "JS8", "80m", "-15", "-18"},   {"VK2AB", "DV", "70cm", "59", "59"},
        {"F5ABC", "Q65", "4m", "-22", "-24"},    {"PA3AB", "FST4", "2190m", "-25", "-28"},
        {"ON4AB", "FT8", "13cm", "-07", "-11"},
    };
    for (const Expected &e : expected) {
        const TQsoRec &q = find(e.call);
        EXPECT_EQ(ModeName(q.Mode), e.mode) << e.call;
        EXPECT_EQ(BandLabel(q.Band, false), e.band) << e.call << ": the FREQ of 13cm lies in the Sat range too";
        EXPECT_EQ(DecodeRst(q.RstSent), e.sent) << e.call;
        EXPECT_EQ(DecodeRst(q.RstRcvd), e.received) << e.call;
        EXPECT_EQ(q.QsoNote.text().find("Error"), std::string::npos) << q.QsoNote.text();
    }
    EXPECT_EQ(log->Notes.NoteOf("G3XYZ"), "\xC6r\xF8sk\xF8") << "UTF-8 made cp1252";
    EXPECT_EQ(find("ON4AB").QsoNote.text(), "Freq=2400.100|BandRx=70cm");
}

TEST_F(RealWorldFiles, NoHeaderAndLowerCaseTags)
{
    ImportResult result = importFile("no-header-lower.adi");
    ASSERT_EQ(log->Count(), 4);
    EXPECT_EQ(result.counters.simpleErrors, 1) << "57 is no CW report";
    EXPECT_EQ(qso(0).Call, "G4ABC");
    EXPECT_EQ(qso(0).Time, 9 * 3600 + 15 * 60);
    EXPECT_EQ(qso(1).Time, 9 * 3600 + 15 * 60 + 1);
    EXPECT_EQ(qso(1).Band, 2);
    EXPECT_EQ(qso(1).Mode, 14);
    EXPECT_EQ(qso(1).RstRcvd, 57);
    EXPECT_EQ(qso(2).Call, "F5XYZ");
    EXPECT_EQ(qso(2).Time, 9 * 3600 + 16 * 60);
    EXPECT_EQ(qso(2).RstRcvd, 599);
    EXPECT_EQ(qso(3).Band, 10);
    EXPECT_EQ(qso(3).Mode, ModeOfName("FM"));
}

TEST_F(RealWorldFiles, OldDosFileWithTypeIndicatorsAndCp1252)
{
    ImportResult result = importFile("dos-adif1.adi");
    ASSERT_EQ(log->Count(), 2);
    EXPECT_EQ(result.counters.read, 2);
    EXPECT_EQ(result.counters.zoneExceptions, 1) << "the file puts Austria into zone 14";
    EXPECT_EQ(qso(0).Call, "OE1ABC");
    EXPECT_EQ(qso(0).Date, day(1998, 12, 24));
    EXPECT_EQ(qso(0).Zone, 15) << "the program's own zone stays (imp_action 1)";
    EXPECT_EQ(qso(0).Mode, ModeOfName("RTTY"));
    EXPECT_EQ(qso(1).Band, 7);
    EXPECT_EQ(log->Notes.NoteOf("OE1ABC"), "M\xFCller");
    EXPECT_EQ(log->Notes.NoteOf("HB9XYZ"), "Fran\xE7ois");
    EXPECT_TRUE(lastShown(MessageKind::Warning).empty()) << "a Ctrl-Z after the last record is no cut record";
}

TEST_F(RealWorldFiles, ContestExchanges)
{
    config.Imp_syntax = true;
    ImportResult result = importFile("contest-exchange.adi");
    ASSERT_EQ(log->Count(), 4);
    EXPECT_EQ(result.counters.simpleErrors, 1) << "ON is no state of the state list";
    std::int32_t ma = countries.StateIndex("MA"), ca = countries.StateIndex("CA");
    EXPECT_EQ(qso(0).Call, "K1ABC");
    EXPECT_EQ(qso(0).State, ma);
    EXPECT_EQ(qso(0).Recvd, "MA");
    EXPECT_EQ(qso(0).RstSent, 599);
    EXPECT_EQ(qso(0).QsoNote.text(), "SerNr=001");
    EXPECT_EQ(qso(1).State, ca);
    EXPECT_EQ(qso(1).Zone, countries.StateCqZone(ca));
    EXPECT_EQ(qso(2).Call, "VE3ABC");
    EXPECT_EQ(qso(2).QsoNote.text(), "Error:State=ON|SerNr=003");
    EXPECT_EQ(qso(3).QsoNote.text(), "SerNr=004");
}

TEST_F(RealWorldFiles, Utf8LengthsCountingCharacters)
{
    ImportResult result = importFile("phone-utf8.adi");
    ASSERT_EQ(log->Count(), 1);
    EXPECT_EQ(result.counters.errors, 0);
    EXPECT_EQ(result.counters.simpleErrors, 1) << "the emoji";
    const TQsoRec &ea = qso(0);
    EXPECT_EQ(ea.Call, "EA8ABC");
    EXPECT_EQ(ea.Time, 10 * 3600 + 10 * 60 + 10);
    EXPECT_EQ(ea.Band, 9);
    EXPECT_EQ(ea.Grid, "IL18qc");
    EXPECT_EQ(ea.Zone, 33);
    EXPECT_EQ(ea.QsoNote.text(), "Freq=28.495|great signal ? 73");
    EXPECT_EQ(log->Notes.NoteOf("EA8ABC"), "Jos\xE9|Las Palmas de Gran Canaria");
}

TEST_F(RealWorldFiles, AMissingFileIsToldAndChangesNothing)
{
    ImportResult result = importFile("no-such-file.adi");
    EXPECT_EQ(result.outcome, ImportOutcome::Failed);
    EXPECT_NE(lastShown(MessageKind::Error).find("no-such-file.adi"), std::string::npos);
    EXPECT_EQ(log->Count(), 0);
    EXPECT_FALSE(log->IsModified());
}

} // namespace
} // namespace vellum::test
