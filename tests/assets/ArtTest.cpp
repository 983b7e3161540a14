// Guards the shipped art: every picture loads, fonts map to the shipped faces, icon states differ.
#include "assets/ArtIcons.h"
#include "assets/DesignFonts.h"

#include <QDirIterator>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

class ArtTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(registerDesignFonts()); }
    void everyPictureLoads();
    void designNamesMapOntoShippedFonts_data();
    void designNamesMapOntoShippedFonts();
    void displayFontDrawsTheDivisionSign();
    void toolbarStatesAreGreyAndBrighter();
    void iconsAreDrawnAtTheScreensPixels_data();
    void iconsAreDrawnAtTheScreensPixels();
};

void ArtTest::everyPictureLoads()
{
    int pictures = 0;
    QDirIterator it(QStringLiteral(":/assets"), { QStringLiteral("*.svg") }, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QSvgRenderer renderer(path);
        QVERIFY2(renderer.isValid(), qPrintable(path));
        QVERIFY2(!renderer.defaultSize().isEmpty(), qPrintable(path));
        ++pictures;
    }
    QCOMPARE(pictures, 22);
}

void ArtTest::designNamesMapOntoShippedFonts_data()
{
    QTest::addColumn<QString>("designName");
    QTest::addColumn<QString>("family");

    QTest::newRow("display face") << "PellmoorFont"
                                  << "Comic Neue";
    QTest::newRow("heavy captions") << "Impact"
                                    << "DejaVu Sans";
    QTest::newRow("dialogs") << "MS Sans Serif"
                             << "DejaVu Sans";
}

void ArtTest::designNamesMapOntoShippedFonts()
{
    QFETCH(QString, designName);
    QFETCH(QString, family);

    const QFont font = designFont(designName, 24);
    QCOMPARE(QFontInfo(font).family(), family);
    QCOMPARE(font.pixelSize(), 32); // 24 pt at 96 dpi
    QVERIFY(font.styleStrategy() & QFont::PreferAntialias);
}

void ArtTest::displayFontDrawsTheDivisionSign()
{
    const QFontMetrics metrics(designFont(QStringLiteral("PellmoorFont"), 48));
    for (char16_t c : { u'\u00F7', u'x', u'+', u'-', u'X', u'0', u'9' }) {
        QVERIFY(metrics.inFont(QChar(c)));
    }
}

void ArtTest::toolbarStatesAreGreyAndBrighter()
{
    for (const char* key : { "dash", "practice", "stop", "club", "toptime", "web" }) {
        const QIcon icon = toolbarIcon(QString::fromLatin1(key));
        const QImage normal = icon.pixmap(QSize(48, 48), QIcon::Normal)
                                  .toImage()
                                  .convertToFormat(QImage::Format_ARGB32);
        const QImage disabled = icon.pixmap(QSize(48, 48), QIcon::Disabled)
                                    .toImage()
                                    .convertToFormat(QImage::Format_ARGB32);
        const QImage hot = icon.pixmap(QSize(48, 48), QIcon::Active)
                               .toImage()
                               .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(normal.size(), QSize(48, 48));
        long coloured = 0;
        long lighter = 0;
        long brighter = 0;
        long opaque = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                const QRgb n = normal.pixel(x, y);
                const QRgb d = disabled.pixel(x, y);
                const QRgb h = hot.pixel(x, y);
                QCOMPARE(qAlpha(d), qAlpha(n));
                QVERIFY(qRed(d) == qGreen(d) && qGreen(d) == qBlue(d));
                if (qAlpha(n) == 255) {
                    ++opaque;
                    coloured += qRed(n) != qGreen(n) || qGreen(n) != qBlue(n);
                    lighter += qGray(h) >= qGray(n);
                    brighter += qGray(h) > qGray(n);
                }
            }
        }
        QVERIFY2(coloured > 0, key);
        QCOMPARE(lighter, opaque);
        QVERIFY2(brighter > 0, key);
    }
    QVERIFY(!applicationIcon().pixmap(QSize(16, 16)).isNull());
}

void ArtTest::iconsAreDrawnAtTheScreensPixels_data()
{
    QTest::addColumn<QIcon>("icon");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("scale");

    for (const qreal scale : { 1.0, 1.25, 1.5, 2.0 }) {
        const QByteArray at = " at " + QByteArray::number(scale);
        QTest::newRow("toolbar" + at)
            << toolbarIcon(QStringLiteral("dash")) << QStringLiteral(":/assets/toolbar/dash.svg")
            << QSize(48, 48) << scale;
        QTest::newRow("button picture" + at)
            << artIcon(QStringLiteral(":/assets/submit.svg"))
            << QStringLiteral(":/assets/submit.svg") << QSize(80, 48) << scale;
        QTest::newRow("application" + at)
            << applicationIcon() << QStringLiteral(":/assets/sumdash.svg") << QSize(32, 32)
            << scale;
    }
}

void ArtTest::iconsAreDrawnAtTheScreensPixels()
{
    // A tool button asks for its picture at the screen's scale and draws it unscaled; a picture
    // made larger than the screen's pixels would be shrunk and come out jagged.
    QFETCH(QIcon, icon);
    QFETCH(QString, picture);
    QFETCH(QSize, size);
    QFETCH(qreal, scale);

    const QPixmap pixmap = icon.pixmap(size, scale);
    const QSize pixels = (QSizeF(size) * scale).toSize();
    QCOMPARE(pixmap.size(), pixels);
    QCOMPARE(pixmap.deviceIndependentSize().toSize(), size);

    QImage direct(pixels, QImage::Format_ARGB32_Premultiplied);
    direct.fill(Qt::transparent);
    {
        QPainter painter(&direct);
        QSvgRenderer(picture).render(&painter);
    }
    const QImage drawn = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int largestDifference = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            const QRgb a = drawn.pixel(x, y);
            const QRgb b = direct.pixel(x, y);
            for (const int difference : { qRed(a) - qRed(b), qGreen(a) - qGreen(b),
                                          qBlue(a) - qBlue(b), qAlpha(a) - qAlpha(b) }) {
                largestDifference = std::max(largestDifference, std::abs(difference));
            }
        }
    }
    QVERIFY2(largestDifference <= 2, qPrintable(QString::number(largestDifference)));
}

QTEST_MAIN(ArtTest)
#include "ArtTest.moc"
