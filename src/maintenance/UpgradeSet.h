#pragma once

#include "data/QuerySet.h"

// The upgrade scripts of table upgrade, edited in memory and saved in one go. Each row's
// DeleId marks its pending change: the row's Id for a stored row, 1 for a row appended in
// memory (its Id is still 0), 0 for a row marked deleted, which the filter "DeleId > 0"
// hides.
class TUpgradeSet : public TQuerySet
{
public:
    TUpgradeSet();

    // Loads every script, in table order, with the filter on.
    void Open();
    bool LocateVersion(const QString& version);
    // Appends a row with that version name and an empty script; it becomes current.
    void AppendVersion(const QString& version);
    // Marks the current row deleted; it leaves the filtered view.
    void MarkDeleted();
    // Writes every pending change in one transaction: updates, inserts (each with the
    // largest Id + 1), deletes. The new Ids reach the in-memory rows only after the commit,
    // so a failed save can simply be repeated. The first error rolls back and is passed on.
    bool Save();

    TField* DeleId() const { return m_deleId; }
    TField* Id() const { return m_id; }
    TField* Version() const { return m_version; }
    TField* SqlText() const { return m_sqlText; }

private:
    TField* m_deleId;
    TField* m_id;
    TField* m_version;
    TField* m_sqlText;
};
