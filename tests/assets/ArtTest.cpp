// Guards the shipped art: every picture loads, fonts map to the shipped faces, icon states differ.
#include "assets/ArtIcons.h"
#include "assets/DesignFonts.h"

#include <QDirIterator>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
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

    QTest::newRow("display face") << "PellmoorFont" << "Comic Neue";
    QTest::newRow("heavy captions") << "Impact" << "DejaVu Sans";
    QTest::newRow("dialogs") << "MS Sans Serif" << "DejaVu Sans";
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
        const QImage normal = icon.pixmap(QSize(48, 48), QIcon::Normal).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage disabled = icon.pixmap(QSize(48, 48), QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage hot = icon.pixmap(QSize(48, 48), QIcon::Active).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(normal.size(), QSize(48, 48));
        long coloured = 0;
        long lighter = 0;
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
                }
            }
        }
        QVERIFY2(coloured > 0, key);
        QCOMPARE(lighter, opaque);
    }
    QVERIFY(!applicationIcon().pixmap(QSize(16, 16)).isNull());
}

QTEST_MAIN(ArtTest)
#include "ArtTest.moc"
