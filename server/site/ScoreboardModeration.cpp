// The moderators' page of the scoreboard: who may see it, and what its buttons do.
#include "server/core/AdminFormToken.h"
#include "server/core/PasswordHash.h"
#include "server/site/FormBody.h"
#include "server/site/Pages.h"
#include "server/site/Scoreboard.h"

#include <QCryptographicHash>
#include <QUrlQuery>

std::optional<HttpResponse> Scoreboard::refuseModerator(const HttpRequest& request)
{
    const QString client = clientAddress(
        request.peerAddress, QString::fromLatin1(request.forwardedFor), m_settings.trustedProxies);
    const qint64 now = m_clock.utcMs();
    const QByteArray remembered
        = QCryptographicHash::hash(request.authorization, QCryptographicHash::Sha256);
    const std::lock_guard lock(m_adminMutex);
    if (m_moderators.value(remembered) > now) {
        return std::nullopt;
    }
    if (!m_wrongPasswords.available(client, m_clock.steadyMs())) {
        HttpResponse response = message(429, QStringLiteral("Slow down"),
                                        QStringLiteral("Too many wrong passwords. Wait a minute."));
        response.headers.emplace_back("Retry-After", "60");
        return response;
    }
    if (request.authorization.startsWith("Basic ")) {
        const auto decoded = QByteArray::fromBase64Encoding(
            request.authorization.mid(6).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
        const auto colon = decoded ? decoded.decoded.indexOf(':') : -1;
        if (colon >= 0) {
            const QString password = QString::fromUtf8(decoded.decoded.mid(colon + 1));
            if (passwordMatches(m_adminPasswordHash, password)) {
                // Forget the ones that ran out, so the table stays as small as the team.
                m_moderators.removeIf([now](auto entry) { return entry.value() <= now; });
                m_moderators.insert(remembered, now + 10 * 60 * 1000);
                return std::nullopt;
            }
            m_wrongPasswords.take(client, m_clock.steadyMs());
        }
    }
    HttpResponse response = message(401, QStringLiteral("Moderators only"),
                                    QStringLiteral("This page needs the moderators' password."));
    response.headers.emplace_back("WWW-Authenticate",
                                  "Basic realm=\"Sumdash! moderators\", charset=\"UTF-8\"");
    return response;
}

HttpResponse Scoreboard::moderate(const HttpRequest& request)
{
    const qint64 now = m_clock.utcMs();
    ScoreStore* store = m_stores();
    if (!store) {
        return message(503, QStringLiteral("Please try again"),
                       QStringLiteral("The database cannot be reached just now."));
    }
    if (request.method == "POST") {
        if (!adminFormTokenValid(m_secret, formValue(request.body, "token"), now)) {
            return message(400, QStringLiteral("Not done"),
                           QStringLiteral("This form is too old or did not come from this page. "
                                          "Open the moderators' page again and press the button "
                                          "once more."));
        }
        const QByteArray action = formValue(request.body, "action");
        bool numeric = false;
        const qint64 id = formValue(request.body, "id").toLongLong(&numeric);
        std::optional<ModerationAction> chosen;
        if (action == "approve") {
            chosen = ModerationAction::Approve;
        } else if (action == "hide") {
            chosen = ModerationAction::Hide;
        } else if (action == "delete") {
            chosen = ModerationAction::Delete;
        }
        if (!numeric || !chosen) {
            return message(400, QStringLiteral("Not done"),
                           QStringLiteral("That is no entry or no action of this page."));
        }
        const bool done = store->moderate(id, *chosen);
        forgetBoards();
        HttpResponse response;
        response.status = 303;
        response.contentType = "text/plain; charset=utf-8";
        response.headers.emplace_back("Location", done ? "/admin?done=1" : "/admin?done=0");
        return response;
    }
    const auto held = store->latest(200, true);
    const auto latest = store->latest(100, false);
    if (!held || !latest) {
        return message(503, QStringLiteral("Please try again"),
                       QStringLiteral("The database cannot be read just now."));
    }
    const QByteArray done = QUrlQuery(QString::fromUtf8(request.query()))
                                .queryItemValue(QStringLiteral("done"))
                                .toLatin1();
    const QString notice = done == "1" ? QStringLiteral("Done.")
        : done == "0" ? QStringLiteral("That entry is gone already, or the database "
                                       "refused; nothing was changed.")
                      : QString();
    return page(200, QStringLiteral("Moderation"),
                adminBody(*held, *latest, adminFormToken(m_secret, now), m_settings.zone, notice));
}
