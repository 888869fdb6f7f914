#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QVBoxLayout>
#include <QVariant>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

using namespace Qt::StringLiterals;

// Readable failure messages for Qt values.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QVariant& v, std::ostream* os)
{
    *os << (v.isValid() ? v.metaType().name() : "Null") << '(' << v.toString().toStdString() << ')';
}

// A shown, active window whose controls are stacked in focus order.
class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<QWidget>();
        layout = new QVBoxLayout(form.get());
    }
    void TearDown() override { form.reset(); }

    template <class W> W* Add(W* widget = nullptr)
    {
        if (!widget)
            widget = new W;
        layout->addWidget(widget);
        return widget;
    }
    void Show()
    {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // Gives w the focus as a tab key would.
    static void Focus(QWidget* w)
    {
        w->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(w->hasFocus());
    }
    static QWidget* Focused() { return QApplication::focusWidget(); }

    std::unique_ptr<QWidget> form;
    QVBoxLayout* layout = nullptr;
};
