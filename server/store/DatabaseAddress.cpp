// Where the server keeps its boards.
#include "server/store/DatabaseAddress.h"

#include <QUrl>
#include <QUrlQuery>

std::variant<DatabaseAddress, QString> parseDatabaseUrl(const QString& url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.isValid()) {
        return QStringLiteral("The database address \"%1\" cannot be read.").arg(url);
    }
    DatabaseAddress address;
    const QString scheme = parsed.scheme();
    if (scheme == QLatin1String("sqlite")) {
        address.kind = DatabaseAddress::Kind::Sqlite;
        address.sqliteFile = parsed.path();
        if (address.sqliteFile.isEmpty() || !parsed.host().isEmpty()) {
            return QStringLiteral("An SQLite address names a file: sqlite:/path/to/scores.sqlite");
        }
        return address;
    }
    if (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres")) {
        return QStringLiteral("The database address must start with sqlite: or postgresql://");
    }
    address.kind = DatabaseAddress::Kind::Postgres;
    address.host = parsed.host();
    address.port = parsed.port(5432);
    address.user = parsed.userName();
    address.password = parsed.password();
    address.database = parsed.path().mid(1);
    const QUrlQuery query(parsed);
    if (query.hasQueryItem(QStringLiteral("host"))) {
        address.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    }
    if (query.hasQueryItem(QStringLiteral("sslmode"))) {
        address.sslMode = query.queryItemValue(QStringLiteral("sslmode"), QUrl::FullyDecoded);
    }
    if (address.database.isEmpty() || address.database.contains(u'/')) {
        return QStringLiteral("A PostgreSQL address names one database: "
                              "postgresql://user@host/database");
    }
    return address;
}

QString printableDatabaseUrl(const DatabaseAddress& address)
{
    if (address.kind == DatabaseAddress::Kind::Sqlite) {
        return QStringLiteral("sqlite:") + address.sqliteFile;
    }
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(address.user);
    url.setHost(address.host.startsWith(u'/') ? QString() : address.host);
    url.setPort(address.port);
    url.setPath(u'/' + address.database);
    if (address.host.startsWith(u'/')) {
        url.setQuery(QStringLiteral("host=") + address.host);
    }
    return url.toString();
}
