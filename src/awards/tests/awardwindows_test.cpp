// "Change award flags" driven by its named controls.

#include "awards/Fawdflag.h"

#include "logstore/qsodata.h"
#include "testsupport/qsobuilder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace vellum {
namespace {

TQsoRec *addQso(TQsoData &log, const char *call, std::uint32_t flags)
{
    return test::QsoBuilder(call).day(40000).band(5).mode(4).awdFlags(flags).addTo(log);
}

TEST(ChangeAwardFlagsForm, ControlsTextsAndAChange)
{
    TQsoData log;
    TQsoRec *waz = addQso(log, "DL1ABC", 0x00004000); // "WAZ mixed" submitted
    TQsoRec *dxcc = addQso(log, "JA1ABC", 0x00000004);
    log.MarkAwardTablesValid();
    log.MarkSaved();

    TChangeAwardFlagsForm form(log);
    EXPECT_EQ(form.windowTitle(), "Change award flags");
    auto *pair = form.findChild<QComboBox *>("F_AwardFlag");
    auto *promote = form.findChild<QRadioButton *>("F_Action3");
    auto *clearBoth = form.findChild<QRadioButton *>("F_Action2");
    auto *change = form.findChild<QPushButton *>("ChangeBtn");
    auto *count = form.findChild<QLineEdit *>("F_FlagsChanged");
    ASSERT_TRUE(pair && promote && clearBoth && change && count && form.findChild<QPushButton *>("CloseBtn"));
    EXPECT_EQ(pair->count(), 16);
    EXPECT_EQ(pair->currentText(), "Cust Awd") << "the first pair is preselected";
    EXPECT_TRUE(form.findChild<QRadioButton *>("F_Action0")->isChecked());
    EXPECT_EQ(clearBoth->text(), "Clear Subm && Checked");
    EXPECT_TRUE(count->isReadOnly());

    QSignalSpy changed(&form, &TChangeAwardFlagsForm::flagsChanged);
    pair->setCurrentIndex(pair->findText("WAZ mixed"));
    QTest::mouseClick(promote, Qt::LeftButton);
    QTest::mouseClick(change, Qt::LeftButton);
    EXPECT_EQ(count->text(), "1");
    EXPECT_EQ(waz->AwdFlags, 0x00008000u);
    EXPECT_EQ(dxcc->AwdFlags, 0x00000004u);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(log.IsModified());
    EXPECT_FALSE(log.AwardTablesValid());

    // The dialog stays open for another change; a change of nothing says 0.
    QTest::mouseClick(change, Qt::LeftButton);
    EXPECT_EQ(count->text(), "0");
    EXPECT_EQ(changed.count(), 1);
}

} // namespace
} // namespace vellum
