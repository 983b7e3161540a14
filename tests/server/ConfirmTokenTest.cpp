// Guards the confirmation form's token: it fits one submission, from this server, for ten
// minutes, and its nonce is used once.
#include "server/core/ConfirmToken.h"

#include "server/core/NonceReplaySet.h"

#include <QtTest>

Q_DECLARE_METATYPE(TokenVerdict)

namespace {

const QByteArray Secret(ServerSecretBytes, 's');
const QByteArray Nonce(ConfirmNonceBytes, 'n');
constexpr qint64 Issued = 1'780'000'000'000;
constexpr qint64 Life = ConfirmTokenLifetimeMs;
const Submission Ann { "Ann", Subject::Multiplication, 167, "7/12/2026" };
const QByteArray Token = confirmToken(Secret, Ann, Issued, Nonce);

// The token with one base64url character changed.
QByteArray altered(qsizetype index)
{
    QByteArray token = Token;
    token[index] = token[index] == 'A' ? 'B' : 'A';
    return token;
}

} // namespace

class ConfirmTokenTest : public QObject
{
    Q_OBJECT

private slots:
    void checks_data();
    void checks();
    void givesItsNonceToUseOnce();
};

void ConfirmTokenTest::checks_data()
{
    QTest::addColumn<QByteArray>("secret");
    QTest::addColumn<Submission>("shown");
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<qint64>("now");
    QTest::addColumn<TokenVerdict>("verdict");

    Submission faster = Ann;
    faster.seconds = 166;
    Submission otherDate = Ann;
    otherDate.date = "8/12/2026";
    const QByteArray s = Secret;
    using enum TokenVerdict;
    QTest::newRow("at once") << s << Ann << Token << Issued << Valid;
    QTest::newRow("at the end of its life") << s << Ann << Token << Issued + Life << Valid;
    QTest::newRow("clock set back a little") << s << Ann << Token << Issued - 1000 << Valid;
    QTest::newRow("expired") << s << Ann << Token << Issued + Life + 1 << Expired;
    QTest::newRow("from the future") << s << Ann << Token << Issued - 3600'000 << Expired;
    QTest::newRow("another time") << s << faster << Token << Issued << Forged;
    QTest::newRow("another date") << s << otherDate << Token << Issued << Forged;
    QTest::newRow("another secret")
        << QByteArray(ServerSecretBytes, 't') << Ann << Token << Issued << Forged;
    QTest::newRow("a guessable secret")
        << QByteArray("s") << Ann << confirmToken("s", Ann, Issued, Nonce) << Issued << Forged;
    QTest::newRow("issue time changed") << s << Ann << altered(5) << Issued << Forged;
    QTest::newRow("signature changed") << s << Ann << altered(Token.size() - 5) << Issued << Forged;
    QTest::newRow("empty") << s << Ann << QByteArray() << Issued << Malformed;
    QTest::newRow("another version") << s << Ann << "2" + Token.mid(1) << Issued << Malformed;
    QTest::newRow("no signature") << s << Ann << Token.left(Token.lastIndexOf('.')) << Issued
                                  << Malformed;
    QTest::newRow("padded") << s << Ann << Token + "=" << Issued << Malformed;
}

void ConfirmTokenTest::checks()
{
    QFETCH(QByteArray, secret);
    QFETCH(Submission, shown);
    QFETCH(QByteArray, token);
    QFETCH(qint64, now);
    QFETCH(TokenVerdict, verdict);
    QCOMPARE(checkConfirmToken(secret, shown, token, now).verdict, verdict);
}

void ConfirmTokenTest::givesItsNonceToUseOnce()
{
    const QByteArray secret = newServerSecret();
    const QByteArray nonce = newConfirmNonce();
    QVERIFY(nonce != newConfirmNonce());
    const QByteArray token = confirmToken(secret, Ann, Issued, nonce);
    QVERIFY(QRegularExpression("^[A-Za-z0-9._-]+$").match(QString::fromLatin1(token)).hasMatch());
    const TokenCheck check = checkConfirmToken(secret, Ann, token, Issued + 1);
    QCOMPARE(check.verdict, TokenVerdict::Valid);
    QCOMPARE(check.nonce, nonce);
    QCOMPARE(check.expiresUtcMs, Issued + Life);

    NonceReplaySet used;
    QVERIFY(used.firstUse(check.nonce, check.expiresUtcMs, Issued + 1000));
    QVERIFY(!used.firstUse(check.nonce, check.expiresUtcMs, Issued + 2000)); // replayed
    QVERIFY(used.firstUse(Nonce, check.expiresUtcMs, Issued + 2000));
    QVERIFY(!used.firstUse(check.nonce, check.expiresUtcMs, Issued + Life - 1));
    // Past the tokens' expiry their nonces are forgotten: the tokens are refused by then.
    QVERIFY(used.firstUse("o", Issued + 2 * Life, Issued + Life + 60 * 1000));
    QCOMPARE(used.size(), 1);
}

QTEST_APPLESS_MAIN(ConfirmTokenTest)
#include "ConfirmTokenTest.moc"
