// The logbook window in the whole program, offscreen: the list over the log and
// the QSO window, following changes, the way into the QSO window, CSV, printing
// to a PDF and the preview, the dialogs.

#include "logbook/Flogbook.h"
#include "logbook/Freportdialogs.h"

#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "print/Fprintdialog.h"
#include "print/Freportsetup.h"
#include "qso/Fqso.h"
#include "qso/qsoentry.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/Fwindowtest.h"
#include "testsupport/command.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPrintPreviewDialog>
#include <QRadioButton>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

namespace vellum {
namespace {

std::string fileText(const std::string &file)
{
    std::vector<std::uint8_t> bytes = test::ReadFile(file);
    return std::string(bytes.begin(), bytes.end());
}

using test::WaitFor;

class LogbookTest : public test::ProgramTest {
protected:
    LogbookTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "logbook-window") {}
    void SetUp() override
    {
        config.LASTLOG = "<none>";
        config.Personal_Callsign = "QQ1XYZ";
        config.Personal_DateFormat = 3;
        program.Start({RegisterQsoWindows, RegisterLogbookWindows});
        chooser.file = QString::fromStdString(program.SaveFile("TEST.VLL"));
        main->NewClick();
        ASSERT_NE(main->QsoWindow(), nullptr);
        const char *calls[] = {"QQ5E", "XX1A", "QQ3C", "K1B", "QQ2DX"};
        for (int i = 0; i < 5; ++i) {
            TQsoRec *qso =
                test::QsoBuilder(calls[i]).date(2024, 3, 1 + i).time(12, i).band(5).mode(4).reports(579, 599).addTo(log());
            qso->QsoNote.set(i == 1 ? "Bob, \"ex XX9Z\"" : "");
        }
        entry().RefreshFromLog();
        QAction *item = main->QsoWindow()->findChild<QAction *>(QStringLiteral("Logbook1"));
        ASSERT_NE(item, nullptr) << "the QSO window's Window menu has Logbook";
        item->trigger();
        logbook = dynamic_cast<TLogbook *>(main->Host().Companion(CompanionId::Logbook));
        ASSERT_NE(logbook, nullptr);
        logbook->show();
    }
    void TearDown() override { SetPrintSetupAsker(nullptr); }

    TQsoData &log() { return *main->Log(); }
    QsoEntry &entry() { return *main->Host().Entry(); }
    void chooseRow(int row) { logbook->Table()->setCurrentIndex(logbook->Table()->model()->index(row, 0)); }
    QString cellText(int row, int column) const
    {
        return logbook->Table()->model()->index(row, column).data().toString();
    }

    TLogbook *logbook = nullptr;
};

TEST_F(LogbookTest, ShowsTheLogInTheStartingReportAndFollowsTheQsoWindow)
{
    EXPECT_EQ(logbook->windowTitle(), "Report: LogBook sorted by Date");
    ASSERT_EQ(logbook->Table()->model()->rowCount(), 5);
    EXPECT_EQ(logbook->Table()->model()->headerData(3, Qt::Horizontal).toString(), "Callsign");
    EXPECT_EQ(cellText(0, 3), "QQ5E");
    EXPECT_EQ(cellText(1, 1), "24-03-02");
    EXPECT_EQ(cellText(4, 0), "5") << "Number counts the rows";
    entry().ShowQso(log().Get(2));
    main->AppIdle();
    EXPECT_EQ(logbook->Table()->currentIndex().row(), 2) << "the QSO window's QSO is the current row";
    test::SaveScreenshot(logbook, "logbook-window.png");
}

TEST_F(LogbookTest, ChangesOfTheLogAreShownAndFreedRecordsNeverTouched)
{
    entry().ShowQso(log().Get(4));
    entry().DeleteQso();
    // Until the idle refresh the window holds no rows: it may repaint meanwhile.
    EXPECT_EQ(logbook->Table()->model()->rowCount(), 0);
    logbook->Table()->viewport()->repaint();
    main->AppIdle();
    EXPECT_EQ(logbook->Table()->model()->rowCount(), 4);
    test::QsoBuilder("QQ9NEW").date(2024, 4, 1).time(8, 0).band(3).mode(4).addTo(log());
    main->AppIdle();
    ASSERT_EQ(logbook->Table()->model()->rowCount(), 5);
    EXPECT_EQ(cellText(4, 3), "QQ9NEW");
}

TEST_F(LogbookTest, GotoQsoMovesTheQsoWindow)
{
    chooseRow(3);
    logbook->GotoQso();
    ASSERT_NE(entry().ShownQso(), nullptr);
    EXPECT_EQ(entry().ShownQso()->Call, "K1B");
    chooseRow(1);
    QTest::keyClick(logbook->Table(), Qt::Key_Return);
    EXPECT_EQ(entry().ShownQso()->Call, "XX1A");
}

TEST_F(LogbookTest, SelectReportChangesColumnsAndSort)
{
    logbook->UseReport(1, SortKey::Call);
    EXPECT_EQ(logbook->windowTitle(), "Report: QSL Status sorted by Callsign");
    EXPECT_EQ(cellText(0, 0), "K1B");
    EXPECT_EQ(config.F_CurrentReport, "QSL Status");
    logbook->UseReport(1, SortKey::Date);
    EXPECT_EQ(cellText(0, 0), "QQ5E");
}

TEST_F(LogbookTest, WriteToFileQuotesNotesWithCommasAndQuotes)
{
    const std::string file = dir.file("export/logbook.csv");
    ASSERT_TRUE(logbook->WriteCsv(QString::fromStdString(file)));
    std::string text = fileText(file);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "Number,Date,Time,Callsign,Band,Mode,rstS,rstR,Country,QSO Notes");
    EXPECT_NE(text.find("\r\n2,24-03-02,12:01,XX1A,20m,CW,599,579,,\"Bob, \"\"ex XX9Z\"\"\"\r\n3,24-03-03,12:02,QQ3C,"),
              std::string::npos)
        << text;
}

TEST_F(LogbookTest, PrintsToAPdfFileAndThePreview)
{
    const std::string pdf = dir.file("printed/logbook.pdf");
    SetPrintSetupAsker([&pdf](QWidget *, PrintSetupChoice &choice) {
        choice.destination = PrintDestination::File;
        choice.fileName = pdf;
        return true;
    });
    logbook->Print();
    std::string text = test::PdfText(pdf);
    EXPECT_NE(text.find("Report: LogBook sorted by Date"), std::string::npos) << text;
    EXPECT_NE(text.find("QQ1XYZ"), std::string::npos) << "the footer names the station";
    for (const char *call : {"QQ5E", "XX1A", "QQ3C", "K1B", "QQ2DX"})
        EXPECT_NE(text.find(call), std::string::npos) << call;

    SetPrintSetupAsker([](QWidget *, PrintSetupChoice &choice) {
        choice.destination = PrintDestination::Preview;
        return true;
    });
    bool previewed = false;
    QTimer::singleShot(0, [&previewed] {
        WaitFor([] { return qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget()) != nullptr; });
        if (auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
            previewed = true;
            preview->resize(900, 700);
            QTest::qWait(50);
            test::SaveScreenshot(preview, "logbook-print-preview.png");
            preview->reject();
        }
    });
    logbook->Print();
    EXPECT_TRUE(previewed);
}

TEST_F(LogbookTest, TheReportGeneratorEditsAndWritesTheDefinitions)
{
    std::vector<std::string> problems;
    TReportDefinitions definitions = TReportDefinitions::Load(ReportDefinitionsFileName(), problems);
    ASSERT_TRUE(problems.empty());
    const int count = definitions.Count();
    TReportDesignerDialog dialog(definitions, 0, ReportDefinitionsFileName(), false, notifier, logbook);
    dialog.NewReport();
    EXPECT_EQ(dialog.Shown(), count);
    auto *available = dialog.findChild<QListWidget *>(QStringLiteral("AvailableFields"));
    auto *report = dialog.findChild<QListWidget *>(QStringLiteral("ReportFields"));
    ASSERT_EQ(report->count(), 1);
    EXPECT_EQ(available->count(), 51);
    available->setCurrentRow(0); // Award
    dialog.AddField();
    EXPECT_EQ(available->currentItem()->text(), "AWD") << "the same position stays chosen";
    dialog.AddField();
    report->setCurrentRow(2);
    dialog.MoveField(-1);
    EXPECT_EQ(report->item(1)->text(), "AWD");
    EXPECT_EQ(report->currentRow(), 1);
    dialog.RemoveAllFields();
    EXPECT_FALSE(dialog.Record()) << "a report needs a field";
    EXPECT_EQ(lastMessage(), "A report needs at least one field");
    available->setCurrentRow(5); // Callsign
    dialog.AddField();
    dialog.findChild<QComboBox *>(QStringLiteral("CurrentReport"))->setEditText("LogBook");
    EXPECT_FALSE(dialog.Record()) << "two reports cannot share a name";
    dialog.findChild<QComboBox *>(QStringLiteral("CurrentReport"))->setEditText("Calls only");
    ASSERT_TRUE(dialog.Record());
    auto back = TReportDefinitions::Load(ReportDefinitionsFileName(), problems);
    ASSERT_EQ(back.Count(), count + 1);
    EXPECT_EQ(back.Name(count), "Calls only");
    EXPECT_EQ(back.Get(count).columns, std::vector<std::uint8_t>{5});
    EXPECT_EQ(back.Name(0), "LogBook") << "the order of the file is kept";
}

TEST_F(LogbookTest, ADefinitionAddedButNotRecordedIsWrittenWhenTheLogbookCloses)
{
    QTimer::singleShot(0, [] {
        WaitFor([] { return qobject_cast<TReportDesignerDialog *>(QApplication::activeModalWidget()) != nullptr; });
        if (auto *designer = qobject_cast<TReportDesignerDialog *>(QApplication::activeModalWidget())) {
            designer->NewReport();
            designer->reject();
        }
    });
    logbook->ReportEditor();
    EXPECT_EQ(fileText(ReportDefinitionsFileName()).find(NonameReport), std::string::npos);
    delete logbook;
    EXPECT_NE(fileText(ReportDefinitionsFileName()).find(NonameReport), std::string::npos);
}

TEST_F(LogbookTest, SelectReportTakesTheSortOfTheChosenReport)
{
    std::vector<std::string> problems;
    TReportDefinitions definitions = TReportDefinitions::Load(ReportDefinitionsFileName(), problems);
    TSelectReport dialog(definitions, 0, SortKey::Zone, logbook);
    auto *reports = dialog.findChild<QComboBox *>(QStringLiteral("ReportFormat"));
    EXPECT_EQ(dialog.Sort(), SortKey::Zone);
    reports->setCurrentIndex(1);
    emit reports->activated(1);
    EXPECT_EQ(dialog.Report(), 1);
    EXPECT_EQ(dialog.Sort(), SortKey::Call) << "QSL Status is sorted by Callsign";
}

TEST(ReportSetup, ShowsTheFieldsOfTheChoiceAndStoresIt)
{
    TMyReportSetup setup;
    setup.show();
    auto *fileName = setup.findChild<QLineEdit *>(QStringLiteral("FileName"));
    auto *from = setup.findChild<QSpinBox *>(QStringLiteral("From"));
    auto *to = setup.findChild<QSpinBox *>(QStringLiteral("To"));
    EXPECT_TRUE(setup.findChild<QRadioButton *>(QStringLiteral("Printer"))->isChecked());
    EXPECT_TRUE(setup.findChild<QRadioButton *>(QStringLiteral("All"))->isChecked());
    EXPECT_FALSE(fileName->isVisible());
    EXPECT_FALSE(from->isVisible());
    PrintSetupChoice preset = setup.Choice();
    EXPECT_EQ(preset.destination, PrintDestination::Printer);
    EXPECT_EQ(preset.pages.from, 1);
    EXPECT_EQ(preset.pages.to, 9999);

    setup.findChild<QRadioButton *>(QStringLiteral("File"))->setChecked(true);
    setup.findChild<QRadioButton *>(QStringLiteral("Range"))->setChecked(true);
    EXPECT_TRUE(fileName->isVisible());
    EXPECT_TRUE(from->isVisible());
    fileName->setText(QStringLiteral("/tmp/out.pdf"));
    from->setValue(3);
    to->setValue(5);
    PrintSetupChoice chosen = setup.Choice();
    EXPECT_EQ(chosen.destination, PrintDestination::File);
    EXPECT_EQ(chosen.fileName, "/tmp/out.pdf");
    EXPECT_EQ(chosen.pages.from, 3);
    EXPECT_EQ(chosen.pages.to, 5);
    EXPECT_FALSE(setup.findChild<QLabel *>(QStringLiteral("SelectedPrinter"))->text().isEmpty());
}

} // namespace
} // namespace vellum
