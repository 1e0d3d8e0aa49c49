// "Import / Export Filters" in the program: the File menu's item opens it on
// the shipped filters, imports and exports run from it through the chosen
// filter, the enabling follows the user level and the log, filters are made,
// copied, edited and deleted and the file is written at closing (or left alone
// when the list is empty), merging, and the editor's pages and printed listing.

#include "exchange/Fpickiefilter.h"

#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "exchange/Fimportexport.h"
#include "exchange/filterformats.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "print/Fprintdialog.h"
#include "qso/Fqso.h"
#include "testsupport/Fwindowtest.h"
#include "testsupport/command.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

namespace vellum {
namespace {

namespace fs = std::filesystem;

std::string readText(const std::string &file)
{
    std::vector<std::uint8_t> bytes = ReadWholeFile(file);
    return std::string(bytes.begin(), bytes.end());
}

class FilterWindowTest : public test::ProgramTest {
protected:
    FilterWindowTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "filter-window") {}
    void SetUp() override
    {
        config.LASTLOG = "<none>";
        config.Personal_UserLevel = 3;
        program.Start({RegisterQsoWindows, RegisterExchangeWindows});
        SetFilterFileAsker([this](QWidget *, const QString &title, const QString &, const QString &, bool) {
            asked << title;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    void TearDown() override
    {
        SetFilterFileAsker(nullptr);
        SetPrintSetupAsker(nullptr);
        if (window())
            window()->close();
    }
    void openLog()
    {
        chooser.file = QString::fromStdString(program.SaveFile("TEST.VLL"));
        main->NewClick();
    }
    TPickIEFilter *window() const
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *w = qobject_cast<TPickIEFilter *>(widget); w && w->isVisible())
                return w;
        return nullptr;
    }
    TPickIEFilter *openFromMenu()
    {
        auto *item = main->findChild<QAction *>("ImportExport1");
        EXPECT_NE(item, nullptr);
        if (item)
            item->trigger();
        return window();
    }
    QAction *action(const char *name) const { return window()->findChild<QAction *>(QString::fromLatin1(name)); }
    QStringList ids() const
    {
        QStringList list;
        auto *grid = window()->findChild<QTableWidget *>("Grid");
        for (int row = 0; row < grid->rowCount(); ++row)
            list << grid->item(row, 0)->text();
        return list;
    }
    void choose(const QString &id)
    {
        window()->SetCurrent(static_cast<int>(ids().indexOf(id)));
    }

    QStringList answers;
    QStringList asked;
};

TEST_F(FilterWindowTest, OpensOnTheShippedFiltersAndImportsAndExports)
{
    TPickIEFilter *w = openFromMenu();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Import / Export Filters");
    EXPECT_EQ(ids(), (QStringList{"ADIF", "CSV", "PAPER"}));
    auto *grid = w->findChild<QTableWidget *>("Grid");
    EXPECT_EQ(grid->item(1, 1)->text(), "I/E");
    EXPECT_FALSE(action("Import1")->isEnabled()) << "no log is open";
    EXPECT_FALSE(action("MergeVELLUMlog1")->isEnabled());

    openLog();
    w->UpdateEnabling();
    EXPECT_TRUE(action("Import1")->isEnabled());
    EXPECT_FALSE(action("Export1")->isEnabled()) << "the log holds no QSOs";
    const std::string in = dir.file("paper.txt");
    std::ofstream(in, std::ios::binary) << "17-May-24  14:05  20  CW   DL1ABC       599  579  Hans, Berlin\r\n"
                                           "17-May-24  14:07  15  SSB  K1ABC        59   57\r\n";
    std::ofstream(dir.file("paper.NOT"), std::ios::binary) << "K1ABC,Bob\r\n";
    choose("PAPER");
    answers = {QString::fromStdString(in)};
    action("Import1")->trigger();
    EXPECT_EQ(asked.takeLast(), "Specify file for import");
    ASSERT_EQ(main->Log()->Count(), 2);
    EXPECT_EQ(main->Log()->Notes.NoteOf("DL1ABC"), "Hans, Berlin");
    EXPECT_EQ(main->Log()->Notes.NoteOf("K1ABC"), "Bob");
    test::SaveScreenshot(w, "import-export-filters.png");

    EXPECT_TRUE(action("Export1")->isEnabled());
    const std::string out = dir.file("out.csv");
    choose("CSV");
    answers = {QString::fromStdString(out)};
    action("Export1")->trigger();
    EXPECT_EQ(readText(out).substr(0, 116), "Callsign,Date,Time,Band,Mode,rstS,rstR,Note1,Grid,Zone,IOTA,QSL Date,Confrm\r\n"
                                            "DL1ABC,2024-05-17,1405,20M,CW,599,579,,");
}

TEST_F(FilterWindowTest, EnablingFollowsTheUserLevel)
{
    config.Personal_UserLevel = 1;
    TPickIEFilter *w = openFromMenu();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->findChild<QMenu *>("Filter1")->menuAction()->isEnabled());
    EXPECT_FALSE(action("New1")->isEnabled());
    config.Personal_UserLevel = 2;
    w->UpdateEnabling();
    EXPECT_TRUE(action("New1")->isEnabled());
    EXPECT_TRUE(action("Copy1")->isEnabled());
    EXPECT_FALSE(action("Edit1")->isEnabled());
    EXPECT_FALSE(action("Delete1")->isEnabled());
    config.Personal_UserLevel = 3;
    w->UpdateEnabling();
    EXPECT_TRUE(action("Edit1")->isEnabled());
    EXPECT_TRUE(action("Delete1")->isEnabled());
}

TEST_F(FilterWindowTest, NewCopyDeleteAndTheFileAtClosing)
{
    const std::string file = DataFileName(DataFile::ImportExportFilters);
    const std::string before = readText(file);
    TPickIEFilter *w = openFromMenu();
    ASSERT_NE(w, nullptr);
    choose("ADIF");
    action("Copy1")->trigger();
    action("New1")->trigger();
    EXPECT_EQ(ids(), (QStringList{"", "&ADIF", "ADIF", "CSV", "PAPER"}));
    EXPECT_EQ(w->Current(), 0) << "the new filter is current";
    choose("CSV");
    action("Delete1")->trigger();
    EXPECT_EQ(ids(), (QStringList{"", "&ADIF", "ADIF", "PAPER"}));
    w->close();
    FilterList saved(ReadFilterFile(file).filters);
    ASSERT_EQ(saved.Size(), 4u);
    EXPECT_EQ(saved.At(1).Description.view(), "Cpy ADIF");

    // Deleting every filter leaves the file as it was.
    std::ofstream(file, std::ios::binary | std::ios::trunc) << before;
    w = openFromMenu();
    while (!ids().isEmpty())
        action("Delete1")->trigger();
    w->close();
    EXPECT_EQ(readText(file), before);
}

TEST_F(FilterWindowTest, MergesAnotherLog)
{
    openLog();
    TQsoData &log = *main->Log();
    auto addQso = [](TQsoData &target, const char *call, std::uint16_t date) {
        auto rec = std::make_unique<TQsoRec>();
        rec->Call = call;
        rec->Date = date;
        rec->Band = 5;
        rec->Mode = 4;
        target.AddQso(std::move(rec));
    };
    TQsoData other(log.Services());
    const std::string otherFile = dir.file("OTHER.VLL");
    other.NewLog(otherFile);
    addQso(other, "DL1ABC", 45000);
    addQso(other, "K1ABC", 45001);
    other.WriteLog(true);
    addQso(log, "DL1ABC", 45000);
    TPickIEFilter *w = openFromMenu();
    ASSERT_NE(w, nullptr);
    answers = {QString::fromStdString(otherFile)};
    // The duplicate question is a dialog: pick "Imported QSO is ignored".
    QTimer::singleShot(0, [] {
        for (int i = 0; i < 500 && !QApplication::activeModalWidget(); ++i)
            QTest::qWait(10);
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            if (auto *ignore = dialog->findChild<QAbstractButton *>("DupesIgnore"))
                ignore->click();
            if (auto *ok = dialog->findChild<QPushButton *>("OKBtn"))
                ok->click();
            else
                qobject_cast<QDialog *>(dialog)->accept();
        }
    });
    action("MergeVELLUMlog1")->trigger();
    EXPECT_EQ(log.Count(), 2);
    EXPECT_EQ(lastMessage(), "One QSO added");
}

TEST_F(FilterWindowTest, EditorPagesAllocationAndPrintedListing)
{
    TPickIEFilter *w = openFromMenu();
    ASSERT_NE(w, nullptr);
    ImportFilter paper = w->Filters().At(static_cast<std::size_t>(ids().indexOf("PAPER")));
    TIEDialog2 editor(main->Host(), paper, w);
    EXPECT_EQ(editor.windowTitle(), "Filter: Paper log transcription");
    auto *type = editor.findChild<QComboBox *>("Type");
    auto *length = editor.findChild<QSpinBox *>("Length");
    auto *position = editor.findChild<QSpinBox *>("Position");
    editor.ShowField(ImportField::Callsign);
    EXPECT_FALSE(type->isEnabled());
    EXPECT_EQ(type->currentText(), "String");
    EXPECT_TRUE(length->isEnabled());
    EXPECT_EQ(length->value(), 12);
    editor.ShowField(ImportField::Band);
    EXPECT_EQ(type->currentText(), "160, 10 lft");
    type->setCurrentIndex(BandFormat::FreqKHz); // an editable length
    EXPECT_TRUE(length->isEnabled());
    type->setCurrentIndex(BandFormat::MetersM);
    EXPECT_FALSE(length->isEnabled());
    EXPECT_EQ(length->value(), 4);
    editor.ShowField(ImportField::QslDate);
    EXPECT_EQ(type->count(), 18);
    type->setCurrentIndex(FlagQsoDate);
    EXPECT_EQ(length->value(), 1);
    position->setValue(28);
    emit position->editingFinished();
    auto *allocation = editor.findChild<QListWidget *>("Allocation");
    ASSERT_EQ(allocation->count(), 255);
    EXPECT_EQ(allocation->item(27)->text(), " 28 Callsign Also QSL Date");

    std::ofstream(dir.file("sample.txt")) << "17-May-24  14:05  20  CW   DL1ABC\n";
    answers = {QString::fromStdString(dir.file("sample.txt"))};
    editor.ViewAsciiFile();
    EXPECT_EQ(asked.takeLast(), "Open ASCII file for preview");
    EXPECT_TRUE(editor.findChild<QPlainTextEdit *>("Sample")->toPlainText().startsWith("17-May-24"));

    const std::string pdf = dir.file("listing.pdf");
    SetPrintSetupAsker([&pdf](QWidget *, PrintSetupChoice &choice) {
        choice.destination = PrintDestination::File;
        choice.fileName = pdf;
        return true;
    });
    editor.PrintFilter();
    std::string text = test::PdfText(pdf);
    EXPECT_NE(text.find("I/E Filter for Paper log transcription"), std::string::npos) << text;
    EXPECT_NE(text.find("Usage"), std::string::npos);
    EXPECT_NE(text.find("Imp/Exp"), std::string::npos);
    EXPECT_NE(text.find("160m, 10m lft"), std::string::npos) << text;
    // Column spacing follows the widest text of the page (the header's date among them).
    EXPECT_TRUE(std::regex_search(text, std::regex("Callsign +String +28 +12\n"))) << text;
    EXPECT_NE(text.find("Flag QSO date"), std::string::npos) << text;

    auto *layout = editor.findChild<QLabel *>("Layout");
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->text(), "Position = first column");
    editor.findChild<QLineEdit *>("Id")->setText("CSVX");
    EXPECT_TRUE(layout->text().startsWith("CSV: position = order")) << layout->text().toStdString();
    editor.findChild<QLineEdit *>("Id")->setText("PAPER2X-LONG");
    EXPECT_EQ(layout->text(), "Position = first column");
    editor.SaveAndExit();
    EXPECT_EQ(editor.Filter().Id.view(), "PAPER2X-");
    EXPECT_EQ(editor.Filter().FieldSpecs[ImportField::Band].format, BandFormat::MetersM);
    EXPECT_EQ(editor.Filter().FieldSpecs[ImportField::QslDate].position, 28);
}

} // namespace
} // namespace vellum
