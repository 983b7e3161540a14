// Guards the web commands, the online submission and the about box, with a recording browser.
#include "app/AboutBox.h"
#include "app/SystemInfoLauncher.h"
#include "assets/DesignFonts.h"
#include "records/ClubFile.h"
#include "records/TopTimes.h"
#include "results/OnlineSubmission.h"
#include "results/StatsWindow.h"
#include "tests/support/ChildNamed.h"
#include "tests/support/GameFixture.h"
#include "web/SiteAddress.h"
#include "web/SiteDomain.h"

#include <QFile>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QUrlQuery>
#include <QtTest>

namespace {

QString site(const QString& path)
{
    return builtInSiteAddress() + path;
}

QString queryValue(const QString& address, const QString& key)
{
    const QUrl url = QUrl::fromEncoded(address.toUtf8(), QUrl::StrictMode);
    return QUrlQuery(url.query(QUrl::FullyEncoded)).queryItemValue(key, QUrl::FullyDecoded);
}

// A full Division table, so a qualifying time opens the results window without a ranking.
void fillTable(SettingsStore& store, std::int16_t problemType)
{
    for (int place = 0; place < 5; ++place) {
        store.write(topTimeKey(problemType, place, false), QStringLiteral("0:0%1").arg(place));
    }
}

} // namespace

class WebAndAboutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDesignFonts(); }
    void webCommandsOpenTheirPages();
    void webCommandsWorkDuringATimedRun();
    void missingBrowserIsReported();
    void submittingATime();
    void submitAndJoinInEitherOrder();
    void aboutBox();
    void systemInfoStartsTheFirstProgramOnThePath();
};

void WebAndAboutTest::webCommandsOpenTheirPages()
{
    Game game;
    game.action("mnuSumdashOnline")->trigger();
    game.action("mnuHome")->trigger();
    game.action("mnuOnlineTimes")->trigger();
    game.action("mnuOnSupport")->trigger();
    QTest::mouseClick(game.find("web"), Qt::LeftButton);
    QTest::keyClick(&game.frmMain, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(game.browser.addresses,
             QStringList({ site("/sumdash.htm"), site("/"), site("/cgi-bin/toptimes.pl"),
                           site("/contact.htm"), site("/"), site("/cgi-bin/toptimes.pl") }));
}

void WebAndAboutTest::webCommandsWorkDuringATimedRun()
{
    Game game;
    ModalDialogDriver driver;
    game.startTimed(driver, "Command1_0");
    QVERIFY(!game.action("mnuOnlineTimes")->isEnabled());
    QTest::keyClick(&game.frmMain, Qt::Key_T,
                    Qt::ControlModifier); // locked with the Top Times menu
    game.action("mnuHome")->trigger();
    QTest::mouseClick(game.find("web"), Qt::LeftButton);
    QCOMPARE(game.browser.addresses, QStringList({ site("/"), site("/") }));
    QVERIFY(game.find<QTimer>("Timer1")->isActive());
}

void WebAndAboutTest::missingBrowserIsReported()
{
    Game game;
    game.browser.works = false;
    QString message;
    ModalDialogDriver driver;
    driver.then([&](QWidget* box) {
        message = qobject_cast<QMessageBox*>(box)->text();
        qobject_cast<QDialog*>(box)->accept();
    });
    game.action("mnuOnSupport")->trigger();
    QVERIFY(message.contains(site("/contact.htm")));
    QVERIFY(game.frmMain.isVisible());
}

void WebAndAboutTest::submittingATime()
{
    GameState globals;
    globals.TimedMode = true;
    globals.ProblemType = 4;
    TempRecords records;
    fillTable(records.topTimes, 4);
    RecordingBrowser browser;
    ModalDialogDriver driver;
    driver.then([&](QWidget* stats) {
        clickChild(stats, "Command1");
        QVERIFY(child<QWidget>(stats, "Command1")->isHidden());
        QVERIFY(!child<QWidget>(stats, "Command4")->isHidden());
        QVERIFY(globals.NamePromptTitle.empty());
        clickChild(stats, "Command3");
    });
    driver.then([&](QWidget* prompt) {
        const QString heading = "Submit time to "
            + QString::fromStdString(siteDomain(builtInSiteAddress().toStdString())) + "!";
        auto* label = child<QLabel>(prompt, "Label2");
        QCOMPARE(label->text(), heading);
        QVERIFY(label->fontMetrics().horizontalAdvance(heading) <= label->width());
        QVERIFY(child<QWidget>(prompt, "Image1")->isHidden());
        auto* name = child<QLineEdit>(prompt, "Text1");
        name->selectAll();
        QTest::keyClicks(name, "Jo & Al=1#");
        QTest::keyClick(name, Qt::Key_Return);
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 2, 48, 100, 0 }, records.stores(),
                           WebSite { builtInSiteAddress(), browser });
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(browser.addresses.size(), 1);
    const QString address = browser.addresses.front();
    QVERIFY(address.startsWith(site("/cgi-bin/submit.pl?name=")));
    QCOMPARE(queryValue(address, "name"), "Jo & Al=1#");
    QCOMPARE(queryValue(address, "subj"), "div");
    QCOMPARE(queryValue(address, "time"), "2:48");
    QCOMPARE(queryValue(address, "date"), submissionDate(QDate::currentDate(), QLocale()));
    QCOMPARE(queryValue(address, "valid"), QString::number(48 * 7 + 2 * 13 + 4 * 29));
}

void WebAndAboutTest::submitAndJoinInEitherOrder()
{
    for (const bool joinFirst : { true, false }) {
        GameState globals;
        globals.TimedMode = true;
        globals.ProblemType = 1;
        TempRecords records;
        fillTable(records.topTimes, 1);
        RecordingBrowser browser;
        ModalDialogDriver driver;
        driver.then([&](QWidget* stats) {
            clickChild(stats, joinFirst ? "Command4" : "Command1");
            clickChild(stats, joinFirst ? "Command1" : "Command4");
            QVERIFY(child<QWidget>(stats, "Command1")->isHidden());
            QVERIFY(child<QWidget>(stats, "Command4")->isHidden());
            clickChild(stats, "Command3");
        });
        if (joinFirst) {
            driver.then([](QWidget* prompt) { clickChild(prompt, "Command1"); });
            driver.then([](QWidget* board) { board->close(); });
            driver.then([](QWidget* prompt) { clickChild(prompt, "Command1"); });
        } else {
            driver.then([](QWidget* prompt) { clickChild(prompt, "Command1"); });
            driver.then([](QWidget* prompt) { clickChild(prompt, "Command1"); });
            driver.then([](QWidget* board) { board->close(); });
        }
        StatsWindow::showModal(nullptr, globals, RunResults { 1, 0, 100, 0 }, records.stores(),
                               WebSite { builtInSiteAddress(), browser });
        QVERIFY(driver.finished());
        QVERIFY(driver.closedByForce().isEmpty());
        QCOMPARE(browser.addresses.size(), 1);
        QCOMPARE(queryValue(browser.addresses.front(), "name"), "Your Name");
        QCOMPARE(records.club.read()->size(), std::size_t { 1 });
    }
}

void WebAndAboutTest::aboutBox()
{
    Game game;
    ModalDialogDriver driver;
    driver.then([&](QWidget* about) {
        QCOMPARE(about->objectName(), "frmAbout");
        QCOMPARE(about->windowTitle(), "About Sumdash!");
        QCOMPARE(child<QGroupBox>(about, "Frame3")->title(), "Warning:");
        QVERIFY(child<QLabel>(about, "Label1")->text().contains("copyright"));
        auto* notice = child<QGroupBox>(about, "Frame4");
        QVERIFY(notice->title().contains("Pellmoor"));
        QVERIFY(notice->fontMetrics().horizontalAdvance(notice->title()) < notice->width() - 10);
        QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>(about, "Command1"));
        clickChild(about, "cmdSysInfo");
        clickChild(about, "cmdSysInfo");
        QCOMPARE(game.systemInfo.starts, 2);
        QVERIFY(about->isVisible());
        game.systemInfo.available = false;
        clickChild(about, "cmdSysInfo");
        QVERIFY(about->isVisible());
        clickChild(about, "Command1");
    });
    driver.then([](QWidget* box) {
        QCOMPARE(qobject_cast<QMessageBox*>(box)->text(),
                 "System Information Is Unavailable At This Time");
        QCOMPARE(box->windowTitle(), "Sumdash!");
        qobject_cast<QDialog*>(box)->accept();
    });
    game.action("mnuAbout")->trigger();
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());

    // The close box closes it too.
    driver.then([](QWidget* about) { about->close(); });
    game.action("mnuAbout")->trigger();
    QVERIFY(driver.closedByForce().isEmpty());
}

void WebAndAboutTest::systemInfoStartsTheFirstProgramOnThePath()
{
    QTemporaryDir bin;
    const QString marker = bin.filePath("started");
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    PathSystemInfoLauncher launcher;
    QVERIFY(PathSystemInfoLauncher::findProgram().isEmpty());
    QVERIFY(!launcher.start());

    // A stand-in for the second candidate: it records each start.
    const QString program = bin.filePath(PathSystemInfoLauncher::candidates().at(1));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho started >> '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(PathSystemInfoLauncher::findProgram(), program);
    QVERIFY(launcher.start());
    QVERIFY(launcher.start());
    QTRY_COMPARE(QFile::exists(marker) ? QFile(marker).size() : 0, qint64(16));
    qputenv("PATH", oldPath);
}

QTEST_MAIN(WebAndAboutTest)
#include "WebAndAboutTest.moc"
