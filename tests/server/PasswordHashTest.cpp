// Guards the admin password's hash: salted, slow, self-describing, and matched by its password
// alone.
#include "server/core/PasswordHash.h"

#include <QtTest>

class PasswordHashTest : public QObject
{
    Q_OBJECT

private slots:
    void matchesItsPasswordAlone();
};

void PasswordHashTest::matchesItsPasswordAlone()
{
    // One hash at the real cost; the others at the least, to save the test's time.
    const QString real = hashPassword("correct horse").value();
    QVERIFY(real.startsWith("$argon2id$v=19$m=65536,t=2,p=1$"));
    QVERIFY(passwordMatches(real, "correct horse"));
    QVERIFY(!passwordMatches(real, "Correct horse"));
    QVERIFY(!passwordNeedsRehash(real));

    const auto least = PasswordCost::minimum();
    const QString cheap = hashPassword("caf\u00E9", least).value();
    QVERIFY(cheap != hashPassword("caf\u00E9", least).value()); // salted
    QVERIFY(passwordMatches(cheap, "cafe\u0301")); // the accent typed apart is the same password
    QVERIFY(!passwordMatches(cheap, "caf\u00E9 "));
    QVERIFY(passwordNeedsRehash(cheap));
    QVERIFY(!passwordNeedsRehash(cheap, least));
    const QString altered = cheap.chopped(1) + (cheap.endsWith('A') ? "B" : "A");
    for (const QString& stored : { QString(), QString("caf\u00E9"), cheap.chopped(4), altered,
                                   QString(cheap).replace("$argon2id$", "$argon2i$"),
                                   cheap + QString(200, QLatin1Char('A')) }) {
        QVERIFY2(!passwordMatches(stored, "caf\u00E9"), qPrintable(stored));
    }
}

QTEST_APPLESS_MAIN(PasswordHashTest)
#include "PasswordHashTest.moc"
