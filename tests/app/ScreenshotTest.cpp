// Guards how every window looks at the screen scale it runs under (QT_SCALE_FACTOR): no caption
// cut short, pictures drawn at the screen's own resolution; keeps a screenshot of each window.
#include "app/AboutBox.h"
#include "app/SplashWindow.h"
#include "assets/DesignFonts.h"
#include "records/ClubBoard.h"
#include "records/NameDialog.h"
#include "records/TopTimesBoard.h"
#include "results/StatsWindow.h"
#include "setup/OptionsDialog.h"
#include "setup/SelectDialog.h"
#include "tests/support/GameFixture.h"
#include "web/SiteAddress.h"

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QToolButton>
#include <QtTest>
#include <functional>

namespace {

QString screenshotFolder()
{
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    return QStringLiteral(SUMDASH_SCREENSHOT_DIR "/scale-%1").arg(scale);
}

// Every single-line caption fits its control; word-wrapped ones wrap instead.
QStringList cutCaptions(QWidget* window)
{
    QStringList cut;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->isHidden() || label->wordWrap() || label->text().isEmpty()
            || label->objectName() == QLatin1String("NumLab")
            || label->objectName() == QLatin1String("DenLab")) {
            continue;
        }
        if (label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width()) {
            cut << label->objectName() + ": " + label->text();
        }
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        QString text = button->text();
        text.remove(QLatin1Char('&'));
        const auto* tool = qobject_cast<QToolButton*>(button);
        const bool pictureOnly
            = tool != nullptr && tool->toolButtonStyle() == Qt::ToolButtonIconOnly;
        if (button->isHidden() || text.isEmpty() || pictureOnly
            || button->inherits("PictureButton")) {
            continue;
        }
        const int room = button->width() - (button->inherits("QCheckBox") ? 24 : 6);
        if (button->fontMetrics().horizontalAdvance(text) > room) {
            cut << button->objectName() + ": " + text;
        }
    }
    for (QGroupBox* frame : window->findChildren<QGroupBox*>()) {
        if (frame->fontMetrics().horizontalAdvance(frame->title()) > frame->width() - 12) {
            cut << frame->objectName() + ": " + frame->title();
        }
    }
    return cut;
}

void checkAndKeep(QWidget* window, const QString& name)
{
    QTRY_VERIFY(window->isVisible());
    const QPixmap shot = window->grab();
    const qreal scale = window->devicePixelRatioF();
    QCOMPARE(shot.size(), (QSizeF(window->size()) * scale).toSize());
    QVERIFY(QDir().mkpath(screenshotFolder()));
    QVERIFY(shot.save(screenshotFolder() + QLatin1Char('/') + name + QStringLiteral(".png")));
    const QStringList cut = cutCaptions(window);
    QVERIFY2(cut.isEmpty(), qPrintable(name + ": " + cut.join(QStringLiteral(", "))));
}

} // namespace

class ScreenshotTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDesignFonts(); }
    void mainWindowAndItsDialogs();
    void recordsWindows();
    void splash();
};

void ScreenshotTest::mainWindowAndItsDialogs()
{
    Game game;
    game.basGlobals.PracticeProblemCount = 500;
    checkAndKeep(&game.frmMain, "frmMain-idle");
    ModalDialogDriver driver;
    driver.then([](QWidget* options) {
        checkAndKeep(options, "frmOptions");
        clickChild(options, "Command1");
    });
    driver.then([](QWidget* selector) {
        checkAndKeep(selector, "frmSelect");
        clickChild(selector, "Command1_3");
    });
    game.action("mnuStart")->trigger();
    game.settle();
    checkAndKeep(&game.frmMain, "frmMain-ready");
    game.countDown();
    for (int second = 0; second < 605; ++second) {
        game.tickSecond();
    }
    checkAndKeep(&game.frmMain, "frmMain-practice");
    // Answers of every kind, so that the fact grid shows each of its states.
    for (int problem = 0; problem < 150; ++problem) {
        const QString right = rightAnswer(&game.frmMain);
        game.runClock.advance(problem % 7 == 3 ? 4000 : problem % 11 == 5 ? 8000 : 1500);
        game.type(problem % 9 == 4 ? right + QLatin1Char('1') : right);
        game.enter();
    }
    driver.then([](QWidget* facts) {
        checkAndKeep(facts, "frmFactTimes");
        facts->close();
    });
    game.action("mnuFactTimes")->trigger();
    driver.then([](QWidget* about) {
        checkAndKeep(about, "frmAbout");
        about->close();
    });
    game.action("mnuAbout")->trigger();
    QVERIFY(driver.closedByForce().isEmpty());
}

void ScreenshotTest::recordsWindows()
{
    GameState globals;
    globals.TimedMode = true;
    globals.ProblemType = 3;
    TempRecords records;
    RecordingBrowser browser;
    const WebSite site { builtInSiteAddress(), browser };
    QVERIFY(records.club.SaveClubRecord(clubRecordText("Ann", "1:47", "Multiplication")));
    ModalDialogDriver driver;
    driver.then([](QWidget* prompt) {
        checkAndKeep(prompt, "frmTopTime");
        clickChild(prompt, "Command1");
    });
    driver.then([](QWidget* board) {
        checkAndKeep(board, "frmHighScores");
        board->close();
    });
    driver.then([](QWidget* stats) {
        checkAndKeep(stats, "frmStats-timed");
        clickChild(stats, "Command5");
        stats->close();
    });
    driver.then([](QWidget* club) {
        checkAndKeep(club, "frmClub");
        club->close();
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 2, 45, 100, 0 }, records.stores(), site);

    globals.TimedMode = false;
    driver.then([](QWidget* stats) {
        checkAndKeep(stats, "frmStats-practice");
        stats->close();
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 12, 5, 93, 7 }, records.stores(), site);
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
}

void ScreenshotTest::splash()
{
    SplashWindow splash;
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    checkAndKeep(&splash, "frmLogo");
    splash.logotime_Timer();
}

QTEST_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
