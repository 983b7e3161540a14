// A label a screen reader speaks the moment it appears, such as the red X of a wrong answer.
#pragma once

#include <QLabel>

/// Its accessibility role is a notification: Qt's Linux accessibility bridge drops alert
/// events, but passes on a notification becoming visible, and screen readers speak that.
class AnnouncedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit AnnouncedLabel(QWidget* parent = nullptr);
};
