#include "inventory/ui/qdComboBox.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace {

// True while the focus is in a widget of this control, such as its drop-down popup: the
// user still works in the control.
bool FocusStaysWithin(const QWidget* control)
{
    for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (w == control)
            return true;
    }
    return false;
}

} // namespace

TqdComboBox::TqdComboBox(QWidget* parent) : QComboBox(parent)
{
    // The wheel changes the value only of the focused list, never of one the pointer
    // happens to pass over while the form scrolls.
    setFocusPolicy(Qt::StrongFocus);
    SetBackground(NormalColor());
}

void TqdComboBox::setEditable(bool editable)
{
    QComboBox::setEditable(editable);
    SwitchCompletionOff();
}

void TqdComboBox::SwitchCompletionOff()
{
    if (QLineEdit* edit = lineEdit(); edit && edit->completer())
        edit->setCompleter(nullptr);
}

void TqdComboBox::SetBackground(const QColor& color)
{
    // An editable list draws on Base, the drop-down-list style on Button.
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Base, color);
        p.setColor(group, QPalette::Button, color);
    }
    setPalette(p);
}

void TqdComboBox::ClearSelection()
{
    setCurrentIndex(-1);
    if (QLineEdit* edit = lineEdit())
        edit->clear();
}

void TqdComboBox::focusInEvent(QFocusEvent* event)
{
    // A completer may have come with a line edit set through the base class.
    SwitchCompletionOff();
    QComboBox::focusInEvent(event);
    SetBackground(FocusColor());
}

void TqdComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // Dropping the list down keeps the control focused as far as the user can see.
    if (event->reason() != Qt::PopupFocusReason && !FocusStaysWithin(this))
        SetBackground(NormalColor());
}

void TqdComboBox::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        QWidget::focusNextPrevChild(mods == Qt::NoModifier);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && mods == Qt::NoModifier && !isEditable()) {
        ClearSelection();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TqdComboBox::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}
