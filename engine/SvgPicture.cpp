// A picture box or image control showing one of the game's SVG pictures.
#include "engine/SvgPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

SvgPicture::SvgPicture(const QString& resourcePath, Fit fit, QWidget* parent)
    : QWidget(parent)
    , m_path(resourcePath)
    , m_fit(fit)
{
}

QSize SvgPicture::naturalSize() const
{
    if (!m_naturalSize.isValid()) {
        m_naturalSize = QSvgRenderer(m_path).defaultSize();
    }
    return m_naturalSize;
}

// The picture is drawn once per size and screen scale and kept. At its natural size only the
// part the control shows is drawn: the rest would be cut off anyway.
void SvgPicture::paintEvent(QPaintEvent*)
{
    const QSize picture = m_fit == Fit::Stretch ? size() : naturalSize();
    const QSize shown = picture.boundedTo(size());
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(shown) * ratio).toSize();
    if (m_cache.size() != device || !qFuzzyCompare(m_cache.devicePixelRatio(), ratio)) {
        QImage image(device, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter imagePainter(&image);
        imagePainter.scale(ratio, ratio);
        QSvgRenderer(m_path).render(&imagePainter, QRectF(QPointF(0, 0), QSizeF(picture)));
        imagePainter.end();
        m_cache = QPixmap::fromImage(std::move(image));
        m_cache.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_cache);
}

void SvgPicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    QWidget::mousePressEvent(event);
}
