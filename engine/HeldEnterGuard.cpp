// Keeps the Enter a child is still holding from the last answer off a window that just opened.
#include "engine/HeldEnterGuard.h"

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
// press at the very moment of the same key's release counts as a repeat too.
bool HeldEnterGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool presses = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
        || key->key() == Qt::Key_Space;
    if (!presses) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyRelease) {
        m_releasedKey = key->key();
        m_releasedAt = key->timestamp();
        return QObject::eventFilter(watched, event);
    }
    const bool pressedAsReleased
        = m_releasedAt != 0 && key->key() == m_releasedKey && key->timestamp() == m_releasedAt;
    if (key->isAutoRepeat() || pressedAsReleased) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}
