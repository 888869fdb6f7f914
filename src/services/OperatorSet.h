#pragma once

#include "data/RecordSet.h"

// The list of operators except sa, as the operator window edits it. Every change runs its
// statement first and repeats it in the in-memory set only when the statement succeeded.
class TOperatorSet : public TRecordSet
{
public:
    // Opens the list.
    TOperatorSet();

    void OpenOperators();
    void AddOperator(const QString& loginId, const QString& password, const QString& rights,
                     const QString& note, const QString& contact, const QString& name);
    // Exactly one row must change; sa is never changed here.
    void UpdateOperator(const QString& loginId, const QString& password, const QString& rights,
                        const QString& note, const QString& contact, const QString& name);
    // sa is never deleted here.
    void DeleteOperator(const QString& loginId);

    TField* LoginIdFld() const { return m_loginId; }
    TField* PasswordFld() const { return m_password; }
    TField* NameFld() const { return m_name; }
    TField* ContactFld() const { return m_contact; }
    TField* NoteFld() const { return m_note; }
    TField* RightsFld() const { return m_rights; }

private:
    TField* m_loginId = nullptr;
    TField* m_password = nullptr;
    TField* m_name = nullptr;
    TField* m_contact = nullptr;
    TField* m_note = nullptr;
    TField* m_rights = nullptr;
};
