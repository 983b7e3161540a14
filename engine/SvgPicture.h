// A picture box or image control showing one of the game's SVG pictures.
#pragma once

#include <QPixmap>
#include <QWidget>

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

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_path;
    Fit m_fit;
    mutable QSize m_naturalSize;
    QPixmap m_cache;
};
