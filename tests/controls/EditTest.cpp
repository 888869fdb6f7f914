#include "ControlsFixture.h"

#include "data/Exceptions.h"
#include "inventory/ui/qdEdit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDate>
#include <QDateTime>
#include <QGuiApplication>
#include <QMenu>

#include <algorithm>
#include <utility>

namespace {

struct KeyCase
{
    TEditType type;
    const char* start;
    bool caretHome; // type at the start of the text instead of the end
    const char* typed;
    const char* expected;
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << "type " << c.type << ": \"" << c.start << "\"" << (c.caretHome ? " (caret home)" : "") << " + \""
        << c.typed << '"';
}

class EditKeys : public ControlsTest, public ::testing::WithParamInterface<KeyCase>
{
};

TEST_P(EditKeys, TypedCharactersFollowTheEditType)
{
    const KeyCase& c = GetParam();
    auto* edit = Add<TqdEdit>();
    edit->SetEditType(c.type);
    Show();
    Focus(edit);
    edit->setText(QString::fromUtf8(c.start));
    if (c.caretHome)
        edit->home(false);
    QTest::keyClicks(edit, QString::fromUtf8(c.typed));
    EXPECT_EQ(edit->text(), QString::fromUtf8(c.expected)) << c.start << " + " << c.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, EditKeys,
    ::testing::Values(
        // etNumber: digits and one "." after something; no second leading "0"; no sign.
        KeyCase{etNumber, "", false, ".", ""}, KeyCase{etNumber, "", false, "0", "0"},
        KeyCase{etNumber, "0", false, "0", "0"}, KeyCase{etNumber, "0", false, ".5", "0.5"},
        KeyCase{etNumber, "0.5", false, "0", "0.50"}, KeyCase{etNumber, "1.5", false, ".", "1.5"},
        KeyCase{etNumber, "12", false, "3.4.5", "123.45"}, KeyCase{etNumber, "", false, "-5", "5"},
        KeyCase{etNumber, "5", false, "+-a e,", "5"}, KeyCase{etNumber, "", false, "1e5", "15"},
        KeyCase{etNumber, "10", false, "0", "100"},
        // The checks look at the whole text, not at the caret.
        KeyCase{etNumber, "0", true, "0", "0"}, KeyCase{etNumber, "1", true, ".", ".1"},
        KeyCase{etNumber, "5", true, "0", "05"},
        // etInteger: digits only.
        KeyCase{etInteger, "", false, "0012", "0012"}, KeyCase{etInteger, "1", false, ".5", "15"},
        KeyCase{etInteger, "", false, "-3", "3"}, KeyCase{etInteger, "7", false, "x ", "7"},
        // etFree: anything.
        KeyCase{etFree, "", false, "-0.5 a", "-0.5 a"}));

TEST_F(ControlsTest, NumericBoxKeepsEditingKeys)
{
    auto* edit = Add<TqdEdit>();
    edit->SetEditType(etNumber);
    Show();
    Focus(edit);
    QTest::keyClicks(edit, u"12.5"_s);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), u"12."_s);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), u"2."_s);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier); // select all, not the letter
    QTest::keyClick(edit, Qt::Key_3);
    EXPECT_EQ(edit->text(), u"3"_s);
}

TEST_F(ControlsTest, NumericBoxPastesOnlyNumbers)
{
    auto* edit = Add<TqdEdit>();
    edit->SetEditType(etNumber);
    Show();
    Focus(edit);
    edit->setText(u"1"_s);
    const struct
    {
        QString clip;
        QString expected;
    } cases[] = {{u"-5"_s, u"1"_s},
                 {u"abc"_s, u"1"_s},
                 {u"2.5\n"_s, u"12.5"_s},
                 {u".5"_s, u"12.5"_s},
                 {u"3"_s, u"12.53"_s}};
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->setText(c.clip);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), c.expected) << c.clip.toStdString();
    }
    // The context menu's paste goes through the same check.
    for (const auto& c : {std::pair{u"x1"_s, u"12.53"_s}, std::pair{u"4"_s, u"12.534"_s}}) {
        QGuiApplication::clipboard()->setText(c.first);
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(2, 2),
                                    edit->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(edit, &menuEvent);
        auto* menu = edit->findChild<QMenu*>();
        ASSERT_NE(menu, nullptr);
        const QList<QAction*> actions = menu->actions();
        const auto paste = std::find_if(actions.begin(), actions.end(),
                                        [](QAction* a) { return a->text().startsWith(u"&Paste"_s); });
        ASSERT_NE(paste, actions.end());
        (*paste)->trigger();
        delete menu;
        EXPECT_EQ(edit->text(), c.second);
    }
}

struct ReadCase
{
    const char* text;
    QVariant (*read)(const TqdEdit&);
    QVariant expected;
    const char* error; // empty: no error is expected
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class EditRead : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(EditRead, ConvertsTheTextOrSaysWhyNot)
{
    const ReadCase& c = GetParam();
    TqdEdit edit;
    edit.setText(QString::fromUtf8(c.text));
    if (!*c.error) {
        EXPECT_EQ(c.read(edit), c.expected) << c.text;
        return;
    }
    try {
        c.read(edit);
        ADD_FAILURE() << "no error for " << c.text;
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QString::fromUtf8(c.error));
    }
}

QVariant ReadDouble(const TqdEdit& e)
{
    return e.AsDouble();
}
QVariant ReadInteger(const TqdEdit& e)
{
    return e.AsInteger();
}
QVariant ReadDate(const TqdEdit& e)
{
    return e.AsDate();
}
QVariant ReadDateTime(const TqdEdit& e)
{
    return e.AsDateTime();
}

INSTANTIATE_TEST_SUITE_P(
    Values, EditRead,
    ::testing::Values(
        ReadCase{"", ReadDouble, 0.0, ""}, ReadCase{"12.5", ReadDouble, 12.5, ""},
        ReadCase{"abc", ReadDouble, {}, "\"abc\" 不是有效的数字."},
        ReadCase{"1.2.3", ReadDouble, {}, "\"1.2.3\" 不是有效的数字."},
        ReadCase{"nan", ReadDouble, {}, "\"nan\" 不是有效的数字."}, ReadCase{"", ReadInteger, 0, ""},
        ReadCase{"42", ReadInteger, 42, ""}, ReadCase{"4.2", ReadInteger, {}, "\"4.2\" 不是有效的整数."},
        ReadCase{"99999999999", ReadInteger, {}, "\"99999999999\" 不是有效的整数."},
        ReadCase{"", ReadDate, QVariant(), ""}, ReadCase{"2024-03-05", ReadDate, QDate(2024, 3, 5), ""},
        ReadCase{"2024-3-5", ReadDate, QDate(2024, 3, 5), ""},
        ReadCase{"2024-02-30", ReadDate, {}, "\"2024-02-30\" 不是有效的日期."},
        ReadCase{"05/03/2024", ReadDate, {}, "\"05/03/2024\" 不是有效的日期."},
        ReadCase{"", ReadDateTime, QVariant(), ""},
        ReadCase{"2024-03-05 13:04:05", ReadDateTime, QDateTime(QDate(2024, 3, 5), QTime(13, 4, 5)), ""},
        ReadCase{"2024-03-05", ReadDateTime, QDateTime(QDate(2024, 3, 5), QTime(0, 0)), ""},
        ReadCase{"2024-03-05 25:00:00", ReadDateTime, {}, "\"2024-03-05 25:00:00\" 不是有效的日期."}));

TEST(EditWrite, ZeroAndNullWriteAnEmptyBox)
{
    TqdEdit edit;
    edit.setText(u"x"_s);
    edit.SetAsDouble(0);
    EXPECT_EQ(edit.text(), u""_s);
    edit.SetAsDouble(12.5);
    EXPECT_EQ(edit.text(), u"12.5"_s);
    edit.SetAsDouble(0.1 + 0.2);
    EXPECT_EQ(edit.text(), u"0.3"_s);
    edit.SetAsInteger(0);
    EXPECT_EQ(edit.text(), u""_s);
    edit.SetAsInteger(-7);
    EXPECT_EQ(edit.text(), u"-7"_s);
    edit.SetAsDate(QDateTime(QDate(2024, 3, 5), QTime(13, 4, 5)));
    EXPECT_EQ(edit.text(), u"2024-03-05"_s);
    edit.SetAsDate(QVariant());
    EXPECT_EQ(edit.text(), u""_s);
    edit.SetAsDateTime(QDateTime(QDate(2024, 3, 5), QTime(13, 4, 5)));
    EXPECT_EQ(edit.text(), u"2024-03-05 13:04:05"_s);
    edit.SetAsDateTime(QDate());
    EXPECT_EQ(edit.text(), u""_s);
}

TEST(EditWrite, AValueThatIsNoDateIsRefusedAndTheTextKept)
{
    TqdEdit edit;
    edit.setText(u"2024-01-01"_s);
    try {
        edit.SetAsDate(u"abc"_s);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"\"abc\" 不是有效的日期."_s);
    }
    EXPECT_EQ(edit.text(), u"2024-01-01"_s);
}

TEST(EditVariant, ReadsAndWritesByEditType)
{
    TqdEdit edit;
    EXPECT_FALSE(edit.AsVariant().isValid());
    edit.setText(u"12.5"_s);
    EXPECT_EQ(edit.AsVariant(), QVariant(u"12.5"_s));
    edit.SetEditType(etNumber);
    EXPECT_EQ(edit.AsVariant().typeId(), QMetaType::Double);
    EXPECT_EQ(edit.AsVariant().toDouble(), 12.5);
    edit.SetAsVariant(0); // only AsDouble writes 0 as an empty box
    EXPECT_EQ(edit.text(), u"0"_s);
    edit.SetAsVariant(QVariant());
    EXPECT_EQ(edit.text(), u""_s);
    EXPECT_FALSE(edit.AsVariant().isValid());
    edit.setText(u"abc"_s);
    EXPECT_THROW(edit.AsVariant(), EConvertError);

    edit.SetEditType(etInteger);
    edit.SetAsVariant(qlonglong(7));
    EXPECT_EQ(edit.AsVariant(), QVariant(7));
    EXPECT_THROW(edit.SetAsVariant(2.5), EConvertError); // no silent rounding
    EXPECT_EQ(edit.text(), u"7"_s);

    edit.SetEditType(etFree);
    edit.SetAsVariant(QDateTime(QDate(2024, 3, 5), QTime(13, 4, 5)));
    EXPECT_EQ(edit.text(), u"2024-03-05 13:04:05"_s);
}

TEST_F(ControlsTest, EditIsColouredWhileFocused)
{
    auto* other = Add<TqdEdit>();
    auto* edit = Add<TqdEdit>();
    const QColor cream(0xFF, 0xFB, 0xF0);
    edit->SetColor(cream);
    Show();
    Focus(edit);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(0, 255, 255));
    edit->setReadOnly(true);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 255, 0));
    Focus(other);
    EXPECT_EQ(edit->palette().color(QPalette::Base), cream);

    // A colour the window sets while the box is focused is the one it comes back to.
    Focus(edit);
    edit->SetColor(Qt::white);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 255, 0));
    Focus(other);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(Qt::white));

    // A box that takes its parent's colour is left alone.
    edit->SetParentColor(true);
    Focus(edit);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST_F(ControlsTest, PopupKeepsTheFocusColour)
{
    auto* edit = Add<TqdEdit>();
    auto* other = Add<TqdEdit>();
    Show();
    Focus(edit);
    QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(edit, &out);
    QFocusEvent in(QEvent::FocusIn, Qt::PopupFocusReason);
    QApplication::sendEvent(edit, &in);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(0, 255, 255));
    edit->SetColorOnEnter(Qt::green);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(Qt::green));
    Focus(other);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(Qt::white));
}

} // namespace
