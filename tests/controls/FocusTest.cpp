#include "ControlsFixture.h"

#include "inventory/ui/ComboBox.h"
#include "inventory/ui/Edit.h"
#include "inventory/ui/qdComboBox.h"
#include "inventory/ui/qdDateTimePicker.h"
#include "inventory/ui/qdEdit.h"

#include <QDialog>
#include <QLineEdit>

#include <functional>

namespace {

struct ControlCase
{
    const char* name;
    std::function<QWidget*()> make;
};

void PrintTo(const ControlCase& c, std::ostream* os)
{
    *os << c.name;
}

class EnterMovesFocus : public ControlsTest, public ::testing::WithParamInterface<ControlCase>
{
};

// Between two plain boxes, Enter goes to the next field and Shift+Enter to the previous
// one, from the main keyboard and from the keypad.
TEST_P(EnterMovesFocus, NextAndPrevious)
{
    auto* before = Add<QLineEdit>();
    QWidget* control = Add(GetParam().make());
    auto* after = Add<QLineEdit>();
    Show();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        const Qt::KeyboardModifiers keypad = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        Focus(control);
        QTest::keyClick(control, key, keypad);
        EXPECT_EQ(Focused(), after) << key;
        Focus(control);
        QTest::keyClick(control, key, keypad | Qt::ShiftModifier);
        EXPECT_EQ(Focused(), before) << key;
    }
}

TqdComboBox* EditableCombo()
{
    auto* combo = new TqdComboBox;
    combo->setEditable(true);
    combo->addItem(u"甲"_s);
    return combo;
}

TqdEdit* NumberEdit()
{
    auto* edit = new TqdEdit;
    edit->SetEditType(etNumber);
    return edit;
}

TqdDateTimePicker* CheckPicker()
{
    auto* picker = new TqdDateTimePicker;
    picker->SetShowCheckbox(true);
    return picker;
}

INSTANTIATE_TEST_SUITE_P(Controls, EnterMovesFocus,
                         ::testing::Values(ControlCase{"Edit", [] { return new TqdEdit; }},
                                           ControlCase{"NumberEdit", NumberEdit},
                                           ControlCase{"LookupBox", [] { return new TEdit; }},
                                           ControlCase{"ComboBox", [] { return new TqdComboBox; }},
                                           ControlCase{"EditableComboBox", EditableCombo},
                                           ControlCase{"ValueList", [] { return new TComboBox; }},
                                           ControlCase{"Picker", [] { return new TqdDateTimePicker; }},
                                           ControlCase{"CheckPicker", CheckPicker}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlsTest, EnterStaysWithoutTabOnEnter)
{
    auto* edit = Add<TqdEdit>();
    Add<QLineEdit>();
    edit->SetTabOnEnter(false);
    Show();
    Focus(edit);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Focused(), edit);
}

// Esc still reaches the dialog from every control: it cancels.
TEST(EscapeKey, CancelsTheDialog)
{
    const std::function<QWidget*()> makers[] = {NumberEdit, [] { return new TComboBox; },
                                                [] { return new TqdDateTimePicker; }};
    for (const auto& make : makers) {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        QWidget* control = make();
        layout->addWidget(control);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible()) << control->metaObject()->className();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
}

// Aqua while focused and white otherwise, for the lists and the pickers.
TEST_F(ControlsTest, ListsAndPickersAreAquaWhileFocused)
{
    auto* other = Add<QLineEdit>();
    auto* combo = Add<TqdComboBox>();
    auto* picker = Add<TqdDateTimePicker>();
    Show();
    for (QWidget* w : std::initializer_list<QWidget*>{combo, picker}) {
        Focus(w);
        EXPECT_EQ(w->palette().color(QPalette::Base), QColor(0, 255, 255));
        EXPECT_EQ(w->palette().color(QPalette::Button), QColor(0, 255, 255));
        Focus(other);
        EXPECT_EQ(w->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(w->palette().color(QPalette::Button), QColor(Qt::white));
    }
}

} // namespace
