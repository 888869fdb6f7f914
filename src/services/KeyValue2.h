#pragma once

#include "data/RecordSet.h"

#include <QString>

// The option store: one row per numeric key in table keyvalue, each able to hold a string,
// an integer, a float and a boolean. The whole table is held in memory once opened; the
// current record is the key last located. Created without touching the database.
class TKeyValue2 : public TRecordSet
{
public:
    TKeyValue2();

    // Opens the set when closed and locates the key; a missing key is inserted with no
    // values (they read as "", 0 and false) and the set is reopened on it.
    void EnsureKey(int key);

    int GetInt(int key);
    bool GetBool(int key);
    QString GetStr(int key);

    // Every setter overwrites all four value columns (Vfloat is always 0).
    void SetInt(int key, int value);
    void SetBool(int key, bool value);
    void SetStr(int key, const QString& value);

    // Drops the in-memory copy so that the next read opens the table again (after a rolled
    // back transaction that stored options).
    void Invalidate();

protected:
    // Update, and insert when the update touched no row; then the in-memory record follows.
    void StoreKeyValues(int key, const QString& vstr, int vint, double vfloat, bool vbool);

private:
    void open();

    TField* m_keyId = nullptr;
    TField* m_vstr = nullptr;
    TField* m_vint = nullptr;
    TField* m_vfloat = nullptr;
    TField* m_vbool = nullptr;
};

extern TKeyValue2* gKeyValues;
