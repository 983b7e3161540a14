// Icons drawn from the game's SVG pictures, sharp at every size and screen scale.
#include "assets/ArtIcons.h"

#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

// Renders the picture at exactly the size asked for, then derives the disabled and hot looks
// from that rendering, so every state stays as sharp as the normal one.
class SvgStateIconEngine final : public QIconEngine
{
public:
    SvgStateIconEngine(QString path, bool deriveStates)
        : m_path(std::move(path))
        , m_deriveStates(deriveStates)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap image = render(rect.size() * ratio, mode, state);
        image.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, image);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return render(size, mode, state);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        QPixmap image = render(size * scale, mode, state);
        image.setDevicePixelRatio(scale);
        return image;
    }

    QIconEngine* clone() const override { return new SvgStateIconEngine(m_path, m_deriveStates); }

    QString key() const override { return QStringLiteral("SumdashSvgState"); }

    // Window managers and task bars pick from these; any other size is drawn on request too.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return { { 16, 16 }, { 24, 24 }, { 32, 32 }, { 48, 48 }, { 64, 64 }, { 128, 128 },
                 { 256, 256 } };
    }

private:
    // Window managers ask for every size of the window icon, for every window; each size and
    // look is drawn once and kept.
    QPixmap render(const QSize& size, QIcon::Mode mode, QIcon::State state) const
    {
        if (size.isEmpty()) {
            return {};
        }
        const QString key = QStringLiteral("%1x%2:%3").arg(size.width()).arg(size.height()).arg(int(mode));
        if (const auto cached = m_cache.constFind(key); cached != m_cache.constEnd()) {
            return *cached;
        }
        QPixmap drawn = draw(size, mode, state);
        m_cache.insert(key, drawn);
        return drawn;
    }

    QPixmap draw(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/) const
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QSvgRenderer renderer(m_path);
            QPainter painter(&image);
            renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        if (m_deriveStates && mode == QIcon::Disabled) {
            toGrey(image);
        } else if (m_deriveStates && mode == QIcon::Active) {
            brighten(image);
        }
        return QPixmap::fromImage(std::move(image));
    }

    static void toGrey(QImage& image)
    {
        image.convertTo(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int grey = qGray(line[x]);
                // Lifted towards white so a disabled button reads as faded, not as dark.
                const int faded = grey + (255 - grey) * 2 / 5;
                line[x] = qRgba(faded, faded, faded, qAlpha(line[x]));
            }
        }
    }

    static void brighten(QImage& image)
    {
        image.convertTo(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = line[x];
                line[x] = qRgba(qRed(c) + (255 - qRed(c)) / 4, qGreen(c) + (255 - qGreen(c)) / 4,
                                qBlue(c) + (255 - qBlue(c)) / 4, qAlpha(c));
            }
        }
    }

    QString m_path;
    bool m_deriveStates;
    mutable QHash<QString, QPixmap> m_cache;
};

} // namespace

QIcon toolbarIcon(const QString& key)
{
    return QIcon(new SvgStateIconEngine(QStringLiteral(":/assets/toolbar/%1.svg").arg(key), true));
}

QIcon artIcon(const QString& resourcePath)
{
    return QIcon(new SvgStateIconEngine(resourcePath, false));
}

QIcon applicationIcon()
{
    return artIcon(QStringLiteral(":/assets/sumdash.svg"));
}
