#include "ui/PixmapBands.h"

#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <algorithm>

namespace {

constexpr int MaxBandDeviceRows = 64;

} // namespace

void drawPixmapInBands(QPainter& painter, const QRegion& dirty, const QPixmap& pixmap)
{
    const qreal ratio = pixmap.devicePixelRatio();
    const int bandRows = std::max(1, static_cast<int>(MaxBandDeviceRows / ratio));
    const QRect picture(QPoint(0, 0), pixmap.deviceIndependentSize().toSize());
    for (const QRect& part : dirty) {
        const QRect area = part & picture;
        for (int top = area.top(); top <= area.bottom(); top += bandRows) {
            const QRect band(area.left(), top, area.width(),
                             std::min(bandRows, area.bottom() - top + 1));
            painter.drawPixmap(
                band.topLeft(), pixmap,
                QRectF(QPointF(band.topLeft()) * ratio, QSizeF(band.size()) * ratio));
        }
    }
}
