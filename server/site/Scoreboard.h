// The scoreboard as a web site: which address shows which page, and what a submission goes
// through between the game's link and the board.
#pragma once

#include "server/core/ClientAddress.h"
#include "server/core/Moderation.h"
#include "server/core/RateLimiter.h"
#include "server/http/HttpExchange.h"
#include "server/site/SiteFiles.h"
#include "server/store/ScoreStore.h"

#include <QHash>
#include <QTimeZone>
#include <atomic>
#include <functional>
#include <mutex>

struct SiteSettings
{
    QString title = QStringLiteral("Sumdash! Scoreboard");
    ModerationSettings moderation;
    TrustedProxies trustedProxies;
    /// The calendar of the boards' days and weeks.
    QTimeZone zone = QTimeZone::systemTimeZone();
    SubmitRateRules rates;
    /// Entries older than this many days go, checked hourly; 0 keeps them.
    int retentionDays = 0;
};

struct SiteClock
{
    std::function<qint64()> utcMs; ///< the wall clock: receipt times, token ages
    std::function<qint64()> steadyMs; ///< a clock that never jumps: the rate limits
    static SiteClock system();
};

class Scoreboard
{
public:
    /// The database connection of the calling thread; nullptr when it cannot be had.
    using StoreSource = std::function<ScoreStore*()>;
    /// Records a confirmed submission (RecordQueue::record()).
    using Recorder = std::function<Recorded(PendingRecord)>;

    /// secret signs the confirmations and the moderators' forms; adminPasswordHash is the
    /// moderators' password as passwordMatches() reads it.
    Scoreboard(SiteSettings settings, SiteFiles files, QByteArray secret, QString adminPasswordHash,
               StoreSource stores, Recorder record, SiteClock clock = SiteClock::system());

    /// Thread-safe: the server calls it from several threads at once.
    HttpResponse handle(const HttpRequest& request);

private:
    HttpResponse showConfirmation(const HttpRequest& request);
    HttpResponse recordSubmission(const HttpRequest& request);
    HttpResponse showBoard(const HttpRequest& request);
    HttpResponse moderate(const HttpRequest& request);
    void forgetOldEntries();
    /// A board's entries, read at most once a second: a class opening the board together costs
    /// the database one query, not thirty. Nothing when the database fails.
    std::optional<std::vector<BoardEntry>>
    boardEntries(Subject subject, std::pair<qint64, qint64> bounds, int limit);
    /// A change made here shows on the next look, not a second later.
    void forgetBoards();
    /// Whether the request carries the moderators' password; otherwise the answer to give.
    std::optional<HttpResponse> refuseModerator(const HttpRequest& request);
    HttpResponse page(int status, const QString& heading, const QString& body) const;
    HttpResponse message(int status, const QString& heading, const QString& words) const;

    SiteSettings m_settings;
    SiteFiles m_files;
    QByteArray m_secret;
    StoreSource m_stores;
    Recorder m_record;
    SiteClock m_clock;
    QString m_adminPasswordHash;
    std::mutex m_limitsMutex;
    SubmitRateLimits m_limits;
    /// One password check at a time: each takes 64 MiB and a good part of a second.
    std::mutex m_adminMutex;
    /// The Authorization headers that passed lately (their SHA-256), until when: the browser
    /// sends the password with every request, and checking each would make the page crawl.
    QHash<QByteArray, qint64> m_moderators;
    RateLimiter m_wrongPasswords { { 5, 60 * 1000 } };
    std::atomic<qint64> m_nextForgetting { 0 };
    struct CachedBoard
    {
        qint64 readSteadyMs = 0;
        std::vector<BoardEntry> entries;
    };
    std::mutex m_boardsMutex;
    QHash<QString, CachedBoard> m_boards;
    QHash<QString, std::pair<qint64, HttpResponse>> m_pages; ///< when read, and the page
};
