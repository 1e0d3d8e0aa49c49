// The editors of the QSL managers, manager addresses and IOTA list and the
// "Master Calls" window, driven offscreen through their named controls; what
// the editors save is read back from the country file.

#include "testsupport/tempdir.h"
#include "testsupport/testcountry.h"

#include "country/Faddress.h"
#include "country/Fiota.h"
#include "country/Fmanagers.h"
#include "country/Fmaster.h"
#include "country/countryfile.h"

#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vellum {
namespace {

class ScriptedChooser : public TextFileChooser {
public:
    QStringList files; ///< handed out in order; empty (cancel) when used up
    QString OpenFile(QWidget *, const QString &, const QString &, const QString &) override { return next(); }
    QString SaveFile(QWidget *, const QString &, const QString &, const QString &) override { return next(); }

private:
    QString next() { return files.isEmpty() ? QString() : files.takeFirst(); }
};

class DayMonthYearSettings : public LogSettings {
public:
    bool cycleFiles() const override { return false; }
    DateFormat dateFormat() const override { return DateFormat::DayMonthYear; }
};

std::string fileText(const std::string &name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ReferenceWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramDir(dir);
        CreateProgramDirs();
        test::BuildTestCountryData(data);
        data.CountryModified = false;
    }
    ReferenceServices services() { return {notes, settings, nullptr, &chooser}; }

    template <typename T>
    T *child(QObject &parent, const char *name)
    {
        T *found = parent.findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    /// Types text into a grid cell through its editor, as the user does.
    void editCell(QTableView *grid, int row, int column, const QString &text)
    {
        QModelIndex index = grid->model()->index(row, column);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(index));
        ASSERT_TRUE(editor) << "no cell editor opened";
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits through a queued call, and the edited row moves
        // to its place through another.
        QApplication::processEvents();
        QApplication::processEvents();
    }

    QString cell(QTableView *grid, int row, int column) const
    {
        return grid->model()->data(grid->model()->index(row, column)).toString();
    }

    /// The country file as written, read back.
    void readBack(TCountryData &back)
    {
        RecordingNotifier readNotes;
        ASSERT_TRUE(LoadCountryFile(back, readNotes)) << readNotes.shown.front().text;
    }

    test::TempDir temp{"country-windows"};
    std::string dir = temp.path();
    TCountryData data;
    RecordingNotifier notes;
    DayMonthYearSettings settings;
    ScriptedChooser chooser;
};

TEST_F(ReferenceWindowTest, ManagerEditorEditsRowsInPlaceAndSavesTheCountryFile)
{
    TEditQSLMgrDialog dialog(data, services());
    dialog.show();
    auto *grid = child<QTableView>(dialog, "FMgr_Grid");
    ASSERT_TRUE(grid);
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(grid->model()->rowCount(), 1);

    child<QAction>(dialog, "FMgr_Insert")->trigger();
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->currentIndex().row(), 0) << "the new row is selected";
    EXPECT_EQ(cell(grid, 0, 0), QStringLiteral("??CALL??"));
    EXPECT_EQ(cell(grid, 0, 2), QStringLiteral("??MANAGER??"));

    editCell(grid, 0, 0, QStringLiteral("xx1a"));
    EXPECT_EQ(cell(grid, 1, 0), QStringLiteral("XX1A")) << "upper case, moved after QQ1AB";
    EXPECT_EQ(grid->currentIndex().row(), 1) << "the table follows the row";
    editCell(grid, 1, 1, QStringLiteral("01/02/2003"));
    EXPECT_EQ(cell(grid, 1, 1), QStringLiteral("01/02/2003"));
    editCell(grid, 1, 1, QStringLiteral("31/02/2003"));
    ASSERT_EQ(notes.shown.size(), 1u);
    EXPECT_EQ(notes.shown[0].text, "Not a valid date: 31/02/2003");
    EXPECT_EQ(cell(grid, 1, 1), QStringLiteral("01/02/2003")) << "a refused edit keeps the cell";
    editCell(grid, 1, 2, QStringLiteral("m1"));

    auto *search = child<QLineEdit>(dialog, "FMgr_Search");
    QTest::keyClicks(search, "x-");
    EXPECT_EQ(search->text(), QStringLiteral("X")) << "letters and digits only";
    EXPECT_EQ(grid->currentIndex().row(), 1);
    search->clear();
    QTest::keyClicks(search, "q");
    EXPECT_EQ(grid->currentIndex().row(), 0);
    child<QAction>(dialog, "FMgr_Delete")->trigger();
    ASSERT_EQ(grid->model()->rowCount(), 1);

    QTest::mouseClick(child<QPushButton>(dialog, "FMgr_Save"), Qt::LeftButton);
    EXPECT_TRUE(dialog.SavedChanges());
    EXPECT_FALSE(data.CountryDataNeedsSaving()) << "the country file was written";
    TCountryData back;
    readBack(back);
    EXPECT_EQ(ManagerOf(back, "XX1A", *DayNumber(2003, 2, 1)), "M1");
    EXPECT_EQ(ManagerOf(back, "XX1A", *DayNumber(2003, 1, 31)), "");
    EXPECT_EQ(ManagerOf(back, "QQ1AB", 40000), "") << "the deleted row is gone";
}

TEST_F(ReferenceWindowTest, CancellingAnEditorKeepsTheCountryData)
{
    TEditQSLMgrDialog dialog(data, services());
    child<QAction>(dialog, "FMgr_Insert")->trigger();
    QTest::mouseClick(child<QPushButton>(dialog, "FMgr_Cancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog.SavedChanges());
    EXPECT_EQ(data.Managers.Count(), 1);
    EXPECT_FALSE(data.CountryModified);
    EXPECT_FALSE(std::filesystem::exists(CountryFileName()));
}

TEST_F(ReferenceWindowTest, ManagerImportReportsBadLinesAndExportWritesTheRows)
{
    std::string input = dir + "/IMPORT/managers.txt";
    test::WriteFile(input, "XX1A,01/02/2003,m1\nno commas\nXX1A,01/02/2004,M1\nZZ9Z,,M2\n");
    chooser.files = {QString::fromStdString(input), QString::fromStdString(dir + "/IMPORT/out.txt")};
    notes.answers = {Answer::No};
    TEditQSLMgrDialog dialog(data, services());
    QTest::mouseClick(child<QPushButton>(dialog, "FMgr_Import"), Qt::LeftButton);
    ASSERT_EQ(notes.shown.size(), 2u);
    EXPECT_EQ(notes.shown[0].text, "Do you want to DELETE existing QSL manager information");
    EXPECT_EQ(notes.shown[1].text, "Deleted : 0\rAdded   : 3\rReplaced: 0\rSkipped : 0\rDupes   : 1\rErrors  : 1"
                                   "\r\rline 2: not two commas: no commas");
    EXPECT_EQ(child<QTableView>(dialog, "FMgr_Grid")->model()->rowCount(), 3);
    EXPECT_EQ(data.Managers.Count(), 1) << "the country data waits for Save";

    QTest::mouseClick(child<QPushButton>(dialog, "FMgr_Export"), Qt::LeftButton);
    EXPECT_EQ(notes.shown.back().text, "3 Managers  written");
    EXPECT_EQ(fileText(dir + "/IMPORT/out.txt"), "QQ1AB,,K1M\nXX1A,01/02/2003,M1\nZZ9Z,,M2\n");
}

TEST_F(ReferenceWindowTest, IotaEditorChecksCellsAndSavesTheTable)
{
    TEditIOTADialog dialog(data, services());
    dialog.show();
    auto *grid = child<QTableView>(dialog, "FIota_Grid");
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(grid->model()->rowCount(), 1) << "entry 0 is not listed";
    EXPECT_EQ(grid->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Lattitude"));
    child<QAction>(dialog, "FIota_Insert")->trigger();
    EXPECT_EQ(cell(grid, 0, 0), QStringLiteral("?????"));
    EXPECT_EQ(cell(grid, 0, 1), QStringLiteral("??Name??"));
    editCell(grid, 0, 0, QStringLiteral("E1234"));
    EXPECT_EQ(notes.shown.back().text, "An IOTA reference is two letters and three digits: E1234");
    editCell(grid, 0, 0, QStringLiteral("eu-015"));
    EXPECT_EQ(cell(grid, 1, 0), QStringLiteral("EU015"));
    editCell(grid, 1, 1, QStringLiteral("Isle of Wight"));
    editCell(grid, 1, 3, QStringLiteral("50.7N"));
    editCell(grid, 1, 2, QStringLiteral("200"));
    EXPECT_EQ(notes.shown.back().text, "Not a longitude: 200");
    editCell(grid, 1, 2, QStringLiteral("1.3W"));
    EXPECT_EQ(cell(grid, 1, 2), QStringLiteral("-1.300"));

    QTest::keyClicks(child<QLineEdit>(dialog, "FIota_Search"), "EU01");
    EXPECT_EQ(grid->currentIndex().row(), 1);

    QTest::mouseClick(child<QPushButton>(dialog, "FIota_Save"), Qt::LeftButton);
    TCountryData back;
    readBack(back);
    IotaRows rows;
    rows.Load(back);
    ASSERT_EQ(rows.Count(), 2);
    EXPECT_EQ(rows.At(1).reference, "EU015");
    EXPECT_EQ(rows.At(1).name, "Isle of Wight");
    EXPECT_DOUBLE_EQ(rows.At(1).latitude, 50.7);
    EXPECT_DOUBLE_EQ(rows.At(1).longitude, -1.3);
    EXPECT_EQ(back.Iota.KeyString(0), "") << "the placeholder stays entry 0";
}

TEST_F(ReferenceWindowTest, AddressEditorStoresEachManagersAddressAndSaves)
{
    TEditAddressDialog dialog(data, services());
    dialog.show();
    auto *manager = child<QComboBox>(dialog, "FAddr_Manager");
    auto *address = child<QPlainTextEdit>(dialog, "FAddr_Address");
    ASSERT_EQ(manager->count(), 1);
    EXPECT_EQ(manager->currentText(), QStringLiteral("K1M"));
    EXPECT_EQ(address->toPlainText(), QStringLiteral("Box 1\nNewington"));
    address->setPlainText(QStringLiteral("Box 9\nTown"));

    manager->lineEdit()->clear();
    QTest::keyClicks(manager->lineEdit(), "w1aw");
    EXPECT_EQ(manager->currentText(), QStringLiteral("W1AW"));
    QTest::mouseClick(child<QPushButton>(dialog, "FAddr_Add"), Qt::LeftButton);
    ASSERT_EQ(manager->count(), 2);
    EXPECT_EQ(manager->currentText(), QStringLiteral("W1AW"));
    EXPECT_TRUE(address->toPlainText().isEmpty());
    EXPECT_EQ(dialog.focusWidget(), address) << "the focus goes to the address";
    address->setPlainText(QStringLiteral("PO Box 1"));

    QTest::mouseClick(child<QPushButton>(dialog, "FAddr_Add"), Qt::LeftButton);
    ASSERT_FALSE(notes.shown.empty());
    EXPECT_EQ(notes.shown.back().text, "Please change the manager\rbefore adding an entry");

    manager->setCurrentIndex(0);
    EXPECT_EQ(address->toPlainText(), QStringLiteral("Box 9\nTown")) << "the edited address was kept";
    manager->lineEdit()->clear();
    QTest::keyClicks(manager->lineEdit(), "l");
    QTest::mouseClick(child<QPushButton>(dialog, "FAddr_Search"), Qt::LeftButton);
    EXPECT_EQ(manager->currentIndex(), 1);
    EXPECT_EQ(address->toPlainText(), QStringLiteral("PO Box 1"));

    QTest::mouseClick(child<QPushButton>(dialog, "FAddr_Save"), Qt::LeftButton);
    TCountryData back;
    readBack(back);
    EXPECT_EQ(ManagerAddress(back, "W1AW"), std::vector<std::string>{"PO Box 1"});
    EXPECT_EQ(ManagerAddress(back, "K1M"), (std::vector<std::string>{"Box 9", "Town"}));
}

TEST_F(ReferenceWindowTest, AddressEditorNeverShowsAnEmptyListAndImports)
{
    std::string input = dir + "/IMPORT/addresses.txt";
    test::WriteFile(input, "\"DL2XYZ\",\"Street 1\",\"Town, Land\"\n,\"no call\"\n");
    chooser.files = {QString::fromStdString(input)};
    notes.answers = {Answer::Yes};
    TEditAddressDialog dialog(data, services());
    QTest::mouseClick(child<QPushButton>(dialog, "FAddr_Import"), Qt::LeftButton);
    EXPECT_EQ(notes.shown.back().text,
              "Deleted : 1\rAdded   : 1\rReplaced: 0\rSkipped : 0\rErrors  : 1\r\rline 2: no call: ,\"no call\"");
    auto *manager = child<QComboBox>(dialog, "FAddr_Manager");
    ASSERT_EQ(manager->count(), 1);
    EXPECT_EQ(child<QPlainTextEdit>(dialog, "FAddr_Address")->toPlainText(), QStringLiteral("Street 1\nTown, Land"));
    QTest::mouseClick(child<QPushButton>(dialog, "FAddr_Delete"), Qt::LeftButton);
    ASSERT_EQ(manager->count(), 1);
    EXPECT_EQ(manager->currentText(), QStringLiteral("QQ0QQ"));
}

TEST_F(ReferenceWindowTest, MasterWindowListsTheCallsMatchingTheCallField)
{
    WriteWholeFile(dir + "/VELLUM.MAS", MasterFileBytes({"AB1DL", "DL1ABC", "DL2ABC", "K1ABC", "W1AW"}), false);
    TMasterLookup window(services());
    auto *list = child<QListWidget>(window, "FMaster_List");
    ASSERT_TRUE(list);
    EXPECT_TRUE(notes.shown.empty());
    window.LookupCall(QStringLiteral("D"));
    EXPECT_TRUE(window.ListedCalls().isEmpty());
    window.LookupCall(QStringLiteral("DL"));
    EXPECT_EQ(window.ListedCalls(), (QStringList{QStringLiteral("DL1ABC"), QStringLiteral("DL2ABC")}));
    window.LookupCall(QStringLiteral("?DL"));
    EXPECT_EQ(window.ListedCalls().size(), 3);
    window.LookupCall(QStringLiteral("1A"));
    EXPECT_TRUE(window.ListedCalls().isEmpty());
    child<QAction>(window, "FMaster_SubString")->trigger();
    EXPECT_TRUE(window.SubString());
    EXPECT_EQ(window.ListedCalls(), (QStringList{QStringLiteral("DL1ABC"), QStringLiteral("K1ABC"),
                                                 QStringLiteral("W1AW")}))
        << "switching searches again";
    EXPECT_EQ(list->gridSize().width(), list->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 8);

    std::string source = dir + "/log.dta";
    test::WriteFile(source, "w1aw dl1abc zz9zz\n");
    chooser.files = {QString::fromStdString(source)};
    child<QAction>(window, "FMaster_Convert")->trigger();
    ASSERT_EQ(notes.shown.size(), 1u);
    EXPECT_EQ(notes.shown[0].text, "Conversion finished\r3 Calls");
    EXPECT_EQ(window.Calls().Count(), 3u);
    EXPECT_EQ(window.ListedCalls(), (QStringList{QStringLiteral("DL1ABC"), QStringLiteral("W1AW")}))
        << "the list follows the new file";
}

TEST_F(ReferenceWindowTest, MasterWindowWithoutAFileStaysEmpty)
{
    TMasterLookup window(services());
    ASSERT_EQ(notes.shown.size(), 1u);
    EXPECT_EQ(notes.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(notes.shown[0].text, "Master file:\r" + dir + "/VELLUM.MAS\rnot found, no calls loaded");
    window.LookupCall(QStringLiteral("DL1"));
    EXPECT_TRUE(window.ListedCalls().isEmpty());
}

} // namespace
} // namespace vellum
