#pragma once

#include "TestSupport.h"

#include "services/ProjectObjects.h"
#include "shell/AppIdentity.h"
#include "shell/AppPaths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <ostream>

using namespace Qt::StringLiterals;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// Runs fn on the next modal window once it is shown (fn closes it), so that exec() returns.
inline void WhenModal(std::function<void(QWidget*)> fn)
{
    auto* timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, fn, started] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            fn(modal);
        } else if (started->elapsed() > 10000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window appeared";
        }
    });
    timer->start();
}

// A fresh database and home directory with the project objects and identity texts in place.
template <class Base> class TShellFixture : public Base
{
protected:
    void SetUp() override
    {
        Base::SetUp();
        SetHomeDir(this->env->home());
        InitAppIdentity();
        CreateProjectObjects();
    }
    void TearDown() override
    {
        FreeProjectObjects();
        SetHomeDir(QString());
        Base::TearDown();
    }
};

using ShellTest = TShellFixture<TSqliteTest>;
using ShellEngineTest = TShellFixture<TEngineTest>;
