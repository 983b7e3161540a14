// Guards the submission address: every value encoded, the check value, the dated key.
#include "results/OnlineSubmission.h"

#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

namespace {

const QDate December7(2026, 12, 7);
const QString Site = QStringLiteral("https://scores.example.org:8443");

QUrlQuery queryOf(const QString& address)
{
    return QUrlQuery(
        QUrl::fromEncoded(address.toUtf8(), QUrl::StrictMode).query(QUrl::FullyEncoded));
}

} // namespace

class OnlineSubmissionTest : public QObject
{
    Q_OBJECT

private slots:
    void addressStartsAtTheSitesScript();
    void namesArriveExactly_data();
    void namesArriveExactly();
    void checkValue_data();
    void checkValue();
    void dateFollowsTheLocaleWithFourDigitYear_data();
    void dateFollowsTheLocaleWithFourDigitYear();
};

void OnlineSubmissionTest::addressStartsAtTheSitesScript()
{
    const QString address = submissionAddress(Site, "Ann", 3, "2:47", December7,
                                              QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(address.startsWith(
        "https://scores.example.org:8443/cgi-bin/submit.pl?name=Ann&subj=mul&time=2%3A47&date="));
    QVERIFY(address.endsWith("&valid=" + QString::number(47 * 7 + 2 * 13 + 3 * 29)));
}

void OnlineSubmissionTest::namesArriveExactly_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("default") << "Your Name";
    QTest::newRow("empty") << "";
    QTest::newRow("ampersand and equals") << "A&subj=add&valid=1";
    QTest::newRow("hash and plus") << "Tom #1 + Jo";
    QTest::newRow("percent") << "100% Ann";
    QTest::newRow("accents") << QString::fromUtf8("Zoë Ñúñez");
    QTest::newRow("chinese") << QString::fromUtf8("小明");
    QTest::newRow("question mark and slash") << "who?/me";
}

void OnlineSubmissionTest::namesArriveExactly()
{
    QFETCH(QString, name);

    const QString address = submissionAddress(Site, name, 5, "0:59", December7, QLocale::c());
    for (QChar c : address) {
        QVERIFY2(c.unicode() > 32 && c.unicode() < 127, "the address is plain ASCII");
    }
    const QUrlQuery query = queryOf(address);
    QCOMPARE(query.queryItems().size(), 5);
    QCOMPARE(query.queryItemValue("name", QUrl::FullyDecoded), name);
    QCOMPARE(query.queryItemValue("subj", QUrl::FullyDecoded), "rnd");
    QCOMPARE(query.queryItemValue("time", QUrl::FullyDecoded), "0:59");
    QCOMPARE(query.queryItemValue("valid", QUrl::FullyDecoded),
             QString::number(59 * 7 + 0 * 13 + 5 * 29));
}

void OnlineSubmissionTest::checkValue_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("problemType");
    QTest::addColumn<int>("expected"); // seconds x 7 + minutes x 13 + type x 29

    QTest::newRow("fastest") << "0:00" << 1 << 29;
    QTest::newRow("2:47 multiplication") << "2:47" << 3 << 47 * 7 + 26 + 87;
    QTest::newRow("3:00 random") << "3:00" << 5 << 39 + 145;
    QTest::newRow("no colon") << "soon" << 2 << 58;
}

void OnlineSubmissionTest::checkValue()
{
    QFETCH(QString, time);
    QFETCH(int, problemType);
    QFETCH(int, expected);
    QCOMPARE(submissionCheckValue(time, static_cast<std::int16_t>(problemType)), expected);
}

void OnlineSubmissionTest::dateFollowsTheLocaleWithFourDigitYear_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("date");

    QTest::newRow("United States")
        << QLocale(QLocale::English, QLocale::UnitedStates) << "12/7/2026";
    QTest::newRow("Germany") << QLocale(QLocale::German, QLocale::Germany) << "07.12.2026";
    QTest::newRow("United Kingdom")
        << QLocale(QLocale::English, QLocale::UnitedKingdom) << "07/12/2026";
}

void OnlineSubmissionTest::dateFollowsTheLocaleWithFourDigitYear()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, date);

    QCOMPARE(submissionDate(December7, locale), date);
    const QString address = submissionAddress(Site, "Ann", 1, "1:00", December7, locale);
    QCOMPARE(queryOf(address).queryItemValue("date", QUrl::FullyDecoded), date);
}

QTEST_GUILESS_MAIN(OnlineSubmissionTest)
#include "OnlineSubmissionTest.moc"
