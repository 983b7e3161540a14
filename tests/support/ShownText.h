// What a person reads in a label or a tool tip: markup in it is drawn, not shown.
#pragma once

#include <QLabel>
#include <QTextDocument>

/// The text as drawn: a label or tool tip that Qt takes for rich text shows its markup's
/// words, not its tags.
inline QString shownText(const QString& text, Qt::TextFormat format)
{
    if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text))) {
        QTextDocument document;
        document.setHtml(text);
        return document.toPlainText();
    }
    return text;
}

inline QString shownText(const QLabel* label)
{
    return shownText(label->text(), label->textFormat());
}

/// Tool tips are always read with Qt's guess at rich text.
inline QString shownToolTip(const QWidget* widget)
{
    return shownText(widget->toolTip(), Qt::AutoText);
}
