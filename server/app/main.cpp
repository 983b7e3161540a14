// sumdash-server: the scoreboard that Sumdash! games post their times to.
#include "server/app/ScoreboardServer.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sumdash-server"));
    const auto read = readServerConfig(application.arguments().mid(1));
    if (const auto* wrong = std::get_if<QString>(&read)) {
        std::fprintf(stderr, "%s\n", qPrintable(*wrong));
        return 2;
    }
    const auto& config = std::get<ServerConfig>(read);
    if (config.showHelp) {
        std::fputs(qPrintable(serverUsage()), stdout);
        return 0;
    }
    auto created = ScoreboardServer::create(config);
    if (const auto* wrong = std::get_if<QString>(&created)) {
        std::fprintf(stderr, "%s\n", qPrintable(*wrong));
        return 1;
    }
    auto& server = *std::get<std::unique_ptr<ScoreboardServer>>(created);
    const QString host = config.listenAddress.contains(u':') ? u'[' + config.listenAddress + u']'
                                                             : config.listenAddress;
    std::printf("Sumdash! scoreboard listening on http://%s:%u/\n"
                "Point the games at it: SiteBaseAddress=http://%s:%u in [Sumdash] of "
                "Pellmoor.ini.\nModerate at http://%s:%u/admin. Ctrl+C stops it.\n",
                qPrintable(host), unsigned(server.port()), qPrintable(host),
                unsigned(server.port()), qPrintable(host), unsigned(server.port()));
    std::fflush(stdout);
    server.run();
    return 0;
}
