// Selections, group names, the editors' rules and the bulk group and mode changes.

#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "logstore/selection.h"
#include "testsupport/qsobuilder.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

TQsoRec qso(std::uint16_t date, std::uint8_t group = 0, std::uint8_t flags = 0)
{
    return test::QsoBuilder("DL1ABC").day(date).group(group).qslFlags(flags).build();
}

TEST(InSelection, FiltersAndTheirEdges)
{
    TSelection all = AllQsosSelection();
    EXPECT_TRUE(InSelection(all, qso(0)));
    EXPECT_TRUE(InSelection(all, qso(0xFFFF, 255)));

    TSelection dates = all;
    dates.DateActive = 1; // first date empty (0), last date empty (open)
    EXPECT_TRUE(InSelection(dates, qso(0)));
    EXPECT_TRUE(InSelection(dates, qso(0xFFFF)));
    dates.FirstDate = 40000;
    dates.LastDate = 40010;
    EXPECT_TRUE(InSelection(dates, qso(40000)));
    EXPECT_TRUE(InSelection(dates, qso(40010)));
    EXPECT_FALSE(InSelection(dates, qso(39999)));
    EXPECT_FALSE(InSelection(dates, qso(40011)));

    TSelection noGroups = all;
    noGroups.GroupActive = 1;
    for (int group : {0, 1, 200, 255})
        EXPECT_FALSE(InSelection(noGroups, qso(1, static_cast<std::uint8_t>(group))));

    // The QRP filter shares its bit with group 254: that group passes the group test.
    TSelection qrp = noGroups;
    qrp.SetGroup(3, true);
    qrp.SetQrpOnly(true);
    EXPECT_TRUE(qrp.HasGroup(254));
    EXPECT_TRUE(InSelection(qrp, qso(1, 254, QslFlag::QRP)));
    EXPECT_TRUE(InSelection(qrp, qso(1, 3, QslFlag::QRP)));
    EXPECT_FALSE(InSelection(qrp, qso(1, 3)));
    EXPECT_FALSE(InSelection(qrp, qso(1, 4, QslFlag::QRP)));

    TSelection yl = all;
    yl.SetYlOnly(true);
    EXPECT_TRUE(InSelection(yl, qso(1, 0, QslFlag::YLop)));
    EXPECT_FALSE(InSelection(yl, qso(1, 0, QslFlag::QRP)));
}

TEST(Selection, GroupNamesCountedNounsAndSwitching)
{
    TQsoData log;
    log.GroupNames = {"none", "DXpedition", "Contest"};
    EXPECT_EQ(GroupName(log, qso(1, 1)), "DXpedition");
    EXPECT_EQ(GroupName(log, qso(1, 0)), "") << "group 0 shows no name";
    EXPECT_EQ(GroupName(log, qso(1, 3)), "") << "a number without a name";

    EXPECT_EQ(CountedNoun(0, "QSO"), "No QSO ");
    EXPECT_EQ(CountedNoun(1, "QSO"), "One QSO ");
    EXPECT_EQ(CountedNoun(5, "QSO"), "5 QSOs ");
    EXPECT_EQ(ChangedText(0), "Changed No QSO ");
    EXPECT_EQ(ChangingUpToText(12), "Changing up to 12 QSOs ");

    TSelection recent = AllQsosSelection();
    recent.Name = "Recent";
    log.Selections.push_back(recent);
    log.MarkAwardTablesValid();
    EXPECT_FALSE(SetCurrentSelection(log, 2));
    EXPECT_TRUE(log.AwardTablesValid());
    EXPECT_TRUE(SetCurrentSelection(log, 1));
    EXPECT_EQ(log.CurSelIndex, 1);
    EXPECT_EQ(log.CurSelection.Name, "Recent");
    EXPECT_FALSE(log.AwardTablesValid()) << "awards count only admitted QSOs";
    EXPECT_EQ(SelectionIndexOfName(log, "Recent"), 1);
    EXPECT_EQ(SelectionIndexOfName(log, "recent"), -1);
}

class SelectionEditorTest : public ::testing::Test {
protected:
    SelectionEditorTest()
    {
        TSelection recent = AllQsosSelection();
        recent.Name = "Recent";
        recent.DateActive = 1;
        recent.FirstDate = 40000;
        log.Selections.push_back(recent);
        log.MarkSaved();
    }
    SelectionFields fields(const std::string &first, const std::string &last)
    {
        SelectionFields f;
        f.name = "Recent";
        f.dateActive = true;
        f.firstDate = first;
        f.lastDate = last;
        return f;
    }
    TQsoData log;
};

TEST_F(SelectionEditorTest, UpdateChecksTheDates)
{
    TSelectionEditor editor(log);
    EXPECT_EQ(editor.Shown(), 0);
    EXPECT_EQ(editor.Update(fields("", ""), DateFormat::YearMonthDay), TSelectionEditor::UpdateResult::BuiltIn);
    editor.Show(1);
    editor.ToggleGroup(7);
    EXPECT_EQ(editor.Update(fields("2024-05-02", "2024-05-01"), DateFormat::YearMonthDay),
              TSelectionEditor::UpdateResult::BadDates);
    EXPECT_EQ(editor.Update(fields("2024-13-01", ""), DateFormat::YearMonthDay),
              TSelectionEditor::UpdateResult::BadDates);
    EXPECT_FALSE(editor.Changed());
    EXPECT_EQ(editor.List()[1].FirstDate, 40000) << "the stored record stays as it was";
    EXPECT_TRUE(editor.ShownRecord().HasGroup(7)) << "the unsaved toggle is still shown";

    SelectionFields good = fields("", "2024-05-01");
    good.name = "A name longer than twenty-five characters";
    good.groupActive = true;
    good.ylOnly = true;
    ASSERT_EQ(editor.Update(good, DateFormat::YearMonthDay), TSelectionEditor::UpdateResult::Stored);
    const TSelection &stored = editor.List()[1];
    EXPECT_EQ(stored.Name, "A name longer than twenty");
    EXPECT_EQ(stored.FirstDate, 0);
    EXPECT_EQ(stored.LastDate, *DayNumber(2024, 5, 1));
    EXPECT_TRUE(stored.HasGroup(7));
    EXPECT_TRUE(stored.YlOnly());
    EXPECT_FALSE(stored.QrpOnly());
    EXPECT_TRUE(editor.Changed());

    // Showing another entry drops unsaved toggles.
    editor.ToggleGroup(8);
    editor.Show(1);
    EXPECT_FALSE(editor.ShownRecord().HasGroup(8));
    // An empty last date is open again.
    ASSERT_EQ(editor.Update(fields("2024-05-01", ""), DateFormat::YearMonthDay),
              TSelectionEditor::UpdateResult::Stored);
    EXPECT_EQ(editor.List()[1].LastDate, 0xFFFF);
}

TEST_F(SelectionEditorTest, AddDeleteAndCommit)
{
    {
        TSelectionEditor unchanged(log);
        EXPECT_EQ(unchanged.Commit(log), TSelectionEditor::Outcome::Cancelled);
        EXPECT_FALSE(log.IsModified());
    }
    {
        TSelectionEditor switching(log);
        switching.Show(1);
        log.MarkAwardTablesValid();
        EXPECT_EQ(switching.Commit(log), TSelectionEditor::Outcome::Switched);
        EXPECT_EQ(log.CurSelIndex, 1);
        EXPECT_EQ(log.CurSelection.FirstDate, 40000);
        EXPECT_FALSE(log.AwardTablesValid());
        EXPECT_FALSE(log.IsModified()) << "choosing a selection is no change of the log";
    }
    TSelectionEditor editor(log);
    EXPECT_EQ(editor.Shown(), 1) << "opens on the selection in force";
    editor.Add();
    editor.Add();
    EXPECT_EQ(editor.Shown(), 3);
    EXPECT_EQ(editor.List()[3].Name, "Replace this name");
    editor.Show(2);
    editor.Delete();
    EXPECT_EQ(editor.Shown(), 2) << "the entry now at the same position";
    editor.Delete();
    EXPECT_EQ(editor.Shown(), 1) << "the last entry";
    editor.Show(0);
    editor.Delete();
    EXPECT_EQ(editor.List().size(), 2u) << "All QSOs stays";
    EXPECT_EQ(editor.Commit(log), TSelectionEditor::Outcome::ListChanged);
    EXPECT_EQ(log.Selections.size(), 2u);
    EXPECT_EQ(log.CurSelIndex, 0);
    EXPECT_TRUE(log.IsModified());
}

TEST(GroupNameEditor, EditsAndTheNamesQsosShowAfterwards)
{
    TQsoData log;
    log.GroupNames = {"", "One", "Two", "Three"};
    log.MarkSaved();
    TGroupNameEditor editor(log.GroupNames);
    EXPECT_EQ(TGroupNameEditor::Row(2, "Two"), "002 Two");
    editor.Select(2);
    editor.Delete();
    EXPECT_EQ(editor.Current(), 2);
    EXPECT_EQ(editor.CurrentName(), "Three");
    editor.Insert("Inserted");
    EXPECT_EQ(editor.Names()[2], "Inserted");
    EXPECT_EQ(editor.Current(), 2) << "the current row stays current";
    editor.Change("Changed");
    editor.Add(std::string(40, 'x'));
    EXPECT_EQ(editor.Names().back().size(), 25u);
    EXPECT_EQ(editor.Current(), 4);
    editor.Delete();
    EXPECT_EQ(editor.Current(), 3) << "the last row after the last was removed";
    editor.Commit(log);
    EXPECT_EQ(log.GroupNames, (std::vector<std::string>{"", "One", "Changed", "Three"}));
    EXPECT_TRUE(log.IsModified());
    EXPECT_EQ(GroupName(log, qso(1, 3)), "Three");

    TGroupNameEditor empty({});
    EXPECT_EQ(empty.Current(), -1);
    empty.Change("nothing");
    empty.Delete();
    empty.Insert("First");
    EXPECT_EQ(empty.Names(), std::vector<std::string>{"First"});
}

class BulkChangeTest : public ::testing::Test {
protected:
    TQsoRec *add(const char *call, std::int32_t time, std::uint8_t mode, std::uint8_t group)
    {
        return test::QsoBuilder(call).day(40000).seconds(time).band(5).mode(mode).group(group).addTo(log);
    }
    static bool ordered(const TBAI<TQsoRec> &list)
    {
        for (std::int32_t i = 0; i + 1 < list.Count(); ++i)
            if (list.Compare()(list.Get(i), list.Get(i + 1)) > 0)
                return false;
        return true;
    }
    TQsoData log;
};

TEST_F(BulkChangeTest, SetGroupTouchesOnlyTheScopeAndKeepsTheGroupOrder)
{
    std::int32_t view = 0;
    log.SetSortKey(SortKey::Group, view);
    TQsoRec *a = add("DL1ABC", 1, 4, 1);
    TQsoRec *b = add("DL1ABD", 2, 4, 2);
    TQsoRec *c = add("DL1ABE", 3, 4, 3);
    log.MarkSaved();
    log.MarkAwardTablesValid();
    EXPECT_EQ(SetGroupOfQsos(log, 2, [](const TQsoRec &q) { return q.Time != 2; }), 2);
    EXPECT_EQ(a->Group, 2);
    EXPECT_EQ(c->Group, 2);
    EXPECT_TRUE(ordered(log.ViewIndex()));
    EXPECT_TRUE(log.IsModified());
    EXPECT_FALSE(log.AwardTablesValid());

    log.MarkSaved();
    EXPECT_EQ(SetGroupOfQsos(log, 2), 0) << "all have that group already";
    EXPECT_FALSE(log.IsModified());
    EXPECT_EQ(CountInScope(log), 3);

    TSelection group2 = AllQsosSelection();
    group2.GroupActive = 1;
    group2.SetGroup(2, true);
    log.CurSelection = group2;
    EXPECT_EQ(SetGroupOfQsos(log, 0), 3);
    EXPECT_EQ(CountInScope(log), 0);
    EXPECT_EQ(b->Group, 0);
}

TEST_F(BulkChangeTest, SetModeKeepsTheMasterAndCallOrders)
{
    // Equal but for the mode: the mode decides their order.
    TQsoRec *cw = add("DL1ABC", 100, 4, 0);
    TQsoRec *ssb = add("DL1ABC", 100, 14, 0);
    add("DL1ABC", 50, 1, 0);
    add("JA1ABC", 100, 4, 0);
    ASSERT_EQ(log.PositionOf(cw) + 1, log.PositionOf(ssb));
    EXPECT_EQ(SetModeOfQsos(log, 15, [cw](const TQsoRec &q) { return &q == cw; }), 1);
    EXPECT_TRUE(ordered(log.ViewIndex())) << "the master list";
    EXPECT_TRUE(ordered(log.ByCall()));
    EXPECT_EQ(log.PositionOf(ssb) + 1, log.PositionOf(cw));
    EXPECT_EQ(log.FindQso(*cw), cw) << "binary search finds the changed QSO";
    EXPECT_EQ(SetModeOfQsos(log, 0), 0) << "no mode is no mode to set";
    EXPECT_EQ(SetModeOfQsos(log, AllModeCount), 0);
    log.DeleteQso(cw);
    EXPECT_EQ(log.Count(), 3);
}

TEST(DateRange, OpeningEndAndSteps)
{
    EXPECT_EQ(InitialRangeEnd(40000, 39000), 40000);
    EXPECT_EQ(InitialRangeEnd(40000, 41000), 41000);
    EXPECT_EQ(InitialRangeEnd(0, 0), 0);
    EXPECT_EQ(StepDate(40000, 1), 40001);
    EXPECT_EQ(StepDate(40000, -1), 39999);
    EXPECT_EQ(StepDate(0, 1), 0) << "an empty field stays empty";
    EXPECT_EQ(StepDate(1, -1), 1);
    EXPECT_EQ(StepDate(LastValidDay, 1), LastValidDay);
}

} // namespace
} // namespace vellum
