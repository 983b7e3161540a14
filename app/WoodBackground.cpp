// The client area's background: the wood texture stretched to the screen, top-left part shown.
#include "app/WoodBackground.h"

#include "ui/PixmapBands.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

WoodBackground::WoodBackground(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("wood"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WoodBackground::prepare()
{
    ensureDrawn();
}

void WoodBackground::paintEvent(QPaintEvent* event)
{
    ensureDrawn();
    QPainter painter(this);
    drawPixmapInBands(painter, event->region(), m_cache);
}

// The texture is scaled to the whole screen, as if painted on a desk under the window, but
// only the part the window covers is drawn once and kept; repaints reuse it.
void WoodBackground::ensureDrawn()
{
    // A window larger than its screen (a small or scaled-up display) still has wood to its edges.
    const QSize screenSize = (screen() ? screen()->size() : size()).expandedTo(size());
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * ratio).toSize();
    if (m_cache.size() != device || m_screenSize != screenSize
        || !qFuzzyCompare(m_cache.devicePixelRatio(), ratio)) {
        QImage image(device, QImage::Format_RGB32);
        image.fill(QColor(150, 100, 55));
        QPainter imagePainter(&image);
        imagePainter.setRenderHint(QPainter::Antialiasing);
        imagePainter.scale(ratio, ratio);
        QSvgRenderer(QStringLiteral(":/assets/wood.svg"))
            .render(&imagePainter, QRectF(QPointF(0, 0), QSizeF(screenSize)));
        imagePainter.end();
        m_cache = QPixmap::fromImage(std::move(image));
        m_cache.setDevicePixelRatio(ratio);
        m_screenSize = screenSize;
    }
}
