// Keeps the Enter a child is still holding from the last answer off a window that just opened.
#pragma once

#include <QObject>
#include <initializer_list>

class QWidget;

/// Ignores the repeats of a held Enter (and of Space on a button) on the watched widgets, so the
/// key that gave the last answer does not also press the button of the window it opened (OK on
/// the name prompt, Join on the results). A fresh press works as always.
class HeldEnterGuard final : public QObject
{
public:
    HeldEnterGuard(QObject* owner, std::initializer_list<QWidget*> watched);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_releasedKey = 0;
    quint64 m_releasedAt = 0;
};
