#include "TestSupport.h"

#include "data/DataSet.h"
#include "data/Exceptions.h"
#include "data/RecordSet.h"
#include "reports/DefaultReports.h"
#include "reports/ui/ReportDesigner.h"
#include "services/Company.h"
#include "services/Operator.h"
#include "services/ProjectObjects.h"
#include "services/RepCatalog.h"
#include "services/RepSet.h"
#include "services/Rights.h"
#include "services/ui/ProjRep.h"
#include "services/ui/RepPrint.h"
#include "services/ui/ReporterFrm.h"

#include <QListWidget>

namespace {

class CatalogTest : public TEngineTest
{
protected:
    void SetUp() override
    {
        TEngineTest::SetUp();
        CreateProjectObjects();
    }
    void TearDown() override
    {
        TReporterFrm::SetExecHook({});
        FreeProjectObjects();
        TEngineTest::TearDown();
    }
    static QVariant scalar(const QString& sql, const TDBParameters& params = {})
    {
        TRecordSet rs;
        rs.OpenSql(sql, params);
        return rs.DataSet()->IsEmpty() ? QVariant() : rs.DataSet()->Fields(0)->Value();
    }
    static QStringList titles(int group)
    {
        TRepSet set;
        set.OpenGroup(group);
        QStringList out;
        for (set.DataSet()->First(); !set.DataSet()->Eof(); set.DataSet()->Next())
            out << set.DataSet()->FieldByName("Title")->AsString();
        return out;
    }
    static void login(const QList<int>& rights)
    {
        gOperator->LoginId = "zhang";
        gOperator->Rights = RightsString(rights);
    }
};

// A report whose designer run saves the template it was given, as the designer's save command does.
class TSavingRep final : public TProjRep
{
protected:
    void RunDesigner(TReportDesigner& designer) override { ASSERT_TRUE(designer.save()); }
};

TEST_P(CatalogTest, CatalogueStatements)
{
    gDatabase->ExecSql("insert into report(Id,GrpId,Title)values(7,9,'其他')");
    const int a = TRepCatalog::AddReport("乙表", 5);
    const int b = TRepCatalog::AddReport("", 5); // an empty title is accepted
    EXPECT_EQ(a, 8);
    EXPECT_EQ(b, 9);
    EXPECT_EQ(titles(5), QStringList({"", "乙表"}));

    TRepCatalog::RenameReport(b, "甲表");
    TRepCatalog::DeleteReport(a);
    EXPECT_EQ(titles(5), QStringList({"甲表"}));
    EXPECT_EQ(titles(9), QStringList({"其他"}));

    // Save updates an existing row and inserts a missing one; the top-1 lookup then sees it.
    TRepCatalog::SaveTemplate(b, QByteArray("one\0two", 7));
    EXPECT_EQ(TRepCatalog::LoadTemplate(b), QByteArray("one\0two", 7));
    TRepCatalog::SaveTemplate(b, "three");
    EXPECT_EQ(TRepCatalog::LoadTemplate(b), QByteArray("three"));
    TRepCatalog::SaveTemplate(20, "new");
    EXPECT_EQ(TRepCatalog::LoadTemplate(20), QByteArray("new"));
    EXPECT_EQ(scalar("select count(*) from report where Id=20").toInt(), 1);
    EXPECT_EQ(TRepCatalog::AddReport("丙表", 6), 21);
    EXPECT_TRUE(TRepCatalog::LoadTemplate(99).isEmpty());
}

TEST_P(CatalogTest, FailingInsertLeavesNoRow)
{
    gDatabase->SetFailAt(2); // the number lookup succeeds, the insert fails
    EXPECT_THROW(TRepCatalog::AddReport("甲", 5), Exception);
    EXPECT_EQ(scalar("select count(*) from report").toInt(), 0);
}

TEST_P(CatalogTest, PrintRights)
{
    int shown = 0;
    bool canDesign = true;
    TReporterFrm::SetExecHook([&](TReporterFrm& frm) {
        ++shown;
        canDesign = frm.CanDesign();
        EXPECT_FALSE(frm.NewAction()->isEnabled());
        frm.NewReport(); // refused without the design right
    });

    login({15});
    EXPECT_THROW(PrintReports({}, 5), EAbort);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(messages().lastText(), "\r\n对不起,您没有该功能的操作权限,请与管理员联系(10002).\t");

    login({10002});
    messages().inputs.push_back("新表");
    PrintReports({}, 7);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(canDesign);
    EXPECT_EQ(titles(7).size(), 1); // only the shipped template

    TReporterFrm::SetExecHook(
        [&](TReporterFrm& frm) { canDesign = frm.CanDesign() && frm.DesignAction()->isEnabled(); });
    login({10002, 10003});
    PrintReports({}, 7);
    EXPECT_TRUE(canDesign);
}

TEST_P(CatalogTest, DefaultTemplateInsertedOnlyIntoEmptyGroup)
{
    login({10002});
    TReporterFrm::SetExecHook([](TReporterFrm& frm) { EXPECT_EQ(frm.List()->count(), 1); });
    PrintReports({}, 5);
    PrintReports({}, 5);
    EXPECT_EQ(scalar("select count(*) from report where GrpId=5").toInt(), 1);
    const int id = scalar("select Id from report where GrpId=5").toInt();
    EXPECT_EQ(TRepCatalog::LoadTemplate(id), TDefaultReports::forGroup(5));

    TRepCatalog::AddReport("自己的", 6);
    EXPECT_FALSE(EnsureDefaultReports(6));
    EXPECT_FALSE(EnsureDefaultReports(42)); // no shipped template for that group
    EXPECT_EQ(titles(6), QStringList({"自己的"}));
}

TEST_P(CatalogTest, MalformedBlobOpensEmptyReportWithMessage)
{
    const int id = TRepCatalog::AddReport("坏表", 5);
    TRepCatalog::SaveTemplate(id, "PK\x03\x04 not a template");
    TRep rep;
    rep.LoadTemplate(id);
    EXPECT_TRUE(messages().lastText().contains("这不是本系统的报表模板"));
    EXPECT_EQ(rep.TemplateId(), id);
    TReportTemplate empty = TReportTemplate::emptyReport();
    empty.id = id;
    EXPECT_EQ(rep.Engine().reportTemplate(), empty);

    // An empty blob is an empty report without a message.
    const int fresh = TRepCatalog::AddReport("新表", 5);
    const size_t before = messages().messages.size();
    rep.LoadTemplate(fresh);
    EXPECT_EQ(messages().messages.size(), before);
    EXPECT_EQ(rep.TemplateId(), fresh);
}

TEST_P(CatalogTest, DesignSaveStoresTemplateUnderItsId)
{
    const int id = TRepCatalog::AddReport("物料表", 5);
    TRepCatalog::SaveTemplate(id, TDefaultReports::forGroup(5));
    const int other = TRepCatalog::AddReport("空表", 5);
    TSavingRep rep;
    rep.Design(id);
    TReportTemplate expected;
    ASSERT_TRUE(expected.load(TDefaultReports::forGroup(5)));
    TReportTemplate stored;
    ASSERT_TRUE(stored.load(TRepCatalog::LoadTemplate(id)));
    EXPECT_EQ(stored.pages, expected.pages);
    EXPECT_TRUE(TRepCatalog::LoadTemplate(other).isEmpty());
}

TEST_P(CatalogTest, VariablesAndDataSets)
{
    gCompany->CompanyName = "澄舟机械";
    gCompany->Tel = "0571-1";
    gCompany->Fax = "";
    login({});
    TProjRep rep;
    EXPECT_EQ(rep.VariableNames(),
              QStringList({"u_Company", "u_Tel", "u_Fax", "u_Address", "u_Zip", "u_Operator"}));
    EXPECT_EQ(rep.Variable("u_Company"), "澄舟机械");
    EXPECT_EQ(rep.Variable("u_Fax"), " ");
    EXPECT_EQ(rep.Variable("u_Operator"), "zhang");
    rep.SetVariable("", "x");
    EXPECT_EQ(rep.VariableNames().size(), 6);

    TDataSet a, b;
    rep.AddDataSets({&a, &b});
    ASSERT_EQ(rep.DataSources().size(), 2);
    EXPECT_EQ(rep.DataSources()[0]->name(), "d0");
    EXPECT_EQ(rep.DataSources()[1]->name(), "d1");
    rep.ClearDataSets();
    EXPECT_TRUE(rep.DataSources().isEmpty());
}

TEST_P(CatalogTest, ChooserActions)
{
    TProjRep rep;
    TReporterFrm frm;
    frm.SetCanDesign(true);
    frm.SetReper(&rep);
    frm.SetGroupId(8);
    EXPECT_EQ(frm.List()->count(), 0);
    frm.PreviewSelected(); // empty group: asks for a selection first
    EXPECT_EQ(messages().lastText(), "请先从左框列表中选中您要操作的项目.");

    messages().inputs = {"B", "A"};
    frm.NewReport();
    frm.NewReport();
    EXPECT_EQ(titles(8), QStringList({"A", "B"}));
    EXPECT_EQ(frm.SelectedTitle(), "A");

    messages().inputs = {"C"};
    frm.RenameSelected();
    EXPECT_EQ(titles(8), QStringList({"B", "C"}));

    frm.SelectRow(1);
    messages().setNextAnswer(TMessageService::AnswerCancel);
    frm.DeleteSelected();
    EXPECT_EQ(messages().lastText(), "确定要删除C吗?");
    EXPECT_EQ(titles(8).size(), 2);
    frm.SelectRow(1);
    frm.DeleteSelected();
    EXPECT_EQ(titles(8), QStringList({"B"}));
}

CZ_INSTANTIATE_ENGINES(CatalogTest);

TEST(ReporterPlacement, NearPointerOrCentred)
{
    const QRect screen(0, 0, 1000, 800);
    const QSize size(200, 400);
    struct Case
    {
        QPoint cursor;
        QPoint expected;
    } cases[] = {
        {{500, 300}, {400, 200}}, // centred on the pointer, a quarter of the height above it
        {{950, 300}, {400, 200}}, // past the right edge: centred on the screen
        {{500, 600}, {400, 200}}, // past the bottom edge
        {{50, 300}, {10, 200}},   // negative left becomes 10
        {{500, 50}, {400, 10}},   // negative top becomes 10
    };
    for (const Case& c : cases)
        EXPECT_EQ(TReporterFrm::Placement(size, c.cursor, screen), c.expected)
            << c.cursor.x() << "," << c.cursor.y();
}

} // namespace
