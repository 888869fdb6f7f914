#include "KeyValue2.h"

#include "data/Exceptions.h"

TKeyValue2* gKeyValues = nullptr;

TKeyValue2::TKeyValue2()
{
    m_keyId = AddField(ftInteger, QStringLiteral("KeyId"), -1, true, QString());
    m_vstr = AddField(ftMemo, QStringLiteral("Vstr"), -1, true, QString());
    m_vint = AddField(ftInteger, QStringLiteral("Vint"), -1, true, QString());
    m_vfloat = AddField(ftFloat, QStringLiteral("Vfloat"), -1, true, QString());
    m_vbool = AddField(ftBoolean, QStringLiteral("Vbool"), -1, true, QString());
}

void TKeyValue2::open()
{
    OpenSql(QStringLiteral("select * from keyvalue"));
}

void TKeyValue2::Invalidate()
{
    DataSet()->Close();
}

void TKeyValue2::EnsureKey(int key)
{
    // A second miss right after inserting the row would loop for ever: give up then.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!DataSet()->Active())
            open();
        if (DataSet()->Locate(QStringLiteral("KeyId"), key))
            return;
        if (attempt > 0)
            break;
        DataSet()->Close();
        gDatabase->Execute(QStringLiteral("insert into keyvalue(KeyId) values (:KeyId)"),
                           {DBParam(QStringLiteral("KeyId"), key)});
    }
    throw EDataSetError(QStringLiteral("选项 %1 写入后仍然读不到").arg(key));
}

int TKeyValue2::GetInt(int key)
{
    EnsureKey(key);
    return m_vint->AsInteger();
}

bool TKeyValue2::GetBool(int key)
{
    EnsureKey(key);
    return m_vbool->AsBoolean();
}

QString TKeyValue2::GetStr(int key)
{
    EnsureKey(key);
    return m_vstr->AsString();
}

void TKeyValue2::SetInt(int key, int value)
{
    EnsureKey(key);
    StoreKeyValues(key, QString(), value, 0, true);
}

void TKeyValue2::SetBool(int key, bool value)
{
    EnsureKey(key);
    StoreKeyValues(key, QString(), 0, 0, value);
}

void TKeyValue2::SetStr(int key, const QString& value)
{
    EnsureKey(key);
    StoreKeyValues(key, value, 0, 0, true);
}

void TKeyValue2::StoreKeyValues(int key, const QString& vstr, int vint, double vfloat, bool vbool)
{
    // An empty text is stored as '' rather than null, as the setters mean "no text".
    const TDBParameters params{
        DBParam(QStringLiteral("Vstr"), vstr.isNull() ? QStringLiteral("") : vstr),
        DBParam(QStringLiteral("Vint"), vint), DBParam(QStringLiteral("Vfloat"), vfloat),
        DBParam(QStringLiteral("Vbool"), vbool), DBParam(QStringLiteral("KeyId"), key)};
    int rows = gDatabase->ExecSql(
        QStringLiteral(
            "update keyvalue set Vstr=:Vstr, Vint=:Vint, Vfloat=:Vfloat, Vbool=:Vbool where KeyId=:KeyId"),
        params);
    if (rows != 1)
        rows = gDatabase->ExecSql(
            QStringLiteral("insert into keyvalue(Vstr, Vint, Vfloat, Vbool, KeyId)values(:Vstr, "
                           ":Vint, :Vfloat, :Vbool, :KeyId)"),
            params);
    if (rows != 1)
        throw EDatabaseError(QStringLiteral("保存选项 %1 没有返回成功标志").arg(key));

    // The current record is the key that EnsureKey located.
    TDataSet* ds = DataSet();
    if (!ds->Active() || m_keyId->AsInteger() != key) {
        Invalidate();
        return;
    }
    ds->Edit();
    m_vstr->SetValue(vstr.isNull() ? QStringLiteral("") : vstr);
    m_vint->SetValue(vint);
    m_vfloat->SetValue(vfloat);
    m_vbool->SetValue(vbool);
    ds->Post();
}
