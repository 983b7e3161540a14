// Guards the web commands, the online submission and the about box, with a recording browser;
// and the site they go to, as the game's settings name it.
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

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
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

/// The game as it ships, its records and settings in the user's own places (which a test moves
/// with SettingsFolders), but with a recording browser.
using GameAtHome
    = AssembledGame<FrozenRandom, ManualRunClock, RecordFiles, RecordingBrowser, FakeSystemInfo>;

/// Where QSettings keeps the user's own settings and the system-wide ones (on Linux
/// ~/.config and /etc/xdg), moved into a temporary folder for one test.
class SettingsFolders
{
public:
    SettingsFolders()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath("user"));
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_dir.filePath("system"));
    }

    /// Writes the file Pellmoor/Pellmoor.ini of a scope with these lines in its [Sumdash]
    /// section, as a parent or a school would; no file for no lines.
    void write(QSettings::Scope scope, const QString& lines)
    {
        if (lines.isEmpty()) {
            return;
        }
        const QString folder
            = m_dir.filePath(scope == QSettings::UserScope ? "user/Pellmoor" : "system/Pellmoor");
        QVERIFY(QDir().mkpath(folder));
        QFile file(QDir(folder).filePath("Pellmoor.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Sumdash]\n" + lines.toUtf8() + "\n");
    }

private:
    QTemporaryDir m_dir;
};

/// Shows a game's main window as the game starts it, without the splash.
template<typename AnyGame> bool start(AnyGame& game)
{
    game.frmMain.Form_Load(MainWindow::Splash::Skip);
    return QTest::qWaitForWindowActive(&game.frmMain);
}

} // namespace

class WebAndAboutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        registerDesignFonts();
    }
    void webCommandsOpenTheirPages();
    void webCommandsGoToTheSiteTheSettingsName_data();
    void webCommandsGoToTheSiteTheSettingsName();
    void submissionGoesToTheSiteTheSettingsName();
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

void WebAndAboutTest::webCommandsGoToTheSiteTheSettingsName_data()
{
    QTest::addColumn<QString>("usersOwn"); // lines of the user's own settings file
    QTest::addColumn<QString>("systemWide"); // lines of the system-wide one
    QTest::addColumn<QString>("expectedSite");

    const QString builtIn = builtInSiteAddress();
    QTest::newRow("none named") << "TopAddTime0=1:23"
                                << "" << builtIn;
    QTest::newRow("in the user's file") << "SiteBaseAddress=https://scores.example.org/"
                                        << ""
                                        << "https://scores.example.org";
    QTest::newRow("in the system-wide file") << "TopAddTime0=1:23"
                                             << "SiteBaseAddress=http://scores.school.example:8080"
                                             << "http://scores.school.example:8080";
    QTest::newRow("system-wide, no user's file") << ""
                                                 << "SiteBaseAddress=https://school.example"
                                                 << "https://school.example";
    QTest::newRow("the user's before the system-wide") << "SiteBaseAddress=https://home.example"
                                                       << "SiteBaseAddress=https://school.example"
                                                       << "https://home.example";
    QTest::newRow("another scheme") << "SiteBaseAddress=ftp://scores.example.org"
                                    << "" << builtIn;
    QTest::newRow("with a path") << "SiteBaseAddress=https://scores.example.org/sumdash"
                                 << "" << builtIn;
    QTest::newRow("system-wide, not an address") << ""
                                                 << "SiteBaseAddress=scores" << builtIn;
}

void WebAndAboutTest::webCommandsGoToTheSiteTheSettingsName()
{
    // The web commands open the site the user's own settings name, else the one the system-wide
    // settings name, else the built-in one; an address the game does not take is not used.
    QFETCH(QString, usersOwn);
    QFETCH(QString, systemWide);
    QFETCH(QString, expectedSite);

    SettingsFolders folders;
    folders.write(QSettings::UserScope, usersOwn);
    folders.write(QSettings::SystemScope, systemWide);
    GameAtHome game;
    QVERIFY(start(game));
    for (const char* command :
         { "mnuSumdashOnline", "mnuHome", "mnuOnlineTimes", "mnuOnSupport" }) {
        child<QAction>(&game.frmMain, command)->trigger();
    }
    QTest::mouseClick(child<QWidget>(&game.frmMain, "web"), Qt::LeftButton);
    QCOMPARE(game.browser.addresses,
             QStringList({ expectedSite + "/sumdash.htm", expectedSite + "/",
                           expectedSite + "/cgi-bin/toptimes.pl", expectedSite + "/contact.htm",
                           expectedSite + "/" }));
}

void WebAndAboutTest::submissionGoesToTheSiteTheSettingsName()
{
    // A school names its server once, system-wide: a timed run's results window offers and
    // submits to it.
    SettingsFolders folders;
    folders.write(QSettings::SystemScope, "SiteBaseAddress=https://scores.school.example:8443");
    GameAtHome game;
    QVERIFY(start(game));
    ModalDialogDriver driver;
    driver.then([](QWidget* selector) { clickChild(selector, "Command1_0"); });
    child<QAction>(&game.frmMain, "mnuDash")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(&game.frmMain));
    for (int step = 0; step < 3; ++step) {
        game.frmMain.Timer2_Timer();
    }
    driver.then([](QWidget* prompt) { clickChild(prompt, "Command1"); }); // a top time
    driver.then([](QWidget* board) { clickChild(board, "Command2"); });
    driver.then([](QWidget* stats) {
        QCOMPARE(child<QWidget>(stats, "Command1")->toolTip(),
                 "Click here to submit your time to scores.school.example.");
        clickChild(stats, "Command1");
        clickChild(stats, "Command3");
    });
    driver.then([](QWidget* prompt) {
        QCOMPARE(child<QLabel>(prompt, "Label2")->text(), "Submit time to scores.school.example!");
        clickChild(prompt, "Command1");
    });
    auto* answerBox = child<QLineEdit>(&game.frmMain, "AnsText");
    for (int problem = 0; problem < 100; ++problem) {
        QTest::keyClicks(answerBox, rightAnswer(&game.frmMain));
        QTest::keyClick(answerBox, Qt::Key_Return);
    }
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(game.browser.addresses.size(), 1);
    QVERIFY2(game.browser.addresses.front().startsWith(
                 "https://scores.school.example:8443/cgi-bin/submit.pl?name=Your%20Name&subj=add&"),
             qPrintable(game.browser.addresses.front()));
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
