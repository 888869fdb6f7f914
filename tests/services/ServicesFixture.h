#pragma once

#include "TestSupport.h"

#include "data/RecordSet.h"
#include "services/ProjectObjects.h"

#include <QVariant>

// A fresh database with the project objects created on it, as at start-up.
class ServicesTest : public TEngineTest
{
protected:
    void SetUp() override
    {
        TEngineTest::SetUp();
        CreateProjectObjects();
    }
    void TearDown() override
    {
        FreeProjectObjects();
        TEngineTest::TearDown();
    }

    // The first column of the first row, read on a set of its own.
    static QVariant scalar(const QString& sql, const TDBParameters& params = {})
    {
        TRecordSet rs;
        rs.OpenSql(sql, params);
        return rs.DataSet()->IsEmpty() ? QVariant() : rs.DataSet()->Fields(0)->Value();
    }
    static int count(const QString& sqlFromWhere)
    {
        return scalar(QStringLiteral("select count(*) ") + sqlFromWhere).toInt();
    }
};
