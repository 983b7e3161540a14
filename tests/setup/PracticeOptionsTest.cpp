// Guards the practice options' rules: which typed counts are accepted and what the switches hide.
#include "setup/PracticeOptions.h"

#include <QtTest>

class PracticeOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void practiceCount_data();
    void practiceCount();
    void practiceCountFollowsTheLocale();
    void countsRow_data();
    void countsRow();
};

void PracticeOptionsTest::practiceCount_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("count");

    QTest::newRow("plain") << "100" << true << 100;
    QTest::newRow("fraction rounds down") << "2.5" << true << 2;
    QTest::newRow("negative") << "-5" << true << -5;
    QTest::newRow("negative fraction rounds toward minus infinity") << "-2.5" << true << -3;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("surrounding blanks") << " 7 " << true << 7;
    QTest::newRow("exponent") << "9e2" << true << 900;
    QTest::newRow("leading plus") << "+12" << true << 12;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("digits then letters") << "12a" << false << 0;
    QTest::newRow("past the 16-bit range") << "9e9" << false << 0;
    QTest::newRow("below the 16-bit range") << "-9e9" << false << 0;
    QTest::newRow("just past 32767") << "4e4" << false << 0;
    QTest::newRow("infinity") << "inf" << false << 0;
    QTest::newRow("not a number") << "nan" << false << 0;
}

void PracticeOptionsTest::practiceCount()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(int, count);

    const auto parsed = parsePracticeCount(typed, QLocale::c());
    QCOMPARE(parsed.has_value(), accepted);
    if (accepted) {
        QCOMPARE(*parsed, count);
    }
}

void PracticeOptionsTest::practiceCountFollowsTheLocale()
{
    // Under a decimal comma, "2,5" is two and a half.
    const auto parsed = parsePracticeCount(QStringLiteral("2,5"), QLocale(QLocale::German));
    QVERIFY(parsed.has_value());
    QCOMPARE(*parsed, 2);
}

void PracticeOptionsTest::countsRow_data()
{
    QTest::addColumn<bool>("onlyCorrect");
    QTest::addColumn<bool>("hideCounts");
    QTest::addColumn<bool>("hideTime");
    QTest::addColumn<QString>("shown"); // Label1, CorrectLab, Label3, IncorrectLab, ShowTime

    QTest::newRow("no switch") << false << false << false << "11111";
    QTest::newRow("only correct answers") << true << false << false << "11001";
    QTest::newRow("hide counts") << false << true << false << "00001";
    QTest::newRow("hide time") << false << false << true << "11110";
    QTest::newRow("all three") << true << true << true << "00000";
}

void PracticeOptionsTest::countsRow()
{
    QFETCH(bool, onlyCorrect);
    QFETCH(bool, hideCounts);
    QFETCH(bool, hideTime);
    QFETCH(QString, shown);

    const CountsRowVisibility row = countsRowFor(onlyCorrect, hideCounts, hideTime);
    const QString actual = QString("%1%2%3%4%5")
                               .arg(int(row.correctCaption))
                               .arg(int(row.CorrectLab))
                               .arg(int(row.incorrectCaption))
                               .arg(int(row.IncorrectLab))
                               .arg(int(row.ShowTime));
    QCOMPARE(actual, shown);
}

QTEST_APPLESS_MAIN(PracticeOptionsTest)
#include "PracticeOptionsTest.moc"
