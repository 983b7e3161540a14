// The scoreboard as a web site.
#include "server/site/Scoreboard.h"

#include "server/core/ConfirmQuestion.h"
#include "server/core/ConfirmToken.h"
#include "server/core/SubmitQuery.h"
#include "server/site/FormBody.h"
#include "server/site/Pages.h"
#include "server/store/ScoreStore.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QUrl>
#include <QUrlQuery>

namespace {

constexpr int BoardLengthEach = 10; ///< every subject on one page
constexpr int BoardLengthOne = 25; ///< one subject's page

/// The submission's own address, its cleaned fields encoded anew.
QString submitAddress(const Submission& submission)
{
    return QStringLiteral("/cgi-bin/submit.pl?") + QString::fromLatin1(submitQuery(submission));
}

} // namespace

SiteClock SiteClock::system()
{
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return { [] { return QDateTime::currentMSecsSinceEpoch(); }, [] { return started.elapsed(); } };
}

Scoreboard::Scoreboard(SiteSettings settings, SiteFiles files, QByteArray secret,
                       QString adminPasswordHash, StoreSource stores, Recorder record,
                       SiteClock clock)
    : m_settings(std::move(settings))
    , m_files(std::move(files))
    , m_secret(std::move(secret))
    , m_stores(std::move(stores))
    , m_record(std::move(record))
    , m_clock(std::move(clock))
    , m_adminPasswordHash(std::move(adminPasswordHash))
    , m_limits(m_settings.rates)
{
}

HttpResponse Scoreboard::handle(const HttpRequest& request)
{
    forgetOldEntries();
    const QByteArray path = request.path();
    const bool get = request.method == "GET";
    const bool post = request.method == "POST";
    const auto notAllowed = [&](const QByteArray& allowed) {
        HttpResponse response = message(405, QStringLiteral("Not here"),
                                        QStringLiteral("This page cannot be used that way."));
        response.headers.emplace_back("Allow", allowed);
        return response;
    };
    if (path == "/cgi-bin/submit.pl") {
        if (get) {
            return showConfirmation(request);
        }
        if (post) {
            return recordSubmission(request);
        }
        return notAllowed("GET, POST");
    }
    if (path == "/cgi-bin/toptimes.pl") {
        return get ? showBoard(request) : notAllowed("GET");
    }
    if (path == "/admin") {
        if (!get && !post) {
            return notAllowed("GET, POST");
        }
        if (auto refusal = refuseModerator(request)) {
            return *refusal;
        }
        return moderate(request);
    }
    if (const auto file = m_files.file(path)) {
        if (!get) {
            return notAllowed("GET");
        }
        HttpResponse response;
        response.contentType = file->contentType;
        response.body = file->body;
        response.headers.emplace_back("Cache-Control", "max-age=300");
        return response;
    }
    return message(404, QStringLiteral("No such page"),
                   QStringLiteral("There is no page at this address."));
}

HttpResponse Scoreboard::page(int status, const QString& heading, const QString& body) const
{
    HttpResponse response;
    response.status = status;
    response.body = htmlPage(m_settings.title, heading, body).toUtf8();
    // Boards change with every time posted, and a confirmation's token must not be kept.
    response.headers.emplace_back("Cache-Control", "no-store");
    // The post button must not sit, invisible, under another site's page.
    response.headers.emplace_back("X-Frame-Options", "DENY");
    return response;
}

HttpResponse Scoreboard::message(int status, const QString& heading, const QString& words) const
{
    return page(status, heading, messageBody(words));
}

HttpResponse Scoreboard::showConfirmation(const HttpRequest& request)
{
    const auto checked = submissionFromQuery(request.query());
    if (const auto* refusal = std::get_if<SubmitRefusal>(&checked)) {
        return message(400, QStringLiteral("This time cannot be posted"), refusal->message());
    }
    const auto& submission = std::get<Submission>(checked);
    const QByteArray token = confirmToken(m_secret, submission, m_clock.utcMs(), newConfirmNonce());
    return page(200, QStringLiteral("Post your time?"),
                confirmBody(submission, submitAddress(submission), token, false));
}

HttpResponse Scoreboard::recordSubmission(const HttpRequest& request)
{
    const auto checked = submissionFromQuery(request.query());
    if (const auto* refusal = std::get_if<SubmitRefusal>(&checked)) {
        return message(400, QStringLiteral("This time cannot be posted"), refusal->message());
    }
    const auto& submission = std::get<Submission>(checked);
    const qint64 now = m_clock.utcMs();
    const TokenCheck token
        = checkConfirmToken(m_secret, submission, formValue(request.body, "token"), now);
    switch (token.verdict) {
    case TokenVerdict::Valid:
        break;
    case TokenVerdict::Expired: {
        const QByteArray fresh = confirmToken(m_secret, submission, now, newConfirmNonce());
        return page(200, QStringLiteral("Post your time?"),
                    confirmBody(submission, submitAddress(submission), fresh, true));
    }
    case TokenVerdict::Malformed:
    case TokenVerdict::Forged:
        return message(400, QStringLiteral("This time cannot be posted"),
                       QStringLiteral("This form did not come from this scoreboard. Send your "
                                      "time again from the game."));
    }
    {
        const QString client
            = clientAddress(request.peerAddress, QString::fromLatin1(request.forwardedFor),
                            m_settings.trustedProxies);
        const std::lock_guard lock(m_limitsMutex);
        if (!m_limits.take(client, submission.name, m_clock.steadyMs())) {
            HttpResponse response
                = message(429, QStringLiteral("Slow down"),
                          QStringLiteral("Lots of times came from here just now. Wait a minute, "
                                         "then press the button again."));
            response.headers.emplace_back("Retry-After", "60");
            return response;
        }
    }
    const Recorded recorded = m_record({ submission, now, token, m_settings.moderation });
    const auto toBoard = [&](qint64 marked) {
        HttpResponse response;
        response.status = 303;
        response.contentType = "text/plain; charset=utf-8";
        const QByteArray address
            = boardAddress(submission.subject, BoardPeriod::Day, marked).toUtf8();
        response.headers.emplace_back("Location", address);
        response.body = "See " + address + '\n';
        return response;
    };
    if (recorded.outcome == Recorded::Outcome::Added) {
        forgetBoards();
    }
    switch (recorded.outcome) {
    case Recorded::Outcome::Added:
    case Recorded::Outcome::Repeat:
        if (recorded.state == EntryState::Held) {
            return message(200, QStringLiteral("Thank you!"),
                           QStringLiteral("Your time is saved. It will show on the board once "
                                          "a grown-up has checked it."));
        }
        return toBoard(recorded.state == EntryState::Shown ? recorded.id : 0);
    case Recorded::Outcome::Replayed:
        // The button pressed twice: the first press posted it.
        return toBoard(0);
    case Recorded::Outcome::Failed:
        break;
    }
    return message(503, QStringLiteral("Please try again"),
                   QStringLiteral("The scoreboard cannot save times just now. Please try again "
                                  "in a minute."));
}

HttpResponse Scoreboard::showBoard(const HttpRequest& request)
{
    const QUrlQuery query(QString::fromUtf8(request.query()));
    std::optional<Subject> subject;
    BoardPeriod period = BoardPeriod::AllTime;
    if (query.hasQueryItem(QStringLiteral("subj"))) {
        subject = subjectFromCode(query.queryItemValue(QStringLiteral("subj"), QUrl::FullyDecoded));
        if (!subject) {
            return message(400, QStringLiteral("No such board"),
                           QStringLiteral("There is a board for add, sub, mul, div and rnd, "
                                          "and for nothing else."));
        }
    }
    if (query.hasQueryItem(QStringLiteral("period"))) {
        const auto chosen
            = periodFromCode(query.queryItemValue(QStringLiteral("period"), QUrl::FullyDecoded));
        if (!chosen) {
            return message(400, QStringLiteral("No such board"),
                           QStringLiteral("There are boards for a day, a week and all time, "
                                          "and for nothing else."));
        }
        period = *chosen;
    }
    const qint64 marked = query.queryItemValue(QStringLiteral("mark")).toLongLong();
    const auto bounds = periodBounds(period, m_clock.utcMs(), m_settings.zone);
    // The page everyone sees, without a marked entry, is kept whole for a second like its rows.
    const QString pageKey = QStringLiteral("page %1 %2 %3")
                                .arg(subject ? int(*subject) : 0)
                                .arg(int(period))
                                .arg(bounds.first);
    if (marked == 0) {
        const std::lock_guard lock(m_boardsMutex);
        const auto cached = m_pages.constFind(pageKey);
        if (cached != m_pages.constEnd() && m_clock.steadyMs() - cached->first < 1000) {
            return cached->second;
        }
    }
    std::vector<BoardSection> sections;
    for (const Subject each : AllSubjects) {
        if (subject && each != *subject) {
            continue;
        }
        auto entries = boardEntries(each, bounds, subject ? BoardLengthOne : BoardLengthEach);
        if (!entries) {
            return message(503, QStringLiteral("Please try again"),
                           QStringLiteral("The top times cannot be read just now. Please try "
                                          "again in a minute."));
        }
        sections.push_back({ each, std::move(*entries) });
    }
    QString heading = QStringLiteral("Top times ") + periodWords(period);
    if (subject) {
        heading = subjectName(*subject) + QStringLiteral(": top times ") + periodWords(period);
    }
    HttpResponse shown
        = page(200, heading, boardBody(subject, period, sections, marked, m_settings.zone));
    if (marked == 0) {
        const std::lock_guard lock(m_boardsMutex);
        if (m_pages.size() > 64) {
            m_pages.clear();
        }
        m_pages.insert(pageKey, { m_clock.steadyMs(), shown });
    }
    return shown;
}

void Scoreboard::forgetOldEntries()
{
    constexpr qint64 Hour = 60 * 60 * 1000;
    const qint64 now = m_clock.utcMs();
    qint64 due = m_nextForgetting.load();
    if (m_settings.retentionDays <= 0 || now < due
        || !m_nextForgetting.compare_exchange_strong(due, now + Hour)) {
        return;
    }
    if (ScoreStore* store = m_stores()) {
        store->forgetReceivedBefore(now - qint64(m_settings.retentionDays) * 24 * Hour);
    }
}

std::optional<std::vector<BoardEntry>>
Scoreboard::boardEntries(Subject subject, std::pair<qint64, qint64> bounds, int limit)
{
    const QString key = QStringLiteral("%1 %2 %3").arg(int(subject)).arg(bounds.first).arg(limit);
    const qint64 now = m_clock.steadyMs();
    {
        const std::lock_guard lock(m_boardsMutex);
        const auto cached = m_boards.constFind(key);
        if (cached != m_boards.constEnd() && now - cached->readSteadyMs < 1000) {
            return cached->entries;
        }
    }
    ScoreStore* store = m_stores();
    auto entries = store ? store->board(subject, bounds, limit) : std::nullopt;
    if (entries) {
        const std::lock_guard lock(m_boardsMutex);
        // Old days' and weeks' boards go as new ones come.
        if (m_boards.size() > 64) {
            m_boards.clear();
        }
        m_boards.insert(key, { now, *entries });
    }
    return entries;
}

void Scoreboard::forgetBoards()
{
    const std::lock_guard lock(m_boardsMutex);
    m_boards.clear();
    m_pages.clear();
}
