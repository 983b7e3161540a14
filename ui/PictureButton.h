// A command button with a picture above its caption, the caption wrapped to the button's width.
#pragma once

#include <QPushButton>

class PictureButton : public QPushButton
{
    Q_OBJECT

public:
    PictureButton(const QString& caption, const QString& picture, const QSize& pictureSize,
                  QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
