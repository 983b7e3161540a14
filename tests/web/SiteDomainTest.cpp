// Guards how the web site's domain is read off its address, for tool tips and prompts.
#include "web/SiteDomain.h"

#include <QtTest>

class SiteDomainTest : public QObject
{
    Q_OBJECT

private slots:
    void domain_data();
    void domain();
};

void SiteDomainTest::domain_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("domain");

    QTest::newRow("default") << "http://www.pellmoor.example"
                             << "www.pellmoor.example";
    QTest::newRow("https with path") << "https://games.example.org/sumdash"
                                     << "games.example.org";
    QTest::newRow("port") << "http://localhost:8080"
                          << "localhost";
    QTest::newRow("user") << "http://kid@school.example"
                          << "school.example";
    QTest::newRow("no scheme") << "www.example.net"
                               << "www.example.net";
    QTest::newRow("IPv6") << "http://[::1]:8080"
                          << "[::1]";
    QTest::newRow("empty") << ""
                           << "";
}

void SiteDomainTest::domain()
{
    QFETCH(QString, address);
    QFETCH(QString, domain);
    QCOMPARE(QString::fromStdString(siteDomain(address.toStdString())), domain);
}

QTEST_APPLESS_MAIN(SiteDomainTest)
#include "SiteDomainTest.moc"
