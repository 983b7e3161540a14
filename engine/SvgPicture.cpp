// A picture box or image control showing one of the game's SVG pictures.
#include "engine/SvgPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

SvgPicture::SvgPicture(const QString& resourcePath, Fit fit, QWidget* parent)
    : QWidget(parent)
    , m_path(resourcePath)
    , m_fit(fit)
    , m_naturalSize(QSvgRenderer(resourcePath).defaultSize())
{
}

QSize SvgPicture::naturalSize() const
{
    return m_naturalSize;
}

void SvgPicture::paintEvent(QPaintEvent*)
{
    const QSize logical = m_fit == Fit::Stretch ? size() : m_naturalSize;
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(logical) * ratio).toSize();
    if (m_cache.size() != device || !qFuzzyCompare(m_cache.devicePixelRatio(), ratio)) {
        QImage image(device, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter imagePainter(&image);
        QSvgRenderer(m_path).render(&imagePainter, QRectF(QPointF(0, 0), QSizeF(device)));
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
