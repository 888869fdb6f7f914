#include "ShellFixture.h"

#include "data/Database.h"
#include "data/Exceptions.h"
#include "services/Operator.h"
#include "shell/DeskMenus.h"
#include "shell/NameValueList.h"
#include "shell/ui/DeskView.h"
#include "shell/ui/PickMenuFrm.h"
#include "shell/ui/mainFrm.h"
#include "shell/ui/mall.h"

#include <QAction>
#include <QListWidget>
#include <QMenuBar>

namespace {

TEST(DesktopText, NameValueLinesRoundTrip)
{
    TNameValueList list(u"原料入库=10,20\r\n投产=0,0\nno equals\r\n生产进度查询=5"_s);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Name(0), u"原料入库"_s);
    EXPECT_EQ(list.ValueAt(0), u"10,20"_s);
    EXPECT_EQ(list.Name(2), QString()) << "a line without = has an empty caption";
    EXPECT_EQ(list.Value(u"投产"_s), u"0,0"_s);
    list.SetValue(u"投产"_s, u"3,4"_s);
    list.SetValue(u"领料出库"_s, u"0,0"_s);
    EXPECT_EQ(list.Text(),
              u"原料入库=10,20\r\n投产=3,4\r\nno equals\r\n生产进度查询=5\r\n领料出库=0,0\r\n"_s);
    EXPECT_EQ(TNameValueList(list.Text()).Text(), list.Text());
    EXPECT_EQ(TNameValueList(QString()).Count(), 0);
}

TEST(DesktopText, PositionsOfTheValues)
{
    EXPECT_EQ(DeskIconPosition(u"0,0"_s), std::nullopt);
    EXPECT_EQ(DeskIconPosition(u"15"_s), std::nullopt);
    EXPECT_EQ(DeskIconPosition(u"15,-3"_s), QPoint(15, -3));
}

TEST(DesktopText, PositionsThatAreNotNumbersRaise)
{
    EXPECT_THROW(DeskIconPosition(u"a,1"_s), EConvertError);
    EXPECT_THROW(DeskIconPosition(u"1,b"_s), EConvertError);
    EXPECT_THROW(DeskIconPosition(u"1,2,3"_s), EConvertError) << "split at the first comma only";
    EXPECT_EQ(DeskIconValue(QPoint(7, 9)), u"7,9"_s);
}

class DesktopTest : public ShellEngineTest
{
protected:
    void SetUp() override
    {
        ShellEngineTest::SetUp();
        gDatabase->Execute(
            u"insert into operator(LoginId,[Password],Name,Contact,[Note],Rights) values ('wang','1','王','','','')"_s);
        gOperator->LoadOperator(u"sa"_s);
        main = std::make_unique<TmainFrm>(mall);
        main->resize(900, 600);
        main->show();
    }
    void TearDown() override
    {
        main.reset();
        ShellEngineTest::TearDown();
    }
    QStringList Captions() const
    {
        QStringList out;
        for (int i = 0; i < main->DeskView()->count(); ++i)
            out << main->DeskView()->item(i)->text();
        return out;
    }
    QListWidgetItem* Icon(const QString& caption) const
    {
        const auto found = main->DeskView()->findItems(caption, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }
    Tmall mall;
    std::unique_ptr<TmainFrm> main;
};

TEST_P(DesktopTest, LoadPlacesIconsAndSaveStoresTheirPlaces)
{
    WriteMenus(u"sa"_s, u"原料入库=120,40\r\n投产=0,0\r\n投产=300,10\r\n"_s);
    main->LoadDesktop(true);
    EXPECT_EQ(Captions(), (QStringList{u"原料入库"_s, u"投产"_s, u"投产"_s}));
    EXPECT_EQ(main->DeskView()->IconPos(Icon(u"原料入库"_s)), QPoint(120, 40));

    main->DeskView()->SetIconPos(Icon(u"原料入库"_s), QPoint(200, 90));
    main->SaveDesktop();
    const TNameValueList saved(ReadMenus(u"sa"_s));
    ASSERT_EQ(saved.Count(), 2) << "icons with equal captions collapse into one line";
    EXPECT_EQ(saved.Line(0), u"原料入库=200,90"_s);
    EXPECT_EQ(saved.Name(1), u"投产"_s);
    EXPECT_NE(saved.ValueAt(1), u"0,0"_s) << "the automatic place is stored as a real one";

    // Deleting an icon reaches the database at the next save.
    Icon(u"原料入库"_s)->setSelected(true);
    main->DeleteSelected();
    main->SaveDesktop();
    EXPECT_EQ(TNameValueList(ReadMenus(u"sa"_s)).IndexOfName(u"原料入库"_s), -1);
}

TEST_P(DesktopTest, AlignAndRearrange)
{
    WriteMenus(u"sa"_s, u"投产=10,200\r\n原料入库=150,40\r\n领料出库=300,120\r\n"_s);
    main->LoadDesktop(true);
    Icon(u"投产"_s)->setSelected(true);
    main->AlignTop();
    EXPECT_EQ(main->DeskView()->IconPos(Icon(u"投产"_s)), QPoint(10, 200)) << "one icon alone is not aligned";
    Icon(u"领料出库"_s)->setSelected(true);
    main->AlignTop();
    EXPECT_EQ(main->DeskView()->IconPos(Icon(u"领料出库"_s)), QPoint(300, 200));
    EXPECT_EQ(main->DeskView()->IconPos(Icon(u"原料入库"_s)), QPoint(150, 40)) << "unselected icons stay";
    main->AlignLeft();
    EXPECT_EQ(main->DeskView()->IconPos(Icon(u"领料出库"_s)), QPoint(10, 200));

    main->Rearrange();
    EXPECT_EQ(Captions(), (QStringList{u"投产"_s, u"原料入库"_s, u"领料出库"_s}));
    const QPoint first = main->DeskView()->IconPos(Icon(u"投产"_s));
    const QPoint second = main->DeskView()->IconPos(Icon(u"原料入库"_s));
    EXPECT_EQ(first.y(), second.y()) << "the view lays the icons out in a row";
    EXPECT_LT(first.x(), second.x());
}

TEST_P(DesktopTest, ABrokenPositionRaisesAfterTheIconsBeforeIt)
{
    WriteMenus(u"sa"_s, u"投产=30,30\r\n原料入库=x,1\r\n领料出库=200,200\r\n"_s);
    EXPECT_THROW(main->LoadDesktop(true), EConvertError);
    EXPECT_EQ(Captions().size(), 3);
    EXPECT_EQ(main->DeskView()->IconPos(Icon(u"投产"_s)), QPoint(30, 30));
    EXPECT_NE(main->DeskView()->IconPos(Icon(u"领料出库"_s)), QPoint(200, 200));
}

TEST_P(DesktopTest, DoubleClickRunsTheMenuItemOfTheCaption)
{
    // A registered opener stands for the module window here.
    int progressOpened = 0;
    mall.Register(Tmall::cmProgress, [&] { ++progressOpened; });
    main = std::make_unique<TmainFrm>(mall);
    main->show();
    WriteMenus(u"sa"_s, u"生产进度查询=0,0\r\n常见问题=0,0\r\n已删除的功能=0,0\r\n"_s);
    main->LoadDesktop(true);

    Icon(u"生产进度查询"_s)->setSelected(true);
    main->OpenSelected();
    EXPECT_EQ(progressOpened, 1);
    EXPECT_EQ(main->FindMenuItem(u"生产进度查询"_s), main->MenuItem(u"miProgress"_s));
    EXPECT_EQ(main->FindMenuItem(u"文件(f)"_s), main->MainMenu()->actions().first())
        << "letter case and & are ignored, the top level comes first";

    main->DeskView()->clearSelection();
    Icon(u"常见问题"_s)->setSelected(true);
    main->OpenSelected();
    EXPECT_EQ(messages().lastText(), u"\r\n暂无常见问题\t"_s);

    main->DeskView()->clearSelection();
    Icon(u"已删除的功能"_s)->setSelected(true);
    main->OpenSelected();
    EXPECT_EQ(messages().lastText(), u"\r\n没有找到该功能, 请删除该快捷方式.\t"_s);
}

TEST_P(DesktopTest, MenuItemsWithoutTheirWindowAreDisabled)
{
    EXPECT_FALSE(main->MenuItem(u"miMaterialsIn"_s)->isEnabled());
    EXPECT_TRUE(main->MenuItem(u"miRelogin"_s)->isEnabled());
    mall.Register(Tmall::cmMaterialsIn, [] {});
    TmainFrm withWindow(mall);
    EXPECT_TRUE(withWindow.MenuItem(u"miMaterialsIn"_s)->isEnabled());
}

TEST_P(DesktopTest, CommandsCheckTheirRightFirst)
{
    int opened = 0;
    mall.Register(Tmall::cmClearData, [&] { ++opened; });
    mall.Register(Tmall::cmUpgrade, [&] { ++opened; });
    gOperator->LoadOperator(u"wang"_s);
    EXPECT_THROW(mall.Run(Tmall::cmClearData), EAbort);
    EXPECT_EQ(messages().lastText(), u"\r\n对不起,您没有该功能的操作权限,请与管理员联系(12).\t"_s);
    EXPECT_THROW(mall.Run(Tmall::cmUpgrade), EAbort);
    EXPECT_EQ(opened, 0);
    gOperator->LoadOperator(u"sa"_s);
    mall.Run(Tmall::cmClearData);
    mall.Run(Tmall::cmUpgrade);
    EXPECT_EQ(opened, 2);
}

TEST_P(DesktopTest, ChooserTicksAddLinesAndUnticksRemoveThem)
{
    WriteMenus(u"sa"_s, u"投产=40,50\r\n"_s);
    TPickMenuFrm chooser(main->MainMenu(), u"sa"_s);
    EXPECT_EQ(chooser.windowTitle(), u"请选择您所常用的功能菜单"_s);
    ASSERT_EQ(chooser.MenuList()->count(), 7);
    EXPECT_EQ(chooser.MenuList()->currentRow(), 0);
    EXPECT_EQ(chooser.MenuList()->item(0)->text(), u"文件(F)"_s);
    EXPECT_EQ(chooser.ItemList()->item(0)->text(), u"公司信息"_s);

    chooser.MenuList()->setCurrentRow(2); // 业务
    QListWidget* items = chooser.ItemList();
    ASSERT_EQ(items->count(), 7);
    EXPECT_EQ(items->item(0)->text(), u"投产"_s);
    EXPECT_EQ(items->item(0)->checkState(), Qt::Checked);
    items->item(0)->setCheckState(Qt::Unchecked);
    items->item(3)->setCheckState(Qt::Checked); // 原料入库
    chooser.MenuList()->setCurrentRow(6);       // 帮助: the ticks above are folded in
    EXPECT_EQ(chooser.Working().Text(), u"原料入库=0,0\r\n"_s);
    chooser.accept();
    EXPECT_EQ(ReadMenus(u"sa"_s), u"原料入库=0,0\r\n"_s);
}

TEST_P(DesktopTest, EmptyDesktopDoubleClickOpensTheChooser)
{
    WriteMenus(u"sa"_s, QString());
    main->LoadDesktop(true);
    EXPECT_EQ(main->DeskView()->count(), 0);
    bool chooserShown = false;
    WhenModal([&](QWidget* w) {
        auto* chooser = qobject_cast<TPickMenuFrm*>(w);
        ASSERT_NE(chooser, nullptr);
        chooserShown = true;
        chooser->MenuList()->setCurrentRow(2);
        chooser->ItemList()->item(3)->setCheckState(Qt::Checked);
        chooser->accept();
    });
    QTest::mouseDClick(main->DeskView()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    EXPECT_TRUE(chooserShown);
    EXPECT_EQ(QStringList{u"原料入库"_s}, [this] {
        QStringList c;
        for (int i = 0; i < main->DeskView()->count(); ++i)
            c << main->DeskView()->item(i)->text();
        return c;
    }());
}

CZ_INSTANTIATE_ENGINES(DesktopTest);

} // namespace
