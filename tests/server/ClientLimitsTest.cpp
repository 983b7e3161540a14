// Guards whom a request is counted against (the peer, or the forwarded client when the peer is
// a trusted proxy, never an address a client made up) and how often each may submit, on a
// clock the test turns.
#include "server/core/ClientAddress.h"
#include "server/core/RateLimiter.h"

#include <QtTest>

namespace {

constexpr qint64 Second = 1000;

} // namespace

class ClientLimitsTest : public QObject
{
    Q_OBJECT

private slots:
    void canonicalAddresses();
    void forwardedClients();
    void refillsBuckets_data();
    void refillsBuckets();
    void limitsAddressesAndNames();
};

void ClientLimitsTest::canonicalAddresses()
{
    QCOMPARE(canonicalAddress(u" 192.0.2.1:8080 "), "192.0.2.1");
    QCOMPARE(canonicalAddress(u"[2001:DB8:0:0::1]:443"), "2001:db8::1");
    QCOMPARE(canonicalAddress(u"::ffff:192.0.2.1"), "192.0.2.1");
    for (const char* junk : { "unknown", "proxy.example", "fe80::1%eth0", "[2001:db8::1" }) {
        QCOMPARE(canonicalAddress(QString::fromLatin1(junk)), std::nullopt);
    }
    QCOMPARE(canonicalAddress(QString::fromLatin1("192.0.2.1\0x", 11)), std::nullopt);
}

void ClientLimitsTest::forwardedClients()
{
    const TrustedProxies trusted({ "10.0.0.1", "10.0.0.2", "not an address" });
    const auto client = [&](const QString& peer, const QString& forwardedFor) {
        return clientAddress(peer, forwardedFor, trusted);
    };
    QCOMPARE(client("198.51.100.7", ""), "198.51.100.7");
    QCOMPARE(client("198.51.100.7", "203.0.113.9"), "198.51.100.7"); // peer not trusted
    QCOMPARE(client("10.0.0.1", "203.0.113.9"), "203.0.113.9");
    QCOMPARE(client("10.0.0.1", "203.0.113.9, 10.0.0.2"), "203.0.113.9");
    QCOMPARE(client("10.0.0.1", "1.1.1.1, 203.0.113.9"), "203.0.113.9"); // made up by the client
    QCOMPARE(client("::ffff:10.0.0.1", "203.0.113.9"), "203.0.113.9");
    QCOMPARE(client("10.0.0.1", ""), "10.0.0.1");
    QCOMPARE(client("10.0.0.1", "203.0.113.9, unknown, 10.0.0.2"), "10.0.0.2");
    QCOMPARE(client("10.0.0.1", "[2001:DB8::7]:51000"), "2001:db8::7");
}

void ClientLimitsTest::refillsBuckets_data()
{
    QTest::addColumn<qint64>("waitMs");
    QTest::addColumn<int>("granted");

    // Three at once, then one every ten seconds, never more than three saved up.
    QTest::newRow("no wait") << qint64(0) << 0;
    QTest::newRow("not quite an interval") << 10 * Second - 1 << 0;
    QTest::newRow("an interval") << 10 * Second << 1;
    QTest::newRow("two and a half") << 25 * Second << 2;
    QTest::newRow("five, before a sweep") << 50 * Second << 3;
    QTest::newRow("an hour") << 3600 * Second << 3;
}

void ClientLimitsTest::refillsBuckets()
{
    QFETCH(qint64, waitMs);
    QFETCH(int, granted);
    RateLimiter limiter({ 3, 10 * Second });
    const auto take = [&](qint64 at) {
        int taken = 0;
        for (int i = 0; i < 5; ++i) {
            taken += limiter.take("192.0.2.1", at) ? 1 : 0;
        }
        return taken;
    };
    QCOMPARE(take(0), 3);
    QVERIFY(limiter.take("192.0.2.2", 0)); // another key has its own bucket
    QCOMPARE(take(waitMs), granted);
    QCOMPARE(limiter.trackedKeys(), waitMs >= 60 * Second ? 1 : 2); // full ones are forgotten
}

void ClientLimitsTest::limitsAddressesAndNames()
{
    SubmitRateLimits limits({ { 3, 10 * Second }, { 2, 60 * Second } });
    // One name from three addresses: its limit is the name's, whatever its case.
    QVERIFY(limits.take("192.0.2.1", "Ann", 0));
    QVERIFY(limits.take("192.0.2.2", "ann", 0));
    QVERIFY(!limits.take("192.0.2.3", "ANN", 0));
    QVERIFY(limits.take("192.0.2.1", "Ann", 60 * Second));
    // The refused one cost its address nothing: three more names pass there, a fourth not.
    for (const char* name : { "Bo", "Cy", "Di" }) {
        QVERIFY(limits.take("192.0.2.3", name, 0));
    }
    QVERIFY(!limits.take("192.0.2.3", "Ed", 0));
    // Anonymous ones share no name: only their address limits them.
    for (int i = 0; i < 3; ++i) {
        QVERIFY(limits.take("192.0.2.4", "", 0));
    }
    QVERIFY(!limits.take("192.0.2.4", "", 0));
}

QTEST_APPLESS_MAIN(ClientLimitsTest)
#include "ClientLimitsTest.moc"
