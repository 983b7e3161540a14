// Guards the scoreboard as a browser and a hostile client meet it, in-process on a loopback
// port: every page and status, the way from the game's link through the confirmation to the
// board, the token, escaping, rate limits, moderation, and malformed and oversized requests.
#include "server/app/ScoreboardServer.h"
#include "server/store/ScoreStore.h"
#include "tests/server/RawHttp.h"

#include <QRegularExpression>
#include <QtTest>
#include <atomic>

namespace {

constexpr qint64 Minute = 60 * 1000;
const QByteArray Password = "correct horse battery";

/// The game's link for a time, with the check value it computes.
QByteArray gameLink(const QByteArray& encodedName, const QByteArray& subject, int seconds)
{
    const QByteArrayList codes { "add", "sub", "mul", "div", "rnd" };
    const int t = int(codes.indexOf(subject)) + 1; // 0 for a subject the game has not
    const int check = (seconds % 60) * 7 + (seconds / 60) * 13 + t * 29;
    return "/cgi-bin/submit.pl?name=" + encodedName + "&subj=" + subject
        + "&time=" + QByteArray::number(seconds / 60) + ':'
        + QByteArray::number(seconds % 60).rightJustified(2, '0')
        + "&date=9%2F12%2F2026&valid=" + QByteArray::number(check);
}

QByteArray basic(const QByteArray& password)
{
    return "Authorization: Basic " + ("moderator:" + password).toBase64() + "\r\n";
}

} // namespace

class SiteTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void servesTheMakersPages();
    void answersEveryOtherAddressPlainly_data();
    void answersEveryOtherAddressPlainly();
    void refusesABadLinkInAChildsWords_data();
    void refusesABadLinkInAChildsWords();
    void asksBeforeItPostsAndPostsOnce();
    void refusesTokensItDidNotIssue();
    void asksAgainWhenTheTokenIsOld();
    void showsHostileNamesAsText();
    void showsAnotherServersTimesWithinASecond();
    void slowsDownOneNameSendingMany();
    void letsModeratorsApproveHideAndDelete();
    void refusesMalformedAndOversizedRequests_data();
    void refusesMalformedAndOversizedRequests();
    void dropsAClientThatNeverFinishes();
    void keepsAConnectionForSeveralRequests();

private:
    void startServer(bool holdNewNames = false, HttpLimits limits = {});
    /// Follows the game's link to the confirmation page and presses its button.
    RawAnswer confirmAndPost(const QByteArray& link);
    QByteArray board(const QByteArray& query);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::shared_ptr<std::atomic<qint64>> m_now;
    std::shared_ptr<std::atomic<qint64>> m_steady;
    std::unique_ptr<ScoreboardServer> m_server;
    quint16 m_port = 0;
};

void SiteTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_now = std::make_shared<std::atomic<qint64>>(
        QDateTime(QDate(2026, 12, 9), QTime(10, 0), QTimeZone(0)).toMSecsSinceEpoch());
    m_steady = std::make_shared<std::atomic<qint64>>(0);
}

void SiteTest::cleanup()
{
    if (m_server) {
        m_server->stop();
    }
    m_server.reset();
}

void SiteTest::startServer(bool holdNewNames, HttpLimits limits)
{
    QFile password(m_folder->filePath(QStringLiteral("password")));
    QVERIFY(password.open(QIODevice::WriteOnly));
    password.write(Password + '\n');
    password.close();
    ServerConfig config;
    config.port = 0;
    config.dataFolder = m_folder->filePath(QStringLiteral("data"));
    config.adminPasswordFile = password.fileName();
    config.title = QStringLiteral("Room 4 <Scores>");
    config.contact = QStringLiteral("Mrs Ng & Mr Ode");
    config.zone = QTimeZone(0);
    config.moderation.holdNewNames = holdNewNames;
    config.threads = 2;
    auto now = m_now;
    auto steady = m_steady;
    auto created = ScoreboardServer::create(
        config, SiteClock { [now] { return now->load(); }, [steady] { return steady->load(); } },
        limits);
    if (const auto* wrong = std::get_if<QString>(&created)) {
        QFAIL(qPrintable(*wrong));
    }
    m_server = std::move(std::get<std::unique_ptr<ScoreboardServer>>(created));
    m_server->start();
    m_port = m_server->port();
}

RawAnswer SiteTest::confirmAndPost(const QByteArray& link)
{
    const RawAnswer confirmation = get(m_port, link);
    if (confirmation.status != 200) {
        return confirmation;
    }
    return post(m_port, captured(confirmation.body, "action=\"([^\"]+)\""),
                "token=" + captured(confirmation.body, "name=\"token\" value=\"([^\"]+)\""));
}

QByteArray SiteTest::board(const QByteArray& query)
{
    const RawAnswer answer = get(m_port, "/cgi-bin/toptimes.pl" + query);
    return answer.status == 200 ? answer.body : QByteArray();
}

void SiteTest::servesTheMakersPages()
{
    startServer();
    for (const QByteArray page : { "/", "/sumdash.htm", "/contact.htm" }) {
        const RawAnswer answer = get(m_port, page);
        QCOMPARE(answer.status, 200);
        QCOMPARE(answer.header("Content-Type"), "text/html; charset=utf-8");
        QVERIFY2(answer.body.contains("Room 4 &lt;Scores&gt;"), page);
    }
    QVERIFY(get(m_port, "/contact.htm").body.contains("Mrs Ng &amp; Mr Ode"));
    QCOMPARE(get(m_port, "/style.css").header("Content-Type"), "text/css; charset=utf-8");

    // The operator's own page takes the built-in one's place on the next start.
    m_server->stop();
    m_server.reset();
    QFile own(m_folder->filePath(QStringLiteral("data/pages/contact.htm")));
    QVERIFY(own.open(QIODevice::WriteOnly | QIODevice::Truncate));
    own.write("<p>Ask at the office: {{contact}}</p>");
    own.close();
    startServer();
    QCOMPARE(get(m_port, "/contact.htm").body, "<p>Ask at the office: Mrs Ng &amp; Mr Ode</p>");
}

void SiteTest::answersEveryOtherAddressPlainly_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("allow");
    QTest::newRow("no such page") << QByteArray("GET /cgi-bin/other.pl HTTP/1.1\r\n") << 404
                                  << QByteArray();
    QTest::newRow("a page posted to")
        << QByteArray("POST /sumdash.htm HTTP/1.1\r\nContent-Length: 0\r\n") << 405
        << QByteArray("GET");
    QTest::newRow("the board deleted")
        << QByteArray("DELETE /cgi-bin/toptimes.pl HTTP/1.1\r\n") << 405 << QByteArray("GET");
    QTest::newRow("a submission put")
        << QByteArray("PUT /cgi-bin/submit.pl HTTP/1.1\r\nContent-Length: 0\r\n") << 405
        << QByteArray("GET, POST");
    QTest::newRow("no such board")
        << QByteArray("GET /cgi-bin/toptimes.pl?subj=pow HTTP/1.1\r\n") << 400 << QByteArray();
    QTest::newRow("no such period")
        << QByteArray("GET /cgi-bin/toptimes.pl?period=year HTTP/1.1\r\n") << 400 << QByteArray();
}

void SiteTest::answersEveryOtherAddressPlainly()
{
    QFETCH(QByteArray, request);
    QFETCH(int, status);
    QFETCH(QByteArray, allow);
    startServer();
    const RawAnswer answer
        = exchange(m_port, request + "Host: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QCOMPARE(answer.status, status);
    QCOMPARE(answer.header("Allow"), allow);
    // Every answer, refusals included, forbids scripts and guessing at the content's type.
    QCOMPARE(answer.header("Content-Security-Policy"), "default-src 'none'; style-src 'self'");
    QCOMPARE(answer.header("X-Content-Type-Options"), "nosniff");
    QVERIFY(answer.header("Set-Cookie").isEmpty());
}

void SiteTest::refusesABadLinkInAChildsWords_data()
{
    QTest::addColumn<QByteArray>("link");
    QTest::addColumn<QString>("words");
    QTest::newRow("no time") << QByteArray("/cgi-bin/submit.pl?name=Ann&subj=mul&date=x&valid=1")
                             << QStringLiteral("time");
    QTest::newRow("over 3:00") << gameLink("Ann", "mul", 181) << QStringLiteral("3:00");
    QTest::newRow("typo in the check")
        << gameLink("Ann", "mul", 100).replace("valid=", "valid=9") << QStringLiteral("check");
    QTest::newRow("another subject") << gameLink("Ann", "pow", 100) << QStringLiteral("subject");
}

void SiteTest::refusesABadLinkInAChildsWords()
{
    QFETCH(QByteArray, link);
    QFETCH(QString, words);
    startServer();
    const RawAnswer answer = get(m_port, link);
    QCOMPARE(answer.status, 400);
    QVERIFY2(QString::fromUtf8(answer.body).contains(words, Qt::CaseInsensitive), answer.body);
    QVERIFY(!answer.body.contains("<form"));
}

void SiteTest::asksBeforeItPostsAndPostsOnce()
{
    startServer();
    const QByteArray link = gameLink("Ann", "mul", 167);
    // The link alone, as a link preview, a prefetcher or an <img> would fetch it, records nothing.
    const RawAnswer confirmation = get(m_port, link);
    QCOMPARE(confirmation.status, 200);
    QVERIFY(confirmation.body.contains("Post 2:47 in Multiplication as Ann?"));
    QCOMPARE(get(m_port, link).status, 200);
    QVERIFY(board("?subj=mul").contains("No times"));

    const QByteArray action = captured(confirmation.body, "action=\"([^\"]+)\"");
    const QByteArray token
        = "token=" + captured(confirmation.body, "name=\"token\" value=\"([^\"]+)\"");
    const RawAnswer posted = post(m_port, action, token);
    QCOMPARE(posted.status, 303);
    QVERIFY2(posted.header("Location").contains("mark="), posted.header("Location"));
    const QByteArray shown
        = board(posted.header("Location").mid(QByteArray("/cgi-bin/toptimes.pl").size()));
    QVERIFY(shown.contains("<tr class=\"mark\"><td>1</td><td>Ann"));
    QVERIFY(shown.contains("2:47"));

    // The button pressed twice, and the game's link followed again: one entry still.
    QCOMPARE(post(m_port, action, token).status, 303);
    QCOMPARE(confirmAndPost(link).status, 303);
    QCOMPARE(board("?subj=mul").count("<td>Ann"), 1);
}

void SiteTest::refusesTokensItDidNotIssue()
{
    startServer();
    const RawAnswer confirmation = get(m_port, gameLink("Ann", "mul", 167));
    const QByteArray token = captured(confirmation.body, "name=\"token\" value=\"([^\"]+)\"");
    // The token fits that submission alone: a faster time with it is refused.
    QCOMPARE(post(m_port, gameLink("Ann", "mul", 67), "token=" + token).status, 400);
    QByteArray forged = token;
    forged[forged.size() - 2] = forged.at(forged.size() - 2) == 'A' ? 'B' : 'A';
    QCOMPARE(post(m_port, gameLink("Ann", "mul", 167), "token=" + forged).status, 400);
    QCOMPARE(post(m_port, gameLink("Ann", "mul", 167), "token=").status, 400);
    QVERIFY(board("?subj=mul").contains("No times"));
}

void SiteTest::asksAgainWhenTheTokenIsOld()
{
    startServer();
    const QByteArray link = gameLink("Ann", "mul", 167);
    const RawAnswer confirmation = get(m_port, link);
    *m_now += 11 * Minute;
    const RawAnswer late
        = post(m_port, captured(confirmation.body, "action=\"([^\"]+)\""),
               "token=" + captured(confirmation.body, "name=\"token\" value=\"([^\"]+)\""));
    QCOMPARE(late.status, 200);
    QVERIFY(late.body.contains("once more"));
    QVERIFY(board("?subj=mul").contains("No times"));
    // The fresh page's button works.
    QCOMPARE(post(m_port, captured(late.body, "action=\"([^\"]+)\""),
                  "token=" + captured(late.body, "name=\"token\" value=\"([^\"]+)\""))
                 .status,
             303);
}

void SiteTest::showsHostileNamesAsText()
{
    startServer();
    const QString hostile = QStringLiteral("<script>\"'\u202E%1");
    const QByteArray link = gameLink(QUrl::toPercentEncoding(hostile), "add", 100);
    const RawAnswer confirmation = get(m_port, link);
    QCOMPARE(confirmation.status, 200);
    QCOMPARE(confirmAndPost(link).status, 303);
    for (const QByteArray& page : { confirmation.body, board("?subj=add") }) {
        QVERIFY(page.contains("&lt;script&gt;&quot;&#39;%1"));
        QVERIFY(!page.contains("<script"));
        QVERIFY(!page.contains(QStringLiteral("\u202E").toUtf8()));
    }
}

void SiteTest::showsAnotherServersTimesWithinASecond()
{
    startServer();
    QVERIFY(board("").contains("No times"));
    // Another server process on the same database records a time.
    {
        auto opened = ScoreStore::open(
            std::get<DatabaseAddress>(parseDatabaseUrl(
                "sqlite:" + m_folder->filePath(QStringLiteral("data/scores.sqlite")))),
            QStringLiteral("other server"));
        QVERIFY(std::holds_alternative<std::unique_ptr<ScoreStore>>(opened));
        const Submission bo { QStringLiteral("Bo"), Subject::Addition, 99, QString() };
        QCOMPARE(std::get<std::unique_ptr<ScoreStore>>(opened)
                     ->record(bo, m_now->load(),
                              { TokenVerdict::Valid, "other", m_now->load() + Minute }, {})
                     .outcome,
                 Recorded::Outcome::Added);
    }
    *m_steady += 999;
    QVERIFY(!board("").contains("<td>Bo</td>"));
    *m_steady += 1;
    QVERIFY(board("").contains("<td>Bo</td>"));
}

void SiteTest::slowsDownOneNameSendingMany()
{
    startServer();
    for (int seconds = 100; seconds < 105; ++seconds) {
        QCOMPARE(confirmAndPost(gameLink("Ann", "add", seconds)).status, 303);
    }
    const RawAnswer sixth = confirmAndPost(gameLink("Ann", "add", 105));
    QCOMPARE(sixth.status, 429);
    QCOMPARE(sixth.header("Retry-After"), "60");
    QCOMPARE(confirmAndPost(gameLink("Bo", "add", 105)).status, 303);
    *m_steady += Minute;
    QCOMPARE(confirmAndPost(gameLink("Ann", "add", 105)).status, 303);
}

void SiteTest::letsModeratorsApproveHideAndDelete()
{
    startServer(true);
    const RawAnswer held = confirmAndPost(gameLink("Ann", "div", 120));
    QCOMPARE(held.status, 200);
    QVERIFY(held.body.contains("grown-up"));
    QVERIFY(board("?subj=div").contains("No times"));

    const RawAnswer anonymous = get(m_port, "/admin");
    QCOMPARE(anonymous.status, 401);
    QVERIFY(anonymous.header("WWW-Authenticate").startsWith("Basic "));
    QCOMPARE(get(m_port, "/admin", basic("wrong password")).status, 401);
    const RawAnswer admin = get(m_port, "/admin", basic(Password));
    QCOMPARE(admin.status, 200);
    QVERIFY(admin.body.contains("<td>Ann</td>"));
    const QByteArray id = captured(admin.body, "name=\"id\" value=\"(\\d+)\"");
    const QByteArray token = captured(admin.body, "name=\"token\" value=\"([^\"]+)\"");

    // A form posted from another site carries no token of ours.
    QCOMPARE(post(m_port, "/admin", "id=" + id + "&action=approve", basic(Password)).status, 400);
    QVERIFY(board("?subj=div").contains("No times"));
    const auto act = [&](const QByteArray& action) {
        return post(m_port, "/admin", "id=" + id + "&action=" + action + "&token=" + token,
                    basic(Password));
    };
    QCOMPARE(act("approve").header("Location"), "/admin?done=1");
    QVERIFY(board("?subj=div").contains("<td>Ann</td>"));
    // Her name is approved now: her next time shows at once.
    QCOMPARE(confirmAndPost(gameLink("Ann", "div", 110)).status, 303);
    QCOMPARE(act("hide").status, 303);
    QVERIFY(board("?subj=div").contains("1:50"));
    QVERIFY(!board("?subj=div").contains("2:00"));
    QCOMPARE(act("delete").header("Location"), "/admin?done=1");
    QCOMPARE(act("delete").header("Location"), "/admin?done=0");
    QCOMPARE(post(m_port, "/admin", "id=" + id + "&action=approve&token=" + token).status, 401);
}

void SiteTest::refusesMalformedAndOversizedRequests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status");
    QTest::newRow("no request line") << QByteArray("\x01\x02 nonsense\r\n\r\n") << 400;
    QTest::newRow("bad version") << QByteArray("GET / HTTP/9\r\n\r\n") << 400;
    QTest::newRow("header without a colon") << QByteArray("GET / HTTP/1.1\r\nHost\r\n\r\n") << 400;
    QTest::newRow("long request line") << "GET /" + QByteArray(9000, 'a') + " HTTP/1.1\r\n\r\n"
                                       << 431;
    QTest::newRow("long header") << "GET / HTTP/1.1\r\nX-Pad: " + QByteArray(9000, 'a') + "\r\n\r\n"
                                 << 431;
    QTest::newRow("body over 1 KiB")
        << "POST /cgi-bin/submit.pl HTTP/1.1\r\nContent-Length: 1025\r\n\r\n"
            + QByteArray(1025, 'a')
        << 413;
    QTest::newRow("chunked body over 1 KiB")
        << "POST /cgi-bin/submit.pl HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n401\r\n"
            + QByteArray(1025, 'a') + "\r\n0\r\n\r\n"
        << 413;
    QTest::newRow("two lengths") << QByteArray(
        "POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab")
                                 << 400;
}

void SiteTest::refusesMalformedAndOversizedRequests()
{
    QFETCH(QByteArray, request);
    QFETCH(int, status);
    startServer();
    QCOMPARE(exchange(m_port, request).status, status);
    // And the server goes on serving.
    QCOMPARE(get(m_port, "/").status, 200);
}

void SiteTest::dropsAClientThatNeverFinishes()
{
    HttpLimits limits;
    limits.requestTime = std::chrono::milliseconds(300);
    startServer(false, limits);
    QTcpSocket slow;
    slow.connectToHost(QStringLiteral("127.0.0.1"), m_port);
    QVERIFY(slow.waitForConnected(10000));
    slow.write("GET / HTTP/1.1\r\nX-Slow: 1\r\n");
    QVERIFY(slow.waitForBytesWritten(10000));
    // The server closes it; generous, so a loaded machine does not fail the test.
    QVERIFY(slow.state() == QAbstractSocket::UnconnectedState || slow.waitForDisconnected(20000));
    QCOMPARE(get(m_port, "/").status, 200);
}

void SiteTest::keepsAConnectionForSeveralRequests()
{
    startServer();
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
    QVERIFY(socket.waitForConnected(10000));
    socket.write("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    const RawAnswer first = readAnswer(socket);
    QCOMPARE(first.status, 200);
    QVERIFY(first.body.contains("<html"));
    socket.write("GET /style.css HTTP/1.1\r\nHost: x\r\n\r\n");
    const RawAnswer second = readAnswer(socket);
    QCOMPARE(second.status, 200);
    QCOMPARE(second.header("Content-Type"), "text/css; charset=utf-8");
}

QTEST_GUILESS_MAIN(SiteTest)
#include "SiteTest.moc"
