#include "MaintenanceFixture.h"

#include "data/DataSet.h"
#include "data/Database.h"
#include "maintenance/Backup.h"
#include "shell/AppPaths.h"

#include <QBuffer>

QStringList AllTables()
{
    return {QStringLiteral("operator"),        QStringLiteral("keyvalue"),
            QStringLiteral("options"),         QStringLiteral("Company"),
            QStringLiteral("report"),          QStringLiteral("materialclass"),
            QStringLiteral("productclass"),    QStringLiteral("materials"),
            QStringLiteral("products"),        QStringLiteral("productbom"),
            QStringLiteral("materialsintype"), QStringLiteral("materialsoutype"),
            QStringLiteral("productsintype"),  QStringLiteral("touchans"),
            QStringLiteral("materialsapp"),    QStringLiteral("materialsin"),
            QStringLiteral("materialsindl"),   QStringLiteral("materialsout"),
            QStringLiteral("materialsoutdl"),  QStringLiteral("productsin"),
            QStringLiteral("productsindl"),    QStringLiteral("syscols"),
            QStringLiteral("[backup]"),        QStringLiteral("upgrade")};
}

QStringList TableRows(const QString& table)
{
    TDataSet ds;
    gDatabase->OpenQuery(ds, QStringLiteral("select * from %1 order by 1").arg(table));
    QStringList rows;
    for (ds.First(); !ds.Eof(); ds.Next()) {
        QStringList cells;
        for (int i = 0; i < ds.FieldCount(); ++i) {
            const TField* f = ds.Fields(i);
            if (f->IsNull())
                cells << QStringLiteral("<null>");
            else if (IsBlobType(f->DataType))
                cells << QString::fromLatin1(f->AsBytes().toHex());
            else
                cells << f->DisplayText();
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList DatabaseSnapshot()
{
    QStringList out;
    for (const QString& t : AllTables())
        for (const QString& r : TableRows(t))
            out << t + QLatin1Char(':') + r;
    return out;
}

int RowCount(const QString& table)
{
    TDataSet ds;
    gDatabase->OpenQuery(ds, QStringLiteral("select count(*) from %1").arg(table));
    return ds.Fields(0)->AsInteger();
}

namespace {
void exec(const QString& sql, const TDBParameters& params = {})
{
    gDatabase->ExecSql(sql, params);
}
} // namespace

void SeedFactory()
{
    const QDateTime t(QDate(2013, 1, 10), QTime(9, 15, 0));
    const auto at = [](const QString& name, const QVariant& v) { return DBParam(name, v); };
    TTransaction tr(*gDatabase);
    exec(QStringLiteral(
        "insert into materialclass (Id, Code, Name, SlfId, PrtId) values (1, '1.', '钢材', 1, 0)"));
    exec(QStringLiteral(
        "insert into productclass (Id, Code, Name, SlfId, PrtId) values (1, '1.', '机架', 1, 0)"));
    exec(QStringLiteral(
        "insert into operator (LoginId, [Password], Name, Rights) values ('wang', 'x', '王芳', ',9,')"));
    for (int i = 1; i <= 3; ++i)
        exec(QStringLiteral("insert into materials (Id, ClassId, Code, Name, S1, Price, Stock, Apps) "
                            "values (:Id, 1, :Code, :Name, '规格 ''A''', 2.5, :Stock, 4)"),
             {at(QStringLiteral("Id"), i), at(QStringLiteral("Code"), QStringLiteral("M%1").arg(i)),
              at(QStringLiteral("Name"), QStringLiteral("角钢%1号").arg(i)),
              at(QStringLiteral("Stock"), 10.0 * i)});
    exec(QStringLiteral(
        "insert into products (Id, ClassId, Code, Name, F1) values (1, 1, 'P1', '货架', 120.5)"));
    exec(QStringLiteral(
        "insert into productbom (Id, ProductId, MaterialId, Qty) values (1, 1, 1, 2), (2, 1, 2, 0.5)"));
    exec(QStringLiteral(
             "insert into touchans (Id, ProductId, Qty, TouDate, Status) values (1, 1, 50, :T, '执行')"),
         {at(QStringLiteral("T"), t)});
    exec(QStringLiteral(
             "insert into materialsapp (Id, Code, AppDate, MaterialId, Qty, Billman, BillTime, CheckTime) "
             "values (1, 'MA13010001', :T, 1, 20, 'sa', :T2, :T3)"),
         {at(QStringLiteral("T"), t), at(QStringLiteral("T2"), t), at(QStringLiteral("T3"), t)});
    exec(QStringLiteral(
             "insert into materialsin (Id, Code, BizDate, SignId, TypeId, Billman, BillTime, CheckTime) "
             "values (1, 'MI13010001', :T, 1, 1, 'sa', :T2, :T3)"),
         {at(QStringLiteral("T"), t), at(QStringLiteral("T2"), t), at(QStringLiteral("T3"), t)});
    exec(QStringLiteral("insert into materialsindl (dlId, MastId, MaterialId, Qty, Price, Fund, AppId) "
                        "values (1, 1, 1, 16, 2.5, 40, 1)"));
    exec(QStringLiteral("insert into materialsout (Id, Code, BizDate, SignId, TypeId, TouchanId) "
                        "values (1, 'MO13010001', :T, -1, 0, 1)"),
         {at(QStringLiteral("T"), t)});
    exec(QStringLiteral("insert into materialsoutdl (dlId, MastId, MaterialId, Qty) values (1, 1, 2, 3)"));
    exec(QStringLiteral(
             "insert into productsin (Id, Code, BizDate, SignId, TypeId) values (1, 'PI13010001', :T, 1, 0)"),
         {at(QStringLiteral("T"), t)});
    exec(QStringLiteral("insert into productsindl (dlId, MastId, TouchanId, Qty) values (1, 1, 1, 5)"));
    exec(QStringLiteral("insert into syscols (F02, F06) values (7, '列布局')"));
    exec(QStringLiteral("insert into upgrade (Id, Version, SqlText) values (1, '1.3', :S)"),
         {at(QStringLiteral("S"), QStringLiteral("old.db\r\n// 注释\r\nmsg:开始"))});
    QByteArray blob("\x00\x01\xfe template", 14);
    QBuffer buf(&blob);
    gDatabase->ExecSql(
        QStringLiteral("insert into report (Id, GrpId, Title, Fr3File) values (1, 3, '材料清单', :F)"), {},
        TxDBParameters{TxDBParameter{QStringLiteral("F"), &buf}});
    tr.Commit();
}

void TMaintenanceTest::SetUp()
{
    TEngineTest::SetUp();
    SetHomeDir(env->home());
    SetBackupClock([this] { return now; });
}

void TMaintenanceTest::TearDown()
{
    SetBackupClock({});
    TEngineTest::TearDown();
}

void TMaintenanceSqliteTest::SetUp()
{
    TSqliteTest::SetUp();
    SetHomeDir(env->home());
}

void TMaintenanceSqliteTest::TearDown()
{
    TSqliteTest::TearDown();
}
