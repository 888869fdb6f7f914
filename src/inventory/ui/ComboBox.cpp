#include "inventory/ui/ComboBox.h"

#include <QKeyEvent>
#include <QSignalBlocker>

#include <limits>

TComboBox::TComboBox(QWidget* parent) : TqdComboBox(parent) {}

void TComboBox::ClearItems()
{
    clear();
}

void TComboBox::LoadSigns()
{
    ClearItems();
    AddValue(QStringLiteral("增加"), 1);
    AddValue(QStringLiteral("减少"), -1);
}

std::optional<int> TComboBox::ItemValue(int index) const
{
    if (index < 0 || index >= count())
        return std::nullopt;
    const QVariant v = itemData(index, ValueRole);
    if (v.typeId() != QMetaType::Int)
        return std::nullopt;
    return v.toInt();
}

int TComboBox::GetSign() const
{
    return ItemValue(currentIndex()).value_or(-1);
}

void TComboBox::SetSign(int sign)
{
    for (int i = 0; i < count(); ++i) {
        if (ItemValue(i) == sign) {
            setCurrentIndex(i);
            return;
        }
    }
    setCurrentIndex(-1);
}

QVariant TComboBox::GetSelectedId() const
{
    const std::optional<int> v = ItemValue(currentIndex());
    return v ? QVariant(*v) : QVariant();
}

void TComboBox::SelectById(const QVariant& id)
{
    setCurrentIndex(-1);
    if (!id.isValid() || id.isNull())
        return;
    qint64 wanted = 0;
    switch (id.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
        wanted = id.toLongLong();
        break;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (id.toULongLong() > quint64(std::numeric_limits<int>::max()))
            return;
        wanted = qint64(id.toULongLong());
        break;
    default:
        return; // not an integer: text, a fraction, a date
    }
    if (wanted < std::numeric_limits<int>::min() || wanted > std::numeric_limits<int>::max())
        return;
    for (int i = 0; i < count(); ++i) {
        if (ItemValue(i) == int(wanted)) {
            setCurrentIndex(i);
            return;
        }
    }
}

void TComboBox::AddValue(const QString& text, int value)
{
    // Qt selects the first item put into an empty list; a value list stays unselected
    // until the window selects a value.
    const bool unselected = currentIndex() < 0;
    const QSignalBlocker blocker(this);
    addItem(text, value);
    if (unselected)
        setCurrentIndex(-1);
}

void TComboBox::keyPressEvent(QKeyEvent* event)
{
    // In every style, not only the drop-down list: Delete means "no value".
    if (event->key() == Qt::Key_Delete && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        ClearSelection();
        event->accept();
        return;
    }
    TqdComboBox::keyPressEvent(event);
}
