// A player's own text (a name, a date) made fit to show on a board next to everyone else's.
#include "server/core/PlayerText.h"

#include <QList>
#include <QTextBoundaryFinder>

namespace {

constexpr char32_t ZeroWidthJoiner = 0x200D;

bool reordersOrHides(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E
        || c == 0x200F || c == 0x061C || c == 0x200B || c == 0x200C || c == 0x2060 || c == 0xFEFF;
}

// Blanks become one space; the other unwanted characters go. A joiner is kept for now: whether
// it stays depends on the character around it.
QString withoutUnwanted(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    bool blankPending = false;
    for (const char32_t c : text.toUcs4()) {
        if (QChar::isSpace(c)) {
            blankPending = !kept.isEmpty();
            continue;
        }
        if (reordersOrHides(c) || QChar::category(c) == QChar::Other_Control) {
            continue;
        }
        if (blankPending) {
            kept += QLatin1Char(' ');
            blankPending = false;
        }
        kept += QString::fromUcs4(&c, 1);
    }
    return kept;
}

// A joiner at the end of a grapheme cluster joins nothing visible: it only hides a difference
// between two names. Inside a cluster it is what makes one emoji out of several.
QString withoutLooseJoiners(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (clusters.toNextBoundary() != -1) {
        QStringView cluster = QStringView(text).sliced(start, clusters.position() - start);
        start = clusters.position();
        while (!cluster.isEmpty() && cluster.back() == QChar(ZeroWidthJoiner)) {
            cluster.chop(1);
        }
        kept += cluster;
    }
    return kept;
}

} // namespace

QString cleanedPlayerText(const QString& text)
{
    // A loose joiner can sit between two blanks or at an end, so the blanks are gathered again
    // once it is gone. Removing characters can bring a letter and its accent together, so NFC
    // comes last; it neither adds nor removes any of the characters removed here.
    const QString kept = withoutLooseJoiners(withoutUnwanted(text));
    return withoutUnwanted(kept).normalized(QString::NormalizationForm_C);
}

qsizetype visibleCharacterCount(const QString& text)
{
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (clusters.toNextBoundary() != -1) {
        ++count;
    }
    return count;
}

std::optional<QString> cleanedPlayerText(const QString& text, qsizetype maxCharacters)
{
    QString cleaned = cleanedPlayerText(text);
    if (visibleCharacterCount(cleaned) > maxCharacters) {
        return std::nullopt;
    }
    return cleaned;
}
