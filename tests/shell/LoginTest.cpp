#include "ShellFixture.h"

#include "data/Configer.h"
#include "data/Database.h"
#include "services/Operator.h"
#include "shell/DeskMenus.h"
#include "shell/LoginCheck.h"
#include "shell/ui/DeskView.h"
#include "shell/ui/LoginFrm.h"
#include "shell/ui/mainFrm.h"
#include "shell/ui/mall.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class LoginTest : public ShellEngineTest
{
protected:
    void SetUp() override
    {
        ShellEngineTest::SetUp();
        gDatabase->Execute(
            u"insert into operator(LoginId,[Password],Name,Contact,[Note],Rights,Menus) values "
            "('wang','secret','王','','',',15,',:Menus)"_s,
            {DBParam(u"Menus"_s, u"原料入库=20,30\r\n"_s)});
        gDatabase->Execute(
            u"insert into operator(LoginId,[Password],Name,Contact,[Note],Rights) values ('li','','李','','',',1,')"_s);
    }
    // Types into the shown dialog and presses OK; true when it closed with OK.
    static bool Try(TLoginFrm& dlg, const QString& name, const QString& password)
    {
        dlg.LoginIdBox()->setEditText(name);
        dlg.PasswordBox()->setText(password);
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        return !dlg.isVisible() && dlg.result() == QDialog::Accepted;
    }
};

TEST_P(LoginTest, FreshStartProposesSaWithItsEmptyPassword)
{
    TLoginFrm dlg;
    EXPECT_EQ(dlg.windowTitle(), u"登陆"_s);
    EXPECT_EQ(dlg.LoginIdBox()->currentText(), u"sa"_s);
    QStringList listed;
    for (int i = 0; i < dlg.LoginIdBox()->count(); ++i)
        listed << dlg.LoginIdBox()->itemText(i);
    listed.sort();
    EXPECT_EQ(listed, (QStringList{u"li"_s, u"wang"_s})) << "sa is never listed";
    EXPECT_EQ(dlg.PasswordBox()->echoMode(), QLineEdit::Password);
    dlg.show();
    EXPECT_TRUE(Try(dlg, u"sa"_s, QString()));
    EXPECT_EQ(gOperator->LoginId, u"sa"_s);
    EXPECT_EQ(TConfiger().ReadLastLoginId(), u"sa"_s);
}

TEST_P(LoginTest, FailuresKeepTheDialogOpenAndNeverCarryOver)
{
    TLoginFrm dlg;
    dlg.show();
    EXPECT_FALSE(Try(dlg, u"wang"_s, u"Secret"_s)) << "passwords compare exactly";
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.PasswordBox()->selectedText(), u"Secret"_s);
    // After a failed attempt with an existing name, a name that does not exist never logs in,
    // not even with that operator's password.
    EXPECT_FALSE(Try(dlg, u"nobody"_s, u"secret"_s));
    EXPECT_FALSE(Try(dlg, u"nobody"_s, QString()));
    EXPECT_TRUE(gOperator->LoginId.isEmpty()) << "gOperator changes only on success";
    EXPECT_TRUE(messages().messages.empty()) << "no message on a failed login";
    EXPECT_TRUE(Try(dlg, u"wang"_s, u"secret"_s));
    EXPECT_EQ(gOperator->LoginId, u"wang"_s);

    TLoginFrm next;
    EXPECT_EQ(next.LoginIdBox()->currentText(), u"wang"_s) << "the next start proposes the last login";
}

TEST_P(LoginTest, NameLetterCaseIsTheDatabasesAndTheStoredRowIsLoaded)
{
    TLoginFrm dlg;
    dlg.show();
    EXPECT_TRUE(Try(dlg, u"SA"_s, QString()));
    EXPECT_EQ(gOperator->LoginId, u"sa"_s);
    EXPECT_TRUE(gOperator->HasRight(12345)) << "logged in as sa, with all rights";
    EXPECT_EQ(TConfiger().ReadLastLoginId(), u"sa"_s);
}

TEST_P(LoginTest, ADatabaseErrorIsReportedAndTheDialogStays)
{
    TLoginFrm dlg;
    dlg.show();
    gDatabase->SetFailAt(1);
    EXPECT_FALSE(Try(dlg, u"wang"_s, u"secret"_s));
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(messages().messages.size(), 2u) << "the SQL box, then the error handler's box";
    EXPECT_TRUE(messages().messages[0].text.contains(u"select LoginId"_s, Qt::CaseInsensitive));
    EXPECT_TRUE(gOperator->LoginId.isEmpty());
    EXPECT_TRUE(Try(dlg, u"wang"_s, u"secret"_s)) << "the next attempt works again";
}

TEST_P(LoginTest, EnterInThePasswordPressesOk)
{
    TLoginFrm dlg;
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.LoginIdBox()->setFocus();
    dlg.LoginIdBox()->setEditText(u"li"_s);
    QTest::keyClick(dlg.LoginIdBox(), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), dlg.PasswordBox()) << "Enter in the name moves on";
    QTest::keyClick(dlg.PasswordBox(), Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(gOperator->LoginId, u"li"_s);
}

TEST_P(LoginTest, MainWindowLoginShowsTheOperatorAndItsDesktop)
{
    Tmall mall;
    TmainFrm main(mall);
    WhenModal([](QWidget* w) {
        auto* dlg = qobject_cast<TLoginFrm*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(Try(*dlg, u"wang"_s, u"secret"_s));
    });
    ASSERT_TRUE(main.Login());
    EXPECT_EQ(main.findChild<QLabel*>(u"lblOperator"_s)->text(), u"wang"_s);
    EXPECT_EQ(main.StatusPanel(1)->text(), u"wang"_s);
    EXPECT_TRUE(gPriceVisible);
    ASSERT_EQ(main.DeskView()->count(), 1);
    EXPECT_EQ(main.DeskView()->item(0)->text(), u"原料入库"_s);
    EXPECT_EQ(main.DeskView()->IconPos(main.DeskView()->item(0)), QPoint(20, 30));

    // A cancelled re-login keeps the operator, the desktop and the rights.
    WhenModal([](QWidget* w) { qobject_cast<TLoginFrm*>(w)->CancelButton()->click(); });
    EXPECT_FALSE(main.Login());
    EXPECT_EQ(gOperator->LoginId, u"wang"_s);
    EXPECT_EQ(main.DeskView()->count(), 1);
    EXPECT_TRUE(gPriceVisible);

    // Another operator replaces the desktop; unsaved moves of the previous one are not saved.
    main.DeskView()->SetIconPos(main.DeskView()->item(0), QPoint(300, 300));
    WhenModal([](QWidget* w) { EXPECT_TRUE(Try(*qobject_cast<TLoginFrm*>(w), u"li"_s, QString())); });
    ASSERT_TRUE(main.Login());
    EXPECT_EQ(main.DeskView()->count(), 0);
    EXPECT_FALSE(gPriceVisible);
    EXPECT_EQ(ReadMenus(u"wang"_s), u"原料入库=20,30\r\n"_s);
}

CZ_INSTANTIATE_ENGINES(LoginTest);

} // namespace
