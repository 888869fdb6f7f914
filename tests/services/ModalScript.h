#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

// Drives modal dialogs from a test: each step waits until the dialog of that object name is
// the active modal one, then runs (typing, clicking OK or Cancel). A modal dialog that no
// step expects is cancelled and reported, so that a test never blocks.
class TModalScript
{
public:
    using TStep = std::function<void(QDialog&)>;

    TModalScript()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }
    ~TModalScript() { EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " dialog step(s) never ran"; }

    void Then(const QString& objectName, TStep step) { m_steps.push_back({objectName, std::move(step)}); }
    int Ran() const { return m_ran; }

private:
    void poll()
    {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg || !dlg->isVisible() || m_busy) {
            m_idle = 0;
            return;
        }
        if (!m_steps.empty() && dlg->objectName() == m_steps.front().name) {
            const TStep step = m_steps.front().step;
            m_steps.pop_front();
            ++m_ran;
            m_idle = 0;
            // Run outside this timer's slot, so that polling goes on while the step opens an
            // inner dialog. A dialog that stays open (OK refused) may be the next step's subject.
            m_busy = true;
            QTimer::singleShot(0, dlg, [this, step, dlg] {
                m_busy = false;
                step(*dlg);
            });
            return;
        }
        // Waiting for a step of an inner dialog, or a dialog nobody expects.
        if (++m_idle > 400) {
            ADD_FAILURE() << "unexpected dialog " << dlg->objectName().toStdString();
            m_idle = 0;
            dlg->reject();
        }
    }

    struct Entry
    {
        QString name;
        TStep step;
    };
    std::deque<Entry> m_steps;
    QTimer m_timer;
    bool m_busy = false;
    int m_ran = 0;
    int m_idle = 0;
};
