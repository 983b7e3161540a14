// Keeping a growing caption (a clock past 9:59) whole instead of cutting its last digits off.
#pragma once

#include <QLabel>

/// Gives the label its designed geometry, widened when its text needs more room: towards the
/// right for AnchorLeft, towards the left for AnchorRight (where the window's edge is near).
enum class LabelAnchor { Left, Right };

inline void fitLabelToText(QLabel* label, const QRect& designed, LabelAnchor anchor)
{
    const int needed
        = label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 4;
    QRect geometry = designed;
    if (needed > designed.width()) {
        geometry.setWidth(needed);
        if (anchor == LabelAnchor::Right) {
            geometry.moveRight(designed.right());
        }
    }
    if (label->geometry() != geometry) {
        label->setGeometry(geometry);
    }
}

/// Makes a one-line caption smaller until it fits its label: a heading chosen by the caller
/// (a long web address in it) stays whole instead of losing its ends.
inline void shrinkLabelToText(QLabel* label)
{
    QFont font = label->font();
    const int available = label->width() - 2 * label->margin() - 4;
    while (font.pixelSize() > 10
           && QFontMetrics(font).horizontalAdvance(label->text()) > available) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    label->setFont(font);
}
