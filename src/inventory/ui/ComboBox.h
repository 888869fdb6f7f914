#pragma once

#include "inventory/ui/qdComboBox.h"

#include <QVariant>

#include <optional>

// The value list: a drop-down list carrying a value behind each item, an integer (the
// directions) or a record whose first member is an integer Id (the bill types). Each item
// owns a copy of its value, so clearing the list or removing an item releases it.
class TComboBox : public TqdComboBox
{
    Q_OBJECT

public:
    explicit TComboBox(QWidget* parent = nullptr);

    // Removes every item with its value.
    void ClearItems();
    // The direction list: "增加" (1) and "减少" (-1), nothing selected.
    void LoadSigns();
    // The selected item's integer; -1 when nothing is selected.
    int GetSign() const;
    // Selects the first item whose integer equals sign; nothing when none does.
    void SetSign(int sign);
    // The selected item's integer (a record's Id); Null when nothing is selected.
    QVariant GetSelectedId() const;
    // Clears the selection, then selects the first item whose integer equals id when id is
    // a 32-bit integer (Null and other values select nothing).
    void SelectById(const QVariant& id);

    // Appends an item carrying an integer; an unselected list stays unselected.
    void AddValue(const QString& text, int value);
    // Appends an item carrying a copy of rec; its Id is the item's integer.
    template <class R> void AddRecord(const QString& text, const R& rec)
    {
        AddValue(text, rec.Id);
        setItemData(count() - 1, QVariant::fromValue(rec), RecordRole);
    }
    // A copy of the selected item's record; empty when nothing is selected or the item
    // carries no record of this kind.
    template <class R> std::optional<R> SelectedRecord() const
    {
        const QVariant v = currentIndex() < 0 ? QVariant() : itemData(currentIndex(), RecordRole);
        if (v.metaType() != QMetaType::fromType<R>())
            return std::nullopt;
        return v.value<R>();
    }

    // Item roles of the integer and of the record.
    static constexpr int ValueRole = Qt::UserRole;
    static constexpr int RecordRole = Qt::UserRole + 1;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The integer behind the item, if it carries one.
    std::optional<int> ItemValue(int index) const;
};
