#include "ShellFixture.h"

#include "data/Exceptions.h"
#include "shell/ui/Application.h"
#include "shell/ui/BuggerFrm.h"
#include "shell/ui/PubFrm.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <stdexcept>

namespace {

// A button whose press throws what the test asks for.
class TThrowingButton : public QPushButton
{
public:
    std::function<void()> thrower;

protected:
    void mousePressEvent(QMouseEvent*) override { thrower(); }
};

class ErrorHandlerTest : public ShellTest
{
protected:
    // Delivers a press to the button through the guarded notify; true when it returned.
    void Press(TThrowingButton& button)
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        NotifyGuarded(qApp, &button, &press);
    }
};

TEST_F(ErrorHandlerTest, AbortIsSilentEveryOtherErrorIsShown)
{
    TPubFrm pub;
    TThrowingButton button;
    button.setObjectName(u"btnSave"_s);

    button.thrower = [] { throw EAbort(); };
    Press(button);
    EXPECT_TRUE(messages().messages.empty());

    messages().setNextAnswer(TMessageService::AnswerNo);
    button.thrower = [] { throw EDatabaseError(u"违反唯一约束\r\ninsert into t values (1)"_s); };
    Press(button);
    ASSERT_EQ(messages().messages.size(), 1u);
    EXPECT_EQ(messages().messages[0].text,
              u"\r\n非常抱歉,系统遇到如下异常:\r\n\r\n违反唯一约束\r\ninsert into t values (1)\r\n\r\n"
              u"您可以点击\"是\"将此问题作为Bug发送到我们的网站上!"_s);
    EXPECT_EQ(messages().messages[0].buttons, TMessageService::YesNo);

    // Errors that are not the program's own are caught as well.
    messages().setNextAnswer(TMessageService::AnswerNo);
    button.thrower = [] { throw std::runtime_error("bad"); };
    Press(button);
    ASSERT_EQ(messages().messages.size(), 2u);
    EXPECT_TRUE(messages().lastText().contains(u"bad"_s));
}

TEST_F(ErrorHandlerTest, YesOpensTheReportWithTheErrorAndItsSender)
{
    TPubFrm pub;
    TThrowingButton button;
    button.thrower = [] { throw EConvertError(u"'x' 不是有效的整数"_s); };
    messages().setNextAnswer(TMessageService::AnswerYes);
    QString report;
    WhenModal([&report](QWidget* w) {
        auto* dlg = qobject_cast<TBuggerFrm*>(w);
        ASSERT_NE(dlg, nullptr);
        report = dlg->ReportText();
        dlg->reject();
    });
    Press(button);
    EXPECT_TRUE(report.contains(u"ExceptionDescribe：'x' 不是有效的整数\n"_s)) << report.toStdString();
    EXPECT_TRUE(report.contains(u"ExceptionClass：   QPushButton\n"_s)) << report.toStdString();
}

TEST_F(ErrorHandlerTest, WithoutTheDataModuleThePlainBoxShowsTheMessage)
{
    TThrowingButton button;
    button.thrower = [] { throw EDataSetError(u"数据集未打开"_s); };
    Press(button);
    ASSERT_EQ(messages().messages.size(), 1u);
    EXPECT_EQ(messages().messages[0].text, u"数据集未打开"_s);
    EXPECT_EQ(messages().messages[0].buttons, TMessageService::Ok);
}

} // namespace
