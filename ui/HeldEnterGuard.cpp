// Keeps the Enter a child is still holding from the last answer off a window that just opened.
#include "ui/HeldEnterGuard.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

HeldEnterGuard::HeldEnterGuard(QObject* owner, std::initializer_list<QWidget*> watched)
    : QObject(owner)
{
    for (QWidget* widget : watched) {
        widget->installEventFilter(this);
    }
}

// A held key arrives as a release and a press stamped with the same time, over and over. Qt
// marks most of them as repeats, but not always the first pair that reaches a new window, so a
// press that follows the same key's release at once, with its time, counts as a repeat too.
bool HeldEnterGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    // Space presses a button but types in a name box, where holding it is fine.
    const bool presses = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
        || (key->key() == Qt::Key_Space && qobject_cast<QAbstractButton*>(watched) != nullptr);
    if (event->type() == QEvent::KeyRelease) {
        m_releasedKey = presses ? key->key() : 0;
        m_releasedAt = key->timestamp();
        return QObject::eventFilter(watched, event);
    }
    const bool pressedAsReleased = presses && m_releasedAt != 0 && key->key() == m_releasedKey
        && key->timestamp() == m_releasedAt;
    m_releasedKey = 0;
    if (presses && (key->isAutoRepeat() || pressedAsReleased)) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}
