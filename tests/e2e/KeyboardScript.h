// What a person at the keyboard does, step by step: wait until the screen shows something, then
// press keys. The steps run from a timer, so they go on inside every modal dialog's own event
// loop, and the test never needs to know which exec() is running.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

class KeyboardScript : public QObject
{
    Q_OBJECT

public:
    using Ready = std::function<bool()>;
    using Act = std::function<void()>;

    /// How long a step may wait for its moment before the script gives up.
    static constexpr int StepTimeoutMs = 20000;
    static constexpr int NudgeGapMs = 150;
    static constexpr int MaxNudges = 30;

    explicit KeyboardScript(QObject* parent = nullptr);

    /// Adds a step: when ready() first holds, act() runs once.
    void when(const QString& what, Ready ready, Act act = {});
    /// Adds a step that makes its own moment: nudge() (a Tab, say) runs, and again every
    /// NudgeGapMs while ready() does not hold, up to MaxNudges times.
    void until(const QString& what, Ready ready, Act nudge);
    /// Starts polling; the first step's wait begins now.
    void start();

    bool done() const { return m_done; }
    /// Empty when every step ran; else which step timed out or failed its checks.
    const QString& failure() const { return m_failure; }
    /// The steps taken, for a failure message.
    int stepsTaken() const { return m_taken; }

private:
    struct Step
    {
        QString what;
        Ready ready;
        Act act;
        Act nudge;
    };

    void poll();
    void giveUp(const QString& why);

    std::deque<Step> m_steps;
    QTimer m_timer;
    QElapsedTimer m_waiting;
    QElapsedTimer m_sinceNudge;
    int m_nudges = 0;
    QString m_failure;
    bool m_done = false;
    bool m_acting = false;
    int m_taken = 0;
};
