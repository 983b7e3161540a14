// One request and its answer, as the pages see them: no sockets, no parser, no Beast.
#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

struct HttpRequest
{
    QByteArray method; ///< "GET", "POST", ...
    QByteArray target; ///< as sent: "/cgi-bin/submit.pl?name=Ann&..."
    QByteArray body; ///< at most the server's body limit
    QByteArray authorization;
    QString peerAddress; ///< the socket's peer
    QByteArray forwardedFor; ///< every X-Forwarded-For header's value, joined with ','

    QByteArray path() const
    {
        const auto mark = target.indexOf('?');
        return mark < 0 ? target : target.first(mark);
    }
    /// After the first '?', without it; empty when there is none.
    QByteArray query() const
    {
        const auto mark = target.indexOf('?');
        return mark < 0 ? QByteArray() : target.mid(mark + 1);
    }
};

struct HttpResponse
{
    int status = 200;
    QByteArray contentType = "text/html; charset=utf-8";
    QByteArray body;
    std::vector<std::pair<QByteArray, QByteArray>> headers; ///< beyond those every answer has
};
