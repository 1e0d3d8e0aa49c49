// Types into the real QSO window offscreen.

#include "qsoformtest.h"

#include "testsupport/logfilebuilder.h"
#include "app/testing/Fprogram.h"
#include "testsupport/tempdir.h"

#include "qso/Fqso.h"
#include "qso/Fsamecal.h"
#include "qso/Fxsummary.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "exchange/Fimportexport.h"

#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/countryfile.h"
#include "logstore/daytime.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST_F(QsoFormTest, ARealTimeQsoGetsCountryZoneAndDirection)
{
    EXPECT_EQ(form->Mode(), QsoWindowMode::AddRealTime) << "New starts adding in real time";
    main->AppIdle();
    EXPECT_EQ(main->findChild<QLabel *>("PanStatus")->text(), "Add real-time");
    type("FQso_Call", "dl1abc");
    EXPECT_EQ(field("FQso_Call")->text(), "DL1ABC") << "calls are typed in upper case";
    QTest::keyClick(field("FQso_Call"), Qt::Key_Tab);
    leave("FQso_Call");
    EXPECT_EQ(field("FQso_Prefix")->text(), "DL");
    EXPECT_EQ(field("FQso_Zone")->text(), "14");
    EXPECT_FALSE(form->findChild<QLabel *>("F_DirDist")->text().isEmpty());
    enter();
    ASSERT_EQ(log().Count(), 1);
    const TQsoRec &q = *log().Get(0);
    EXPECT_EQ(q.Call, "DL1ABC");
    EXPECT_EQ(q.Country, countries.CountryIndexOfPrefix("DL"));
    EXPECT_EQ(q.Zone, 14);
    EXPECT_EQ(q.Mode, 14);
    EXPECT_EQ(q.RstSent, 59);
    EXPECT_EQ(q.Date, TodayDayNumber());
    EXPECT_TRUE(field("FQso_Call")->text().isEmpty()) << "a blank QSO follows";
    EXPECT_EQ(form->Mode(), QsoWindowMode::AddRealTime);
}

TEST_F(QsoFormTest, AnOfflineQsoTakesTheTypedDateAndTime)
{
    entry().AddOffline();
    addOffline("JA1XYZ", "2019-06-01", "12:34");
    ASSERT_EQ(log().Count(), 1);
    EXPECT_EQ(log().Get(0)->Date, *DayNumber(2019, 6, 1));
    EXPECT_EQ(log().Get(0)->Time, 12 * 3600 + 34 * 60);
    EXPECT_EQ(log().Get(0)->Zone, 25);
    EXPECT_EQ(field("FQso_Date")->text(), "2019-06-01") << "the next QSO keeps the date";

    type("FQso_Call", "W1AW");
    type("FQso_Date", "2019-13-01");
    enter();
    EXPECT_EQ(log().Count(), 1) << "an impossible date is refused";
    EXPECT_NE(lastMessage().find("Not a valid date"), std::string::npos);
}

TEST_F(QsoFormTest, ReportRulesAndBadCallsigns)
{
    chooseMode("CW");
    EXPECT_EQ(field("Fqso_rsts")->text(), "599") << "a mode change sets the default report";
    type("FQso_Call", "K1ABC");
    type("fqso_rstr", "59A");
    enter();
    EXPECT_EQ(log().Count(), 1) << "59A passes for CW";
    EXPECT_EQ(log().Get(0)->RstRcvd, 1059);

    type("FQso_Call", "K2ABC");
    type("fqso_rstr", "59B");
    enter();
    EXPECT_EQ(lastMessage(), "Bad RST field value");

    chooseMode("SSB");
    EXPECT_EQ(field("Fqso_rsts")->text(), "59");
    type("fqso_rstr", "599");
    EXPECT_EQ(field("fqso_rstr")->text(), "59") << "SSB reports have two digits: the third is refused while typing";
    type("fqso_rstr", "59A");
    EXPECT_EQ(field("fqso_rstr")->text(), "59");
    chooseMode("CW");
    type("fqso_rstr", "59A");
    EXPECT_EQ(field("fqso_rstr")->text(), "59A");
    chooseMode("SSB");
    entry().Set(QsoField::RstRcvd, "599"); // as an imported QSO may hold it
    entry().RefreshCustomAwards();         // shows the entry again
    EXPECT_EQ(field("fqso_rstr")->text(), "599") << "a stored report is shown in full";
    enter();
    EXPECT_EQ(lastMessage(), "Invalid Combination of Mode and RST");
    type("fqso_rstr", "");
    type("Fqso_rsts", "");
    enter();
    EXPECT_EQ(log().Count(), 2) << "empty reports pass";

    for (const char *bad : {"K1", "1234", "K1//A", "K1AB/"}) {
        notifier.shown.clear();
        type("FQso_Call", bad);
        enter();
        EXPECT_EQ(lastMessage(), "Bad Callsign") << bad;
    }
    EXPECT_EQ(log().Count(), 2);
}

TEST_F(QsoFormTest, AnOverruledCountryIsLearned)
{
    entry().AddOffline();
    addOffline("AB1CD", "2020-01-01", "10:00");
    addOffline("AB1CD", "2021-01-01", "10:00");
    type("FQso_Call", "AB1CD");
    leave("FQso_Call");
    type("FQso_Date", "2020-06-01");
    type("FQso_Time", "10:00");
    type("FQso_Prefix", "KH6");
    field("FQso_Prefix")->setModified(true);
    leave("FQso_Prefix");
    EXPECT_EQ(field("FQso_Zone")->text(), "31");
    enter();
    ASSERT_EQ(log().Count(), 3);
    std::int32_t hawaii = countries.CountryIndexOfPrefix("KH6");
    int hawaiian = 0;
    for (const TQsoRec *q : log())
        hawaiian += q->Country == hawaii;
    EXPECT_EQ(hawaiian, 2) << "the new QSO and the later one";
    type("FQso_Call", "AB1CD");
    type("FQso_Date", "2022-01-01");
    leave("FQso_Date");
    EXPECT_EQ(field("FQso_Prefix")->text(), "KH6") << "the next QSO resolves to the choice";
}

TEST_F(QsoFormTest, ContestDupesAndSequenceNumbers)
{
    config.ContestEnabled = 1;
    config.ContestStartDate = static_cast<std::uint16_t>(TodayDayNumber() - 1);
    config.ContestStartTime = 0;
    config.ContestNextNumber = 17;
    config.ContestNoteText = "NR ##";
    entry().ContestSettingsChanged();
    EXPECT_EQ(main->ContestNumberPanel()->text(), "17");
    chooseBand("20m");
    chooseMode("CW");
    type("FQso_Call", "K1ABC");
    leave("FQso_Call");
    EXPECT_FALSE(entry().CallIsDupe());
    enter();
    ASSERT_EQ(log().Count(), 1);
    EXPECT_EQ(log().Get(0)->QsoNote.text(), "NR 17");
    EXPECT_EQ(main->ContestNumberPanel()->text(), "18");

    type("FQso_Call", "K1ABC");
    leave("FQso_Call");
    EXPECT_TRUE(entry().CallIsDupe());
    EXPECT_NE(field("FQso_Call")->styleSheet().indexOf("red"), -1);
    chooseBand("15m");
    EXPECT_FALSE(entry().CallIsDupe()) << "another band is no dupe";

    field("FQso_Call")->clear();
    entry().AddOffline();
    addOffline("K3XYZ", "2020-01-01", "01:00");
    EXPECT_EQ(log().Get(0)->QsoNote.text(), "NR ##") << "off-line notes keep the text as it is";
}

TEST_F(QsoFormTest, UpdateDeleteAndLeavingTheAddModes)
{
    entry().AddOffline();
    addOffline("G4ABC", "2020-01-01", "01:00");
    addOffline("G4XYZ", "2020-01-02", "01:00");
    // Leaving with a call typed: Cancel stays, No drops it, Yes adds it.
    type("FQso_Call", "G4NEW");
    notifier.answers = {Answer::Cancel};
    entry().EscapePressed();
    EXPECT_EQ(form->Mode(), QsoWindowMode::AddOffline);
    EXPECT_EQ(lastMessage(), "Save the QSO you just added?");
    notifier.answers = {Answer::No};
    entry().EscapePressed();
    EXPECT_EQ(form->Mode(), QsoWindowMode::Browse);
    EXPECT_EQ(log().Count(), 2);
    entry().AddOffline();
    type("FQso_Call", "G4YES");
    type("FQso_Date", "2020-01-03");
    notifier.answers = {Answer::Yes};
    entry().EscapePressed();
    EXPECT_EQ(log().Count(), 3);
    EXPECT_EQ(form->Mode(), QsoWindowMode::Browse);
    ASSERT_NE(entry().ShownQso(), nullptr);
    EXPECT_EQ(entry().ShownQso()->Call, "G4YES") << "leaving shows the last QSO";

    // Update the shown QSO (F10) and delete one (Ctrl+Del).
    entry().GoFirst();
    type("Fqso_noteqso", "corrected");
    EXPECT_TRUE(entry().UpdateQso());
    EXPECT_EQ(log().Get(0)->QsoNote.text(), "corrected");
    entry().GoFirst();
    notifier.answers = {Answer::No};
    entry().DeleteQso();
    EXPECT_EQ(log().Count(), 3);
    notifier.answers = {Answer::Yes};
    entry().DeleteQso();
    EXPECT_EQ(log().Count(), 2);
    EXPECT_EQ(entry().ShownQso()->Call, "G4XYZ");
    notifier.answers = {Answer::Yes, Answer::Yes};
    entry().DeleteQso();
    entry().DeleteQso();
    EXPECT_EQ(form->Mode(), QsoWindowMode::AddOffline) << "an empty log switches to adding";
}

TEST_F(QsoFormTest, NavigationInSortOrdersWithASelection)
{
    entry().AddOffline();
    const char *calls[] = {"K1AA", "K1AA", "K1AA", "K2BB", "K3CC"};
    for (int i = 0; i < 5; ++i)
        addOffline(calls[i], QString("2020-01-0%1").arg(i + 1), "10:00");
    entry().EscapePressed();
    entry().SetSortOrder(static_cast<int>(SortKey::Call));
    entry().GoFirst();
    EXPECT_EQ(entry().ShownQso()->Call, "K1AA");
    entry().GoNextSorted();
    EXPECT_EQ(entry().ShownQso()->Call, "K2BB") << "Next Sorted skips the call's other QSOs";
    entry().GoPreviousSorted();
    EXPECT_EQ(entry().ShownQso()->Call, "K1AA");
    const TQsoRec *shown = entry().ShownQso();
    entry().SetSortOrder(static_cast<int>(SortKey::Zone));
    EXPECT_EQ(entry().ShownQso(), shown) << "changing the order keeps the shown QSO";
    entry().SetSortOrder(static_cast<int>(SortKey::Date));
    entry().SetAdmits([](const TQsoRec &r) { return r.Call != "K2BB"; });
    entry().GoFirst();
    entry().GoNext();
    entry().GoNext();
    entry().GoNext();
    EXPECT_EQ(entry().ShownQso()->Call, "K3CC") << "QSOs the selection does not admit are skipped";
    entry().GoNext();
    EXPECT_EQ(entry().ShownQso()->Call, "K3CC") << "past the end: the QSO stays";
}

TEST_F(QsoFormTest, ATypedQsoReadsBackFieldForFieldAfterSaving)
{
    ASSERT_EQ(config.DefQSO_Method, 1) << "new QSOs go via the bureau";
    ASSERT_EQ(config.DefQSO_Label, 1) << "and get a label";
    entry().AddOffline();
    type("FQso_Call", "W1AW");
    leave("FQso_Call");
    type("FQso_Date", "2024-03-07");
    type("FQso_Time", "18:05");
    chooseMode("CW");
    chooseBand("40m");
    type("Fqso_rsts", "579");
    type("fqso_rstr", "559");
    type("Fqso_recvd", "001");
    type("Fqso_grid", "fn31pr");
    leave("Fqso_grid");
    type("Fqso_noteqso", "first try");
    type("FQSO_group", "2");
    list("Fqso_ylx")->setCurrentIndex(0);
    list("Faw_dxcc_band")->setCurrentIndex(1);
    enter();
    ASSERT_EQ(log().Count(), 1);
    main->SaveClick();

    QProcess cli;
    cli.start(VELLUM_CLI, {"--dir", QString::fromStdString(dir.path()), "log", "dump",
                           QString::fromStdString(dir.path() + "/SAVE/TEST.VLL")});
    ASSERT_TRUE(cli.waitForFinished(20000));
    QString line = QString::fromUtf8(cli.readAllStandardOutput()).trimmed();
    std::int32_t usa = countries.CountryIndexOfPrefix("K");
    QString expected = QStringLiteral("{\"Call\":\"W1AW\",\"Time\":65100,\"Date\":%1,\"Band\":3,\"Mode\":4,"
                                      "\"AwdFlags\":64,\"RstRcvd\":559,\"RstSent\":579,\"State\":%2,\"Iota\":\"\","
                                      "\"County\":0,\"Grid\":\"FN31pr\",\"QslDate\":0,\"QslMethod\":1,\"Satellite\":1,"
                                      "\"Group\":2,\"PrtSeqNr\":0,\"Recvd\":\"001\",\"Country\":%3,\"Zone\":5,"
                                      "\"QslFlags\":44,\"CustAwd\":\"\",\"CustValue\":\"\",\"WpxPfx\":\"W1\","
                                      "\"QsoNote\":\"first try\"}")
                           .arg(*DayNumber(2024, 3, 7))
                           .arg(log().Get(0)->State)
                           .arg(usa);
    EXPECT_EQ(line.toStdString(), expected.toStdString());
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST_F(QsoFormTest, F2MarksForSequencedPrintingAndDisabledFieldsLoseTheirTabStop)
{
    config.F_F2_label = 2;
    config.F_F2_Confirm = 1;
    entry().AddOffline();
    addOffline("K1AA", "2020-01-01", "10:00");
    addOffline("K2BB", "2020-01-02", "10:00");
    addOffline("K1AA", "2020-01-03", "10:00");
    entry().EscapePressed();
    entry().GoFirst();
    entry().ConfirmLabel();
    EXPECT_EQ(log().HighestPrtSeqNr(), 1);
    entry().GoFirst();
    entry().GoNext();
    entry().ConfirmLabel();
    EXPECT_EQ(log().HighestPrtSeqNr(), 2);
    entry().GoLast();
    notifier.answers = {Answer::Yes};
    entry().ConfirmLabel(); // K1AA holds number 1, which is not the highest: insert behind it
    EXPECT_NE(lastMessage().find("Same call marked already as number 1"), std::string::npos);
    std::map<std::string, std::vector<int>> numbers;
    for (const TQsoRec *q : log())
        numbers[q->Call.str()].push_back(q->PrtSeqNr);
    EXPECT_EQ(numbers["K1AA"], (std::vector<int>{1, 2}));
    EXPECT_EQ(numbers["K2BB"], (std::vector<int>{3}));
    EXPECT_TRUE(log().Get(0)->QslFlags & QslFlag::Cnfm) << "F2 confirms too";
    entry().GoFirst();
    entry().ConfirmLabel();
    EXPECT_EQ(lastMessage(), "QSO is marked for sequence printing already");

    std::array<bool, 23> disabled{};
    disabled[1] = true; // Date
    entry().SetTabDisabled(disabled);
    EXPECT_EQ(field("FQso_Date")->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(field("FQso_Time")->focusPolicy(), Qt::StrongFocus);
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST_F(QsoFormTest, F9FromAnotherWindowKeepsTheFieldBeingTyped)
{
    field("Fqso_rsts")->setFocus();
    EXPECT_EQ(form->focusWidget(), field("Fqso_rsts"));
    main->Host().FocusQsoWindow();
    EXPECT_EQ(form->focusWidget(), field("Fqso_rsts")) << "the focus goes back to the field, not to the window";
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST_F(QsoFormTest, SearchByPatternFuzzyTimeAndUnsentQsl)
{
    entry().EscapePressed();
    entry().StartSearch(false);
    EXPECT_NE(form->Mode(), QsoWindowMode::SearchEntry) << "a search over an empty log is not started";

    entry().AddOffline();
    addOffline("QQ1AB", "2020-01-01", "12:00");
    addOffline("QQ2AB", "2020-01-02", "11:52");
    addOffline("QQ10AB", "2020-01-03", "12:09");
    addOffline("QQ1CED", "2020-01-04", "03:00");
    type("FQso_Call", "DL1ABC");
    type("Fqso_QSLdate", "2020-02-01");
    type("FQso_Date", "2020-01-05");
    enter();
    ASSERT_EQ(log().Count(), 5);
    entry().EscapePressed();

    config.DefQSO_CallSearch = 2; // Pattern
    entry().StartSearch(false);
    ASSERT_EQ(form->Mode(), QsoWindowMode::SearchEntry);
    main->AppIdle();
    EXPECT_EQ(main->findChild<QLabel *>("PanStatus")->text(), "Specify Filter");
    EXPECT_EQ(list("Fqso_modex")->currentIndex(), 0) << "lists take a blank value";
    EXPECT_EQ(list("Fqso_modex")->currentText(), "");
    chooseMode("CW");
    EXPECT_EQ(entry().Index(QsoList::Mode) + 1, ModeOfName("CW"));
    EXPECT_EQ(field("Fqso_rsts")->text(), "") << "a mode searched for adds no report condition";
    list("Fqso_modex")->setCurrentIndex(0);
    emit list("Fqso_modex")->activated(0);
    EXPECT_EQ(entry().Index(QsoList::Mode), -1) << "the blank item is no condition again";
    type("FQso_Call", "QQ?AB");
    enter();
    ASSERT_EQ(form->Mode(), QsoWindowMode::Filtered);
    EXPECT_EQ(entry().CountQsos(), 2);
    EXPECT_EQ(lastMessage(), "2 QSOs found");
    entry().GoFirst();
    EXPECT_EQ(entry().ShownQso()->Call, "QQ1AB");
    entry().GoNext();
    EXPECT_EQ(entry().ShownQso()->Call, "QQ2AB");
    entry().GoNext();
    EXPECT_EQ(entry().ShownQso()->Call, "QQ2AB") << "QQ10AB does not match";

    config.DefQSO_CallSearch = 3; // Fuzzy
    entry().StartSearch(false);
    type("FQso_Call", "QQ1CDE");
    enter();
    EXPECT_EQ(entry().ShownQso()->Call, "QQ1CED");

    config.DefQSO_CallSearch = 1;
    entry().StartSearch(false);
    type("FQso_Time", "12:00");
    enter();
    EXPECT_EQ(entry().CountQsos(), 2) << "12:00 finds 11:52 but not 12:09";

    entry().StartSearch(false);
    type("Fqso_QSLdate", "1901-01-01");
    enter();
    EXPECT_EQ(entry().CountQsos(), 4) << "the QSOs whose QSL was not sent";

    entry().StartSearch(true);
    EXPECT_EQ(field("Fqso_QSLdate")->text(), "1901-01-01") << "the old filter comes back";
    type("Fqso_QSLdate", "");
    type("FQso_Call", "NONE");
    enter();
    EXPECT_EQ(lastMessage(), "No matching QSO found");
    EXPECT_EQ(form->Mode(), QsoWindowMode::SearchEntry);
    entry().EscapePressed();
    EXPECT_EQ(form->Mode(), QsoWindowMode::Browse);
    EXPECT_EQ(entry().CountQsos(), 5);
}

} // namespace
} // namespace vellum

#include "qso/Fsamecal.h"

#include <QTableWidget>

namespace vellum {
namespace {

TEST_F(QsoFormTest, SameCallWindowListsTheCallsQsosAndLeadsToThem)
{
    entry().AddOffline();
    addOffline("K1ABC", "2020-01-01", "10:00");
    addOffline("K1ABC/P", "2020-01-02", "10:00");
    addOffline("K1ABC", "2020-01-03", "10:00");
    addOffline("W1AW", "2020-01-04", "10:00");
    entry().EscapePressed();
    main->Host().OpenCompanion(static_cast<CompanionId>(4));
    auto *same = dynamic_cast<TSameCall *>(main->Host().Companion(static_cast<CompanionId>(4)));
    ASSERT_NE(same, nullptr);
    same->ShowCalls("K1ABC");
    ASSERT_EQ(same->Listed().size(), 2u);
    EXPECT_EQ(same->Listed()[0]->Date, *DayNumber(2020, 1, 3)) << "newest first";
    EXPECT_EQ(same->windowTitle(), "Other QSOs") << "the QSO shown is W1AW: no row selected";

    config.DefQSO_CallSearch = 4; // Substring: portable QSOs too
    same->ShowCalls("K1ABC");
    ASSERT_EQ(same->Listed().size(), 3u);
    same->Table()->setCurrentCell(1, 0);
    EXPECT_EQ(same->windowTitle(), "K1ABC found as K1ABC/P");
    same->GotoQso();
    ASSERT_NE(entry().ShownQso(), nullptr);
    EXPECT_EQ(entry().ShownQso()->Call, "K1ABC/P");

    entry().SetAdmits([](const TQsoRec &r) { return r.Call != "K1ABC/P"; });
    entry().GoLast();
    same->ShowCalls("K1ABC");
    same->Table()->setCurrentCell(1, 0);
    same->GotoQso();
    EXPECT_EQ(lastMessage(), "QSO is not in current Selection");

    main->AppIdle(); // refreshes the companion from the QSO window's call
    EXPECT_EQ(same->windowTitle(), "W1AW");
    main->CloseClick();
    notifier.answers = {};
    EXPECT_EQ(main->Host().Companion(static_cast<CompanionId>(4)), nullptr) << "companions close with the log";
    EXPECT_TRUE(config.WindowPos[WindowIndex::CALL].Open) << "and are remembered as open";
}

} // namespace
} // namespace vellum

#include "logstore/selection.h"

namespace vellum {
namespace {

TEST_F(QsoFormTest, TheSelectionInForceDecidesWhatIsShownAndCounted)
{
    entry().AddOffline();
    for (int i = 0; i < 4; ++i) {
        type("FQSO_group", QString::number(i % 2 ? 2 : 1));
        addOffline(QString("K%1ABC").arg(i), QString("2020-01-0%1").arg(i + 1), "10:00");
    }
    entry().EscapePressed();
    TSelection groupTwo = AllQsosSelection();
    groupTwo.Name = "Group two";
    groupTwo.GroupActive = 1;
    groupTwo.SetGroup(2, true);
    log().Selections.push_back(groupTwo);
    ASSERT_TRUE(SetCurrentSelection(log(), 1));
    entry().GoFirst();
    EXPECT_EQ(entry().ShownQso()->Call, "K1ABC");
    entry().GoNext();
    EXPECT_EQ(entry().ShownQso()->Call, "K3ABC");
    EXPECT_EQ(entry().CountQsos(), 2);
    EXPECT_EQ(lastMessage(), "2 QSOs found");
    entry().RefreshFromLog(); // the window shows the caption again
    EXPECT_TRUE(form->windowTitle().endsWith("  Selection: Group two"));
    EXPECT_TRUE(form->windowTitle().startsWith("TEST sorted by Date"));
}

} // namespace
} // namespace vellum


#include <QTableWidget>

namespace vellum {
namespace {

TEST_F(QsoFormTest, SummaryPanelsShowTheBestStatusPerBandAndMode)
{
    for (int band = 1; band < 16; ++band)
        config.StationBands[static_cast<std::size_t>(band)] = 1;
    main->Host().OpenCompanion(static_cast<CompanionId>(0));
    auto *country = dynamic_cast<TXSummary *>(main->Host().Companion(static_cast<CompanionId>(0)));
    ASSERT_NE(country, nullptr);
    country->RefreshCompanion();
    EXPECT_EQ(country->windowTitle(), "Country") << "an empty log and no prefix";

    entry().AddOffline();
    chooseMode("CW");
    chooseBand("20m");
    addOffline("DL1ABC", "2020-01-01", "10:00");
    list("Fqso_confx")->setCurrentIndex(0);
    list("Faw_dxcc_mixed")->setCurrentIndex(1); // submitted
    chooseBand("40m");
    addOffline("DL2ABC", "2020-01-02", "10:00");
    type("FQso_Call", "DL3XYZ");
    leave("FQso_Call");
    main->AppIdle();
    EXPECT_EQ(country->windowTitle(), "Fed. Rep. of Germany");
    int cw = -1;
    for (std::size_t i = 0; i < country->Groups().size(); ++i)
        if (country->Groups()[i] == 2)
            cw = static_cast<int>(i);
    ASSERT_GE(cw, 0);
    EXPECT_EQ(country->CellText(5, cw), "W") << "worked on 20m CW";
    EXPECT_EQ(country->CellText(3, cw), "C") << "confirmed and submitted shows C, not S";
    EXPECT_EQ(country->CellText(7, cw), QString::fromUtf8("\u00B7")) << "not worked on 15m";

    // A dot cell: the warning and nothing else.
    int column15 = -1;
    for (std::size_t i = 0; i < country->Bands().size(); ++i)
        if (country->Bands()[i] == 7)
            column15 = static_cast<int>(i);
    country->CellDoubleClicked(cw, column15);
    EXPECT_EQ(lastMessage(), "Cannot search for QSO that never occured");
    EXPECT_EQ(form->Mode(), QsoWindowMode::AddOffline);
    // A worked cell: a search for the QSOs behind it.
    int column20 = -1;
    for (std::size_t i = 0; i < country->Bands().size(); ++i)
        if (country->Bands()[i] == 5)
            column20 = static_cast<int>(i);
    notifier.answers = {Answer::No}; // do not save the QSO being typed
    country->CellDoubleClicked(cw, column20);
    ASSERT_EQ(form->Mode(), QsoWindowMode::Filtered);
    EXPECT_EQ(entry().ShownQso()->Call, "DL1ABC");

    // Only CW modes at the station: a single "CW" row.
    for (int mode = 1; mode < 16; ++mode)
        config.StationModes[static_cast<std::size_t>(mode)] = mode == 4;
    country->close();
    QApplication::processEvents();
    main->Host().OpenCompanion(static_cast<CompanionId>(0));
    auto *cwOnly = dynamic_cast<TXSummary *>(main->Host().Companion(static_cast<CompanionId>(0)));
    ASSERT_NE(cwOnly, nullptr);
    EXPECT_EQ(cwOnly->Groups(), std::vector<int>{2});
    EXPECT_EQ(cwOnly->Grid()->verticalHeaderItem(0)->text(), "CW");
}

TEST_F(QsoFormTest, GridPanelWithAShortGridShowsDotsOnly)
{
    config.VuccGridLength = 4;
    for (int i = 0; i < 6; ++i)
        config.VuccBands[static_cast<std::size_t>(i)] = 1;
    main->Host().OpenCompanion(static_cast<CompanionId>(8));
    auto *grid = dynamic_cast<TXSummary *>(main->Host().Companion(static_cast<CompanionId>(8)));
    ASSERT_NE(grid, nullptr);
    type("Fqso_grid", "JO");
    grid->RefreshCompanion();
    EXPECT_EQ(grid->windowTitle(), "GRID");
    EXPECT_EQ(grid->Groups(), std::vector<int>{0});
    for (int band : grid->Bands())
        EXPECT_EQ(grid->CellText(band, 0), QString::fromUtf8("\u00B7"));
    type("FQso_Call", "DL1ABC");
    main->Host().OpenCompanion(static_cast<CompanionId>(11));
    auto *wpx = dynamic_cast<TXSummary *>(main->Host().Companion(static_cast<CompanionId>(11)));
    ASSERT_NE(wpx, nullptr);
    wpx->RefreshCompanion();
    EXPECT_EQ(wpx->windowTitle(), "WPX = DL1");
}

} // namespace
} // namespace vellum

#include "country/managers.h"

namespace vellum {
namespace {

TEST_F(QsoFormTest, TheQslManagerTypedIsStoredFromTheQsoDateOn)
{
    entry().AddOffline();
    type("FQso_Call", "VP2EAA");
    leave("FQso_Call");
    type("FQso_Date", "2021-05-01");
    type("FQso_Qsl_Mgr", "w1aw");
    enter();
    ASSERT_EQ(log().Count(), 1);
    EXPECT_EQ(ManagerOf(countries, "VP2EAA", *DayNumber(2021, 5, 1)), "W1AW");
    EXPECT_EQ(ManagerOf(countries, "VP2EAA", *DayNumber(2021, 4, 30)), "") << "not before the QSO date";
    type("FQso_Call", "VP2EAA");
    type("FQso_Date", "2022-01-01");
    leave("FQso_Date");
    EXPECT_EQ(field("FQso_Qsl_Mgr")->text(), "W1AW") << "the next QSO shows the manager in force";
    EXPECT_TRUE(countries.CountryModified);
}

} // namespace
} // namespace vellum


namespace vellum {
namespace {

/// The import's questions answered from a script.
class ScriptedQuestions : public ImportQuestions {
public:
    std::optional<DuplicatePolicy> policy = DuplicatePolicy::Ignore;
    int asked = 0;
    std::optional<DuplicatePolicy> AskDuplicatePolicy() override
    {
        ++asked;
        return policy;
    }
    PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &) override { return PrefixZoneChoice::Vellum; }
};

TEST_F(QsoFormTest, AdifExportAndImportThroughTheProgram)
{
    entry().AddOffline();
    addOffline("DL1ABC", "2020-01-01", "10:00");
    addOffline("JA1XYZ", "2020-01-02", "11:00");
    entry().EscapePressed();
    QString file = QString::fromStdString(dir.path() + "/IMPORT/out.adi");
    ASSERT_TRUE(ExportAdifFile(main->Host(), file));
    ScriptedQuestions questions;
    ASSERT_TRUE(ImportAdifFile(main->Host(), file, questions));
    EXPECT_EQ(questions.asked, 1) << "the log is not empty: the duplicate question is asked";
    EXPECT_EQ(log().Count(), 2) << "both QSOs were duplicates and ignored";

    // Only what the QSO window's search admits is exported when it is set up (and the user says yes).
    entry().StartSearch(false);
    type("FQso_Call", "JA1XYZ");
    enter();
    notifier.answers = {Answer::Yes};
    ASSERT_TRUE(ExportAdifFile(main->Host(), file));
    main->CloseClick();
    chooser.file = QString::fromStdString(dir.path() + "/SAVE/EMPTY.VLL");
    main->NewClick();
    ASSERT_NE(main->Log(), nullptr);
    ASSERT_TRUE(ImportAdifFile(main->Host(), file, questions));
    ASSERT_EQ(main->Log()->Count(), 1);
    EXPECT_EQ(main->Log()->Get(0)->Call, "JA1XYZ");
    EXPECT_EQ(questions.asked, 1) << "an empty log is not asked";
}

} // namespace
} // namespace vellum

#include "awards/customaward.h"

namespace vellum {
namespace {

TEST_F(QsoFormTest, CustomAwardFieldsFollowCountryBandAndMode)
{
    ASSERT_GE(main->Context().CustomAwards().Count(), 2) << "the example definitions are copied into a new program directory";
    config.QsoWindowSize = 4;
    entry().NextWindowSize(); // the whole form
    entry().AddOffline();
    chooseMode("CW");
    chooseBand("10m");
    type("FQso_Call", "W1AW");
    leave("FQso_Call");
    QApplication::processEvents(); // the coalesced rebuild request
    QComboBox *awards = list("Fqso_awdtype");
    EXPECT_GE(awards->findData("1010"), 0) << "Ten-Ten fits 10m CW";
    EXPECT_LT(awards->findData("HELV"), 0) << "Helvetia needs a Swiss call";
    awards->setCurrentIndex(awards->findData("1010"));
    emit awards->activated(awards->currentIndex());
    EXPECT_TRUE(field("Fqso_awdval")->isVisibleTo(form));
    type("Fqso_awdval", "12345");
    type("FQso_Date", "2020-01-01");
    enter();
    ASSERT_EQ(log().Count(), 1);
    EXPECT_EQ(log().Get(0)->CustAwd, "1010");
    EXPECT_EQ(log().Get(0)->CustValue, "12345");
    const TQsoRec *tenTen = log().Get(0);

    chooseBand("20m");
    type("FQso_Call", "HB9ABC");
    leave("FQso_Call");
    QApplication::processEvents();
    EXPECT_LT(awards->findData("1010"), 0) << "not on 20m";
    ASSERT_GE(awards->findData("HELV"), 0);
    awards->setCurrentIndex(awards->findData("HELV"));
    emit awards->activated(awards->currentIndex());
    QComboBox *values = list("Fqso_awdsel");
    EXPECT_TRUE(values->isVisibleTo(form)) << "an award with a value list shows the list";
    values->setCurrentIndex(values->findText("Bern"));
    enter();
    ASSERT_EQ(log().Count(), 2);
    const TQsoRec *swiss = log().Get(0) == tenTen ? log().Get(1) : log().Get(0);
    EXPECT_EQ(swiss->CustAwd, "HELV");
    EXPECT_EQ(swiss->CustValue, "BE") << "the key of the chosen name is stored";
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST_F(QsoFormTest, AFilledFieldPassesTheFocusOnAndPicturesRefuseCharacters)
{
    entry().AddOffline();
    field("FQso_Time")->setFocus();
    field("FQso_Time")->selectAll();
    QTest::keyClicks(field("FQso_Time"), "12:34");
    EXPECT_EQ(form->focusWidget(), list("Fqso_modex")) << "five characters fill the time field";
    field("FQso_Zone")->setFocus();
    field("FQso_Zone")->clear();
    QTest::keyClicks(field("FQso_Zone"), "x");
    EXPECT_EQ(field("FQso_Zone")->text(), "") << "the zone takes digits only";
}

} // namespace
} // namespace vellum
