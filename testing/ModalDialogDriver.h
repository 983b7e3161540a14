// Answers the modal dialogs a test opens with exec(): one scripted step per dialog, in order.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

/// Schedule the steps before the action that opens the dialogs. Each step runs on its own
/// queued call, so a step may itself open the next dialog (a message box on OK). A dialog is
/// met once it has stayed on top for two polls running: the window under a dialog that just
/// closed may surface for an instant before the next one opens over it. A dialog still
/// open a second after its step ran, or one no step was left for, is closed so exec() never
/// hangs; the test then sees it in closedByForce(). A driver that goes out of scope with steps
/// that never ran fails the test: the dialogs the test meant to answer never opened.
class ModalDialogDriver : public QObject
{
    Q_OBJECT

public:
    using Step = std::function<void(QWidget* dialog)>;

    explicit ModalDialogDriver(QObject* parent = nullptr);
    ~ModalDialogDriver() override;

    void then(Step step);
    bool finished() const { return m_steps.empty() && m_running == 0; }
    /// objectNames of the dialogs met, in order.
    const QStringList& dialogsSeen() const { return m_seen; }
    const QStringList& closedByForce() const { return m_forced; }

private:
    void poll();

    std::deque<Step> m_steps;
    QTimer m_timer;
    QPointer<QWidget> m_current;
    QPointer<QWidget> m_lastOnTop;
    int m_pollsOnCurrent = 0;
    int m_running = 0;
    QList<QPointer<QWidget>> m_handled;
    QStringList m_seen;
    QStringList m_forced;
};

/// Clicks a dialog's child found by objectName; fails the test when there is none.
void clickChild(QWidget* dialog, const QString& objectName);
