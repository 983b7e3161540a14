// Guards the results: qualifying times, the percentage and the results window's two layouts.
#include "assets/DesignFonts.h"
#include "engine/GameState.h"
#include "records/TopTimes.h"
#include "results/RunResults.h"
#include "results/StatsWindow.h"
#include "testing/ModalDialogDriver.h"
#include "testing/RecordingBrowser.h"
#include "testing/TempRecords.h"
#include "tests/support/ChildNamed.h"
#include "web/SiteAddress.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <algorithm>

namespace {

bool shown(QWidget* dialog, const char* name)
{
    auto* widget = child<QWidget>(dialog, QString::fromLatin1(name));
    return widget != nullptr && !widget->isHidden();
}

QString text(QWidget* dialog, const char* name)
{
    auto* label = child<QLabel>(dialog, QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

/// The shown controls that cover one another or reach past the window's edge: none, in a
/// layout a player can read.
QStringList crowded(QWidget* dialog)
{
    QStringList found;
    QList<QWidget*> shownControls;
    for (QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isHidden() && !control->isWindow()) {
            shownControls << control;
        }
    }
    for (qsizetype i = 0; i < shownControls.size(); ++i) {
        if (!dialog->rect().contains(shownControls[i]->geometry())) {
            found << shownControls[i]->objectName() + " past the edge";
        }
        for (qsizetype j = i + 1; j < shownControls.size(); ++j) {
            if (shownControls[i]->geometry().intersects(shownControls[j]->geometry())) {
                found << shownControls[i]->objectName() + " over " + shownControls[j]->objectName();
            }
        }
    }
    return found;
}

/// Whether the results window is on screen, under whatever dialog is open over it.
bool resultsOnScreen()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWidget* window) {
        return window->objectName() == QLatin1String("frmStats") && window->isVisible();
    });
}

} // namespace

class ResultsTest : public QObject
{
    Q_OBJECT

    RecordingBrowser m_browser;
    const WebSite m_site { builtInSiteAddress(), m_browser };

private slots:
    void initTestCase() { registerDesignFonts(); }
    void qualifying_data();
    void qualifying();
    void percentage_data();
    void percentage();
    void qualifyingTimedRunOffersTheRewards_data();
    void qualifyingTimedRunOffersTheRewards();
    void resultsOpenNothingUntilShown();
    void slowTimedRunShowsTheTimeAlone();
    void practiceRunShowsCountsAndPercentage();
    void onlyCorrectPracticeShowsTheTimeAlone();
    void submitToolTipNamesTheSite();
    void longTimeIsNotCut();
    void heldEnterDoesNotPressAButton();
};

void ResultsTest::qualifying_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("clock");
    QTest::addColumn<bool>("qualifies");

    QTest::newRow("0:00") << 0 << 0 << "0:00" << true;
    QTest::newRow("2:59") << 2 << 59 << "2:59" << true;
    QTest::newRow("3:00") << 3 << 0 << "3:00" << true;
    QTest::newRow("3:01") << 3 << 1 << "3:01" << false;
    QTest::newRow("10:02") << 10 << 2 << "10:02" << false;
    QTest::newRow("the clock's largest") << 32767 << 59 << "32767:59" << false;
}

void ResultsTest::qualifying()
{
    QFETCH(int, minutes);
    QFETCH(int, seconds);
    QFETCH(QString, clock);
    QFETCH(bool, qualifies);
    const RunResults results { static_cast<std::int16_t>(minutes),
                               static_cast<std::int16_t>(seconds), 100, 0 };
    QCOMPARE(results.clockText(), clock);
    QCOMPARE(results.qualifies(), qualifies);
}

void ResultsTest::percentage_data()
{
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("incorrect");
    QTest::addColumn<QString>("percent");

    QTest::newRow("1 of 8: 0.125 rounds to even") << 1 << 7 << "12%";
    QTest::newRow("3 of 8: 0.375 rounds to even") << 3 << 5 << "38%";
    QTest::newRow("2 of 3") << 2 << 1 << "67%";
    QTest::newRow("3 of 4") << 3 << 1 << "75%";
    QTest::newRow("all right") << 10 << 0 << "100%";
    QTest::newRow("all wrong") << 0 << 4 << "0%";
    QTest::newRow("nothing answered") << 0 << 0 << "0%";
    QTest::newRow("largest counts") << 32767 << 32767 << "50%";
}

void ResultsTest::percentage()
{
    QFETCH(int, correct);
    QFETCH(int, incorrect);
    QFETCH(QString, percent);
    const RunResults results { 1, 0, static_cast<std::int16_t>(correct),
                               static_cast<std::int16_t>(incorrect) };
    QCOMPARE(results.percentText(), percent);
}

void ResultsTest::qualifyingTimedRunOffersTheRewards_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("ranked");
    QTest::newRow("2:59 takes place 0") << "2:59" << true;
    QTest::newRow("3:00 never beats the default 3:00") << "3:00" << false;
}

void ResultsTest::qualifyingTimedRunOffersTheRewards()
{
    QFETCH(QString, time);
    QFETCH(bool, ranked);

    GameState globals;
    TempRecords records;
    globals.TimedMode = true;
    globals.ProblemType = 1;
    ModalDialogDriver driver;
    // A time that makes the table: the name prompt and the board come over the results.
    if (ranked) {
        driver.then([](QWidget* prompt) {
            QCOMPARE(prompt->objectName(), "frmTopTime");
            QVERIFY(resultsOnScreen());
            clickChild(prompt, "Command1");
        });
        driver.then([](QWidget* board) {
            QCOMPARE(board->objectName(), "frmHighScores");
            QVERIFY(resultsOnScreen());
            clickChild(board, "Command2");
        });
    }
    driver.then([&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), "Sumdash! Stats:");
        QVERIFY(shown(dialog, "Command4"));
        QVERIFY(shown(dialog, "Command1"));
        QCOMPARE(crowded(dialog), QStringList {});
        QCOMPARE(text(dialog, "ShowTime"), time);
        for (const char* name :
             { "Label1", "CorrectLab", "Label3", "IncorrectLab", "Label4", "PercentLab" }) {
            QVERIFY2(!shown(dialog, name), name);
        }
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(dialog, "Command4"));
        clickChild(dialog, "Command3");
    });
    const QStringList minutesAndSeconds = time.split(':');
    const RunResults results { static_cast<std::int16_t>(minutesAndSeconds[0].toInt()),
                               static_cast<std::int16_t>(minutesAndSeconds[1].toInt()), 100, 0 };
    StatsWindow::showModal(nullptr, globals, results, records.stores(), m_site);
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(driver.dialogsSeen().size(), ranked ? 3 : 1);
    QCOMPARE(globals.TopTimeSlot, ranked ? 0 : NoTopTimeSlot);
}

void ResultsTest::resultsOpenNothingUntilShown()
{
    GameState globals;
    TempRecords records;
    globals.TimedMode = true;
    globals.ProblemType = 1;
    ModalDialogDriver driver; // no steps: a dialog that opens all the same is closed and noted
    const StatsWindow window(nullptr, globals, RunResults { 0, 59, 100, 0 }, records.stores(),
                             m_site);
    QCOMPARE(driver.dialogsSeen(), QStringList());
    QVERIFY(!QFile::exists(records.topTimes.filePath())); // no time ranked or saved
}

void ResultsTest::slowTimedRunShowsTheTimeAlone()
{
    GameState globals;
    TempRecords records;
    globals.TimedMode = true;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), "Sumdash! Stats:");
        QVERIFY(!shown(dialog, "Command4"));
        QVERIFY(!shown(dialog, "Command1"));
        QCOMPARE(crowded(dialog), QStringList {});
        QCOMPARE(text(dialog, "ShowTime"), "3:01");
        QVERIFY(!shown(dialog, "PercentLab"));
        dialog->close(); // the close box
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 3, 1, 100, 0 }, records.stores(), m_site);
    QVERIFY(driver.closedByForce().isEmpty());
}

void ResultsTest::practiceRunShowsCountsAndPercentage()
{
    GameState globals;
    TempRecords records;
    globals.HideCounts = true; // the practice switches do not reach this window
    globals.HideTime = true;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), "Sumdash! Stats (PRACTICE):");
        for (const char* name : { "Label1", "CorrectLab", "Label3", "IncorrectLab", "Label4",
                                  "PercentLab", "Label2", "ShowTime" }) {
            QVERIFY2(shown(dialog, name), name);
        }
        QVERIFY(!shown(dialog, "Command4"));
        QVERIFY(!shown(dialog, "Command1"));
        QCOMPARE(text(dialog, "ShowTime"), "1:05");
        QCOMPARE(text(dialog, "CorrectLab"), "3");
        QCOMPARE(text(dialog, "IncorrectLab"), "5");
        QCOMPARE(text(dialog, "PercentLab"), "38%");
        QCOMPARE(child<QWidget>(dialog, "ShowTime")->y(), 0);
        QTest::keyClick(child<QWidget>(dialog, "Command3"), Qt::Key_Space);
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 1, 5, 3, 5 }, records.stores(), m_site);
    QVERIFY(driver.closedByForce().isEmpty());
}

void ResultsTest::onlyCorrectPracticeShowsTheTimeAlone()
{
    GameState globals;
    TempRecords records;
    globals.OnlyAllowCorrect = true;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), "Sumdash! Stats (PRACTICE):");
        QVERIFY(!shown(dialog, "CorrectLab"));
        QVERIFY(!shown(dialog, "PercentLab"));
        QVERIFY(!shown(dialog, "Command4"));
        QCOMPARE(crowded(dialog), QStringList {});
        clickChild(dialog, "Command3");
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 0, 40, 10, 0 }, records.stores(), m_site);
    QVERIFY(driver.closedByForce().isEmpty());
}

void ResultsTest::submitToolTipNamesTheSite()
{
    GameState globals;
    TempRecords records;
    globals.TimedMode = true;
    globals.ProblemType = 2;
    ModalDialogDriver driver;
    driver.then([](QWidget* prompt) { clickChild(prompt, "Command1"); });
    driver.then([](QWidget* board) { clickChild(board, "Command2"); });
    driver.then([&](QWidget* dialog) {
        QCOMPARE(dialog->objectName(), "frmStats");
        QCOMPARE(child<QWidget>(dialog, "Command1")->toolTip(),
                 "Click here to submit your time to scores.example.org.");
        QCOMPARE(child<QWidget>(dialog, "Command4")->toolTip(),
                 "Click here to join the Sumdash Club.");
        dialog->close();
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 1, 0, 100, 0 }, records.stores(),
                           WebSite { "https://scores.example.org:8443", m_browser });
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
}

void ResultsTest::longTimeIsNotCut()
{
    GameState globals;
    TempRecords records;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        auto* time = child<QLabel>(dialog, "ShowTime");
        QCOMPARE(time->text(), "12:05");
        QVERIFY(time->width() >= time->fontMetrics().horizontalAdvance(time->text()));
        QVERIFY(time->geometry().right() < dialog->width());
        dialog->close();
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 12, 5, 13, 5 }, records.stores(), m_site);
}

void ResultsTest::heldEnterDoesNotPressAButton()
{
    // The last answer's Enter, still held, repeats into this window: only a fresh press counts.
    GameState globals;
    TempRecords records;
    bool stayedOpenOnRepeat = false;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        auto* close = child<QWidget>(dialog, "Command3");
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                         true);
        QApplication::sendEvent(close, &repeat);
        QKeyEvent repeatedSpace(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier,
                                QStringLiteral(" "), true);
        QApplication::sendEvent(close, &repeatedSpace);
        stayedOpenOnRepeat = dialog->isVisible();
        QTest::keyClick(close, Qt::Key_Return);
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 0, 30, 5, 0 }, records.stores(), m_site);
    QVERIFY(stayedOpenOnRepeat);
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
}

QTEST_MAIN(ResultsTest)
#include "ResultsTest.moc"
