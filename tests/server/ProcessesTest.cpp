// Guards the server as operators run it: two sumdash-server processes on one PostgreSQL database
// see each other's times, share one secret and one record of used confirmations, and stop
// cleanly when told to.
#include "testing/server/ServerProcess.h"
#include "testing/server/TemporaryPostgres.h"
#include "tests/server/RawHttp.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <csignal>

namespace {

const QByteArray AnnsLink = "/cgi-bin/submit.pl?name=Ann&subj=mul&time=2:47&date=x&valid=442";

} // namespace

class ProcessesTest : public QObject
{
    Q_OBJECT

private slots:
    void twoServersShareOneDatabase();
};

void ProcessesTest::twoServersShareOneDatabase()
{
    TemporaryPostgres postgres;
    QVERIFY2(postgres.running(), qPrintable(postgres.failure()));
    const QString database = postgres.databaseUrl();
    QTemporaryDir folder;
    QFile password(folder.filePath(QStringLiteral("password")));
    QVERIFY(password.open(QIODevice::WriteOnly));
    password.write("correct horse battery\n");
    password.close();

    QProcess first;
    QProcess second;
    const auto arguments = [&](const char* data) {
        return QStringList { "--listen",
                             "127.0.0.1:0",
                             "--database",
                             database,
                             "--data",
                             folder.filePath(QString::fromLatin1(data)),
                             "--admin-password-file",
                             password.fileName() };
    };
    const quint16 firstPort
        = startServerProcess(first, QStringLiteral(SUMDASH_SERVER_PROGRAM), arguments("first"));
    const quint16 secondPort
        = startServerProcess(second, QStringLiteral(SUMDASH_SERVER_PROGRAM), arguments("second"));
    QVERIFY(firstPort != 0);
    QVERIFY(secondPort != 0);

    // The confirmation one server showed is good on the other: they share the secret.
    const RawAnswer confirmation = get(firstPort, AnnsLink);
    QCOMPARE(confirmation.status, 200);
    const QByteArray action = captured(confirmation.body, "action=\"([^\"]+)\"");
    const QByteArray token
        = "token=" + captured(confirmation.body, "name=\"token\" value=\"([^\"]+)\"");
    const RawAnswer posted = post(secondPort, action, token);
    QCOMPARE(posted.status, 303);
    QVERIFY(posted.header("Location").contains("mark="));
    QVERIFY(get(firstPort, "/cgi-bin/toptimes.pl?subj=mul").body.contains("<td>Ann</td>"));

    // Used on one, used on both: pressing it again on the first records nothing more.
    const RawAnswer again = post(firstPort, action, token);
    QCOMPARE(again.status, 303);
    QVERIFY(!again.header("Location").contains("mark="));
    QCOMPARE(get(secondPort, "/cgi-bin/toptimes.pl?subj=mul").body.count("<td>Ann</td>"), 1);

    for (QProcess* server : { &first, &second }) {
        ::kill(pid_t(server->processId()), SIGTERM);
        QVERIFY(server->waitForFinished(30000));
        QCOMPARE(server->exitStatus(), QProcess::NormalExit);
        QCOMPARE(server->exitCode(), 0);
    }
}

QTEST_GUILESS_MAIN(ProcessesTest)
#include "ProcessesTest.moc"
