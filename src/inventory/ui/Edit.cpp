#include "inventory/ui/Edit.h"

TEdit::TEdit(QWidget* parent) : TqdEdit(parent)
{
    // The text comes from the picked record, never from the keyboard.
    setReadOnly(true);
}

void TEdit::ClearLookup()
{
    clear();
    m_record.reset();
    m_heldId.reset();
}
