// The submission's query string, split and decoded the one way the game encodes it.
#pragma once

#include "server/core/SubmitRefusal.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <variant>

/// Longer raw queries are refused before any decoding. 2 KiB holds twenty of the longest everyday
/// emoji (a family of four: 25 bytes, 75 once percent-encoded) with the other four values to
/// spare; only a hand-made request needs more.
inline constexpr qsizetype MaxSubmitQueryBytes = 2048;

/// The five values as sent, each percent-decoded once into text; not yet checked.
struct SubmitFields
{
    QString name;
    QString subj;
    QString time;
    QString date;
    QString valid;
};

/// Splits rawQuery (the request target after '?', without it) at '&' and then at the first '=',
/// and decodes the five values once each. Keys are compared as sent, case and all, in any
/// order. A '+' stays a plus sign: the game encodes blanks as %20, so a '+' can only be one a
/// player typed, and some names hold one. Keys other than the five are skipped unread, so a
/// proxy's or a page's own extra parameter costs nothing; a piece without '=' is a key with an
/// empty value; empty pieces (a doubled or trailing '&') are skipped.
std::variant<SubmitFields, SubmitRefusal> parseSubmitQuery(QByteArrayView rawQuery);

/// Each %XX becomes its byte, once: "%2541" gives "%41". Nothing when a '%' is not followed
/// by two hexadecimal digits. Every other byte, '+' included, stays as it is.
std::optional<QByteArray> percentDecoded(QByteArrayView encoded);

/// The text of well-formed UTF-8; nothing for a malformed, overlong or truncated sequence, an
/// encoded surrogate or a code point beyond U+10FFFF. A byte-order mark is kept as U+FEFF.
std::optional<QString> strictUtf8(QByteArrayView bytes);
