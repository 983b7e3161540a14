// The server's HTTP/1.1 side, on Boost.Beast: keep-alive, size limits and time limits, so that a
// slow or hostile client costs a socket and a few kilobytes and never a thread.
#pragma once

#include "server/http/HttpExchange.h"

#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

struct HttpLimits
{
    /// The request line and headers together; a longer one gets 431 and the connection closes.
    std::size_t headerBytes = 8 * 1024;
    /// Every form the server shows posts far less; a longer body gets 413.
    std::size_t bodyBytes = 1024;
    /// A whole request must arrive within this, however slowly it trickles in; a kept-alive
    /// connection waits as long for its next one, then closes.
    std::chrono::milliseconds requestTime { 10'000 };
    /// Connections beyond this are closed at once, before a byte is read.
    int connections = 512;
};

/// Answers one request. Called on one of the server's threads, several at once.
using HttpHandler = std::function<HttpResponse(const HttpRequest&)>;

class HttpServer
{
public:
    HttpServer(HttpHandler handler, HttpLimits limits = {});
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    /// Binds address ("127.0.0.1", "::", "0.0.0.0") and port (0: any free one). The text says
    /// what went wrong.
    std::optional<QString> listen(const QString& address, quint16 port);
    quint16 port() const;
    /// Serves on threads threads until stop(); returns at once.
    void start(int threads);
    /// Serves until stop() or SIGINT/SIGTERM; returns when every thread has ended.
    void run(int threads);
    void stop();

private:
    struct Engine;
    std::unique_ptr<Engine> m_engine;
};
