// Guards the text of the server's pages: every field escaped, however hostile the name, and the
// question the confirmation page asks.
#include "server/core/ConfirmQuestion.h"
#include "server/core/HtmlText.h"

#include <QtTest>

class PageTextTest : public QObject
{
    Q_OBJECT

private slots:
    void escapes();
    void asks();
};

void PageTextTest::escapes()
{
    QCOMPARE(htmlEscaped("<script>alert('x')</script>"),
             "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;");
    QCOMPARE(htmlEscaped("\" onmouseover=\"x"), "&quot; onmouseover=&quot;x");
    QCOMPARE(htmlEscaped("&amp;"), "&amp;amp;");
    // Cleaning a name is the submission's business; a page changes nothing but those five.
    QCOMPARE(htmlEscaped("\u202Eevil Zo\u00EB \u674E"), "\u202Eevil Zo\u00EB \u674E");
}

void PageTextTest::asks()
{
    QCOMPARE(confirmQuestion({ "Ann", Subject::Multiplication, 167, "" }),
             "Post 2:47 in Multiplication as Ann?");
    QCOMPARE(confirmQuestion({ "", Subject::Random, 5, "" }), "Post 0:05 in Random as Anonymous?");
    QCOMPARE(confirmQuestion({ "Bo", Subject::Subtraction, 180, "" }),
             "Post 3:00 in Subtraction as Bo?");
}

QTEST_APPLESS_MAIN(PageTextTest)
#include "PageTextTest.moc"
