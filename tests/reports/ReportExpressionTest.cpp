#include "ReportTestData.h"

#include "reports/ReportEngine.h"
#include "reports/ReportExpression.h"
#include "reports/ReportFormat.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

using namespace reporttest;

namespace {

// Prints one text object on a title band and returns what it shows.
QString printed(TReportEngine& engine, const QString& content, const QString& format = QString())
{
    RReportObject o = text(content, 0, 0, 150, 6);
    o.displayFormat = format;
    engine.setTemplate(report({band(TBandKind::ReportTitle, 8, {o})}));
    const TReportDocument doc = engine.prepare();
    for (const RReportItem& item : doc.pages.first().items) {
        if (item.kind == TItemKind::Text)
            return item.text;
    }
    return QStringLiteral("<nothing>");
}

} // namespace

TEST(ReportFormat, DisplayFormats)
{
    const struct
    {
        QVariant value;
        const char* pattern;
        const char* expected;
    } cases[] = {
        {1234.5, "", "1234.5"},
        {0.1 + 0.2, "", "0.3"},
        {1e20, "", "100000000000000000000"},
        {3.0, "", "3"},
        {QVariant(), "#,##0.00", ""},
        {1234567.891, "#,##0.00", "1,234,567.89"},
        {-1234.5, "#,##0.00", "-1,234.50"},
        {0.5, "0.##", "0.5"},
        {2.0, "0.##", "2"},
        {0.004, "0.##", "0"},
        {0.125, "0.0%", "12.5%"},
        {-3.0, "0.00;(0.00)", "(3.00)"},
        {0.0, "0.00;-0.00;'—'", "—"},
        {12.0, "'¥'#,##0.00", "¥12.00"},
        {QStringLiteral("7.5"), "0.00", "7.50"},
        {QStringLiteral("abc"), "0.00", "abc"},
        {QDate(2026, 3, 4), "", "2026-03-04"},
        {QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)), "", "2026-03-04 05:06:07"},
        {QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)), "yyyy-MM-dd", "2026-03-04"},
        {QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)), "yyyy-mm-dd hh:nn", "2026-03-04 05:06"},
        {QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)), "yyyy-mm-dd hh:mm", "2026-03-04 05:06"},
        {QDate(2026, 3, 4), "yyyy年m月d日", "2026年3月4日"},
        {true, "", "是"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TReportFormat::format(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.expected))
            << c.pattern << " " << c.value.toString().toStdString();
    }
}

TEST(ReportExpression, EvaluatesArithmeticComparisonsAndFunctions)
{
    TReportEngine engine;
    auto d0 = materials(QStringLiteral("d0"), 3);
    engine.addDataSource(d0.get());
    const struct
    {
        const char* text;
        const char* expected;
    } cases[] = {
        {"[1 + 2 * 3]", "7"},
        {"[(1 + 2) * 3]", "9"},
        {"[-2 * -3]", "6"},
        {"[7 / 2]", "3.5"},
        {"[1 / 0]", ""},
        {"['甲' + '乙' & 3]", "甲乙3"},
        {"[d0.Code + '-' + d0.Name]", "M0001-舟生钢板1号"},
        {"[D0.CODE]", "M0001"},
        {"[d0.Price * 2]", "27"},
        {"[d0.F2 + 1]", "1"},
        {"[d0.Stock >= 10 and d0.Code = 'M0001']", "是"},
        {"[not (1 < 2) or 2 <> 2]", "否"},
        {"[IIF(d0.F2 = '', '无', d0.F2)]", "无"},
        {"[FormatFloat('#,##0.00', 1234.5)]", "1,234.50"},
        {"[Round(2.345, 2)]", "2.35"},
        {"[FormatFloat('0.00', 2.345)]", "2.35"},
        {"单价 [d0.Price] 元, 库存 [d0.Stock]", "单价 13.5 元, 库存 10"},
        {"[Label(d0.Code)] / [Label(d0.Price)]", "货号 / 价格"},
        {"[1 +]", "[1 +]"},
        {"没有右括号 [d0.Code", "没有右括号 [d0.Code"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(printed(engine, QString::fromUtf8(c.text)), QString::fromUtf8(c.expected)) << c.text;
    EXPECT_EQ(printed(engine, QStringLiteral("[d0.Price]"), QStringLiteral("0.00")), QStringLiteral("13.50"));
}

TEST(ReportExpression, VariableLookupRules)
{
    TReportEngine engine;
    engine.setVariable(QStringLiteral("u_Company"), QStringLiteral("澄舟机械厂"));
    engine.setVariable(QStringLiteral("u_Fax"), QString());
    engine.setVariable(QString(), QStringLiteral("ignored"));
    engine.setVariable(QStringLiteral("u_Tel"), QStringLiteral("111"));
    engine.setVariable(QStringLiteral("u_Tel"), QStringLiteral("222"));

    EXPECT_EQ(engine.variableNames(),
              (QStringList{QStringLiteral("u_Company"), QStringLiteral("u_Fax"), QStringLiteral("u_Tel")}));
    EXPECT_EQ(engine.variable(QStringLiteral("u_Fax")), QStringLiteral(" ")) << "an empty value is one space";
    EXPECT_EQ(engine.variable(QStringLiteral("u_Zip")), QStringLiteral("u_Zip"))
        << "an unknown name is the name";

    const struct
    {
        const char* text;
        const char* expected;
    } cases[] = {
        {"[u_Company]", "澄舟机械厂"},
        {"[u.u_Company]", "澄舟机械厂"},
        {"传真:[u_Fax]|", "传真: |"},
        {"[u_Tel]", "222"},
        {"[u.u_Nothing]", "u_Nothing"},
        {"[u_Nothing]", "u_Nothing"},
        {"[u_Company + '(' + u_Tel + ')']", "澄舟机械厂(222)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(printed(engine, QString::fromUtf8(c.text)), QString::fromUtf8(c.expected)) << c.text;
    printed(engine, QStringLiteral("[u_Nothing]"));
    EXPECT_TRUE(engine.warnings().join(QLatin1Char('\n')).contains(QStringLiteral("u_Nothing")));
}

TEST(ReportExpression, BuiltInDateAndTime)
{
    TReportEngine engine;
    engine.setNow(QDateTime(QDate(2026, 1, 16), QTime(8, 30, 0)));
    EXPECT_EQ(printed(engine, QStringLiteral("[Date]")), QStringLiteral("2026-01-16"));
    EXPECT_EQ(printed(engine, QStringLiteral("[Now]"), QStringLiteral("yyyy-mm-dd hh:nn")),
              QStringLiteral("2026-01-16 08:30"));
    EXPECT_EQ(printed(engine, QStringLiteral("[Page]/[TotalPages]")), QStringLiteral("1/1"));
}
