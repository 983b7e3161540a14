// The three type faces the windows name, mapped onto the free fonts shipped with the game.
#include "assets/DesignFonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <array>
#include <cmath>

namespace {

struct FaceMapping
{
    const char* designName;
    const char* family; ///< the shipped font's family
    bool alwaysBold; ///< the face is heavy by design; only its bold cut is shipped
    int stretch;
};

// "PellmoorFont" is the page's hand-written school face: Comic Neue Bold has clear digits and
// a proper division sign. "Impact" is a heavy, very narrow display face: DejaVu Sans Bold
// narrowed to 62% keeps "0:00" and "Incorrect:" inside their labels. "MS Sans Serif" is the
// compact dialog face: DejaVu Sans semi-condensed keeps the dialogs' captions on their lines.
constexpr std::array<FaceMapping, 3> Faces { {
    { "PellmoorFont", "Comic Neue", true, QFont::Unstretched },
    { "Impact", "DejaVu Sans", true, 62 },
    { "MS Sans Serif", "DejaVu Sans", false, QFont::SemiCondensed },
} };

constexpr std::array<const char*, 4> FontFiles {
    ":/assets/fonts/ComicNeue-Bold.otf",
    ":/assets/fonts/DejaVuSans.ttf",
    ":/assets/fonts/DejaVuSans-Bold.ttf",
    ":/assets/fonts/DejaVuSansCondensed-Bold.ttf",
};

} // namespace

bool registerDesignFonts()
{
    static const bool registered = [] {
        bool allLoaded = true;
        for (const char* file : FontFiles) {
            allLoaded
                = QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0 && allLoaded;
        }
        for (const FaceMapping& face : Faces) {
            QFont::insertSubstitution(QString::fromLatin1(face.designName),
                                      QString::fromLatin1(face.family));
        }
        return allLoaded;
    }();
    return registered;
}

QFont designFont(const QString& designName, double pointSize, QFont::Weight weight,
                 QFont::Style style)
{
    QFont font;
    font.setFamily(designName);
    font.setWeight(weight);
    for (const FaceMapping& face : Faces) {
        if (designName == QLatin1String(face.designName)) {
            font.setFamilies({ QString::fromLatin1(face.family) });
            font.setStretch(face.stretch);
            if (face.alwaysBold) {
                font.setWeight(QFont::Bold);
            }
        }
    }
    font.setStyle(style);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pointSize * 96.0 / 72.0))));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
