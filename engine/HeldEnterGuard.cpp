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

bool HeldEnterGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool presses = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
            || key->key() == Qt::Key_Space;
        if (key->isAutoRepeat() && presses) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
