#include "tests/e2e/KeyboardScript.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

KeyboardScript::KeyboardScript(QObject* parent)
    : QObject(parent)
{
    m_timer.setInterval(2);
    connect(&m_timer, &QTimer::timeout, this, &KeyboardScript::poll);
}

void KeyboardScript::when(const QString& what, Ready ready, Act act)
{
    m_steps.push_back(Step { what, std::move(ready), std::move(act), {} });
}

void KeyboardScript::until(const QString& what, Ready ready, Act nudge)
{
    m_steps.push_back(Step { what, std::move(ready), {}, std::move(nudge) });
}

void KeyboardScript::start()
{
    m_waiting.start();
    m_timer.start();
}

void KeyboardScript::giveUp(const QString& why)
{
    if (m_failure.isEmpty()) {
        m_failure = why;
    }
    m_steps.clear();
}

void KeyboardScript::poll()
{
    // A step that waits inside its action (a message box, say) must not start the next one.
    if (m_acting) {
        return;
    }
    if (!m_failure.isEmpty()) {
        // A failed script leaves no dialog open behind it, so every exec() returns.
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            return;
        }
        m_timer.stop();
        m_done = true;
        return;
    }
    if (m_steps.empty()) {
        m_timer.stop();
        m_done = true;
        return;
    }
    Step& step = m_steps.front();
    if (!step.ready()) {
        if (step.nudge && m_nudges < MaxNudges
            && (m_nudges == 0 || m_sinceNudge.elapsed() > NudgeGapMs)) {
            ++m_nudges;
            m_sinceNudge.restart();
            m_acting = true;
            step.nudge();
            m_acting = false;
        } else if (m_waiting.elapsed() > StepTimeoutMs) {
            giveUp(QStringLiteral("step %1 waited %2 s for: %3")
                       .arg(m_taken + 1)
                       .arg(StepTimeoutMs / 1000)
                       .arg(step.what));
        }
        return;
    }
    Step taken = std::move(step);
    m_steps.pop_front();
    ++m_taken;
    m_nudges = 0;
    if (taken.act) {
        m_acting = true;
        taken.act();
        m_acting = false;
    }
    if (QTest::currentTestFailed()) {
        giveUp(QStringLiteral("step %1 failed its checks: %2").arg(m_taken).arg(taken.what));
    }
    m_waiting.restart();
}
