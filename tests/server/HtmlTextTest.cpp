// Guards that every field shown on a server page is escaped, however hostile the name.
#include "server/core/HtmlText.h"

#include <QtTest>

class HtmlTextTest : public QObject
{
    Q_OBJECT

private slots:
    void escaped_data();
    void escaped();
};

void HtmlTextTest::escaped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("html");

    QTest::newRow("plain name") << "Ann"
                                << "Ann";
    QTest::newRow("script element") << "<script>alert(1)</script>"
                                    << "&lt;script&gt;alert(1)&lt;/script&gt;";
    QTest::newRow("double-quoted attribute") << "\" onmouseover=\"x"
                                             << "&quot; onmouseover=&quot;x";
    QTest::newRow("single-quoted attribute") << "O'Brien"
                                             << "O&#39;Brien";
    QTest::newRow("entity already") << "&amp;"
                                    << "&amp;amp;";
    QTest::newRow("right-to-left override kept")
        << QString::fromUtf8("\u202Eevil") << QString::fromUtf8("\u202Eevil");
    QTest::newRow("other scripts kept")
        << QString::fromUtf8("Zoë 李") << QString::fromUtf8("Zoë 李");
}

void HtmlTextTest::escaped()
{
    QFETCH(QString, text);
    QFETCH(QString, html);
    QCOMPARE(htmlEscaped(text), html);
}

QTEST_APPLESS_MAIN(HtmlTextTest)
#include "HtmlTextTest.moc"
