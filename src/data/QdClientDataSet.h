#pragma once

#include "DataSet.h"

#include <functional>

// Base of the in-memory sets not bound to the connection: bill-line editors, condition records.
class TQdClientDataSet
{
public:
    TQdClientDataSet();
    virtual ~TQdClientDataSet();
    TQdClientDataSet(const TQdClientDataSet&) = delete;
    TQdClientDataSet& operator=(const TQdClientDataSet&) = delete;

    TDataSet* DataSet() const { return m_dataSet.get(); }
    TField* AddField(TFieldType type, const QString& name, bool visible, const QString& label);
    // A field definition; a text size above 20 is taken, capped at 140, else the default (20).
    TField* AddFieldDef(TFieldType type, const QString& name, int size, bool visible, const QString& label);
    // Opens the empty in-memory set over the defined fields.
    void CreateDataSet() { m_dataSet->CreateDataSet(); }

private:
    std::unique_ptr<TDataSet> m_dataSet;
};

// One condition record that a finder window edits and a list object turns into a WHERE clause.
class TCustomWhere : public TQdClientDataSet
{
public:
    // Cancels a pending edit and appends a new blank condition record.
    virtual void NewCondition();
    // Pushes what the bound controls hold into the record (without posting).
    void PostCondition();
    // A window binds a control by giving the function that copies its value into the record.
    void AddBinding(std::function<void()> push) { m_bindings.push_back(std::move(push)); }
    void ClearBindings() { m_bindings.clear(); }

    // Appends " and <condition>" for a non-empty value, as the WHERE builders do.
    static void AddCondition(QString& where, const QString& condition)
    {
        where += QStringLiteral(" and ") + condition;
    }
    // Replaces the first " and " by " where " when the text is not empty.
    static QString FinishWhere(const QString& where);

private:
    std::vector<std::function<void()>> m_bindings;
};
