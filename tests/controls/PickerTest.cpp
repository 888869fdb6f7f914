#include "ControlsFixture.h"

#include "data/Exceptions.h"
#include "inventory/ui/qdDateTimePicker.h"

#include <QCheckBox>
#include <QSignalSpy>

namespace {

const QDateTime kValue(QDate(2023, 11, 20), QTime(8, 30, 15));

TEST(Picker, IsCreatedUncheckedShowingNow)
{
    TqdDateTimePicker picker;
    EXPECT_FALSE(picker.Checked());
    EXPECT_EQ(picker.date(), QDate::currentDate());
    EXPECT_EQ(picker.displayFormat(), u"yyyy-MM-dd"_s);
    // Without a check box the picked value always counts.
    EXPECT_EQ(picker.AsDate(), QVariant(QDate::currentDate()));
    picker.SetShowCheckbox(true);
    EXPECT_FALSE(picker.AsDate().isValid());
    EXPECT_FALSE(picker.AsDateTime().isValid());
    EXPECT_FALSE(picker.AsTime().isValid());
}

TEST(Picker, NullUnchecksAndShowsNow)
{
    TqdDateTimePicker picker;
    picker.SetShowCheckbox(true);
    picker.SetAsDateTime(kValue);
    EXPECT_TRUE(picker.Checked());
    EXPECT_EQ(picker.AsDateTime(), QVariant(kValue));
    EXPECT_EQ(picker.AsDate(), QVariant(kValue.date()));
    EXPECT_EQ(picker.AsTime(), QVariant(kValue.time()));

    picker.SetAsDate(QVariant());
    EXPECT_FALSE(picker.Checked());
    EXPECT_FALSE(picker.AsDate().isValid());
    EXPECT_EQ(picker.date(), QDate::currentDate());

    picker.SetAsDate(kValue.date()); // a date alone is midnight
    EXPECT_EQ(picker.AsDateTime(), QVariant(QDateTime(kValue.date(), QTime(0, 0))));
    picker.ClearPicker();
    EXPECT_FALSE(picker.AsDate().isValid());
    EXPECT_EQ(picker.date(), QDate::currentDate());

    // AsTime Null unchecks and leaves the date; a time checks again.
    picker.SetAsDateTime(kValue);
    picker.SetAsTime(QVariant());
    EXPECT_FALSE(picker.Checked());
    EXPECT_EQ(picker.date(), kValue.date());
    picker.SetAsTime(QTime(17, 5));
    EXPECT_EQ(picker.AsDateTime(), QVariant(QDateTime(kValue.date(), QTime(17, 5))));
}

TEST(Picker, WithoutCheckboxNullShowsNow)
{
    TqdDateTimePicker picker;
    picker.SetAsDateTime(kValue);
    picker.SetAsTime(QVariant());
    EXPECT_EQ(picker.date(), QDate::currentDate());
    picker.SetAsDateTime(kValue);
    picker.ClearPicker();
    EXPECT_EQ(picker.AsDate(), QVariant(QDate::currentDate()));
}

TEST(Picker, TextValuesAndRefusals)
{
    TqdDateTimePicker picker;
    picker.SetAsDate(u"2024-03-05"_s);
    EXPECT_EQ(picker.AsDate(), QVariant(QDate(2024, 3, 5)));
    picker.SetAsDateTime(u"2024-03-05 13:04:05"_s);
    EXPECT_EQ(picker.AsDateTime(), QVariant(QDateTime(QDate(2024, 3, 5), QTime(13, 4, 5))));
    // Old dates are kept, not clamped to Qt's default range.
    picker.SetAsDate(QDate(1700, 1, 1));
    EXPECT_EQ(picker.AsDate(), QVariant(QDate(1700, 1, 1)));
    try {
        picker.SetAsDate(u"abc"_s);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"\"abc\" 不是有效的日期."_s);
    }
    EXPECT_EQ(picker.AsDate(), QVariant(QDate(1700, 1, 1)));
}

TEST_F(ControlsTest, UserChecksWithSpaceOrByPickingADate)
{
    auto* picker = Add<TqdDateTimePicker>();
    picker->SetShowCheckbox(true);
    Show();
    Focus(picker);
    QSignalSpy toggled(picker, &TqdDateTimePicker::CheckedChanged);
    QTest::keyClick(picker, Qt::Key_Space);
    EXPECT_TRUE(picker->Checked());
    EXPECT_EQ(picker->AsDate(), QVariant(QDate::currentDate()));
    QTest::keyClick(picker, Qt::Key_Space);
    EXPECT_FALSE(picker->Checked());
    EXPECT_EQ(toggled.count(), 2);
    auto* box = picker->findChild<QCheckBox*>();
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(picker->Checked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(picker->Checked());

    // Changing the date of an unchecked picker means that date.
    picker->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_TRUE(picker->Checked());
    EXPECT_EQ(picker->AsDate(), QVariant(QDate::currentDate().addDays(1)));
}

} // namespace
