// Window geometry in twips, the unit the layouts are written in (15 twips per 96 dpi pixel).
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

constexpr int twips(int value)
{
    return (value + 7) / 15;
}

/// Left, top, width and height in twips, as a rectangle of logical pixels.
constexpr QRect twips(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

constexpr QSize twipsSize(int width, int height)
{
    return QSize(twips(width), twips(height));
}
