// The "Get award" dialog, driven offscreen by its named controls.

#include "awards/Fgetaward.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vellum {
namespace {

TCustAwardList awards()
{
    TCustAwardList list;
    for (auto [ident, name] : {std::pair{"ZZZ", "alpha club"}, std::pair{"AAA", "Zulu award"},
                               std::pair{"MMM", "Mike \xE9t\xE9"}}) {
        TCustAward award(ident);
        award.Name = name;
        list.Add(award);
    }
    return list;
}

TEST(GetAwardDialog, ListsNamesAlphabeticallyAndReturnsTheListPosition)
{
    TCustAwardList list = awards();
    TGetCustAwdForm form(list);
    auto *award = form.findChild<QComboBox *>(QStringLiteral("FGetAwd_Award"));
    ASSERT_TRUE(award);
    ASSERT_EQ(award->count(), 3);
    EXPECT_EQ(award->itemText(0), QStringLiteral("alpha club"));
    EXPECT_EQ(award->itemText(1), QString::fromUtf8("Mike \u00e9t\u00e9")) << "cp1252 names shown as such";
    EXPECT_EQ(award->currentIndex(), 0) << "the first one shown";
    EXPECT_EQ(list.At(form.ChosenAward()).Ident, "ZZZ");

    award->setCurrentIndex(2);
    QTimer::singleShot(0, &form, [&form] {
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("FGetAwd_OK")), Qt::LeftButton);
    });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_EQ(list.At(form.ChosenAward()).Ident, "AAA");
}

TEST(GetAwardDialog, CancelAndAnEmptyListChooseNothing)
{
    TCustAwardList list = awards();
    QTimer::singleShot(0, [] {
        auto *form = qobject_cast<TGetCustAwdForm *>(QApplication::activeModalWidget());
        ASSERT_TRUE(form);
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("FGetAwd_Cancel")), Qt::LeftButton);
    });
    EXPECT_EQ(TGetCustAwdForm::GetAward(list), -1);

    TCustAwardList none;
    TGetCustAwdForm empty(none);
    EXPECT_FALSE(empty.findChild<QPushButton *>(QStringLiteral("FGetAwd_OK"))->isEnabled());
    EXPECT_EQ(empty.ChosenAward(), -1);
}

} // namespace
} // namespace vellum
