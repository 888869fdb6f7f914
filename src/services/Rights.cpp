#include "Rights.h"

const QList<RRight>& RightTable()
{
    static const QList<RRight> table{
        {1, QStringLiteral("物料分类")},
        {2, QStringLiteral("物料添加")},
        {3, QStringLiteral("物料修改")},
        {15, QStringLiteral("物料价格查看")},
        {4, QStringLiteral("产品分类")},
        {5, QStringLiteral("产品添加")},
        {6, QStringLiteral("产品修改")},
        {14, QStringLiteral("BOM导出")},
        {7, QStringLiteral("投产添加")},
        {8, QStringLiteral("投产修改")},
        {9, QStringLiteral("原料入库")},
        {10, QStringLiteral("领料出库")},
        {11, QStringLiteral("产品入库")},
        {12, QStringLiteral("清除数据")},
        {13, QStringLiteral("选项")},
        {10000, QStringLiteral("公司信息设置")},
        {100001, QStringLiteral("操作员及权限管理")},
        {10002, QStringLiteral("打印")},
        {10003, QStringLiteral("打印设计")},
        {10004, QStringLiteral("数据导出")},
        {10008, QStringLiteral("列选择")},
        {10006, QStringLiteral("列样式保存")},
        {10005, QStringLiteral("备份设置")},
        {10007, QStringLiteral("工具菜单设置")},
    };
    return table;
}

bool RightsContain(const QString& rights, int code)
{
    return rights.contains(QStringLiteral(",%1,").arg(code));
}

QString RightsString(const QList<int>& codes)
{
    QString s;
    for (const int code : codes)
        s += QLatin1Char(',') + QString::number(code) + QLatin1Char(',');
    return s;
}
