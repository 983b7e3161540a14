// Guards how the kept pictures reach the screen: in bands, and drawn ahead on another thread.
#include "ui/PixmapBands.h"
#include "ui/SvgPicture.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

namespace {

// A picture every pixel of which differs from its neighbours, so a band copied one row off or
// left out shows.
QPixmap noisePixmap(QSize logical, qreal ratio)
{
    QImage image((QSizeF(logical) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    QRandomGenerator random(42);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            line[x] = random.generate() | 0xff000000u;
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QImage blankScreen(QSize logical, qreal ratio)
{
    QImage screen((QSizeF(logical) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    screen.setDevicePixelRatio(ratio);
    screen.fill(Qt::black);
    return screen;
}

} // namespace

class PicturePaintingTest : public QObject
{
    Q_OBJECT

private slots:
    void bandsCopyExactlyTheDirtyParts_data();
    void bandsCopyExactlyTheDirtyParts();
    void pictureDrawnAheadIsThePictureDrawnLate();
};

void PicturePaintingTest::bandsCopyExactlyTheDirtyParts_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QRegion>("dirty");

    QRegion keystroke(QRect(128, 56, 41, 57));
    keystroke += QRect(168, 56, 41, 57);
    keystroke += QRect(64, 184, 145, 77);
    const QRegion whole(QRect(0, 0, 433, 313));
    const QRegion pastTheEdge(QRect(400, 300, 100, 100)); // the picture ends at 433 x 313
    for (const qreal ratio : { 1.0, 1.5, 2.0 }) {
        const QByteArray scale = QByteArray::number(ratio);
        QTest::newRow("keystroke at " + scale) << ratio << keystroke;
        QTest::newRow("whole picture at " + scale) << ratio << whole;
        QTest::newRow("beyond the picture at " + scale) << ratio << pastTheEdge;
    }
}

void PicturePaintingTest::bandsCopyExactlyTheDirtyParts()
{
    QFETCH(qreal, ratio);
    QFETCH(QRegion, dirty);
    const QSize screenSize(520, 420);
    const QPixmap picture = noisePixmap(QSize(433, 313), ratio);

    QImage expected = blankScreen(screenSize, ratio);
    {
        QPainter painter(&expected);
        painter.setClipRegion(dirty);
        painter.drawPixmap(0, 0, picture);
    }
    QImage banded = blankScreen(screenSize, ratio);
    {
        // A widget's painter comes clipped to the dirty region, as here.
        QPainter painter(&banded);
        painter.setClipRegion(dirty);
        drawPixmapInBands(painter, dirty, picture);
    }
    QCOMPARE(banded, expected);
}

void PicturePaintingTest::pictureDrawnAheadIsThePictureDrawnLate()
{
    SvgPicture ahead(QStringLiteral(":/assets/splash.svg"), SvgPicture::Fit::Stretch);
    SvgPicture late(QStringLiteral(":/assets/splash.svg"), SvgPicture::Fit::Stretch);
    ahead.resize(542, 240);
    late.resize(542, 240);
    ahead.renderAhead();
    const QImage drawnAhead = ahead.grab().toImage();
    QVERIFY(!drawnAhead.isNull());
    QCOMPARE(drawnAhead, late.grab().toImage());

    // A size changed after the early start is drawn for the new size.
    SvgPicture resized(QStringLiteral(":/assets/splash.svg"), SvgPicture::Fit::Stretch);
    resized.resize(300, 100);
    resized.renderAhead();
    resized.resize(542, 240);
    QCOMPARE(resized.grab().toImage(), late.grab().toImage());
}

QTEST_MAIN(PicturePaintingTest)
#include "PicturePaintingTest.moc"
