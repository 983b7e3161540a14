// A picture box or image control showing one of the game's SVG pictures.
#include "ui/SvgPicture.h"

#include "ui/PixmapBands.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <QThreadPool>
#include <memory>

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

// At its natural size only the part the control shows is drawn: the rest would be cut off.
SvgPicture::Rendering SvgPicture::renderingNow() const
{
    const QSize picture = m_fit == Fit::Stretch ? size() : naturalSize();
    const qreal ratio = devicePixelRatioF();
    return Rendering { picture, (QSizeF(picture.boundedTo(size())) * ratio).toSize(), ratio };
}

// Touches nothing but its arguments, so it may run on any thread.
QImage SvgPicture::render(const QString& path, const Rendering& rendering)
{
    QImage image(rendering.device, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(rendering.ratio, rendering.ratio);
    QSvgRenderer(path).render(&painter, QRectF(QPointF(0, 0), QSizeF(rendering.picture)));
    painter.end();
    image.setDevicePixelRatio(rendering.ratio);
    return image;
}

void SvgPicture::renderAhead()
{
    m_ahead = renderingNow();
    // On Qt's own worker threads, which its painter starts anyway: no thread of our own to
    // start and keep.
    auto promise = std::make_shared<std::promise<QImage>>();
    m_aheadImage = promise->get_future();
    QThreadPool::globalInstance()->start([promise, path = m_path, rendering = m_ahead] {
        promise->set_value(render(path, rendering));
    });
}

// The picture is drawn once per size and screen scale and kept.
void SvgPicture::paintEvent(QPaintEvent* event)
{
    const Rendering now = renderingNow();
    if (m_cache.size() != now.device || !qFuzzyCompare(m_cache.devicePixelRatio(), now.ratio)) {
        QImage image;
        if (m_aheadImage.valid()) {
            image = m_aheadImage.get();
        }
        if (!(m_ahead == now) || image.isNull()) {
            image = render(m_path, now);
        }
        m_cache = QPixmap::fromImage(std::move(image));
    }
    QPainter painter(this);
    drawPixmapInBands(painter, event->region(), m_cache);
}

void SvgPicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    QWidget::mousePressEvent(event);
}
