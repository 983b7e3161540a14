// A player's own text (a name, a date) made fit to show on a board next to everyone else's.
#pragma once

#include <QString>
#include <optional>

/// The text as a board shows it: control characters and the characters that reorder or hide
/// text removed, every run of blanks one space, none at either end, in Unicode NFC.
///
/// Removed: control characters other than blanks; the bidirectional embeddings, overrides,
/// isolates and marks (U+202A-U+202E, U+2066-U+2069, U+200E, U+200F, U+061C), which could turn
/// the rest of a board around; the zero-width characters (U+200B, U+200C, U+2060, U+FEFF), which
/// would let two names look the same; and U+200D, the zero-width joiner, except inside a
/// character, where it glues an emoji sequence (a family, a profession) together.
QString cleanedPlayerText(const QString& text);

/// How many characters a reader sees (grapheme clusters): an emoji with its skin tone or a
/// family is one, a letter with its accents is one.
qsizetype visibleCharacterCount(const QString& text);

/// cleanedPlayerText(text), or nothing when it is longer than maxCharacters visible ones.
/// A longer text is refused rather than cut: the game never sends more, so more comes from a
/// hand-made request, and a cut name could become someone else's.
std::optional<QString> cleanedPlayerText(const QString& text, qsizetype maxCharacters);
