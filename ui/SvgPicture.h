// A picture box or image control showing one of the game's SVG pictures.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <future>

class QSvgRenderer;

/// Draws the picture stretched over the whole control, or at its own size from the top-left
/// corner (what does not fit is cut off), rendered afresh for each size and screen scale.
class SvgPicture : public QWidget
{
    Q_OBJECT

public:
    enum class Fit { Stretch, NaturalSize };

    SvgPicture(const QString& resourcePath, Fit fit, QWidget* parent = nullptr);

    QSize naturalSize() const;

    /// Starts drawing the picture on another thread, for the control's size and its screen's
    /// scale as they stand now; the first paint then only waits for what is left of it. For a
    /// picture that must be on screen the moment its window first shows (the splash).
    void renderAhead();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Rendering
    {
        QSize picture; ///< in device-independent pixels
        QSize device; ///< the part shown, in device pixels
        qreal ratio = 1.0;
        bool operator==(const Rendering&) const = default;
    };
    Rendering renderingNow() const;
    static QImage render(const QString& path, const Rendering& rendering);

    QString m_path;
    Rendering m_ahead;
    std::future<QImage> m_aheadImage;
    Fit m_fit;
    mutable QSize m_naturalSize;
    QPixmap m_cache;
};
