#include "QdClientDataSet.h"

TQdClientDataSet::TQdClientDataSet() : m_dataSet(std::make_unique<TDataSet>()) {}

TQdClientDataSet::~TQdClientDataSet() = default;

TField* TQdClientDataSet::AddField(TFieldType type, const QString& name, bool visible, const QString& label)
{
    return m_dataSet->AddField(type, name, -1, visible, label);
}

TField* TQdClientDataSet::AddFieldDef(TFieldType type, const QString& name, int size, bool visible,
                                      const QString& label)
{
    TField* f = AddField(type, name, visible, label);
    if (size > 20)
        f->Size = std::min(size, 140);
    return f;
}

void TCustomWhere::NewCondition()
{
    TDataSet* ds = DataSet();
    if (!ds->Active())
        ds->CreateDataSet();
    ds->Cancel();
    ds->Append();
}

void TCustomWhere::PostCondition()
{
    TDataSet* ds = DataSet();
    if (ds->State() != dsEdit && ds->State() != dsInsert)
        return;
    for (const auto& push : m_bindings)
        push();
}

QString TCustomWhere::FinishWhere(const QString& where)
{
    if (where.isEmpty())
        return where;
    QString out = where;
    const qsizetype at = out.indexOf(QStringLiteral(" and "));
    if (at >= 0)
        out.replace(at, 5, QStringLiteral(" where "));
    return out;
}
