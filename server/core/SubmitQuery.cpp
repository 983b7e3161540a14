// The submission's query string, split and decoded the one way the game encodes it.
#include "server/core/SubmitQuery.h"

#include <QStringDecoder>
#include <array>

namespace {

constexpr std::array<const char*, 5> Keys { "name", "subj", "time", "date", "valid" };

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

QString* fieldOf(SubmitFields& fields, std::size_t key)
{
    const std::array<QString*, Keys.size()> values { &fields.name, &fields.subj, &fields.time,
                                                     &fields.date, &fields.valid };
    return values[key];
}

std::optional<std::size_t> keyIndex(QByteArrayView key)
{
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        if (key == QByteArrayView(Keys[i])) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> percentDecoded(QByteArrayView encoded)
{
    QByteArray decoded;
    decoded.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c != '%') {
            decoded += c;
            continue;
        }
        const int high = i + 2 < encoded.size() ? hexDigit(encoded[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(encoded[i + 2]) : -1;
        if (low < 0) {
            return std::nullopt;
        }
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return decoded;
}

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless
                               | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

std::variant<SubmitFields, SubmitRefusal> parseSubmitQuery(QByteArrayView rawQuery)
{
    if (rawQuery.size() > MaxSubmitQueryBytes) {
        return SubmitRefusal { RefusalKind::QueryTooLong, {} };
    }
    SubmitFields fields;
    std::array<bool, Keys.size()> seen {};
    qsizetype start = 0;
    while (start <= rawQuery.size()) {
        qsizetype end = rawQuery.indexOf('&', start);
        if (end < 0) {
            end = rawQuery.size();
        }
        const QByteArrayView piece = rawQuery.sliced(start, end - start);
        start = end + 1;
        const qsizetype equals = piece.indexOf('=');
        const QByteArrayView key = equals < 0 ? piece : piece.first(equals);
        const auto index = keyIndex(key);
        if (piece.isEmpty() || !index) {
            continue;
        }
        const QString keyText = QString::fromLatin1(Keys[*index]);
        if (seen[*index]) {
            return SubmitRefusal { RefusalKind::RepeatedKey, keyText };
        }
        seen[*index] = true;
        const auto bytes = percentDecoded(equals < 0 ? QByteArrayView() : piece.sliced(equals + 1));
        if (!bytes) {
            return SubmitRefusal { RefusalKind::BadEscape, keyText };
        }
        auto text = strictUtf8(*bytes);
        if (!text) {
            return SubmitRefusal { RefusalKind::BadText, keyText };
        }
        *fieldOf(fields, *index) = std::move(*text);
    }
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        if (!seen[i]) {
            return SubmitRefusal { RefusalKind::MissingKey, QString::fromLatin1(Keys[i]) };
        }
    }
    return fields;
}
