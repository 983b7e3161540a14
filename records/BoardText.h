// Showing a text from a store on a board: whatever it holds, kept short enough to draw.
#pragma once

#include <QLabel>
#include <QTextDocument>

/// Stored names and times are not checked when saved, so a hand-edited store may hold
/// anything; a label shows at most the first line's first hundred characters, elided to fit.
inline void showStoredText(QLabel* label, const QString& stored)
{
    constexpr qsizetype Longest = 100;
    QString text = stored.left(Longest);
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control) {
            c = QLatin1Char(' ');
        }
    }
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideRight, label->width() - 4));
    // A tool tip has no plain-text mode of its own: the stored text goes in escaped, so it
    // shows as it was typed, tags and all.
    label->setToolTip(text.size() < stored.size() || label->text() != text
                          ? Qt::convertFromPlainText(stored.left(1000), Qt::WhiteSpaceNoWrap)
                          : QString());
}
