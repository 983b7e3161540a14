// The server's HTTP/1.1 side, on Boost.Beast.
#include "server/http/HttpServer.h"

#include <atomic>
#include <boost/asio/dispatch.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <thread>
#include <vector>

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

struct Shared
{
    HttpHandler handler;
    HttpLimits limits;
    std::atomic<int> connections { 0 };
};

std::string text(const QByteArray& bytes)
{
    return bytes.toStdString();
}

QByteArray bytes(beast::string_view view)
{
    return QByteArray(view.data(), qsizetype(view.size()));
}

/// HTTP/1.1, the version of the answer to a request that could not be read.
constexpr unsigned Http11 = 11;

/// The answer to a request the parser refused, in words a person reading it can act on.
HttpResponse refusal(int status, const char* words)
{
    HttpResponse response;
    response.status = status;
    response.contentType = "text/plain; charset=utf-8";
    response.body = words;
    return response;
}

class Session : public std::enable_shared_from_this<Session>
{
public:
    Session(tcp::socket&& socket, std::shared_ptr<Shared> shared)
        : m_stream(std::move(socket))
        , m_shared(std::move(shared))
        , m_buffer(m_shared->limits.headerBytes + m_shared->limits.bodyBytes + 1024)
    {
        ++m_shared->connections;
        beast::error_code ignored;
        const auto peer = m_stream.socket().remote_endpoint(ignored);
        m_peer = QString::fromStdString(peer.address().to_string(ignored));
        m_stream.socket().set_option(tcp::no_delay(true), ignored);
    }
    ~Session() { --m_shared->connections; }

    void start()
    {
        asio::dispatch(m_stream.get_executor(),
                       beast::bind_front_handler(&Session::read, shared_from_this()));
    }

private:
    void read()
    {
        m_parser.emplace();
        m_parser->header_limit(std::uint32_t(m_shared->limits.headerBytes));
        m_parser->body_limit(m_shared->limits.bodyBytes);
        m_stream.expires_after(m_shared->limits.requestTime);
        http::async_read(m_stream, m_buffer, *m_parser,
                         beast::bind_front_handler(&Session::onRead, shared_from_this()));
    }

    void onRead(beast::error_code error, std::size_t)
    {
        if (error == http::error::end_of_stream || error == beast::error::timeout
            || error == asio::error::operation_aborted) {
            close();
            return;
        }
        if (error == http::error::header_limit || error == http::error::buffer_overflow) {
            answer(refusal(431, "The request's headers are too long.\n"), Http11, false);
            return;
        }
        if (error == http::error::body_limit) {
            answer(refusal(413, "The request's body is too long.\n"), Http11, false);
            return;
        }
        if (error
            && error.category() == http::make_error_code(http::error::bad_target).category()) {
            answer(refusal(400, "The request cannot be read.\n"), Http11, false);
            return;
        }
        if (error) {
            close();
            return;
        }
        const auto& message = m_parser->get();
        HttpRequest request;
        const bool head = message.method() == http::verb::head;
        request.method = head ? QByteArray("GET") : bytes(message.method_string());
        request.target = bytes(message.target());
        request.body = QByteArray::fromStdString(message.body());
        request.authorization = bytes(message[http::field::authorization]);
        request.peerAddress = m_peer;
        for (auto [field, end] = message.equal_range("X-Forwarded-For"); field != end; ++field) {
            if (!request.forwardedFor.isEmpty()) {
                request.forwardedFor += ',';
            }
            request.forwardedFor += bytes(field->value());
        }
        HttpResponse response;
        try {
            response = m_shared->handler(request);
        } catch (const std::exception&) {
            response = refusal(500, "The server met a problem; try again in a moment.\n");
        }
        m_head = head;
        answer(response, message.version(), message.keep_alive());
    }

    void answer(const HttpResponse& answer, unsigned version, bool keepAlive)
    {
        auto response = std::make_shared<http::response<http::string_body>>(
            http::int_to_status(unsigned(answer.status)), version);
        response->set(http::field::server, "sumdash-server");
        response->set(http::field::content_type, text(answer.contentType));
        // No page of this server runs a script or loads anything but its own style sheet.
        response->set("Content-Security-Policy", "default-src 'none'; style-src 'self'");
        response->set("X-Content-Type-Options", "nosniff");
        response->set("Referrer-Policy", "no-referrer");
        for (const auto& [name, value] : answer.headers) {
            response->set(text(name), text(value));
        }
        response->body() = text(answer.body);
        response->prepare_payload();
        if (m_head) {
            response->body().clear();
        }
        response->keep_alive(keepAlive);
        m_response = response;
        http::async_write(
            m_stream, *response,
            beast::bind_front_handler(&Session::onWrite, shared_from_this(), !keepAlive));
    }

    void onWrite(bool closeAfter, beast::error_code error, std::size_t)
    {
        m_response.reset();
        m_head = false;
        if (error || closeAfter) {
            close();
            return;
        }
        read();
    }

    void close()
    {
        beast::error_code ignored;
        m_stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
        m_stream.close();
    }

    beast::tcp_stream m_stream;
    std::shared_ptr<Shared> m_shared;
    beast::flat_buffer m_buffer;
    std::optional<http::request_parser<http::string_body>> m_parser;
    std::shared_ptr<http::response<http::string_body>> m_response;
    QString m_peer;
    bool m_head = false;
};

} // namespace

struct HttpServer::Engine
{
    asio::io_context context;
    tcp::acceptor acceptor { context };
    asio::steady_timer pause { context };
    std::shared_ptr<Shared> shared = std::make_shared<Shared>();
    std::vector<std::thread> threads;

    void accept()
    {
        acceptor.async_accept(
            asio::make_strand(context), [this](beast::error_code error, tcp::socket socket) {
                if (error == asio::error::operation_aborted || !acceptor.is_open()) {
                    return;
                }
                if (error) {
                    // Out of file descriptors, say: try again shortly rather than spin.
                    pause.expires_after(std::chrono::milliseconds(50));
                    pause.async_wait([this](beast::error_code) { accept(); });
                    return;
                }
                if (shared->connections.load() >= shared->limits.connections) {
                    beast::error_code ignored;
                    socket.close(ignored);
                } else {
                    std::make_shared<Session>(std::move(socket), shared)->start();
                }
                accept();
            });
    }
};

HttpServer::HttpServer(HttpHandler handler, HttpLimits limits)
    : m_engine(std::make_unique<Engine>())
{
    m_engine->shared->handler = std::move(handler);
    m_engine->shared->limits = limits;
}

HttpServer::~HttpServer()
{
    stop();
}

std::optional<QString> HttpServer::listen(const QString& address, quint16 port)
{
    beast::error_code error;
    const auto ip = asio::ip::make_address(address.toStdString(), error);
    if (error) {
        return QStringLiteral("\"%1\" is no IP address.").arg(address);
    }
    const tcp::endpoint endpoint(ip, port);
    auto& acceptor = m_engine->acceptor;
    acceptor.open(endpoint.protocol(), error);
    if (!error) {
        acceptor.set_option(asio::socket_base::reuse_address(true), error);
    }
    if (!error) {
        acceptor.bind(endpoint, error);
    }
    if (!error) {
        acceptor.listen(asio::socket_base::max_listen_connections, error);
    }
    if (error) {
        beast::error_code ignored;
        acceptor.close(ignored);
        return QStringLiteral("Cannot listen on %1 port %2: %3")
            .arg(address)
            .arg(port)
            .arg(QString::fromStdString(error.message()));
    }
    m_engine->accept();
    return std::nullopt;
}

quint16 HttpServer::port() const
{
    beast::error_code ignored;
    return m_engine->acceptor.local_endpoint(ignored).port();
}

void HttpServer::start(int threads)
{
    for (int thread = 0; thread < std::max(threads, 1); ++thread) {
        m_engine->threads.emplace_back([this] { m_engine->context.run(); });
    }
}

void HttpServer::run(int threads)
{
    asio::signal_set stopSignals(m_engine->context, SIGINT, SIGTERM);
    stopSignals.async_wait([this](beast::error_code, int) { m_engine->context.stop(); });
    start(threads);
    for (auto& thread : m_engine->threads) {
        thread.join();
    }
    m_engine->threads.clear();
}

void HttpServer::stop()
{
    m_engine->context.stop();
    for (auto& thread : m_engine->threads) {
        if (thread.joinable() && thread.get_id() != std::this_thread::get_id()) {
            thread.join();
        }
    }
    m_engine->threads.clear();
}
