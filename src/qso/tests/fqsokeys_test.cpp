// The QSO window by the keyboard: the tab order, failed checks and their lists,
// popup menus, the menu bar and the windows that follow a spot or the typed call.

#include "qsoformtest.h"

#include "qso/Fmastercomp.h"
#include "qso/Fpicklist.h"
#include "qso/Fsamecal.h"
#include "qso/Fxsummary.h"

#include "config/configrecord.h"
#include "country/countrydata.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"
#include "testsupport/testcountry.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace vellum {
namespace {

class QsoKeysTest : public QsoFormTest {
protected:
    /// The object names of the controls Tab (or another key) visits from the call field.
    QStringList walk(int steps, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QStringList names;
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(form->focusWidget(), key, modifiers);
            names << form->focusWidget()->objectName();
        }
        return names;
    }
    QStringList menuTexts(QWidget *owner)
    {
        QStringList texts;
        for (QAction *action : owner->actions())
            if (!action->isSeparator())
                texts << action->text().section('\t', 0, 0);
        return texts;
    }
};

TEST_F(QsoKeysTest, TabFollowsTheFieldTableAndCtrlTabReachesDisabledFields)
{
    config.QsoWindowSize = 4;
    entry().NextWindowSize(); // the whole form
    form->activateWindow();
    field("FQso_Call")->setFocus();
    EXPECT_EQ(walk(9, Qt::Key_Tab),
              (QStringList{"FQso_Prefix", "FQso_Date", "FQso_Time", "Fqso_modex", "Fqso_bandx", "Fqso_rsts", "fqso_rstr",
                           "Fqso_recvd", "FQso_Zone"}))
        << "the award wheels come after the custom award, not after Band";
    list("Fqso_satx")->setFocus();
    QStringList further = walk(3, Qt::Key_Tab);
    EXPECT_EQ(further.front(), "Fqso_awdtype");
    field("Fqso_rsts")->setFocus();
    EXPECT_EQ(walk(2, Qt::Key_Space), (QStringList{"fqso_rstr", "Fqso_recvd"})) << "Space moves on too";

    std::array<bool, 23> disabled{};
    disabled[0] = disabled[1] = true; // Prefix and Date
    entry().SetTabDisabled(disabled);
    field("FQso_Call")->setFocus();
    EXPECT_EQ(walk(1, Qt::Key_Tab), QStringList{"FQso_Time"}) << "Tab skips disabled fields";
    field("FQso_Call")->setFocus();
    EXPECT_EQ(walk(2, Qt::Key_Tab, Qt::ControlModifier), (QStringList{"FQso_Prefix", "FQso_Date"}));
    EXPECT_EQ(walk(1, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier), QStringList{"FQso_Prefix"});
}

TEST_F(QsoKeysTest, AFailedPrefixTurnsRedAndOpensTheCountryList)
{
    entry().AddOffline();
    type("FQso_Call", "W1AW");
    QTest::keyClick(field("FQso_Call"), Qt::Key_Tab);
    QString chosen;
    whenModal([&](QWidget *modal) {
        auto *pick = qobject_cast<TPicklist *>(modal);
        ASSERT_NE(pick, nullptr);
        chosen = pick->windowTitle();
        pick->SetSortByName(false);
        QTest::keyClicks(pick, "DL");
        QTest::keyClick(pick, Qt::Key_Return);
    });
    type("FQso_Prefix", "QQQ");
    QTest::keyClick(field("FQso_Prefix"), Qt::Key_Tab);
    leave("FQso_Prefix"); // an offscreen window is never active: no focus-out of its own
    EXPECT_FALSE(field("FQso_Prefix")->styleSheet().isEmpty()) << "the error colour";
    ASSERT_TRUE(waitFor([&] { return field("FQso_Prefix")->text() == "DL"; }));
    EXPECT_EQ(chosen, "Prefix");
    EXPECT_EQ(field("FQso_Zone")->text(), "14");
    EXPECT_TRUE(field("FQso_Prefix")->styleSheet().isEmpty()) << "mended";

    bool cancelled = false;
    whenModal([&](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_Escape);
        cancelled = true;
    });
    type("FQso_Prefix", "K");
    leave("FQso_Prefix");
    type("FQso_State", "ZZ");
    leave("FQso_State");
    ASSERT_TRUE(waitFor([&] { return cancelled && !QApplication::activeModalWidget(); }));
    EXPECT_FALSE(field("FQso_State")->styleSheet().isEmpty()) << "a cancelled list leaves the field red";
}

TEST_F(QsoKeysTest, PopupMenusAndCheckOtherQsos)
{
    int state = countries.StateIndex("NY");
    test::AddTestCounty(countries, "NY047", "Kings");
    entry().AddOffline();
    type("FQso_Call", "W2XX");
    leave("FQso_Call");
    type("FQso_State", "NY");
    type("FQso_Cnty", "Kings");
    type("FQso_Date", "2020-03-01");
    type("FQso_Time", "10:00");
    enter();
    ASSERT_EQ(log().Count(), 1);
    ASSERT_EQ(log().Get(0)->State, state);

    type("FQso_Call", "W2YY");
    leave("FQso_Call");
    type("FQso_State", "NY");
    type("FQso_Cnty", "Kings");
    QTest::keyClick(field("FQso_Cnty"), Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(lastMessage(), "W2XX\r2020-03-01\r10:00\r20m\rWorked");

    std::unique_ptr<QMenu> county(form->PopupMenu(field("FQso_Cnty")));
    ASSERT_NE(county, nullptr);
    QStringList items = menuTexts(county.get());
    EXPECT_TRUE(items.contains("Select County"));
    EXPECT_TRUE(items.contains("Check other QSOs"));
    std::unique_ptr<QMenu> awards(form->PopupMenu(list("Fqso_awdtype")));
    ASSERT_NE(awards, nullptr);
    for (QAction *action : awards->actions())
        if (action->text() == "Check other QSOs")
            action->trigger();
    EXPECT_EQ(lastMessage(), "Not a valid search") << "no custom award chosen";
    std::unique_ptr<QMenu> note(form->PopupMenu(field("Fqso_noteqso")));
    EXPECT_TRUE(menuTexts(note.get()).contains("Edit Note"));
    EXPECT_EQ(form->PopupMenu(list("Fqso_modex")), nullptr) << "a list without commands has no menu";
}

TEST_F(QsoKeysTest, MenuBarOrderRegisteredItemsAndUserLevel)
{
    QStringList titles;
    for (QAction *action : form->findChild<QMenuBar *>()->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"&QSO", "Sort", "F&ilter", "&Labels", "&Window"}));

    bool turned = false;
    main->Host().AddQsoMenuItem({"Rotator", "ShortPath1", "Short Path", {}, [&] { turned = true; }});
    main->Host().AddQsoMenuItem({"&Window", "Logbook1", "Logbook", {}, [] {}});
    TQSOForm other(log(), main->Host());
    titles.clear();
    for (QAction *action : other.findChild<QMenuBar *>()->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"&QSO", "Sort", "F&ilter", "&Labels", "&Window", "Rotator"}));
    QStringList windows = menuTexts(other.findChild<QMenu *>("WindowMenu"));
    EXPECT_EQ(windows.indexOf("Logbook"), windows.indexOf("IOTA") + 1) << "a registered item takes its documented place";
    other.findChild<QAction *>("ShortPath1")->trigger();
    EXPECT_TRUE(turned);

    config.Personal_UserLevel = 1;
    QMenu *filter = form->findChild<QMenu *>("FilterMenu");
    emit filter->aboutToShow();
    EXPECT_FALSE(form->findChild<QAction *>("Selection1")->isEnabled());
    EXPECT_FALSE(form->findChild<QAction *>("EditGroupNames1")->isEnabled());
    config.Personal_UserLevel = 2;
    emit filter->aboutToShow();
    EXPECT_TRUE(form->findChild<QAction *>("Selection1")->isEnabled());
}

TEST_F(QsoKeysTest, ASpotReachesTheWpxPanelAndTheSameCallWindow)
{
    entry().AddOffline();
    addOffline("JA1XYZ", "2020-01-01", "10:00");
    main->Host().OpenCompanion(CompanionId::Wpx);
    main->Host().OpenCompanion(CompanionId::SameCall);
    entry().AddRealTime();
    entry().SpotCall("JA1XYZ", TodayDayNumber());
    main->AppIdle();
    auto *wpx = dynamic_cast<TXSummary *>(main->Host().Companion(CompanionId::Wpx));
    auto *same = dynamic_cast<TSameCall *>(main->Host().Companion(CompanionId::SameCall));
    ASSERT_TRUE(wpx && same);
    EXPECT_EQ(wpx->windowTitle(), "WPX = JA1");
    EXPECT_EQ(same->Listed().size(), 1u);

    // The master calls follow the call as it is typed, without leaving the field.
    main->Host().OpenCompanion(CompanionId::MasterCalls);
    auto *master = dynamic_cast<TMasterCompanion *>(main->Host().Companion(CompanionId::MasterCalls));
    ASSERT_NE(master, nullptr);
    ASSERT_GT(master->Calls().Count(), 0) << "the example master file";
    QString known = QString::fromLatin1(master->Calls().Call(0).data(), static_cast<qsizetype>(master->Calls().Call(0).size()));
    main->AppIdle();
    EXPECT_FALSE(master->ListedCalls().contains(known));
    field("FQso_Call")->setFocus();
    QTest::keyClicks(field("FQso_Call"), known);
    main->AppIdle();
    EXPECT_TRUE(master->ListedCalls().contains(known));

    // The same-call window's F2 confirms the QSO and stays on it whatever F_F2_NextQSO says.
    config.F_F2_Confirm = 1;
    config.F_F2_NextQSO = 1;
    entry().EscapePressed();
    same->ShowCalls("JA1XYZ");
    same->Table()->setCurrentCell(0, 0);
    same->Table()->setFocus();
    same->Table()->findChild<QAction *>("ConfirmLabel1")->trigger();
    EXPECT_TRUE(log().Get(0)->QslFlags & QslFlag::Cnfm);
    EXPECT_EQ(entry().ShownQso(), log().Get(0));
    EXPECT_TRUE(menuTexts(same->Table()).contains("Goto QSO"));
}

TEST_F(QsoKeysTest, TheAwardValueListOpensWithF1)
{
    config.QsoWindowSize = 4;
    entry().NextWindowSize();
    entry().AddOffline();
    type("FQso_Call", "HB9ABC");
    leave("FQso_Call");
    QApplication::processEvents();
    QComboBox *awards = list("Fqso_awdtype");
    ASSERT_GE(awards->findData("HELV"), 0);
    awards->setCurrentIndex(awards->findData("HELV"));
    emit awards->activated(awards->currentIndex());
    QString title;
    whenModal([&](QWidget *modal) {
        title = modal->windowTitle();
        auto *pick = qobject_cast<TPicklist *>(modal);
        pick->SetSortByName(false);
        QTest::keyClicks(pick, "BE");
        QTest::keyClick(pick, Qt::Key_Return);
    });
    QTest::keyClick(list("Fqso_awdsel"), Qt::Key_F1);
    EXPECT_EQ(title, "Award Value");
    EXPECT_EQ(list("Fqso_awdsel")->currentText(), "Bern");
}

} // namespace
} // namespace vellum
