#pragma once

#include "inventory/ui/qdEdit.h"

#include <QVariant>

#include <any>
#include <optional>

// The lookup box: a read-only box that holds the record of an item chosen in a picker (a
// class, a production order) and shows one of its texts. The box owns a copy of the record:
// holding another replaces it, ClearLookup and destruction release it. Which kind of record
// a box holds is the window's choice; the record type needs a 32-bit integer member Id.
class TEdit : public TqdEdit
{
    Q_OBJECT

public:
    explicit TEdit(QWidget* parent = nullptr);

    // Empties the text and releases the held record.
    void ClearLookup();

    // Holds a copy of rec in place of the held record; the text is left as it is.
    template <class R> void HoldRecord(const R& rec)
    {
        m_record = rec;
        m_heldId = int(rec.Id);
    }
    // Holds a copy of rec and shows text.
    template <class R> void HoldRecord(const R& rec, const QString& text)
    {
        HoldRecord(rec);
        setText(text);
    }
    bool HoldsRecord() const { return m_record.has_value(); }
    // The held record's Id; Null when nothing is held.
    QVariant HeldId() const { return m_heldId ? QVariant(*m_heldId) : QVariant(); }
    // The held record when it is of kind R, else null. Valid until the box holds another.
    template <class R> const R* HeldRecord() const { return std::any_cast<R>(&m_record); }
    // A copy of the held record; an empty record when nothing of kind R is held.
    template <class R> R GetRecord() const
    {
        const R* rec = HeldRecord<R>();
        return rec ? *rec : R{};
    }

private:
    std::any m_record;
    std::optional<int> m_heldId;
};
