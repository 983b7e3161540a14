// Icons drawn from the game's SVG pictures, sharp at every size and screen scale.
#include "assets/ArtIcons.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

namespace {

// Qt's SVG icon engine draws the picture; this one only adds the toolbar's own looks. Qt's engine
// has no brighter look under the mouse (measured: 0 of the 1030 to 1573 opaque pixels of each
// toolbar picture brighter), and takes its disabled look from the palette (under a dark palette
// 16 to 23 levels darker on average than the faded grey here, up to 50).
class ToolbarIconEngine final : public QIconEngine
{
public:
    explicit ToolbarIconEngine(const QString& path)
        : m_picture(path)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap image = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        image.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, image);
    }

    // Asked for in device pixels, also when QIcon scales for the screen.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap normal = m_picture.pixmap(size, 1.0, QIcon::Normal, state);
        if (normal.isNull() || (mode != QIcon::Disabled && mode != QIcon::Active)) {
            return normal;
        }
        const QString key
            = QStringLiteral("sumdash-toolbar-%1-%2").arg(normal.cacheKey()).arg(int(mode));
        QPixmap look;
        if (!QPixmapCache::find(key, &look)) {
            QImage image = normal.toImage().convertToFormat(QImage::Format_ARGB32);
            mode == QIcon::Disabled ? toGrey(image) : brighten(image);
            look = QPixmap::fromImage(std::move(image));
            QPixmapCache::insert(key, look);
        }
        return look;
    }

    QIconEngine* clone() const override { return new ToolbarIconEngine(*this); }

    QString key() const override { return QStringLiteral("SumdashToolbar"); }

private:
    static void toGrey(QImage& image)
    {
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
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = line[x];
                line[x] = qRgba(qRed(c) + (255 - qRed(c)) / 4, qGreen(c) + (255 - qGreen(c)) / 4,
                                qBlue(c) + (255 - qBlue(c)) / 4, qAlpha(c));
            }
        }
    }

    QIcon m_picture;
};

} // namespace

QIcon toolbarIcon(const QString& key)
{
    return QIcon(new ToolbarIconEngine(QStringLiteral(":/assets/toolbar/%1.svg").arg(key)));
}

QIcon artIcon(const QString& resourcePath)
{
    return QIcon(resourcePath);
}

QIcon applicationIcon()
{
    return artIcon(QStringLiteral(":/assets/sumdash.svg"));
}
