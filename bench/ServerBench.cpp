// The scoreboard server's figures, each beside nginx on this machine in the same run:
// submissions recorded per second through the POST path on SQLite and on PostgreSQL, the board
// page's latency with 10,000 entries, and how it stands up to slow and oversized requests, bare
// and behind the shipped nginx site.
// server_bench SERVER-PROGRAM POST-SCRIPT NGINX-SITE
#include "bench/SummaryTable.h"
#include "server/core/ConfirmQuestion.h"
#include "server/core/ConfirmToken.h"
#include "server/store/ScoreStore.h"
#include "testing/server/ServerProcess.h"
#include "testing/server/TemporaryPostgres.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <csignal>
#include <cstdio>

namespace {

constexpr int LoadSeconds = 10;
const QByteArray Password = "bench password";

QString server; ///< the sumdash-server program
QString postScript; ///< wrk's script for the POST path
QString nginxSite; ///< the shipped nginx site
QTemporaryDir* folder = nullptr;

void say(const QString& text)
{
    std::printf("%s\n", qUtf8Printable(text));
    std::fflush(stdout);
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

/// Starts sumdash-server and returns its port, 0 when it did not come up.
quint16 startServer(QProcess& process, const QString& database, const QString& data)
{
    return startServerProcess(process, server,
                              { "--listen", "127.0.0.1:0", "--database", database, "--data", data,
                                "--admin-password-file", folder->filePath("password"),
                                "--trusted-proxy", "127.0.0.1" });
}

void stop(QProcess& process)
{
    if (process.state() != QProcess::NotRunning) {
        ::kill(pid_t(process.processId()), SIGTERM);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
        }
    }
}

qint64 statusKiB(qint64 pid, const char* key)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return 0;
}

struct Load
{
    double perSecond = 0;
    double seconds = 0;
    double medianMs = 0;
    double p99Ms = 0;
    bool ran = false;
};

double milliseconds(const QString& value, const QString& unit)
{
    const double number = value.toDouble();
    return unit == QLatin1String("us") ? number / 1000
        : unit == QLatin1String("s")   ? number * 1000
                                       : number;
}

/// wrk with two threads and 16 connections for LoadSeconds, its figures read off its report.
Load wrk(const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(
        QStringLiteral("wrk"),
        QStringList { "-t2", "-c16", "--latency", QStringLiteral("-d%1s").arg(LoadSeconds) }
            + arguments);
    Load load;
    if (!process.waitForFinished((LoadSeconds + 60) * 1000)) {
        process.kill();
        return load;
    }
    const QString report = QString::fromUtf8(process.readAll());
    const auto find = [&](const char* pattern) {
        return QRegularExpression(QString::fromLatin1(pattern)).match(report);
    };
    const auto rate = find("Requests/sec:\\s+([0-9.]+)");
    const auto took = find("requests in ([0-9.]+)(ms|s|m)");
    const auto median = find("\\s50%\\s+([0-9.]+)(us|ms|s)");
    const auto p99 = find("\\s99%\\s+([0-9.]+)(us|ms|s)");
    if (!rate.hasMatch()) {
        say(QStringLiteral("wrk said: ") + report);
        return load;
    }
    load.ran = true;
    load.perSecond = rate.captured(1).toDouble();
    load.seconds = took.captured(1).toDouble()
        * (took.captured(2) == "m"        ? 60
               : took.captured(2) == "ms" ? 0.001
                                          : 1);
    load.medianMs = milliseconds(median.captured(1), median.captured(2));
    load.p99Ms = milliseconds(p99.captured(1), p99.captured(2));
    return load;
}

/// nginx serving folder www on a port of its own (0 when it did not start), with the shipped
/// site in front of a sumdash-server on backendPort when one is given.
class Nginx
{
public:
    Nginx(const QString& www, quint16 backendPort)
        : m_home(QDir(folder->path()).filePath(QStringLiteral("nginx-%1").arg(backendPort)))
    {
        QDir().mkpath(m_home + "/tmp");
        port = freePort();
        QString site;
        if (backendPort != 0) {
            QFile shipped(nginxSite);
            if (!shipped.open(QIODevice::ReadOnly)) {
                return;
            }
            site = QString::fromUtf8(shipped.readAll());
            // The shipped site, moved to this run's ports.
            site.replace(QRegularExpression(QStringLiteral("\\n\\s*listen\\s+\\[::\\][^;]*;")),
                         QString());
            site.replace(QRegularExpression(QStringLiteral("\\n(\\s*)listen\\s+80;")),
                         QStringLiteral("\n\\1listen 127.0.0.1:%1;").arg(port));
            site.replace(QStringLiteral("127.0.0.1:8080"),
                         QStringLiteral("127.0.0.1:%1").arg(backendPort));
        } else {
            site = QStringLiteral("server { listen 127.0.0.1:%1; root %2; }").arg(port).arg(www);
        }
        QFile config(m_home + "/nginx.conf");
        config.open(QIODevice::WriteOnly);
        config.write(
            QStringLiteral(
                "worker_processes 2;\ndaemon off;\npid %1/nginx.pid;\nerror_log %1/error.log;\n"
                "%2events { worker_connections 1024; }\nhttp {\n access_log off;\n"
                " client_body_temp_path %1/tmp; proxy_temp_path %1/tmp;\n"
                " fastcgi_temp_path %1/tmp; uwsgi_temp_path %1/tmp; scgi_temp_path %1/tmp;\n"
                " default_type text/html;\n%3\n}\n")
                .arg(m_home, geteuid() == 0 ? QStringLiteral("user root;\n") : QString(), site)
                .toUtf8());
        config.close();
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(
            QStringLiteral("/usr/sbin/nginx"),
            { "-p", m_home, "-c", m_home + "/nginx.conf", "-e", m_home + "/error.log" });
        for (int attempt = 0; attempt < 100; ++attempt) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            if (probe.waitForConnected(100)) {
                return;
            }
            if (m_process.state() == QProcess::NotRunning) {
                break;
            }
            QThread::msleep(50);
        }
        port = 0;
    }
    ~Nginx() { stop(m_process); }
    quint16 port = 0;

private:
    QString m_home;
    QProcess m_process;
};

/// The confirmations a child's browser would post, count of them, for the server on database.
QString prepareSubmissions(const QString& database, int count)
{
    const auto address = parseDatabaseUrl(database);
    auto opened
        = ScoreStore::open(std::get<DatabaseAddress>(address), QStringLiteral("bench-mint"));
    auto& store = *std::get<std::unique_ptr<ScoreStore>>(opened);
    const QByteArray secret
        = QByteArray::fromBase64(store.value(QStringLiteral("confirm-secret"))->toLatin1());
    const QString path = folder->filePath(QStringLiteral("submissions.tsv"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int number = 0; number < count; ++number) {
        const Submission submission { QStringLiteral("Bench %1").arg(number),
                                      static_cast<Subject>(1 + number % 5), 60 + number % 120,
                                      QStringLiteral("9/12/2026") };
        const int check = submissionCheckValue(submission.seconds / 60, submission.seconds % 60,
                                               submission.subject);
        const QByteArray target = "/cgi-bin/submit.pl?name=Bench%20" + QByteArray::number(number)
            + "&subj=" + subjectCode(submission.subject).toLatin1()
            + "&time=" + QUrl::toPercentEncoding(submittedTimeText(submission.seconds))
            + "&date=9%2F12%2F2026&valid=" + QByteArray::number(check);
        const QByteArray token = confirmToken(secret, submission, now, newConfirmNonce());
        // Every child from an address of its own, as behind a school's proxy.
        file.write(target + "\ttoken=" + token + "\t10." + QByteArray::number(number >> 16 & 255)
                   + '.' + QByteArray::number(number >> 8 & 255) + '.'
                   + QByteArray::number(number & 255) + '\n');
    }
    return path;
}

qint64 recordedEntries(const QString& database)
{
    const auto address = parseDatabaseUrl(database);
    auto opened
        = ScoreStore::open(std::get<DatabaseAddress>(address), QStringLiteral("bench-count"));
    QSqlQuery query(QSqlDatabase::database(QStringLiteral("bench-count")));
    query.exec(QStringLiteral("SELECT COUNT(*) FROM entries"));
    return query.next() ? query.value(0).toLongLong() : -1;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

QByteArray fetch(quint16 port, const QByteArray& target)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.waitForConnected(5000);
    socket.write("GET " + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    QByteArray answer;
    while (socket.waitForReadyRead(10000)) {
        answer += socket.readAll();
    }
    return answer.mid(answer.indexOf("\r\n\r\n") + 4);
}

/// Submissions per second through the POST path on database, beside nginx's static answer of the
/// same size.
void submissions(const QString& name, const QString& database, int order, double nginxRate)
{
    QProcess process;
    const quint16 port = startServer(process, database, folder->filePath("data-" + name));
    if (port == 0) {
        return;
    }
    const QString tsv = prepareSubmissions(database, 150000);
    const qint64 before = recordedEntries(database);
    const Load load = wrk(
        { "-s", postScript, QStringLiteral("http://127.0.0.1:%1").arg(port), "--", tsv, "2" });
    const qint64 recorded = recordedEntries(database) - before;
    stop(process);
    const double perSecond = load.seconds > 0 ? double(recorded) / load.seconds : 0;
    say(QStringLiteral("%1: %2 submissions recorded in %3 s (%4 answers/s)")
            .arg(name)
            .arg(recorded)
            .arg(load.seconds)
            .arg(load.perSecond, 0, 'f', 0));
    bench::printSummaryRow(
        order,
        QStringLiteral("Submissions recorded per second through the POST path, %1 "
                       "(nginx: a static answer of the same size)")
            .arg(name),
        QString::number(perSecond, 'f', 0), QString::number(nginxRate, 'f', 0),
        bench::ratioText(perSecond, nginxRate), QStringLiteral("at least 0.33×"));
}

/// Whether a probe request is answered while 100 clients each send one header line every 2 s.
double probeUnderSlowClients(quint16 port)
{
    std::vector<std::unique_ptr<QTcpSocket>> slow;
    for (int client = 0; client < 100; ++client) {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, port);
        socket->waitForConnected(5000);
        socket->write("GET / HTTP/1.1\r\nHost: x\r\n");
        socket->flush();
        slow.push_back(std::move(socket));
    }
    double worst = 0;
    QElapsedTimer clock;
    clock.start();
    int line = 0;
    while (clock.elapsed() < 8000) {
        if (clock.elapsed() >= line * 2000) {
            for (auto& socket : slow) {
                socket->write(QByteArray("X-Slow-") + QByteArray::number(line) + ": 1\r\n");
                socket->flush();
            }
            ++line;
        }
        if (clock.elapsed() > 3000) {
            QElapsedTimer probe;
            probe.start();
            const QByteArray answer = fetch(port, "/");
            worst = std::max(worst, answer.isEmpty() ? 1e9 : double(probe.nsecsElapsed()) / 1e6);
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        QThread::msleep(200);
    }
    return worst;
}

struct HugeLine
{
    double grewMiB = 0;
    QByteArray status;
};

/// A request line of 200 MiB without a newline, and how much the process grew meanwhile.
HugeLine hugeLine(quint16 port, qint64 pid)
{
    const qint64 before = pid ? statusKiB(pid, "VmRSS:") : 0;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.waitForConnected(5000);
    socket.write("GET /");
    const QByteArray chunk(64 * 1024, 'a');
    qint64 peak = before;
    qint64 sent = 0;
    for (; sent < 200LL * 1024 * 1024 && socket.state() == QAbstractSocket::ConnectedState;
         sent += chunk.size()) {
        socket.write(chunk);
        socket.waitForBytesWritten(2000);
        if (pid && (sent / chunk.size()) % 64 == 0) {
            peak = std::max(peak, statusKiB(pid, "VmRSS:"));
        }
    }
    HugeLine result;
    if (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(2000)) {
        result.status = socket.readAll().split('\r').value(0);
    }
    if (result.status.isEmpty()) {
        // The server answered 431 and closed while the rest was still coming; the client's
        // kernel, still sending, drops the answer with the connection.
        result.status = "closed after " + QByteArray::number(sent / (1024 * 1024)) + " MiB";
    }
    if (pid) {
        peak = std::max(peak, statusKiB(pid, "VmRSS:"));
        result.grewMiB = double(peak - before) / 1024.0;
    }
    return result;
}

QByteArray bigBody(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.waitForConnected(5000);
    socket.write("POST /cgi-bin/submit.pl HTTP/1.1\r\nHost: x\r\nContent-Length: 2048\r\n\r\n"
                 + QByteArray(2048, 'a'));
    socket.waitForReadyRead(5000);
    return socket.readAll().split('\r').value(0);
}

/// How many of 60 posts in quick succession from one address nginx answers 429: the shipped
/// site lets a whole class behind one address post at once (a burst of 40), then slows them.
int tooManyRequests(quint16 port)
{
    QMap<QByteArray, int> answers;
    for (int attempt = 0; attempt < 60; ++attempt) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.waitForConnected(5000);
        socket.write("POST /cgi-bin/submit.pl?x HTTP/1.1\r\nHost: x\r\nContent-Length: "
                     "7\r\nConnection: close\r\n\r\ntoken=x");
        socket.waitForReadyRead(5000);
        ++answers[socket.readAll().split('\r').value(0)];
    }
    for (auto answer = answers.cbegin(); answer != answers.cend(); ++answer) {
        say(QStringLiteral("  %1 x %2").arg(answer.value()).arg(QString::fromLatin1(answer.key())));
    }
    return answers.value("HTTP/1.1 429 Too Many Requests");
}

void robustness(const QString& database)
{
    QProcess process;
    const quint16 port = startServer(process, database, folder->filePath("data-robust"));
    if (port == 0) {
        return;
    }
    const qint64 pid = process.processId();
    const double probe = probeUnderSlowClients(port);
    const HugeLine huge = hugeLine(port, pid);
    const QByteArray body = bigBody(port);
    say(QStringLiteral("Bare: probe %1 ms beside 100 slow clients; 200 MiB line: %2, grew %3 MiB; "
                       "2 KiB body: %4")
            .arg(probe, 0, 'f', 1)
            .arg(QString::fromLatin1(huge.status))
            .arg(huge.grewMiB, 0, 'f', 1)
            .arg(QString::fromLatin1(body)));
    bench::printSummaryRow(104,
                           QStringLiteral("Probe answered beside 100 slow clients (one header line "
                                          "every 2 s), no proxy, ms"),
                           QString::number(probe, 'f', 1), QStringLiteral("—"), QStringLiteral("—"),
                           QStringLiteral("under 100 ms"));
    bench::printSummaryRow(105,
                           QStringLiteral("Growth of the process under a 200 MiB request line "
                                          "without a newline, no proxy, MiB (answer)"),
                           QStringLiteral("%1 (%2)")
                               .arg(huge.grewMiB, 0, 'f', 1)
                               .arg(QString::fromLatin1(huge.status)),
                           QStringLiteral("—"), QStringLiteral("—"),
                           QStringLiteral("under 16 MiB"));
    bench::printSummaryRow(106, QStringLiteral("A 2 KiB request body, no proxy"),
                           QString::fromLatin1(body), QStringLiteral("—"), QStringLiteral("—"),
                           QStringLiteral("refused"));

    Nginx front(QString(), port);
    if (front.port == 0) {
        say(QStringLiteral("The shipped nginx site did not start: ") + nginxSite);
    } else {
        const double behind = probeUnderSlowClients(front.port);
        const HugeLine line = hugeLine(front.port, 0);
        const int refused = tooManyRequests(front.port);
        say(QStringLiteral(
                "Behind nginx: probe %1 ms; 200 MiB line: %2; 429 for %3 of 60 quick posts")
                .arg(behind, 0, 'f', 1)
                .arg(QString::fromLatin1(line.status))
                .arg(refused));
        bench::printSummaryRow(
            107,
            QStringLiteral("Behind the shipped nginx site: probe beside 100 slow "
                           "clients, ms; a 200 MiB line"),
            QStringLiteral("%1; %2").arg(behind, 0, 'f', 1).arg(QString::fromLatin1(line.status)),
            QStringLiteral("—"), QStringLiteral("—"), QStringLiteral("under 100 ms; refused"));
        bench::printSummaryRow(
            108,
            QStringLiteral("Behind the shipped nginx site: of 60 quick posts from one address, "
                           "answered 429 (the site lets a burst of 40 through: a class behind one "
                           "address)"),
            QString::number(refused), QStringLiteral("—"), QStringLiteral("—"),
            QStringLiteral("those after the burst"));
    }
    stop(process);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 4) {
        std::fputs("server_bench SERVER-PROGRAM POST-SCRIPT NGINX-SITE\n", stderr);
        return 2;
    }
    server = arguments.at(1);
    postScript = arguments.at(2);
    nginxSite = arguments.at(3);
    QTemporaryDir temporary;
    folder = &temporary;
    // nginx's workers read the static pages as another user.
    QFile::setPermissions(temporary.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                              | QFile::ExeOther);
    writeFile(temporary.filePath("password"), Password + '\n');

    // The reference: nginx with static pages the size of each answer measured.
    const QString sqlite = "sqlite:" + temporary.filePath("board.sqlite");
    QProcess boardServer;
    const quint16 boardPort = startServer(boardServer, sqlite, temporary.filePath("data-board"));
    if (boardPort == 0) {
        return 1;
    }
    {
        // 10,000 entries over the last 30 days, as a busy district's board.
        auto opened
            = ScoreStore::open(std::get<DatabaseAddress>(parseDatabaseUrl(sqlite)), "bench-seed");
        auto& store = *std::get<std::unique_ptr<ScoreStore>>(opened);
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (int number = 0; number < 10000; ++number) {
            const Submission submission { QStringLiteral("Child %1").arg(number),
                                          static_cast<Subject>(1 + number % 5), 60 + number % 120,
                                          QStringLiteral("9/12/2026") };
            store.record(submission, now - qint64(number) * 259,
                         { TokenVerdict::Valid, QByteArray::number(number), now + 600000 }, {});
        }
    }
    const QByteArray boardPage = fetch(boardPort, "/cgi-bin/toptimes.pl");
    const QString www = temporary.filePath("www");
    QDir().mkpath(www);
    QFile::setPermissions(www,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                              | QFile::ExeOther);
    writeFile(www + "/board.html", boardPage);
    writeFile(www + "/posted.html", QByteArray(60, 'x'));
    Nginx reference(www, 0);
    if (reference.port == 0) {
        say(QStringLiteral("nginx did not start; the figures have no reference."));
    }
    const Load board
        = wrk({ QStringLiteral("http://127.0.0.1:%1/cgi-bin/toptimes.pl").arg(boardPort) });
    stop(boardServer);
    const Load staticBoard
        = wrk({ QStringLiteral("http://127.0.0.1:%1/board.html").arg(reference.port) });
    const Load staticPosted
        = wrk({ QStringLiteral("http://127.0.0.1:%1/posted.html").arg(reference.port) });
    say(QStringLiteral(
            "Board page (%1 bytes, 10,000 entries): %2/s, median %3 ms, p99 %4 ms; nginx: "
            "%5/s, median %6 ms, p99 %7 ms")
            .arg(boardPage.size())
            .arg(board.perSecond, 0, 'f', 0)
            .arg(board.medianMs)
            .arg(board.p99Ms)
            .arg(staticBoard.perSecond, 0, 'f', 0)
            .arg(staticBoard.medianMs)
            .arg(staticBoard.p99Ms));

    submissions(QStringLiteral("SQLite"), "sqlite:" + temporary.filePath("posts.sqlite"), 100,
                staticPosted.perSecond);
    {
        TemporaryPostgres postgres;
        if (postgres.running()) {
            submissions(QStringLiteral("PostgreSQL"), postgres.databaseUrl(), 101,
                        staticPosted.perSecond);
        } else {
            say(QStringLiteral("No PostgreSQL: ") + postgres.failure());
        }
    }
    bench::printSummaryRow(
        102,
        QStringLiteral("Board page with 10,000 entries, median ms (nginx: the same "
                       "page as a static file)"),
        QString::number(board.medianMs, 'f', 2), QString::number(staticBoard.medianMs, 'f', 2),
        bench::ratioText(board.medianMs, staticBoard.medianMs), QStringLiteral("—"));
    bench::printSummaryRow(103,
                           QStringLiteral("Board page with 10,000 entries, p99 ms (nginx: the same "
                                          "page as a static file)"),
                           QString::number(board.p99Ms, 'f', 2),
                           QString::number(staticBoard.p99Ms, 'f', 2),
                           bench::ratioText(board.p99Ms, staticBoard.p99Ms), QStringLiteral("—"));
    robustness("sqlite:" + temporary.filePath("robust.sqlite"));
    return 0;
}
