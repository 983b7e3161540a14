// The one place that builds the server from its configuration.
#include "server/app/ScoreboardServer.h"

#include "server/app/AdminPassword.h"
#include "server/core/ConfirmToken.h"
#include "server/core/PasswordHash.h"
#include "server/store/ScoreStore.h"

#include <QDir>
#include <QFile>

namespace {

const QString BuiltInPages = QStringLiteral(":/sumdash-server/pages");
const QString SecretKey = QStringLiteral("confirm-secret");
const QString PasswordKey = QStringLiteral("admin-password");

/// The data folder's own copies of the maker's pages, made on the first start so that the
/// operator finds them there to edit.
QString preparePages(const ServerConfig& config)
{
    if (!config.pagesFolder.isEmpty()) {
        return config.pagesFolder;
    }
    const QString folder = QDir(config.dataFolder).filePath(QStringLiteral("pages"));
    if (!QFileInfo::exists(folder) && QDir().mkpath(folder)) {
        for (const QString& name : QDir(BuiltInPages).entryList(QDir::Files)) {
            const QString copy = QDir(folder).filePath(name);
            QFile::copy(QDir(BuiltInPages).filePath(name), copy);
            QFile::setPermissions(
                copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        }
    }
    return folder;
}

/// The stored password's hash, after replacing it with the file's password when one is given,
/// or asking for one on the terminal when none is stored yet.
std::variant<QString, PasswordProblem> moderatorsPassword(ScoreStore& store,
                                                          const ServerConfig& config)
{
    std::optional<QString> chosen;
    if (!config.adminPasswordFile.isEmpty()) {
        auto read = passwordFromFile(config.adminPasswordFile);
        if (const auto* problem = std::get_if<PasswordProblem>(&read)) {
            return *problem;
        }
        chosen = std::get<QString>(read);
    }
    const auto stored = store.value(PasswordKey);
    if (!stored) {
        return PasswordProblem { store.lastError() };
    }
    if (!chosen && !stored->isEmpty()) {
        return *stored;
    }
    if (!chosen) {
        chosen = passwordFromTerminal();
    }
    if (!chosen) {
        return PasswordProblem { QStringLiteral(
            "The moderators' page needs a password. Start the server from a terminal to choose "
            "one, or give --admin-password-file FILE.") };
    }
    if (*stored != QString() && passwordMatches(*stored, *chosen)) {
        return *stored;
    }
    const auto hash = hashPassword(*chosen);
    if (!hash || !store.setValue(PasswordKey, *hash)) {
        return PasswordProblem { QStringLiteral("The password cannot be kept: ")
                                 + store.lastError() };
    }
    return *hash;
}

} // namespace

std::variant<std::unique_ptr<ScoreboardServer>, QString>
ScoreboardServer::create(const ServerConfig& config, SiteClock clock, HttpLimits limits)
{
    // The built-in pages live in a static library, whose resources the linker would drop.
    Q_INIT_RESOURCE(pages);
    // Children's names are in there: a new data folder is the server's own to read.
    const bool made = !QFileInfo::exists(config.dataFolder);
    if (!QDir().mkpath(config.dataFolder)) {
        return QStringLiteral("The data folder %1 cannot be made.").arg(config.dataFolder);
    }
    if (made) {
        QFile::setPermissions(config.dataFolder,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const auto address = parseDatabaseUrl(config.effectiveDatabaseUrl());
    if (const auto* wrong = std::get_if<QString>(&address)) {
        return *wrong;
    }
    QByteArray secret;
    QString passwordHash;
    {
        auto opened
            = ScoreStore::open(std::get<DatabaseAddress>(address), QStringLiteral("sumdash-setup"));
        if (const auto* wrong = std::get_if<QString>(&opened)) {
            return *wrong;
        }
        ScoreStore& store = *std::get<std::unique_ptr<ScoreStore>>(opened);
        // Several servers on one database share one secret: whichever starts first sets it.
        const auto kept
            = store.valueOrSet(SecretKey, QString::fromLatin1(newServerSecret().toBase64()));
        secret = kept ? QByteArray::fromBase64(kept->toLatin1()) : QByteArray();
        if (secret.size() < ServerSecretBytes) {
            return QStringLiteral("The server's secret cannot be kept: ") + store.lastError();
        }
        auto password = moderatorsPassword(store, config);
        if (const auto* problem = std::get_if<PasswordProblem>(&password)) {
            return problem->text;
        }
        passwordHash = std::get<QString>(password);
    }

    auto files
        = SiteFiles::load({ preparePages(config), BuiltInPages }, config.title, config.contact);
    if (const auto* wrong = std::get_if<QString>(&files)) {
        return *wrong;
    }
    SiteSettings settings;
    settings.title = config.title;
    settings.moderation = config.moderation;
    settings.trustedProxies = TrustedProxies(config.trustedProxies);
    settings.zone = config.zone;
    settings.retentionDays = config.retentionDays;

    std::unique_ptr<ScoreboardServer> server(new ScoreboardServer);
    server->m_threads = config.threads;
    server->m_stores = std::make_unique<ThreadStores>(std::get<DatabaseAddress>(address));
    ThreadStores* stores = server->m_stores.get();
    server->m_records = std::make_unique<RecordQueue>(std::get<DatabaseAddress>(address));
    RecordQueue* records = server->m_records.get();
    server->m_board = std::make_unique<Scoreboard>(
        settings, std::get<SiteFiles>(std::move(files)), secret, passwordHash,
        [stores] { return stores->current(); },
        [records](PendingRecord pending) { return records->record(std::move(pending)); },
        std::move(clock));
    Scoreboard* board = server->m_board.get();
    server->m_http = std::make_unique<HttpServer>(
        [board](const HttpRequest& request) { return board->handle(request); }, limits);
    if (const auto wrong = server->m_http->listen(config.listenAddress, config.port)) {
        return *wrong;
    }
    return server;
}
