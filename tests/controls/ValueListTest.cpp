#include "ControlsFixture.h"

#include "inventory/ui/ComboBox.h"
#include "inventory/ui/qdComboBox.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QWheelEvent>

namespace {

// A bill-type-like record that counts its live copies.
struct RType
{
    int Id = 0;
    QString Name;
    static inline int live = 0;
    RType() { ++live; }
    RType(int id, QString name) : Id(id), Name(std::move(name)) { ++live; }
    RType(const RType& o) : Id(o.Id), Name(o.Name) { ++live; }
    RType& operator=(const RType&) = default;
    ~RType() { --live; }
};

TEST(ValueList, DirectionsCarryTheirSigns)
{
    TComboBox list;
    list.addItem(u"旧"_s);
    list.LoadSigns();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.itemText(0), u"增加"_s);
    EXPECT_EQ(list.itemText(1), u"减少"_s);
    // Nothing selected: the sign reads as "减少" would, the id as Null.
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(list.GetSign(), -1);
    EXPECT_FALSE(list.GetSelectedId().isValid());

    list.SetSign(1);
    EXPECT_EQ(list.currentText(), u"增加"_s);
    EXPECT_EQ(list.GetSign(), 1);
    EXPECT_EQ(list.GetSelectedId(), QVariant(1));
    list.SetSign(-1);
    EXPECT_EQ(list.currentText(), u"减少"_s);
    list.SetSign(5);
    EXPECT_EQ(list.currentIndex(), -1);
}

TEST(ValueList, SelectByIdTakesOnlyIntegers)
{
    const struct
    {
        QVariant id;
        int index;
    } cases[] = {{QVariant(), -1},
                 {QVariant(1), 0},
                 {QVariant(qlonglong(-1)), 1},
                 {QVariant(uint(1)), 0},
                 {QVariant(u"1"_s), -1},
                 {QVariant(1.0), -1},
                 {QVariant(7), -1},
                 {QVariant(qlonglong(1) << 32 | 1), -1}};
    TComboBox list;
    list.LoadSigns();
    for (const auto& c : cases) {
        list.setCurrentIndex(1 - std::max(c.index, 0)); // some other selection first
        list.SelectById(c.id);
        EXPECT_EQ(list.currentIndex(), c.index) << ::testing::PrintToString(c.id);
    }
}

TEST(ValueList, ItemsOwnTheirRecords)
{
    {
        TComboBox list;
        list.AddRecord(u"采购入库"_s, RType(3, u"采购入库"_s));
        list.AddRecord(u"退料入库"_s, RType(8, u"退料入库"_s));
        EXPECT_EQ(list.currentIndex(), -1);
        EXPECT_FALSE(list.SelectedRecord<RType>());
        list.SelectById(8);
        EXPECT_EQ(list.GetSelectedId(), QVariant(8));
        const std::optional<RType> rec = list.SelectedRecord<RType>();
        ASSERT_TRUE(rec);
        EXPECT_EQ(rec->Name, u"退料入库"_s);
        EXPECT_FALSE(list.SelectedRecord<int>()); // another kind of record
        list.ClearItems();
        EXPECT_EQ(list.count(), 0);
        EXPECT_EQ(RType::live, 1) << "only the copy taken above";
        list.AddRecord(u"其他"_s, RType(9, u"其他"_s));
    }
    EXPECT_EQ(RType::live, 0) << "destroying the list releases the values";
}

class ValueListKeys : public ControlsTest
{
};

TEST_F(ValueListKeys, DeleteClearsTheSelectionAndReportsIt)
{
    auto* combo = Add<TqdComboBox>();
    combo->addItems({u"甲"_s, u"乙"_s});
    auto* list = Add<TComboBox>();
    list->LoadSigns();
    auto* editableList = Add<TComboBox>();
    editableList->setEditable(true);
    editableList->LoadSigns();
    Show();
    for (QComboBox* c : std::initializer_list<QComboBox*>{combo, list, editableList}) {
        c->setCurrentIndex(1);
        Focus(c);
        QSignalSpy changed(c, &QComboBox::currentIndexChanged);
        QTest::keyClick(c, Qt::Key_Delete);
        EXPECT_EQ(c->currentIndex(), -1);
        EXPECT_EQ(c->currentText(), QString());
        ASSERT_EQ(changed.count(), 1);
        EXPECT_EQ(changed.at(0).at(0).toInt(), -1);
    }
}

TEST_F(ValueListKeys, EditableComboKeepsDeleteAndDoesNotComplete)
{
    auto* combo = Add<TqdComboBox>();
    combo->setEditable(true);
    combo->addItems({u"apple"_s, u"apricot"_s});
    combo->setCurrentIndex(-1);
    Show();
    Focus(combo);
    QTest::keyClicks(combo, u"ap"_s);
    EXPECT_EQ(combo->currentText(), u"ap"_s);
    EXPECT_FALSE(combo->lineEdit()->hasSelectedText());
    QTest::keyClick(combo, Qt::Key_Home);
    QTest::keyClick(combo, Qt::Key_Delete);
    EXPECT_EQ(combo->currentText(), u"p"_s);
}

TEST_F(ValueListKeys, WheelChangesOnlyTheFocusedList)
{
    auto* other = Add<QLineEdit>();
    auto* list = Add<TComboBox>();
    list->LoadSigns();
    list->SetSign(1);
    Show();
    Focus(other);
    const QPointF at(list->width() / 2.0, list->height() / 2.0);
    QWheelEvent wheel(at, list->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel);
    EXPECT_EQ(list->GetSign(), 1);
    Focus(list);
    QWheelEvent wheel2(at, list->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel2);
    EXPECT_EQ(list->GetSign(), -1);
}

} // namespace
