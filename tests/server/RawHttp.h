// A plain-socket HTTP/1.1 client for the server's tests: it sends exactly the bytes it is given,
// so well-formed requests and hostile ones go the same way.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QRegularExpression>
#include <QTcpSocket>

struct RawAnswer
{
    int status = 0; ///< 0: the connection closed without an answer
    QHash<QByteArray, QByteArray> headers; ///< names in lower case
    QByteArray body;
    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
};

/// Reads one answer from socket (Content-Length framed), waiting up to waitMs for it. Whatever
/// follows it is dropped: send the next request after reading the answer to this one.
inline RawAnswer readAnswer(QTcpSocket& socket, int waitMs = 20000)
{
    RawAnswer answer;
    QByteArray data;
    qsizetype headerEnd = -1;
    qsizetype length = -1;
    while (true) {
        headerEnd = data.indexOf("\r\n\r\n");
        if (headerEnd >= 0 && length < 0) {
            for (const QByteArray& line : data.first(headerEnd).split('\n')) {
                const auto colon = line.indexOf(':');
                if (colon > 0) {
                    answer.headers.insert(line.first(colon).trimmed().toLower(),
                                          line.mid(colon + 1).trimmed());
                }
            }
            length = answer.headers.value("content-length").toLongLong();
        }
        if (length >= 0 && data.size() >= headerEnd + 4 + length) {
            break;
        }
        if (!socket.waitForReadyRead(waitMs)) {
            if (socket.bytesAvailable() == 0) {
                return answer;
            }
        }
        data += socket.readAll();
    }
    const QList<QByteArray> statusLine = data.first(data.indexOf("\r\n")).split(' ');
    answer.status = statusLine.value(1).toInt();
    answer.body = data.mid(headerEnd + 4, length);
    return answer;
}

/// Sends request (whole, as bytes) on a new connection and reads the answer.
inline RawAnswer exchange(quint16 port, const QByteArray& request)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(10000)) {
        return {};
    }
    socket.write(request);
    socket.waitForBytesWritten(10000);
    return readAnswer(socket);
}

inline RawAnswer get(quint16 port, const QByteArray& target, const QByteArray& extraHeaders = {})
{
    return exchange(port,
                    "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                        + extraHeaders + "\r\n");
}

inline RawAnswer post(quint16 port, const QByteArray& target, const QByteArray& body,
                      const QByteArray& extraHeaders = {})
{
    return exchange(port,
                    "POST " + target
                        + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                          "Content-Type: application/x-www-form-urlencoded\r\n"
                          "Content-Length: "
                        + QByteArray::number(body.size()) + "\r\n" + extraHeaders + "\r\n" + body);
}

/// The first group of pattern in page, with the "&amp;" of an attribute read back as '&': the
/// form's address and token as a browser would post them.
inline QByteArray captured(const QByteArray& page, const char* pattern)
{
    const auto match
        = QRegularExpression(QString::fromLatin1(pattern)).match(QString::fromUtf8(page));
    return match.captured(1).replace(QStringLiteral("&amp;"), QStringLiteral("&")).toUtf8();
}
