#include "ShellFixture.h"

#include "shell/BaseWindowRules.h"
#include "shell/ui/ADlgFrm.h"
#include "shell/ui/AInfoDlgFrm.h"
#include "shell/ui/WinFrm.h"
#include "shell/ui/aFrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

struct PlaceCase
{
    QSize window;
    QSize screen;
    QPoint cursor;
    QPoint expected;
};

TEST(PlaceNearCursor, KeepsTheWindowInsideTheScreen)
{
    const PlaceCase cases[] = {
        {{400, 300}, {1024, 768}, {10, 10}, {20, 20}},      // both negative: 20, 20
        {{400, 300}, {1024, 768}, {1000, 740}, {604, 418}}, // SW-W-20, SH-H-50
        {{400, 300}, {1024, 768}, {512, 384}, {312, 234}},  // centred on the pointer
        {{400, 300}, {1024, 768}, {200, 150}, {0, 0}},      // exactly x = W/2: left 0 stays
        {{400, 300}, {1024, 768}, {804, 568}, {604, 418}},  // right edge and bottom edge exactly
        {{400, 300}, {1024, 768}, {805, 569}, {604, 418}},  // one pixel further: pulled back
        {{1100, 900}, {1024, 768}, {500, 400}, {0, 0}},     // larger than the screen: caption stays reachable
    };
    for (const PlaceCase& c : cases)
        EXPECT_EQ(PlaceNearCursorPos(c.window, QRect(QPoint(0, 0), c.screen), c.cursor), c.expected)
            << c.cursor.x() << "," << c.cursor.y();
    // A second screen to the right: the rule works in that screen's coordinates.
    EXPECT_EQ(PlaceNearCursorPos({400, 300}, QRect(1024, 0, 1024, 768), {1034, 10}), QPoint(1044, 20));
}

TEST(ResizeZone, CornersThenEdgeBands)
{
    const QSize client(200, 100);
    const std::pair<QPoint, Qt::Edges> cases[] = {
        {{0, 0}, Qt::TopEdge | Qt::LeftEdge},
        {{9, 9}, Qt::TopEdge | Qt::LeftEdge},
        {{10, 9}, {}},
        {{10, 4}, Qt::TopEdge},
        {{190, 0}, Qt::TopEdge | Qt::RightEdge},
        {{199, 99}, Qt::BottomEdge | Qt::RightEdge},
        {{5, 95}, Qt::BottomEdge | Qt::LeftEdge},
        {{4, 50}, Qt::LeftEdge},
        {{5, 50}, {}},
        {{100, 4}, Qt::TopEdge},
        {{195, 50}, Qt::RightEdge},
        {{194, 50}, {}},
        {{100, 95}, Qt::BottomEdge},
        {{100, 50}, {}},
    };
    for (const auto& [pos, edges] : cases)
        EXPECT_EQ(ResizeZoneAt(pos, client), edges) << pos.x() << "," << pos.y();
}

TEST(HelpTopic, ObjectNameWithoutItsLastThreeCharacters)
{
    EXPECT_EQ(HelpTopicOf(u"OperatorsFrm"_s, {}), u"Operators"_s);
    EXPECT_EQ(HelpTopicOf(u"mainFrm"_s, {}), u"main"_s);
    EXPECT_EQ(HelpTopicOf(u"mainFrm"_s, u"Main"_s), u"Main"_s);
    EXPECT_EQ(HelpTopicOf(u"ab"_s, {}), QString());
}

class BaseWindowTest : public ShellTest
{
protected:
    static void ShowActive(QWidget* w)
    {
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
};

TEST_F(BaseWindowTest, F1OpensTheHelpPageOfTheWindow)
{
    ASSERT_TRUE(QDir(env->home()).mkpath(u"help"_s));
    QFile page(env->home() + u"/help/Operators.htm"_s);
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html></html>");
    page.close();

    TADlgFrm dlg;
    dlg.setObjectName(u"OperatorsFrm"_s);
    auto* edit = new QLineEdit(dlg.ClientArea());
    ShowActive(&dlg);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F1);
    ASSERT_EQ(messages().openedUrls.size(), 1);
    EXPECT_EQ(messages().openedUrls[0], page.fileName());

    // A window without a page says so instead.
    dlg.setObjectName(u"MaterialsFrm"_s);
    QTest::mouseClick(dlg.HelpButton(), Qt::LeftButton);
    EXPECT_EQ(messages().openedUrls.size(), 1);
    EXPECT_EQ(messages().lastText(), u"\r\n暂无帮助文件(Materials.htm)\t"_s);
}

TEST_F(BaseWindowTest, EnterAndShiftEnterMoveThroughEveryInputControl)
{
    TADlgFrm dlg;
    auto* layout = new QVBoxLayout(dlg.ClientArea());
    auto* first = new QLineEdit;
    auto* combo = new QComboBox;
    combo->addItems({u"甲"_s, u"乙"_s});
    auto* editable = new QComboBox;
    editable->setEditable(true);
    auto* spin = new QSpinBox;
    auto* date = new QDateEdit;
    auto* check = new QCheckBox(u"选项"_s);
    auto* last = new QLineEdit;
    const QList<QWidget*> chain = {first, combo, editable, spin, date, check, last};
    for (QWidget* w : chain)
        layout->addWidget(w);
    bool accepted = false;
    QObject::connect(&dlg, &QDialog::accepted, [&] { accepted = true; });
    ShowActive(&dlg);

    first->setFocus();
    for (int i = 1; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), i % 2 ? Qt::Key_Return : Qt::Key_Enter,
                        i % 2 ? Qt::NoModifier : Qt::KeypadModifier);
        EXPECT_EQ(QApplication::focusWidget(), chain[i]) << i;
    }
    for (int i = int(chain.size()) - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), chain[i]) << i;
    }
    EXPECT_FALSE(accepted) << "Enter in a field must never press OK";
    EXPECT_EQ(combo->count(), 2);
}

TEST_F(BaseWindowTest, EnterInAMultiLineTextStaysThere)
{
    TADlgFrm dlg;
    auto* layout = new QVBoxLayout(dlg.ClientArea());
    auto* memo = new QPlainTextEdit;
    layout->addWidget(memo);
    layout->addWidget(new QLineEdit);
    ShowActive(&dlg);
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_A);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_B);
    EXPECT_EQ(QApplication::focusWidget(), memo);
    EXPECT_EQ(memo->toPlainText(), u"a\nb"_s);
}

TEST_F(BaseWindowTest, EscCancelsDialogsAndLeavesPlainWindowsOpen)
{
    {
        TADlgFrm dlg;
        auto* edit = new QLineEdit(dlg.ClientArea());
        ShowActive(&dlg);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    {
        TAInfoDlgFrm info;
        ShowActive(&info);
        QTest::keyClick(&info, Qt::Key_Escape);
        EXPECT_FALSE(info.isVisible());
    }
    {
        TaFrm plain;
        plain.resize(200, 100);
        ShowActive(&plain);
        QTest::keyClick(&plain, Qt::Key_Escape);
        EXPECT_TRUE(plain.isVisible());
    }
}

TEST_F(BaseWindowTest, CtrlEnterPressesAnEnabledOk)
{
    TADlgFrm dlg;
    auto* edit = new QLineEdit(dlg.ClientArea());
    ShowActive(&dlg);
    edit->setFocus();
    dlg.OkButton()->setEnabled(false);
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(dlg.isVisible());
    dlg.OkButton()->setEnabled(true);
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(BaseWindowTest, DeclaredCentringWinsOnlyOnTheFirstShowing)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect area = screen->geometry();
    QWidget owner;
    owner.setGeometry(area.x() + 100, area.y() + 100, 600, 400);
    owner.show();

    TADlgFrm dlg(&owner);
    dlg.setFixedSize(200, 100);
    QCursor::setPos(area.topLeft() + QPoint(5, 5));
    if (QCursor::pos() != area.topLeft() + QPoint(5, 5))
        GTEST_SKIP() << "the platform does not move the pointer";
    dlg.show();
    // The frame is known only once shown: a few pixels of it are allowed.
    EXPECT_LE((dlg.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 6);
    dlg.hide();
    dlg.show();
    EXPECT_EQ(dlg.frameGeometry().topLeft(),
              PlaceNearCursorPos(dlg.frameGeometry().size(), area, QCursor::pos()));
    dlg.hide();

    TWinFrm* win = new TWinFrm;
    win->setFixedSize(300, 200);
    win->show();
    EXPECT_EQ(win->frameGeometry().topLeft(), area.topLeft() + QPoint(20, 20));
    QPointer<TWinFrm> guard(win);
    win->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull()) << "a module window is freed when closed";
}

} // namespace
