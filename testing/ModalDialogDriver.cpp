// Answers the modal dialogs a test opens with exec(): one scripted step per dialog, in order.
#include "testing/ModalDialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <algorithm>

namespace {
constexpr int PollMs = 10;
constexpr int PollsBeforeForcedClose = 100;
} // namespace

ModalDialogDriver::ModalDialogDriver(QObject* parent)
    : QObject(parent)
{
    m_timer.setInterval(PollMs);
    connect(&m_timer, &QTimer::timeout, this, &ModalDialogDriver::poll);
    m_timer.start();
}

ModalDialogDriver::~ModalDialogDriver()
{
    // A test that already failed has said why; a second failure would only hide it. Outside a
    // test function (a benchmark) there is nothing to fail.
    if (!finished() && QTest::currentTestFunction() != nullptr && !QTest::currentTestFailed()) {
        const QString message
            = QStringLiteral("%1 scripted dialog step(s) never ran; dialogs met: %2")
                  .arg(m_steps.size())
                  .arg(m_seen.isEmpty() ? QStringLiteral("none")
                                        : m_seen.join(QStringLiteral(", ")));
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    }
}

void ModalDialogDriver::then(Step step)
{
    m_steps.push_back(std::move(step));
}

void ModalDialogDriver::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    const bool settled = modal == m_lastOnTop;
    m_lastOnTop = modal;
    if (modal == nullptr) {
        return;
    }
    const bool metBefore = std::any_of(m_handled.cbegin(), m_handled.cend(),
                                       [modal](const QPointer<QWidget>& w) { return w == modal; });
    if (modal != m_current && metBefore) {
        // Back on a dialog whose step opened the one just closed; that step goes on.
        m_current = modal;
        m_pollsOnCurrent = 0;
        return;
    }
    if (modal != m_current) {
        if (!settled) {
            return;
        }
        m_current = modal;
        m_pollsOnCurrent = 0;
        m_handled << QPointer<QWidget>(modal);
        m_seen << modal->objectName();
        if (m_steps.empty()) {
            m_forced << modal->objectName();
            QTimer::singleShot(0, modal, [modal] {
                if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                    dialog->done(QDialog::Rejected);
                } else {
                    modal->close();
                }
            });
            return;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        ++m_running;
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, this, [this, step = std::move(step), target] {
            if (target) {
                step(target);
            }
            --m_running;
        });
        return;
    }
    if (m_running == 0 && ++m_pollsOnCurrent > PollsBeforeForcedClose) {
        m_forced << modal->objectName();
        m_pollsOnCurrent = 0;
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->done(QDialog::Rejected); // also closes a dialog that ignores Escape
        } else {
            modal->close();
        }
    }
}

void clickChild(QWidget* dialog, const QString& objectName)
{
    auto* button = dialog->findChild<QAbstractButton*>(objectName);
    QVERIFY2(button != nullptr, qPrintable(objectName));
    QVERIFY2(button->isVisible() && button->isEnabled(), qPrintable(objectName));
    button->click();
}
