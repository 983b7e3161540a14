// How an operator sets the server up: options on the command line, the same keys in a
// configuration file, the command line winning.
#pragma once

#include "server/core/Moderation.h"

#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <variant>

struct ServerConfig
{
    QString listenAddress = QStringLiteral("127.0.0.1");
    quint16 port = 8080;
    QString dataFolder = QStringLiteral("./server-data");
    /// Empty: an SQLite file in the data folder.
    QString databaseUrl;
    QString title = QStringLiteral("Sumdash! Scoreboard");
    QString contact
        = QStringLiteral("This scoreboard's operator has not said yet how to reach them.");
    ModerationSettings moderation;
    QStringList trustedProxies;
    /// Entries older than this many days go; 0 keeps them until a moderator deletes them.
    int retentionDays = 0;
    /// Threads answering requests; each may wait on the database, so more than the cores.
    int threads = 8;
    /// Empty: the data folder's pages folder.
    QString pagesFolder;
    QString adminPasswordFile;
    QTimeZone zone = QTimeZone::systemTimeZone();
    bool showHelp = false;

    /// The database address to use: databaseUrl, or the data folder's scores.sqlite.
    QString effectiveDatabaseUrl() const;
};

/// What --help prints.
QString serverUsage();

/// Reads arguments (without the program's name) and, when one of them is --config FILE, that
/// file first. The text says what is wrong, for the operator who typed it.
std::variant<ServerConfig, QString> readServerConfig(const QStringList& arguments);
