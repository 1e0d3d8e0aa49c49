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
#include "logstore/qsodata.h"
#include "print/Fprintdialog.h"
#include "qso/Fqso.h"
#include "qso/qsoentry.h"
#include "testsupport/qsobuilder.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

namespace vellum {
namespace {

std::string pdfText(const std::string &file)
{
    std::string text;
    FILE *pipe = ::popen(("pdftotext -layout '" + file + "' - 2>/dev/null").c_str(), "r");
    std::array<char, 4096> buffer;
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe))
        text += buffer.data();
    if (pipe)
        ::pclose(pipe);
    return text;
}

std::string fileText(const std::string &file)
{
    std::vector<std::uint8_t> bytes = test::ReadFile(file);
    return std::string(bytes.begin(), bytes.end());
}

void saveShot(QWidget *window, const char *name)
{
    if (const char *shots = std::getenv("VELLUM_SCREENSHOT_DIR"))
        window->grab().save(QString::fromLocal8Bit(shots) + "/" + name);
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
    saveShot(form, "report-dxcc-listing.png");
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
    std::string text = pdfText(pdf);
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
    saveShot(chart, "award-chart.png");

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
    std::string text = pdfText(pdf);
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

} // namespace
} // namespace vellum
