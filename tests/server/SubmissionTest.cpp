// Guards how a submission's query is read (split and decoded once, strictly) and which
// submissions pass, with their name and date cleaned for the boards.
#include "server/core/Submission.h"

#include "server/core/PlayerText.h"

#include <QtTest>

Q_DECLARE_METATYPE(RefusalKind)

namespace {

QByteArray query(const QString& name, const char* subj = "mul", const char* time = "2:47",
                 const char* valid = "442", const QString& date = "7/12/2026")
{
    // Encoded as the game encodes them.
    return "name=" + QUrl::toPercentEncoding(name) + "&subj=" + subj
        + "&time=" + QUrl::toPercentEncoding(time) + "&date=" + QUrl::toPercentEncoding(date)
        + "&valid=" + valid;
}

const QByteArray Ann = query("Ann");
const QString Family = QString::fromUtf8("👨\u200D👩\u200D👧\u200D👦"); // one character

} // namespace

class SubmissionTest : public QObject
{
    Q_OBJECT

private slots:
    void accepts_data();
    void accepts();
    void refuses_data();
    void refuses();
    void cleansPlayerText();
};

void SubmissionTest::accepts_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("name"); // empty: anonymous
    QTest::addColumn<int>("seconds");

    QTest::newRow("the README's example") << Ann << "Ann" << 167;
    QTest::newRow("decoded once") << query("%41") << "%41" << 167;
    QTest::newRow("plus is a plus") << "name=Ann+Lee" + Ann.mid(8) << "Ann+Lee" << 167;
    QTest::newRow("other keys, any order, at the length limit")
        << (QByteArray("&&x=%ZZ&") + Ann.mid(9) + "&name=Bo&pad=")
               .leftJustified(MaxSubmitQueryBytes, 'a')
        << "Bo" << 167;
    QTest::newRow("three minutes") << query("Bo", "div", "3:00", "155") << "Bo" << 180;
    QTest::newRow("the default name") << query("Your Name") << "" << 167;
    QTest::newRow("a blank name") << query(" ") << "" << 167;
    QTest::newRow("hidden characters do not count")
        << query(QString::fromUtf8("a\u200B").repeated(20)) << QString(20, QLatin1Char('a')) << 167;
    QTest::newRow("twenty emoji") << query(Family.repeated(20)) << Family.repeated(20) << 167;
    QTest::newRow("date turned round")
        << query("Ann", "mul", "2:47", "442", "\u202E7/12/2026 ") << "Ann" << 167;
}

void SubmissionTest::accepts()
{
    QFETCH(QByteArray, sent);
    QFETCH(QString, name);
    QFETCH(int, seconds);
    const auto read = submissionFromQuery(sent);
    QVERIFY(std::holds_alternative<Submission>(read));
    const auto& submission = std::get<Submission>(read);
    QCOMPARE(submission.name, name);
    QCOMPARE(submission.seconds, seconds);
    QCOMPARE(submission.date, "7/12/2026");

    // The confirmation's form posts to the submission encoded anew, which must read back the same.
    const auto again = submissionFromQuery(submitQuery(submission));
    QVERIFY(std::holds_alternative<Submission>(again));
    QCOMPARE(std::get<Submission>(again).name, submission.name);
    QCOMPARE(std::get<Submission>(again).subject, submission.subject);
    QCOMPARE(std::get<Submission>(again).seconds, submission.seconds);
    QCOMPARE(std::get<Submission>(again).date, submission.date);
}

void SubmissionTest::refuses_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<RefusalKind>("kind");

    QTest::newRow("a byte too long")
        << (Ann + "&x=").leftJustified(MaxSubmitQueryBytes + 1, 'a') << RefusalKind::QueryTooLong;
    QTest::newRow("escape cut short") << Ann + "%4" << RefusalKind::BadEscape;
    QTest::newRow("Latin-1") << "name=Zo%EB" + Ann.mid(8) << RefusalKind::BadText;
    QTest::newRow("overlong UTF-8") << "name=%C0%AF" + Ann.mid(8) << RefusalKind::BadText;
    QTest::newRow("encoded surrogate") << "name=%ED%A0%80" + Ann.mid(8) << RefusalKind::BadText;
    QTest::newRow("key twice") << Ann + "&time=0%3A01" << RefusalKind::RepeatedKey;
    QTest::newRow("no check") << Ann.left(Ann.indexOf("&valid")) << RefusalKind::MissingKey;
    QTest::newRow("key in capitals")
        << QByteArray(Ann).replace("subj", "SUBJ") << RefusalKind::MissingKey;
    QTest::newRow("subject in capitals") << query("Ann", "MUL") << RefusalKind::UnknownSubject;
    QTest::newRow("a second over") << query("Ann", "add", "3:01", "65") << RefusalKind::BadTime;
    QTest::newRow("leading zero") << query("Ann", "mul", "02:47") << RefusalKind::BadTime;
    QTest::newRow("sixty seconds") << query("Ann", "add", "0:60", "449") << RefusalKind::BadTime;
    QTest::newRow("check off by one")
        << query("Ann", "mul", "2:47", "443") << RefusalKind::CheckMismatch;
    QTest::newRow("check of another subject") << query("Ann", "add") << RefusalKind::CheckMismatch;
    QTest::newRow("21 letters") << query(QString(21, QLatin1Char('a'))) << RefusalKind::NameTooLong;
    QTest::newRow("21 emoji") << query(Family.repeated(21)) << RefusalKind::NameTooLong;
    QTest::newRow("33-letter date")
        << query("Ann", "mul", "2:47", "442", QString(33, QLatin1Char('x')))
        << RefusalKind::DateTooLong;
}

void SubmissionTest::refuses()
{
    QFETCH(QByteArray, sent);
    QFETCH(RefusalKind, kind);
    const auto read = submissionFromQuery(sent);
    QVERIFY(std::holds_alternative<SubmitRefusal>(read));
    const SubmitRefusal refusal = std::get<SubmitRefusal>(read);
    QCOMPARE(refusal.kind, kind);
    if (kind == RefusalKind::BadTime) {
        QCOMPARE(refusal.message(), "That time does not look right: times go from 0:00 to 3:00.");
    }
    if (kind == RefusalKind::MissingKey) { // in a child's words, not the query's
        QVERIFY(!refusal.message().contains(QRegularExpression("\\b(subj|valid)\\b")));
    }
}

void SubmissionTest::cleansPlayerText()
{
    QCOMPARE(cleanedPlayerText("Zoe\u0308"), "Zo\u00EB");
    QCOMPARE(cleanedPlayerText("Zoe\u200B\u0308"),
             "Zo\u00EB"); // an accent behind a zero-width space
    QCOMPARE(cleanedPlayerText(
                 "\u202EA\u202A\u202B\u202C\u202D\u2066\u2067\u2068\u2069\u200E\u200F\u061Cb"),
             "Ab");
    QCOMPARE(cleanedPlayerText("A\u200B\u200C\u200D\u2060\uFEFFb"), "Ab");
    QCOMPARE(cleanedPlayerText(Family), Family); // the joiners inside an emoji stay
    QCOMPARE(cleanedPlayerText(Family + "\u200D"), Family);
    QCOMPARE(cleanedPlayerText("A\x01n\x7Fn\u0085"), "Ann");
    QCOMPARE(cleanedPlayerText("\t Ann \u00A0\n Lee\u3000"), "Ann Lee");
    QCOMPARE(cleanedPlayerText("Ann \u200D Lee \u200D"), "Ann Lee");
    QCOMPARE(cleanedPlayerText("\u0644\u064A\u0644\u0649 \u674E"),
             "\u0644\u064A\u0644\u0649 \u674E");
    QCOMPARE(cleanedPlayerText("\u200B\u202E "), "");
}

QTEST_APPLESS_MAIN(SubmissionTest)
#include "SubmissionTest.moc"
