// The fields of a posted form, as a browser encodes them.
#pragma once

#include "server/core/SubmitQuery.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

/// The value of key in a form body (application/x-www-form-urlencoded), decoded once.
inline QByteArray formValue(const QByteArray& body, QByteArrayView key)
{
    for (const QByteArray& piece : body.split('&')) {
        const auto equals = piece.indexOf('=');
        if (equals >= 0 && QByteArrayView(piece).first(equals) == key) {
            QByteArray value = piece.mid(equals + 1);
            value.replace('+', ' ');
            return percentDecoded(value).value_or(QByteArray());
        }
    }
    return {};
}
