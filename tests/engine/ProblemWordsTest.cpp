// Guards how a problem is put into words for a screen reader.
#include "engine/ProblemWords.h"

#include <QtTest>

class ProblemWordsTest : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
};

void ProblemWordsTest::words_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<QString>("words");

    QTest::newRow("addition") << "12"
                              << "+"
                              << "7"
                              << "12 plus 7";
    QTest::newRow("subtraction") << "9"
                                 << "-"
                                 << "0"
                                 << "9 minus 0";
    QTest::newRow("multiplication") << "7"
                                    << "x"
                                    << "6"
                                    << "7 times 6";
    QTest::newRow("division") << "42"
                              << "{"
                              << "6"
                              << "42 divided by 6";
    QTest::newRow("no problem yet") << ""
                                    << ""
                                    << ""
                                    << "";
}

void ProblemWordsTest::words()
{
    QFETCH(QString, top);
    QFETCH(QString, op);
    QFETCH(QString, bottom);
    QFETCH(QString, words);
    QCOMPARE(QString::fromStdString(
                 problemInWords(top.toStdString(), op.toStdString(), bottom.toStdString())),
             words);
}

QTEST_APPLESS_MAIN(ProblemWordsTest)
#include "ProblemWordsTest.moc"
