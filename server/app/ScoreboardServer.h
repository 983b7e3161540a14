// The one place that builds the server from its configuration: the data folder, the database,
// the secret, the moderators' password, the pages, the site and the HTTP side.
#pragma once

#include "server/app/ServerConfig.h"
#include "server/app/ThreadStores.h"
#include "server/http/HttpServer.h"
#include "server/site/Scoreboard.h"
#include "server/store/RecordQueue.h"

#include <memory>
#include <variant>

class ScoreboardServer
{
public:
    /// Everything set up and listening, or the text of what stands in the way.
    static std::variant<std::unique_ptr<ScoreboardServer>, QString>
    create(const ServerConfig& config, SiteClock clock = SiteClock::system(),
           HttpLimits limits = {});

    quint16 port() const { return m_http->port(); }
    /// Serves on the configured threads until stop(); returns at once.
    void start() { m_http->start(m_threads); }
    /// Serves until SIGINT or SIGTERM.
    void run() { m_http->run(m_threads); }
    void stop() { m_http->stop(); }

private:
    ScoreboardServer() = default;
    std::unique_ptr<ThreadStores> m_stores;
    std::unique_ptr<RecordQueue> m_records;
    std::unique_ptr<Scoreboard> m_board;
    std::unique_ptr<HttpServer> m_http;
    int m_threads = 1;
};
