// How an operator sets the server up.
#include "server/app/ServerConfig.h"

#include "server/core/ConfirmQuestion.h"
#include "server/core/Subject.h"
#include "server/core/Submission.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QSettings>

namespace {

struct Option
{
    const char* name;
    bool takesValue;
    const char* help;
};

constexpr Option Options[] {
    { "listen", true, "ADDRESS:PORT to listen on (127.0.0.1:8080; [::]:8080 for IPv6)" },
    { "data", true, "FOLDER for the database and the pages (./server-data)" },
    { "database", true,
      "URL of the database: sqlite:/path/file.sqlite or postgresql://user@host/name "
      "(an SQLite file in the data folder)" },
    { "title", true, "the site's title on every page" },
    { "contact", true, "how to reach the operator, for the contact page" },
    { "hold-new-names", true, "yes: a name appears after a moderator approves it (no)" },
    { "floor", true,
      "SUBJ=M:SS: times under it wait for approval (1:00 for each of add, sub, mul, div, rnd; "
      "0:00 lets every time by); may be given for each subject" },
    { "trusted-proxy", true,
      "ADDRESS of a reverse proxy whose X-Forwarded-For is believed; may be given again" },
    { "retention-days", true, "entries older than DAYS are deleted (0: kept)" },
    { "threads", true, "how many requests are answered at once (8)" },
    { "pages", true, "FOLDER with index.htm, sumdash.htm, contact.htm, style.css" },
    { "time-zone", true, "IANA name of the zone whose days and weeks the boards follow" },
    { "admin-password-file", true, "FILE whose first line becomes the admin password" },
    { "config", true, "FILE with the same keys, as key = value lines" },
    { "help", false, "this text" },
};

const Option* findOption(const QString& name)
{
    for (const Option& option : Options) {
        if (name == QLatin1String(option.name)) {
            return &option;
        }
    }
    return nullptr;
}

bool yes(const QString& value, bool* ok)
{
    const QString word = value.trimmed().toLower();
    *ok = true;
    if (word == QLatin1String("yes") || word == QLatin1String("true") || word == QLatin1String("1")
        || word == QLatin1String("on")) {
        return true;
    }
    *ok = word == QLatin1String("no") || word == QLatin1String("false")
        || word == QLatin1String("0") || word == QLatin1String("off");
    return false;
}

/// Applies one key; an empty text when it was fine.
QString apply(ServerConfig& config, const QString& key, const QString& value)
{
    const auto bad = [&](const QString& expected) {
        return QStringLiteral("%1 \"%2\": %3").arg(key, value, expected);
    };
    if (key == QLatin1String("listen")) {
        const auto colon = value.lastIndexOf(u':');
        bool portOk = false;
        const uint port = colon < 0 ? 0 : value.mid(colon + 1).toUInt(&portOk);
        QString host = colon < 0 ? QString() : value.left(colon);
        if (host.startsWith(u'[') && host.endsWith(u']')) {
            host = host.mid(1, host.size() - 2);
        }
        if (!portOk || port > 65535 || QHostAddress(host).isNull()) {
            return bad(QStringLiteral("expected an IP address and a port, such as 127.0.0.1:8080"));
        }
        config.listenAddress = host;
        config.port = quint16(port);
    } else if (key == QLatin1String("data")) {
        config.dataFolder = value;
    } else if (key == QLatin1String("database")) {
        config.databaseUrl = value;
    } else if (key == QLatin1String("title")) {
        config.title = value;
    } else if (key == QLatin1String("contact")) {
        config.contact = value;
    } else if (key == QLatin1String("hold-new-names")) {
        bool ok = false;
        config.moderation.holdNewNames = yes(value, &ok);
        if (!ok) {
            return bad(QStringLiteral("expected yes or no"));
        }
    } else if (key == QLatin1String("floor")) {
        const auto equals = value.indexOf(u'=');
        const auto subject = subjectFromCode(value.left(equals));
        const auto seconds = submittedSeconds(value.mid(equals + 1));
        if (equals < 0 || !subject || !seconds) {
            return bad(QStringLiteral("expected a subject and a time, such as mul=1:00"));
        }
        config.moderation.floorSeconds.at(std::size_t(*subject) - 1) = *seconds;
    } else if (key == QLatin1String("trusted-proxy")) {
        if (QHostAddress(value).isNull()) {
            return bad(QStringLiteral("expected an IP address"));
        }
        config.trustedProxies.append(value);
    } else if (key == QLatin1String("retention-days") || key == QLatin1String("threads")) {
        bool ok = false;
        const int number = value.toInt(&ok);
        const bool threads = key == QLatin1String("threads");
        if (!ok || number < (threads ? 1 : 0) || number > (threads ? 256 : 100000)) {
            return bad(threads ? QStringLiteral("expected a number from 1 to 256")
                               : QStringLiteral("expected a number of days, 0 to keep entries"));
        }
        (threads ? config.threads : config.retentionDays) = number;
    } else if (key == QLatin1String("pages")) {
        config.pagesFolder = value;
    } else if (key == QLatin1String("time-zone")) {
        const QTimeZone zone(value.toUtf8());
        if (!zone.isValid()) {
            return bad(QStringLiteral("expected a time zone such as Europe/London"));
        }
        config.zone = zone;
    } else if (key == QLatin1String("admin-password-file")) {
        config.adminPasswordFile = value;
    } else {
        return QStringLiteral("There is no setting \"%1\" (--help lists them).").arg(key);
    }
    return {};
}

} // namespace

QString ServerConfig::effectiveDatabaseUrl() const
{
    if (!databaseUrl.isEmpty()) {
        return databaseUrl;
    }
    return QStringLiteral("sqlite:")
        + QDir(QDir(dataFolder).absolutePath()).filePath(QStringLiteral("scores.sqlite"));
}

QString serverUsage()
{
    QString text = QStringLiteral("Usage: sumdash-server [--option VALUE]...\n"
                                  "The scoreboard that Sumdash! games post their times to.\n\n");
    for (const Option& option : Options) {
        text += QStringLiteral("  --%1%2\n      %3\n")
                    .arg(QLatin1String(option.name),
                         option.takesValue ? QStringLiteral(" VALUE") : QString(),
                         QLatin1String(option.help));
    }
    return text;
}

std::variant<ServerConfig, QString> readServerConfig(const QStringList& arguments)
{
    std::vector<std::pair<QString, QString>> given;
    QString configFile;
    for (qsizetype at = 0; at < arguments.size(); ++at) {
        QString name = arguments.at(at);
        if (!name.startsWith(QLatin1String("--"))) {
            return QStringLiteral("\"%1\" is no option (--help lists them).").arg(name);
        }
        name = name.mid(2);
        QString value;
        const auto equals = name.indexOf(u'=');
        const bool inline_ = equals >= 0;
        if (inline_) {
            value = name.mid(equals + 1);
            name = name.left(equals);
        }
        const Option* option = findOption(name);
        if (!option) {
            return QStringLiteral("There is no option --%1 (--help lists them).").arg(name);
        }
        if (option->takesValue && !inline_) {
            if (++at == arguments.size()) {
                return QStringLiteral("--%1 needs a value.").arg(name);
            }
            value = arguments.at(at);
        }
        if (name == QLatin1String("config")) {
            configFile = value;
        } else {
            given.emplace_back(name, value);
        }
    }

    ServerConfig config;
    if (!configFile.isEmpty()) {
        if (!QFile::exists(configFile)) {
            return QStringLiteral("The configuration file %1 does not exist.").arg(configFile);
        }
        const QSettings file(configFile, QSettings::IniFormat);
        if (file.status() != QSettings::NoError) {
            return QStringLiteral("The configuration file %1 cannot be read.").arg(configFile);
        }
        for (const QString& key : file.allKeys()) {
            // QSettings reads only ';' as a comment; a '#' line, as in most files under /etc,
            // comes as a key of its own, and is a comment all the same.
            if (key.startsWith(u'#')) {
                continue;
            }
            // A list (trusted-proxy = a, b) comes as several values.
            const QVariant value = file.value(key);
            QStringList values = value.typeId() == QMetaType::QStringList
                ? value.toStringList()
                : QStringList { value.toString() };
            if (key != QLatin1String("floor") && key != QLatin1String("trusted-proxy")) {
                // QSettings splits any value at its commas; a title or contact text keeps them.
                values = QStringList { values.join(QStringLiteral(", ")) };
            }
            for (const QString& each : values) {
                if (const QString wrong = apply(config, key, each.trimmed()); !wrong.isEmpty()) {
                    return configFile + QStringLiteral(": ") + wrong;
                }
            }
        }
    }
    for (const auto& [name, value] : given) {
        if (name == QLatin1String("help")) {
            config.showHelp = true;
            continue;
        }
        if (const QString wrong = apply(config, name, value); !wrong.isEmpty()) {
            return QStringLiteral("--") + wrong;
        }
    }
    return config;
}
