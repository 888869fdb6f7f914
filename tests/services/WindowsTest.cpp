#include "ModalScript.h"
#include "ServicesFixture.h"

#include "data/Exceptions.h"
#include "masterdata/Captions.h"
#include "masterdata/ui/LabelSettingFrm.h"
#include "services/Company.h"
#include "services/KeyValue2.h"
#include "services/Operator.h"
#include "services/OperatorSet.h"
#include "services/ui/CompanyInfoFrm.h"
#include "services/ui/OperatorEditorFrm.h"
#include "services/ui/OperatorsFrm.h"
#include "services/ui/PasswordChangerFrm.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

class WindowsTest : public TSqliteTest
{
protected:
    void SetUp() override
    {
        TSqliteTest::SetUp();
        CreateProjectObjects();
        gOperator->LoadOperator(u"sa"_s);
    }
    void TearDown() override
    {
        gCaptions = TCaptions();
        FreeProjectObjects();
        TSqliteTest::TearDown();
    }
    static QVariant scalar(const QString& sql)
    {
        TRecordSet rs;
        rs.OpenSql(sql);
        return rs.DataSet()->IsEmpty() ? QVariant() : rs.DataSet()->Fields(0)->Value();
    }
    static void asOperatorWithout(int right)
    {
        gOperator->Clear();
        gOperator->LoginId = u"clerk"_s;
        gOperator->Rights = right == 13 ? u",1,"_s : u",13,"_s;
    }
};

QLineEdit* edit(QDialog& d, const char* name)
{
    auto* e = d.findChild<QLineEdit*>(QLatin1String(name));
    EXPECT_TRUE(e) << name;
    return e;
}

QPushButton* button(QDialog& d, const char* name)
{
    auto* b = d.findChild<QPushButton*>(QLatin1String(name));
    EXPECT_TRUE(b) << name;
    return b;
}

void shot(QDialog& d, const QString& name)
{
    d.grab().save(u"/tmp/"_s + name + u".png"_s);
}

} // namespace

TEST_F(WindowsTest, PasswordDialogRefusesDifferentNewPasswords)
{
    TModalScript script;
    script.Then(u"PasswordChangerFrm"_s, [](QDialog& d) {
        EXPECT_EQ(edit(d, "edtLoginId")->text(), u"sa"_s);
        EXPECT_TRUE(edit(d, "edtLoginId")->isReadOnly());
        EXPECT_EQ(edit(d, "edtNewPassword")->echoMode(), QLineEdit::Password);
        edit(d, "edtNewPassword")->setText(u"abc"_s);
        edit(d, "edtNewPassword2")->setText(u"abd"_s);
        shot(d, u"svc_password"_s);
        button(d, "btnOk")->click();
    });
    script.Then(u"PasswordChangerFrm"_s, [](QDialog& d) {
        // Still open with both new fields emptied.
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(edit(d, "edtNewPassword")->text().isEmpty());
        EXPECT_TRUE(edit(d, "edtNewPassword2")->text().isEmpty());
        edit(d, "edtNewPassword")->setText(u"abc"_s);
        edit(d, "edtNewPassword2")->setText(u"abc"_s);
        button(d, "btnOk")->click();
    });
    EXPECT_TRUE(ChangeMyPassword());
    EXPECT_EQ(messages().texts(), (QStringList{u"两次输入的新密码不一样,请确认并重新输入."_s,
                                               u"\r\n密码更改成功! 下次登陆时请使用新密码.\t"_s}));
    EXPECT_EQ(scalar(u"select [Password] from operator where LoginId='sa'"_s).toString(), u"abc"_s);
}

TEST_F(WindowsTest, CompanyDialogSavesKeepsTypedTextOnErrorAndCanBeReadOnly)
{
    const QString tooLong(101, u'长');
    TModalScript script;
    script.Then(u"CompanyInfoFrm"_s, [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), u"公司信息"_s);
        d.setProperty("Lawman", u"王经理"_s);
        d.setProperty("Profile", u"第一行\r\n第二行"_s);
        edit(d, "edtCompanyName")->setText(tooLong);
        button(d, "btnOk")->click();
    });
    script.Then(u"CompanyInfoFrm"_s, [&](QDialog& d) {
        EXPECT_EQ(edit(d, "edtCompanyName")->text(), tooLong);
        edit(d, "edtCompanyName")->setText(u"澄舟机械有限公司"_s);
        edit(d, "edtTel")->setText(u"010-12345678"_s);
        shot(d, u"svc_company"_s);
        button(d, "btnOk")->click();
    });
    EXPECT_TRUE(EditCompanyInfo(nullptr, false));
    ASSERT_EQ(messages().messages.size(), 1u);
    EXPECT_TRUE(messages().lastText().contains(u"insert into Company"_s));
    EXPECT_EQ(scalar(u"select CompanyName from Company where Id=0"_s).toString(), u"澄舟机械有限公司"_s);
    EXPECT_EQ(scalar(u"select Profile from Company"_s).toString(), u"第一行\r\n第二行"_s);
    EXPECT_EQ(gCompany->Manager, u"王经理"_s);

    script.Then(u"CompanyInfoFrm"_s, [](QDialog& d) {
        EXPECT_FALSE(button(d, "btnOk")->isEnabled());
        EXPECT_EQ(d.property("CompanyName").toString(), u"澄舟机械有限公司"_s);
        EXPECT_EQ(d.findChild<QPlainTextEdit*>(u"memProfile"_s)->toPlainText(), u"第一行\n第二行"_s);
        shot(d, u"svc_company_readonly"_s);
        button(d, "btnCancel")->click();
    });
    EXPECT_FALSE(EditCompanyInfo(nullptr, true));
}

TEST_F(WindowsTest, OperatorWindowAddsEditsAndDeletes)
{
    TOperatorSet().AddOperator(u"wang"_s, u"1"_s, u",1,,12,"_s, QString(), QString(), u"王五"_s);
    TModalScript script;
    script.Then(u"OperatorsFrm"_s, [&](QDialog& d) {
        auto& frm = static_cast<TOperatorsFrm&>(d);
        QListWidget* list = frm.UserList();
        ASSERT_EQ(list->count(), 1); // sa is never listed
        EXPECT_FALSE(button(d, "btnProperties")->isEnabled());
        EXPECT_FALSE(button(d, "btnDelete")->isEnabled());

        // Add: an empty login name and different passwords are refused, then a duplicate
        // name is refused by the database and the editor shows again with the typed values.
        script.Then(u"OperatorEditorFrm"_s, [](QDialog& e) {
            EXPECT_FALSE(edit(e, "edtLoginId")->isReadOnly());
            button(e, "btnOk")->click();
            EXPECT_TRUE(e.isVisible());
            edit(e, "edtLoginId")->setText(u"WANG"_s);
            edit(e, "edtName")->setText(u"重名"_s);
            edit(e, "edtPassword")->setText(u"x"_s);
            edit(e, "edtPassword2")->setText(u"y"_s);
            button(e, "btnOk")->click();
            EXPECT_TRUE(edit(e, "edtPassword")->text().isEmpty());
            button(e, "btnOk")->click();
        });
        script.Then(u"OperatorEditorFrm"_s, [](QDialog& e) {
            EXPECT_EQ(edit(e, "edtName")->text(), u"重名"_s);
            edit(e, "edtLoginId")->setText(u"li"_s);
            edit(e, "edtName")->setText(u"李四"_s);
            auto* rights = e.findChild<QListWidget*>(u"lstRights"_s);
            EXPECT_EQ(rights->count(), 24);
            EXPECT_EQ(rights->item(3)->text(), u"物料价格查看"_s);
            rights->item(3)->setCheckState(Qt::Checked);  // 15
            rights->item(0)->setCheckState(Qt::Checked);  // 1
            rights->item(16)->setCheckState(Qt::Checked); // 100001
            shot(e, u"svc_operator_editor"_s);
            button(e, "btnOk")->click();
        });
        button(d, "btnAdd")->click();
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(1)->text(), u"li"_s);
        shot(d, u"svc_operators"_s);

        // Properties: filled from the set, login name read-only; a double click toggles a right.
        list->setCurrentRow(0);
        EXPECT_TRUE(button(d, "btnProperties")->isEnabled());
        script.Then(u"OperatorEditorFrm"_s, [](QDialog& e) {
            EXPECT_EQ(edit(e, "edtLoginId")->text(), u"wang"_s);
            EXPECT_TRUE(edit(e, "edtLoginId")->isReadOnly());
            EXPECT_EQ(edit(e, "edtPassword2")->text(), u"1"_s);
            auto* rights = e.findChild<QListWidget*>(u"lstRights"_s);
            EXPECT_EQ(rights->item(0)->checkState(), Qt::Checked);
            EXPECT_EQ(rights->item(13)->checkState(), Qt::Checked); // 12
            EXPECT_EQ(rights->item(12)->checkState(), Qt::Unchecked);
            emit rights->itemDoubleClicked(rights->item(0));
            emit rights->itemDoubleClicked(rights->item(2));
            edit(e, "edtName")->setText(u"王五一"_s);
            button(e, "btnOk")->click();
        });
        button(d, "btnProperties")->click();

        // Delete after the confirmation.
        list->setCurrentRow(1);
        button(d, "btnDelete")->click();
        EXPECT_EQ(list->count(), 1);
        button(d, "btnClose")->click();
    });
    ShowOperators();
    EXPECT_EQ(script.Ran(), 4);
    EXPECT_EQ(messages().messages.size(), 4u);
    EXPECT_EQ(messages().texts().value(0), u"\r\n必须填写登陆名.\t"_s);
    EXPECT_EQ(messages().texts().value(1), u"\r\n两次输入的密码不一样,请重新输入.\t"_s);
    EXPECT_TRUE(messages().texts().value(2).contains(u"insert into operator"_s));
    EXPECT_EQ(messages().texts().value(3), u"\r您确定要删除 li 吗?\t\t"_s);

    TOperator wang;
    ASSERT_TRUE(wang.LoadOperator(u"wang"_s));
    EXPECT_EQ(wang.Rights, u",3,,12,"_s);
    EXPECT_EQ(wang.Name, u"王五一"_s);
    EXPECT_FALSE(TOperator().LoadOperator(u"li"_s));
}

TEST_F(WindowsTest, ClosedWithoutTheRightNothingOpens)
{
    asOperatorWithout(100001);
    EXPECT_THROW(ShowOperators(), EAbort);
    asOperatorWithout(13);
    EXPECT_THROW(EditMaterialLabels(), EAbort);
    EXPECT_EQ(messages().texts(),
              (QStringList{u"\r\n对不起,您没有该功能的操作权限,请与管理员联系(100001).\t"_s,
                           u"\r\n对不起,您没有该功能的操作权限,请与管理员联系(13).\t"_s}));
}

TEST_F(WindowsTest, LabelDialogsStoreUntilTheNextStart)
{
    LoadCaptions();
    TModalScript script;
    script.Then(u"MatlabelSettingFrm"_s, [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), u"标签自定义"_s);
        auto* t = d.findChild<QTableWidget*>(u"vleLabels"_s);
        ASSERT_EQ(t->rowCount(), 13);
        EXPECT_EQ(t->horizontalHeaderItem(0)->text(), u"项目"_s);
        EXPECT_EQ(t->item(8, 0)->text(), u"价格"_s);
        EXPECT_FALSE(t->item(8, 1)->flags() & Qt::ItemIsEditable);
        t->item(8, 1)->setText(u"想改价格"_s); // only code could; it is still never stored
        t->item(3, 1)->setText(u"材质"_s);
        shot(d, u"svc_labels_material"_s);
        button(d, "btnOk")->click();
    });
    EXPECT_TRUE(EditMaterialLabels());
    EXPECT_EQ(messages().lastText(), u"\r\n部份更改将在下次启动时生效.\t"_s);
    EXPECT_EQ(gCaptions.Material.S1, u"规格"_s);
    EXPECT_EQ(gKeyValues->GetStr(1020), u"材质"_s);
    EXPECT_EQ(scalar(u"select count(*) from keyvalue where Vstr='想改价格'"_s).toInt(), 0);

    script.Then(u"ProlabelSettingFrm"_s, [](QDialog& d) {
        auto* t = d.findChild<QTableWidget*>(u"vleLabels"_s);
        EXPECT_EQ(t->rowCount(), 14);
        EXPECT_EQ(t->item(13, 0)->text(), u"备注型"_s);
        t->item(0, 1)->setText(u"不存"_s);
        shot(d, u"svc_labels_product"_s);
        button(d, "btnCancel")->click();
    });
    EXPECT_FALSE(EditProductLabels());
    EXPECT_EQ(gKeyValues->GetStr(1001), u"助查码"_s);

    // A failing save is shown and the dialog comes again with the typed value.
    script.Then(u"BomlabelSettingFrm"_s, [](QDialog& d) {
        auto* t = d.findChild<QTableWidget*>(u"vleLabels"_s);
        EXPECT_EQ(t->rowCount(), 3);
        t->item(0, 1)->setText(u"工序"_s);
        shot(d, u"svc_labels_bom"_s);
        gDatabase->SetFailAt(1);
        button(d, "btnOk")->click();
    });
    script.Then(u"BomlabelSettingFrm"_s, [](QDialog& d) {
        EXPECT_EQ(d.findChild<QTableWidget*>(u"vleLabels"_s)->item(0, 1)->text(), u"工序"_s);
        button(d, "btnOk")->click();
    });
    EXPECT_TRUE(EditBomLabels());
    EXPECT_TRUE(messages().texts().at(messages().texts().size() - 2).contains(u"模拟的数据库错误"_s));
    LoadCaptions();
    EXPECT_EQ(gCaptions.Bom.BomS01, u"工序"_s);
    EXPECT_EQ(gCaptions.Material.S1, u"材质"_s);
}
