// A command button with a picture above its caption, the caption wrapped to the button's width.
#include "ui/PictureButton.h"

#include "assets/ArtIcons.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

PictureButton::PictureButton(const QString& caption, const QString& picture,
                             const QSize& pictureSize, QWidget* parent)
    : QPushButton(caption, parent)
{
    setIcon(artIcon(picture));
    setIconSize(pictureSize);
    setAccessibleName(caption);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect inner = rect().adjusted(4, 4, -4, -4);
    const QSize picture = iconSize();
    const QRect pictureRect(inner.left() + (inner.width() - picture.width()) / 2, inner.top() + 2,
                            picture.width(), picture.height());
    icon().paint(&painter, pictureRect, Qt::AlignCenter,
                 isEnabled() ? QIcon::Normal : QIcon::Disabled);

    const QRect captionRect(inner.left(), pictureRect.bottom() + 2, inner.width(),
                            inner.bottom() - pictureRect.bottom() - 2);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(captionRect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inner;
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
