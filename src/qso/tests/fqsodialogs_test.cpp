#include "exchange/Fimportexport.h"
#include "qso/Fpicklist.h"
#include "qso/Fqsodialogs.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vellum {
namespace {

/// Runs action once the modal dialog is shown.
void whenShown(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

TEST(TPicklist, TypingSearchesKeysOrNamesAndChoosesTheKeyOrderIndex)
{
    std::vector<std::pair<std::string, std::string>> entries = {
        {"", "(none)"}, {"DL", "Germany"}, {"F", "France"}, {"G", "England"}, {"JA", "Japan"}};
    TPicklist byName("Prefix", entries, 1);
    auto *list = byName.findChild<QListWidget *>("PickList");
    ASSERT_EQ(list->count(), 4) << "entries before the start index are left out";
    EXPECT_EQ(list->item(0)->text(), "G      | England") << "ordered by name at first";
    whenShown([&] {
        QTest::keyClicks(list, "fr");
        EXPECT_EQ(byName.SearchText(), "FR");
        QTest::keyClick(list, Qt::Key_X); // no name starts with FRX: dropped again
        EXPECT_EQ(byName.SearchText(), "FR");
        QTest::keyClick(list, Qt::Key_Return);
    });
    EXPECT_EQ(byName.Choose(), 2) << "France, by its position in key order";

    TPicklist byKey("Prefix", entries, 1);
    byKey.SetSortByName(false);
    auto *keys = byKey.findChild<QListWidget *>("PickList");
    whenShown([&] {
        QTest::keyClicks(keys, "j");
        QTest::keyClick(keys, Qt::Key_Return);
    });
    EXPECT_EQ(byKey.Choose(), 4);

    TPicklist cancelled("Prefix", entries, 1);
    whenShown([&] { cancelled.reject(); });
    EXPECT_EQ(cancelled.Choose(), -1);
}

TEST(TEditNote, LinesAreThePartsOfTheNote)
{
    TEditNote editor("QSO Notes", "op Bob|QTH Paris", "2024-03-07");
    auto *memo = editor.findChild<QPlainTextEdit *>("NoteMemo");
    EXPECT_EQ(memo->toPlainText(), "op Bob\nQTH Paris");
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, " ");
    QTest::keyClick(memo, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(editor.Note(), "op Bob|QTH Paris 2024-03-07");
}

TEST(TTabDisabled, ChecksTheFieldsTabSkips)
{
    std::array<bool, 23> disabled{};
    disabled[2] = true;
    TTabDisabled dialog(disabled);
    auto *list = dialog.findChild<QListWidget *>("DisabledList");
    ASSERT_EQ(list->count(), 23);
    EXPECT_EQ(list->item(0)->text(), "Prefix");
    EXPECT_EQ(list->item(22)->text(), "Satellite");
    EXPECT_EQ(list->item(2)->checkState(), Qt::Checked);
    list->item(5)->setCheckState(Qt::Checked);
    auto result = dialog.Disabled();
    EXPECT_TRUE(result[2]);
    EXPECT_TRUE(result[5]);
    EXPECT_FALSE(result[0]);
}

TEST(ImportQuestions, ConfirmPrefixZoneAndDuplicateOptions)
{
    for (auto [button, code] : {std::pair{"VellumBtn", 1}, std::pair{"ImportBtn", 2}, std::pair{"CancelBtn", 0}}) {
        TConfirmPZC question("K1ABC", "2024-03-07", "K", 5, "KH6", 31);
        EXPECT_EQ(question.findChild<QLabel *>("PZCImportedPrefix")->text(), "KH6");
        whenShown([&, button = button] { question.findChild<QPushButton *>(button)->click(); });
        EXPECT_EQ(question.Ask(), code) << button;
    }
    TAskDupesImport dupes;
    EXPECT_TRUE(dupes.findChild<QRadioButton *>("DupesStop")->isChecked()) << "the first choice is preselected";
    whenShown([&] {
        dupes.findChild<QRadioButton *>("DupesIgnore")->click();
        dupes.findChild<QPushButton *>("OKBtn")->click();
    });
    EXPECT_EQ(dupes.Ask(), 2);
    TAskDupesImport cancelled;
    whenShown([&] { cancelled.findChild<QPushButton *>("CancelBtn")->click(); });
    EXPECT_EQ(cancelled.Ask(), -1);
}

} // namespace
} // namespace vellum
