// The Reports menu, the report window and the award chart window in the whole
// program, offscreen.

#include "reports/Fawardchart.h"
#include "reports/Faskmodeband.h"
#include "reports/Freportform.h"
#include "reports/Fqsltools.h"
#include "reports/Freports.h"

#include "app/programcontext.h"
#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "awards/awardstatus.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "print/Fprintdialog.h"
#include "qso/Fqso.h"
#include "qso/qsoentry.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/Fwindowtest.h"
#include "testsupport/command.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <set>

namespace vellum {
namespace {

std::string fileText(const std::string &file)
{
    std::vector<std::uint8_t> bytes = test::ReadFile(file);
    return std::string(bytes.begin(), bytes.end());
}

/// A double click on a cell, as a user makes it: a click, then the double click.
void doubleClick(QTableWidget *grid, int row, int column)
{
    QTableWidgetItem *item = grid->item(row, column);
    ASSERT_NE(item, nullptr) << row << "," << column;
    grid->scrollToItem(item);
    QPoint at = grid->visualItemRect(item).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

int columnNamed(QTableWidget *grid, const char *name)
{
    for (int column = 0; column < grid->columnCount(); ++column)
        if (grid->horizontalHeaderItem(column)->text() == QString::fromLatin1(name))
            return column;
    return -1;
}

int rowWith(QTableWidget *grid, int column, const QString &text)
{
    for (int row = 0; row < grid->rowCount(); ++row)
        if (grid->item(row, column) && grid->item(row, column)->text() == text)
            return row;
    return -1;
}

class ReportWindowTest : public test::ProgramTest {
protected:
    ReportWindowTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "report-windows") {}
    void SetUp() override
    {
        config.LASTLOG = "<none>";
        config.Personal_Callsign = "QQ1XYZ";
        program.Start({RegisterQsoWindows, RegisterReportWindows});
        chooser.file = QString::fromStdString(program.SaveFile("TEST.VLL"));
        main->NewClick();
        ASSERT_NE(main->QsoWindow(), nullptr);
        const char *prefixes[] = {"DL", "F", "G", "I", "JA", "VK", "ZS", "PY", "K", "UA"};
        for (int i = 0; i < 10; ++i) {
            std::int32_t country = countries.CountryIndexOfPrefix(prefixes[i]);
            ASSERT_GT(country, 0) << prefixes[i];
            test::QsoBuilder(std::string(prefixes[i]) + "1A")
                .date(2020 + i % 4, 1 + i, 10)
                .time(12, i)
                .band(static_cast<std::uint8_t>(i % 2 ? 5 : 3))
                .mode(i % 3 ? 4 : 14)
                .reports(599, 599)
                .country(static_cast<std::int16_t>(country), countries.Country(country).cqZone)
                .qslFlags(static_cast<std::uint8_t>(QslFlag::ValidDX | (i % 2 ? QslFlag::Cnfm : 0)))
                .with(&TQsoRec::Iota, i < 3 ? "EU005" : "")
                .addTo(log());
        }
        main->Host().Entry()->RefreshFromLog();
    }
    void TearDown() override
    {
        SetModeBandAsker(nullptr);
        SetPrintSetupAsker(nullptr);
    }

    TQsoData &log() { return *main->Log(); }
    QsoEntry &entry() { return *main->Host().Entry(); }
    /// The calls of the QSOs the QSO window shows now (selection, search, what a tool admits).
    std::set<std::string> shownCalls()
    {
        std::set<std::string> calls;
        for (const TQsoRec *qso : log())
            if (entry().IsShown(*qso))
                calls.insert(std::string(qso->Call.view()));
        return calls;
    }
    /// A QSO of Germany, 1 May 2023, valid for DXCC unless flags say otherwise.
    void addDl(const char *call, std::uint8_t band, std::uint8_t mode, std::uint8_t flags, std::uint32_t awardFlags = 0,
               std::uint16_t qslDay = 0)
    {
        std::int32_t germany = countries.CountryIndexOfPrefix("DL");
        test::QsoBuilder(call)
            .date(2023, 5, 1)
            .time(10, static_cast<int>(log().Count() % 60))
            .band(band)
            .mode(mode)
            .reports(599, 599)
            .country(static_cast<std::int16_t>(germany), countries.Country(germany).cqZone)
            .qslFlags(flags)
            .awdFlags(awardFlags)
            .qslDate(qslDay)
            .addTo(log());
    }
    TReportForm *openReport(const char *menuName)
    {
        SetModeBandAsker([] { return std::optional<ModeBandChoice>(ModeBandChoice{}); });
        menuItem(menuName)->trigger();
        return lastReport();
    }
    QAction *menuItem(const char *name) { return main->QsoWindow()->findChild<QAction *>(QString::fromLatin1(name)); }
    TReportForm *lastReport()
    {
        TReportForm *found = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *form = qobject_cast<TReportForm *>(widget); form && form->isVisible())
                found = form;
        return found;
    }
};

TEST_F(ReportWindowTest, ReportsMenuHasASubmenuPerAwardInOrder)
{
    auto *menu = main->QsoWindow()->findChild<QMenu *>(QStringLiteral("ReportsMenu"));
    ASSERT_NE(menu, nullptr);
    QStringList titles;
    for (QAction *action : menu->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"DXCC", "WAS", "WAZ", "IOTA", "WPX", "Counties", "VUCC", "Custom", "Contest",
                                   "Change Award Flags", "Award Chart"}));
    QStringList dxcc;
    for (QAction *action : menu->actions()[0]->menu()->actions())
        dxcc << action->text();
    EXPECT_EQ(dxcc, (QStringList{"Listing", "Listing (include deleted)", "Needed Listing", "Summary",
                                 "Summary (include deleted)", "Submission", "Five Band Submission"}));
    EXPECT_EQ(menu->actions()[7]->menu()->actions().size(), 8) << "Custom has the eight kinds";
}

TEST_F(ReportWindowTest, DxccListingAsksBandAndModeAndShowsTheStanding)
{
    SetModeBandAsker([] { return std::optional<ModeBandChoice>(ModeBandChoice{}); });
    menuItem("DXCCListing1")->trigger();
    TReportForm *form = lastReport();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Countries listing (ALL modes, ALL bands)");
    auto *grid = form->findChild<QTableWidget *>(QStringLiteral("Report_Grid"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), static_cast<int>(form->Table().lines.size()));
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "MIX");
    int row = 0;
    while (row < grid->rowCount() && grid->item(row, 0)->text() != "DL")
        ++row;
    ASSERT_LT(row, grid->rowCount());
    EXPECT_EQ(grid->item(row, 1)->text(), "Fed. Rep. of Germany");
    EXPECT_EQ(grid->item(row, 2)->text(), "W") << "DL1A is worked, not confirmed";
    grid->scrollToItem(grid->item(row, 0), QAbstractItemView::PositionAtTop);
    form->resize(760, 420);
    test::SaveScreenshot(form, "report-dxcc-listing.png");
    form->close();

    // Cancelling "Select Band/Mode" opens nothing.
    SetModeBandAsker([] { return std::nullopt; });
    menuItem("DXCCSummary1")->trigger();
    EXPECT_EQ(lastReport(), nullptr);
}

TEST_F(ReportWindowTest, SelectBandModeKeepsOneSpecificChoice)
{
    TGetReportMode dialog;
    auto *modes = dialog.findChild<QListWidget *>(QStringLiteral("GetReportMode_Mode"));
    auto *bands = dialog.findChild<QListWidget *>(QStringLiteral("GetReportMode_Band"));
    ASSERT_TRUE(modes && bands);
    EXPECT_EQ(bands->item(5)->text(), "  20m");
    modes->item(2)->setCheckState(Qt::Checked); // CW
    EXPECT_EQ(dialog.Choice().group, 2);
    bands->item(5)->setCheckState(Qt::Checked); // 20m resets the mode to ALL
    EXPECT_EQ(dialog.Choice().band, 5);
    EXPECT_EQ(dialog.Choice().group, 0);
    EXPECT_EQ(modes->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(modes->item(2)->checkState(), Qt::Unchecked);
    bands->item(5)->setCheckState(Qt::Unchecked); // the checked entry stays checked
    EXPECT_EQ(bands->item(5)->checkState(), Qt::Checked);
}

TEST_F(ReportWindowTest, ReportWindowPrintsWritesCsvAndCallsUpTheBestQso)
{
    menuItem("IOTAListingWorked1")->trigger();
    TReportForm *form = lastReport();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->Table().lines.size(), 1u);
    const std::string csv = dir.file("out/iota.csv");
    ASSERT_TRUE(form->WriteCsv(QString::fromStdString(csv)));
    EXPECT_EQ(fileText(csv).substr(0, 42), "Nr,IOTA,Name,Callsign,Date,Band,Status\r\n1,");

    const std::string pdf = dir.file("printed/iota.pdf");
    SetPrintSetupAsker([&pdf](QWidget *, PrintSetupChoice &choice) {
        choice.destination = PrintDestination::File;
        choice.fileName = pdf;
        return true;
    });
    form->Print();
    std::string text = test::PdfText(pdf);
    EXPECT_NE(text.find("IOTA Listing"), std::string::npos) << text;
    EXPECT_NE(text.find("EU005"), std::string::npos) << text;

    // The best QSO of EU005 is the confirmed one (F1A); the QSO window shows it.
    form->CallUpRow(0);
    ASSERT_NE(main->Host().Entry()->ShownQso(), nullptr);
    EXPECT_EQ(main->Host().Entry()->ShownQso()->Call, "F1A");
    // Once the QSO is gone, the window does not touch the freed record.
    main->Host().Entry()->DeleteQso();
    form->CallUpRow(0);
    EXPECT_EQ(lastMessage(), "QSO does not exist");
    form->close();

    menuItem("IOTABandSummary1")->trigger();
    ASSERT_NE(lastReport(), nullptr);
    lastReport()->CallUpRow(0);
    EXPECT_EQ(lastMessage(), "Cannot select QSO(s) from this report");
}

TEST_F(ReportWindowTest, DoubleClickOnAListingCellSearchesItsQsos)
{
    constexpr std::uint8_t B40 = 3, B20 = 5, B15 = 7, CW = 4, SSB = 14, DxccModeSubmitted = 0x10;
    const std::uint8_t valid = QslFlag::ValidDX, confirmed = QslFlag::ValidDX | QslFlag::Cnfm;
    addDl("DL2AA", B20, CW, confirmed, DxccModeSubmitted);
    addDl("DL3BB", B20, SSB, valid);
    addDl("DL4CC", B40, CW, valid, 0, *DayNumber(2023, 6, 1));
    addDl("DL5DD", B20, CW, QslFlag::Cnfm); // not valid for DXCC
    addDl("DL6EE", B15, CW, confirmed);
    addDl("DL2ZZ", B40, CW, valid);
    // DL1A of the fixture: 40m SSB, worked.

    TReportForm *form = openReport("DXCCListing1");
    ASSERT_NE(form, nullptr);
    auto *grid = form->findChild<QTableWidget *>(QStringLiteral("Report_Grid"));
    ASSERT_NE(grid, nullptr);
    int dl = rowWith(grid, 0, "DL");
    ASSERT_GE(dl, 0);
    auto cellOf = [&](const char *column) {
        int at = columnNamed(grid, column);
        EXPECT_GE(at, 0) << column;
        return at;
    };
    struct Case {
        const char *column;
        const char *letter;
        std::set<std::string> calls;
    };
    const Case cases[] = {
        {"MIX", "C", {"DL2AA", "DL6EE"}}, // the confirmed QSOs valid for DXCC
        {"CW", "S", {"DL2AA"}},           // CW, confirmed, DXCC mode submitted
        {"20", "C", {"DL2AA"}},           // 20m confirmed; DL5DD is not valid for DXCC
        {"40", "M", {"DL4CC"}},           // 40m with a QSL sent
    };
    for (const Case &c : cases) {
        int column = cellOf(c.column);
        if (column < 0)
            continue;
        EXPECT_EQ(grid->item(dl, column)->text(), c.letter) << c.column;
        doubleClick(grid, dl, column);
        EXPECT_EQ(entry().Mode(), QsoWindowMode::Filtered) << c.column;
        EXPECT_EQ(shownCalls(), c.calls) << c.column;
        entry().CancelFilter();
    }

    // Entity columns and never-worked cells call nothing up.
    doubleClick(grid, dl, 0);
    EXPECT_EQ(lastMessage(), "Please select a mode or a band");
    int unworked = rowWith(grid, cellOf("MIX"), QString::fromUtf8("\u00B7"));
    ASSERT_GE(unworked, 0);
    doubleClick(grid, unworked, cellOf("MIX"));
    EXPECT_EQ(lastMessage(), "Cannot select a QSO that never occured");
    EXPECT_EQ(entry().Mode(), QsoWindowMode::Browse);
    form->close();

    // WPX has no field in the QSO window: the prefix is searched all the same.
    form = openReport("WPXListing1");
    ASSERT_NE(form, nullptr);
    grid = form->findChild<QTableWidget *>(QStringLiteral("Report_Grid"));
    int dl2 = rowWith(grid, 0, "DL2");
    ASSERT_GE(dl2, 0);
    int forty = cellOf("40");
    ASSERT_GE(forty, 0);
    EXPECT_EQ(grid->item(dl2, forty)->text(), "W");
    doubleClick(grid, dl2, forty);
    EXPECT_EQ(shownCalls(), (std::set<std::string>{"DL2ZZ"}));
    form->close();
}

TEST_F(ReportWindowTest, DoubleClickOnASubmissionLineCallsItsQsoUp)
{
    addDl("DL2AA", 5, 4, QslFlag::ValidDX | QslFlag::Cnfm, 0x10); // carries a DXCC submitted bit
    TReportForm *form = openReport("DXCCSubmission1");
    ASSERT_NE(form, nullptr);
    auto *grid = form->findChild<QTableWidget *>(QStringLiteral("Report_Grid"));
    int line = rowWith(grid, columnNamed(grid, "Call"), "DL2AA");
    ASSERT_GE(line, 0);
    doubleClick(grid, line, 0);
    ASSERT_NE(entry().ShownQso(), nullptr);
    EXPECT_EQ(entry().ShownQso()->Call, "DL2AA");
    form->close();

    // A summary counts entities: no QSO to call up.
    form = openReport("DXCCSummary1");
    ASSERT_NE(form, nullptr);
    doubleClick(form->findChild<QTableWidget *>(QStringLiteral("Report_Grid")), 1, 1);
    EXPECT_EQ(lastMessage(), "Cannot select QSO(s) from this report");
}

TEST_F(ReportWindowTest, ItemSubmissionMarksOnceTheWindowIsMade)
{
    log().MarkSaved();
    menuItem("IOTASubmission1")->trigger();
    ASSERT_NE(lastReport(), nullptr);
    EXPECT_TRUE(log().IsModified());
    int marked = 0;
    for (const TQsoRec *qso : log())
        marked += (qso->AwdFlags & ItemMask::Iota) != 0;
    EXPECT_EQ(marked, 1);
}

TEST_F(ReportWindowTest, AwardChartShowsSavesAndPrints)
{
    menuItem("AwardChart1")->trigger();
    TAwardChartForm *chart = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<TAwardChartForm *>(widget))
            chart = form;
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->Chart().levels[0].worked.back(), 10);
    EXPECT_EQ(chart->Chart().levels[0].confirmed.back(), 5);
    chart->ShowAward(AwardWAZ);
    EXPECT_EQ(chart->Chart().award, AwardWAZ);
    chart->ShowAward(AwardDXCC);
    test::SaveScreenshot(chart, "award-chart.png");

    const std::string png = dir.file("pictures/chart.png");
    const std::string svg = dir.file("pictures/chart.svg");
    ASSERT_TRUE(chart->SavePng(QString::fromStdString(png)));
    ASSERT_TRUE(chart->SaveSvg(QString::fromStdString(svg)));
    EXPECT_EQ(fileText(png).substr(1, 3), "PNG");
    EXPECT_NE(fileText(svg).find("MIX wkd 10"), std::string::npos);

    const std::string pdf = dir.file("printed/chart.pdf");
    SetPrintSetupAsker([&pdf](QWidget *, PrintSetupChoice &choice) {
        choice.destination = PrintDestination::File;
        choice.fileName = pdf;
        return true;
    });
    chart->Print();
    std::string text = test::PdfText(pdf);
    EXPECT_NE(text.find("DXCC standing over time"), std::string::npos) << text;
    EXPECT_NE(text.find("QSOs per band and year"), std::string::npos) << text;
    chart->close();
}

TEST_F(ReportWindowTest, QslToolsMarkAndRemoveDuplicates)
{
    ASSERT_NE(menuItem("MarkForQSL1"), nullptr);
    ASSERT_NE(menuItem("ChangeQSLRouting1"), nullptr);
    TMarkQSLDialog mark(main->Host(), log());
    auto *award = mark.findChild<QComboBox *>(QStringLiteral("MarkQSL_Award"));
    auto *method = mark.findChild<QComboBox *>(QStringLiteral("MarkQSL_Method0"));
    ASSERT_TRUE(award && method);
    EXPECT_EQ(method->itemText(0), "") << "the big awards preselect no method";
    award->setCurrentIndex(6); // DX single band
    EXPECT_EQ(method->currentText(), "Buro");
    EXPECT_FALSE(mark.findChild<QComboBox *>(QStringLiteral("MarkQSL_Method1"))->isVisibleTo(&mark));
    // The five unconfirmed QSOs, each of another call, outside the home country QQ.
    EXPECT_EQ(mark.Run(), 5);
    EXPECT_EQ(lastMessage(), "5 Additional QSOs marked");

    // Two labelled twins: one keeps its label.
    for (int i = 0; i < 2; ++i)
        test::QsoBuilder("DL1A")
            .date(2024, 1, 1 + i)
            .band(5)
            .mode(4)
            .reports(599, 599)
            .qslFlags(QslFlag::Label)
            .qslMethod(1)
            .addTo(log());
    TChangeQSL routing(main->Host(), log());
    EXPECT_EQ(routing.RunOperation(3), 1);
    EXPECT_EQ(routing.findChild<QLabel *>(QStringLiteral("ChangeQSL_Panel"))->text(), "One QSO changed");
}

TEST_F(ReportWindowTest, DoubleClickOnARoutingCountShowsOnlyThoseQsosUntilClosed)
{
    constexpr std::uint8_t Buro = 1, Direct = 3;
    auto addJa = [this](const char *call, std::uint8_t flags, std::uint8_t method) {
        test::QsoBuilder(call).date(2024, 2, 1).band(5).mode(4).reports(599, 599).qslFlags(flags).qslMethod(method).addTo(log());
    };
    addJa("JA2AA", QslFlag::Label, Direct);
    addJa("JA3BB", QslFlag::Label, Direct);
    addJa("JA4CC", QslFlag::Label, Buro);
    addJa("JA5DD", 0, Direct); // not labelled
    entry().RefreshFromLog();

    menuItem("ChangeQSLRouting1")->trigger();
    TChangeQSL *routing = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<TChangeQSL *>(widget); dialog && dialog->isVisible())
            routing = dialog;
    ASSERT_NE(routing, nullptr) << "the dialog stays open beside the QSO window";
    auto *counts = routing->findChild<QTableWidget *>(QStringLiteral("ChangeQSL_Counts"));
    ASSERT_NE(counts, nullptr);
    const int noManager = 1, direct = 2;
    ASSERT_EQ(counts->verticalHeaderItem(noManager)->text(), "No manager");
    ASSERT_EQ(counts->horizontalHeaderItem(direct)->text(), "Direct");
    EXPECT_EQ(counts->item(noManager, direct)->text(), "2");

    doubleClick(counts, noManager, direct);
    EXPECT_EQ(shownCalls(), (std::set<std::string>{"JA2AA", "JA3BB"}));
    ASSERT_NE(entry().ShownQso(), nullptr);
    EXPECT_TRUE(shownCalls().count(std::string(entry().ShownQso()->Call.view())));

    // An empty count has nothing to show; the window keeps what it shows.
    doubleClick(counts, 3, 3);
    EXPECT_EQ(lastMessage(), "No matching QSO found");
    EXPECT_EQ(shownCalls().size(), 2u);

    const TQsoRec *before = entry().ShownQso();
    routing->close();
    EXPECT_EQ(shownCalls().size(), static_cast<std::size_t>(log().Count())) << "closing shows every QSO again";
    EXPECT_EQ(entry().ShownQso(), before);
}

} // namespace
} // namespace vellum
