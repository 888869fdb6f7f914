#include "ServicesFixture.h"

#include "data/Exceptions.h"
#include "services/Operator.h"
#include "services/OperatorSet.h"
#include "services/Rights.h"

#include <deque>

using namespace Qt::StringLiterals;

namespace {

const QString kNoRight = u"\r\n对不起,您没有该功能的操作权限,请与管理员联系(%1).\t"_s;

class OperatorTest : public ServicesTest
{
};

// Answers the password dialog from a script: each showing takes the next entry.
class FakePasswordDialog final : public TPasswordDialog
{
public:
    struct Entry
    {
        bool ok;
        QString current, newPassword;
    };
    std::deque<Entry> script;
    QString loginId;
    int shown = 0;

    void SetLoginId(const QString& id) override { loginId = id; }
    bool Execute() override
    {
        ++shown;
        if (script.empty())
            return false;
        m_entry = script.front();
        script.pop_front();
        return m_entry.ok;
    }
    QString CurrentPassword() const override { return m_entry.current; }
    QString NewPassword() const override { return m_entry.newPassword; }

private:
    Entry m_entry;
};

} // namespace

TEST(RightsTest, RightsStringMatchesWholeCodesOnly)
{
    const QString rights = RightsString({1, 12});
    EXPECT_EQ(rights, u",1,,12,"_s);
    const struct
    {
        int code;
        bool held;
    } cases[] = {{1, true}, {12, true}, {2, false}, {11, false}, {121, false}, {0, false}};
    for (const auto& c : cases)
        EXPECT_EQ(RightsContain(rights, c.code), c.held) << c.code;
    EXPECT_FALSE(RightsContain(QString(), 1));
    EXPECT_EQ(RightsString({}), QString());

    QList<int> order;
    for (const RRight& r : RightTable())
        order << r.Code;
    EXPECT_EQ(order,
              (QList<int>{1,  2,  3,  15,    4,      5,     6,     14,    7,     8,     9,     10,
                          11, 12, 13, 10000, 100001, 10002, 10003, 10004, 10008, 10006, 10005, 10007}));
    EXPECT_EQ(RightTable().at(16).Caption, u"操作员及权限管理"_s);
}

TEST_P(OperatorTest, SaHoldsEveryRightOthersOnlyTheirOwn)
{
    TOperator op;
    op.LoginId = u"sa"_s;
    EXPECT_TRUE(op.HasRight(100001));
    EXPECT_TRUE(op.HasRight(99)); // whatever the rights string says
    op.LoginId = u"SA"_s;
    EXPECT_FALSE(op.HasRight(1));
    op.Rights = u",1,,12,"_s;
    EXPECT_TRUE(op.HasRight(12));
    EXPECT_FALSE(op.HasRight(2));

    // The stored sa row: whatever its rights, the loaded operator holds them all.
    gDatabase->Execute(u"update operator set Rights='' where LoginId='sa'"_s);
    TOperator sa;
    ASSERT_TRUE(sa.LoadOperator(u"SA"_s));
    EXPECT_EQ(sa.LoginId, u"sa"_s);
    EXPECT_TRUE(sa.HasRight(10005));
    EXPECT_NO_THROW(sa.RequireSa());
    EXPECT_TRUE(messages().messages.empty());
}

TEST_P(OperatorTest, RequireRightShowsCodeAndAbortsSilently)
{
    TOperator op;
    op.LoginId = u"wang"_s;
    op.Rights = u",13,"_s;
    EXPECT_TRUE(op.RequireRight(13));
    EXPECT_TRUE(messages().messages.empty());

    EXPECT_THROW(op.RequireRight(100001), EAbort);
    EXPECT_EQ(messages().texts(), QStringList{kNoRight.arg(100001)});

    EXPECT_FALSE(op.RequireRight(9, false));
    EXPECT_EQ(messages().lastText(), kNoRight.arg(9));

    EXPECT_THROW(op.RequireSa(), EAbort);
    EXPECT_EQ(messages().lastText(), u"\r\n只有系统用户(sa)才能执行此操作.\t"_s);
    EXPECT_EQ(messages().messages.size(), 3u);
}

TEST_P(OperatorTest, LoadAndCheckPassword)
{
    TOperatorSet set;
    set.AddOperator(u"li"_s, u"Pw1"_s, u",9,"_s, u"备注"_s, u"电话"_s, u"李四"_s);
    TOperator op;
    EXPECT_FALSE(op.CheckPassword(QString())); // nobody loaded
    ASSERT_TRUE(op.LoadOperator(u"li"_s));
    EXPECT_EQ(op.Name, u"李四"_s);
    EXPECT_EQ(op.Contact, u"电话"_s);
    EXPECT_EQ(op.Note, u"备注"_s);
    EXPECT_EQ(op.Rights, u",9,"_s);
    EXPECT_TRUE(op.CheckPassword(u"Pw1"_s));
    EXPECT_FALSE(op.CheckPassword(u"pw1"_s));
    EXPECT_FALSE(op.CheckPassword(u"Pw1 "_s));
    // An unknown name leaves the object as it was.
    EXPECT_FALSE(op.LoadOperator(u"nobody"_s));
    EXPECT_EQ(op.LoginId, u"li"_s);
    op.Clear();
    EXPECT_TRUE(op.LoginId.isEmpty());
}

TEST_P(OperatorTest, ChangePasswordLoopsUntilTheCurrentPasswordMatches)
{
    TOperatorSet set;
    set.AddOperator(u"li"_s, u"old"_s, QString(), QString(), QString(), QString());
    TOperator op;
    op.LoadOperator(u"li"_s);

    FakePasswordDialog dlg;
    dlg.script = {{true, u"wrong"_s, u"new"_s}, {true, u"old"_s, u"new"_s}};
    EXPECT_TRUE(op.ChangePassword(dlg));
    EXPECT_EQ(dlg.loginId, u"li"_s);
    EXPECT_EQ(dlg.shown, 2);
    EXPECT_EQ(messages().texts(), (QStringList{u"\r\n当前密码验证失败,请确认并重新输入.\t"_s,
                                               u"\r\n密码更改成功! 下次登陆时请使用新密码.\t"_s}));
    EXPECT_EQ(op.Password, u"new"_s);
    EXPECT_EQ(scalar(u"select [Password] from operator where LoginId='li'"_s).toString(), u"new"_s);

    // A failing store is shown, the dialog comes again, and cancelling keeps the old password.
    dlg.script = {{true, u"new"_s, QString()}};
    gDatabase->SetFailAt(1);
    EXPECT_FALSE(op.ChangePassword(dlg));
    EXPECT_EQ(dlg.shown, 4);
    EXPECT_TRUE(
        messages().lastText().startsWith(u"\r\n模拟的数据库错误\r\nupdate operator set [Password]"_s));
    EXPECT_EQ(op.Password, u"new"_s);

    // An empty new password is allowed.
    dlg.script = {{true, u"new"_s, QString()}};
    EXPECT_TRUE(op.ChangePassword(dlg));
    EXPECT_EQ(scalar(u"select [Password] from operator where LoginId='li'"_s).toString(), QString());
    EXPECT_TRUE(op.CheckPassword(QString()));
}

TEST_P(OperatorTest, OperatorSetNeverHoldsSaAndFollowsTheTable)
{
    TOperatorSet set;
    EXPECT_EQ(set.DataSet()->RecordCount(), 0);
    EXPECT_EQ(set.LoginIdFld()->DisplayLabel, u"登陆名"_s);
    EXPECT_EQ(set.RightsFld()->DisplayLabel, u"权限"_s);

    set.AddOperator(u"zhang"_s, u"1"_s, u",1,"_s, u"n"_s, u"c"_s, u"张三"_s);
    EXPECT_EQ(set.DataSet()->RecordCount(), 1);
    // A duplicate name (also in other letter case, also sa) is refused and the set is unchanged.
    for (const QString& dup : {u"zhang"_s, u"ZHANG"_s, u"sa"_s})
        EXPECT_THROW(set.AddOperator(dup, QString(), QString(), QString(), QString(), QString()),
                     EDatabaseError)
            << dup.toStdString();
    EXPECT_EQ(set.DataSet()->RecordCount(), 1);

    set.UpdateOperator(u"zhang"_s, u"2"_s, u",1,,2,"_s, u"n2"_s, u"c2"_s, u"张三丰"_s);
    TOperator op;
    op.LoadOperator(u"zhang"_s);
    EXPECT_EQ(op.Rights, u",1,,2,"_s);
    EXPECT_EQ(op.Name, u"张三丰"_s);
    EXPECT_EQ(set.NameFld()->AsString(), u"张三丰"_s);
    EXPECT_EQ(set.PasswordFld()->AsString(), u"2"_s);

    EXPECT_THROW(set.UpdateOperator(u"gone"_s, {}, {}, {}, {}, {}), EDatabaseError);
    EXPECT_THROW(set.UpdateOperator(u"sa"_s, {}, {}, {}, {}, {}), Exception);
    EXPECT_THROW(set.DeleteOperator(u"SA"_s), Exception);
    EXPECT_EQ(count(u"from operator where LoginId='sa'"_s), 1);

    TOperatorSet reopened;
    EXPECT_EQ(reopened.DataSet()->RecordCount(), 1);
    set.DeleteOperator(u"zhang"_s);
    EXPECT_EQ(set.DataSet()->RecordCount(), 0);
    EXPECT_EQ(count(u"from operator"_s), 1);
}

CZ_INSTANTIATE_ENGINES(OperatorTest);
