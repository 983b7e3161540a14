// Guards the Fact Times window as a child and a parent meet it: after a practice run the grid
// tells how each fact is going, and "Practise these" starts a run of the facts that need work.
#include "assets/DesignFonts.h"
#include "facts/FactAttempt.h"
#include "results/StatsWindow.h"
#include "tests/support/GameFixture.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <map>
#include <optional>
#include <set>

namespace {

using Operands = std::pair<int, int>;

Operands problemOnShow(Game& game)
{
    return { game.label("NumLab").toInt(), game.label("DenLab").toInt() };
}

} // namespace

class FactTimesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDesignFonts(); }
    void gridTellsEachFactAndPractisesWhatNeedsWork();
    void clearingAsksFirst();
    void resultsWindowOpensFactTimesOverItself();
    void historyThatCannotBeKeptIsToldOnceAfterTheRun();
};

void FactTimesTest::gridTellsEachFactAndPractisesWhatNeedsWork()
{
    // A practice run of multiplication up to 10: every 7 x ... missed, every 6 x ... slow
    // (7 seconds), the rest right within a second.
    Game game;
    game.basGlobals.PracticeProblemCount = 100;
    game.basGlobals.MaxOperand = 10;
    ModalDialogDriver driver;
    game.startPractice(driver, "Command1_2");
    const auto missed = [](const Operands& problem) { return problem.first == 7; };
    const auto slow = [](const Operands& problem) { return problem.first == 6; };
    std::map<Operands, int> seen;
    for (int answers = 0; answers < 500 && game.answerBox()->isEnabled(); ++answers) {
        const Operands problem = problemOnShow(game);
        ++seen[problem];
        const QString right = rightAnswer(&game.frmMain);
        game.runClock.advance(slow(problem) ? 7000 : 1000);
        if (missed(problem)) {
            game.type(QString::number(right.toInt() + 1));
        } else {
            game.type(right);
            if (game.basGlobals.CorrectCount + 1 == game.basGlobals.PracticeProblemCount) {
                driver.then([](QWidget* stats) { stats->close(); });
            }
        }
        game.enter();
    }
    QVERIFY(driver.finished());
    int known = 0;
    std::optional<std::pair<Operands, int>> aMissedFact;
    std::optional<std::pair<Operands, int>> aSlowFact;
    for (const auto& [problem, count] : seen) {
        known += !missed(problem) && !slow(problem) && count >= 2 ? 1 : 0;
        if (count >= 2 && missed(problem) && !aMissedFact) {
            aMissedFact = { problem, std::min(count, 3) };
        }
        if (count >= 2 && slow(problem) && !aSlowFact) {
            aSlowFact = { problem, std::min(count, 3) };
        }
    }
    QVERIFY2(aMissedFact && aSlowFact, "the run asked a missed and a slow fact twice each");
    const auto cellName = [](const Operands& fact) {
        return QStringLiteral("fact_%1_%2").arg(fact.first).arg(fact.second);
    };

    std::set<Operands> practised;
    int needingWork = 0;
    driver.then([&](QWidget* window) {
        QCOMPARE(window->objectName(), "frmFactTimes");
        QCOMPARE(child<QLabel>(window, "lblKnown")->text(),
                 QStringLiteral("You know %1 of 91").arg(known));
        QCOMPARE(child<QWidget>(window, cellName(aMissedFact->first))->accessibleName(),
                 QStringLiteral("7 times %1: usually 1 second, 0 of %2 right")
                     .arg(aMissedFact->first.second)
                     .arg(aMissedFact->second));
        QCOMPARE(child<QWidget>(window, cellName(aSlowFact->first))->accessibleName(),
                 QStringLiteral("6 times %1: usually 7 seconds, %2 of %2 right")
                     .arg(aSlowFact->first.second)
                     .arg(aSlowFact->second));
        QVERIFY(child<QWidget>(window, "fact_12_12")
                    ->accessibleName()
                    .endsWith("not enough answers yet"));
        QVERIFY(child<QLabel>(window, "lblPractiseNext")->text().startsWith("Practise next: 7 x "));
        clickChild(window, "cmdPractise");
    });
    QVERIFY(game.settle());
    QTest::keyClick(&game.frmMain, Qt::Key_F9);
    QVERIFY(driver.finished());

    // The practice run starts at once, with no options or selector: its problems are the facts
    // that need work, with now and then one already known.
    game.countDown();
    QVERIFY(game.answerBox()->isEnabled());
    for (int problem = 0; problem < 30; ++problem) {
        const Operands asked = problemOnShow(game);
        QVERIFY2(seen[asked] >= 2, "a practised fact was answered at least twice before");
        practised.insert(asked);
        needingWork += missed(asked) || slow(asked) ? 1 : 0;
        game.type(rightAnswer(&game.frmMain));
        game.enter();
    }
    QVERIFY2(needingWork >= 18, qPrintable(QString::number(needingWork)));
    QVERIFY(practised.size() > 2);
    QVERIFY(!game.basGlobals.TimedMode);
    game.action("mnuStop")->trigger();

    // An ordinary practice run afterwards draws from every fact again.
    game.startPractice(driver, "Command1_2");
    int ordinaryNeedingWork = 0;
    for (int problem = 0; problem < 30; ++problem) {
        const Operands asked = problemOnShow(game);
        ordinaryNeedingWork += missed(asked) || slow(asked) ? 1 : 0;
        game.type(rightAnswer(&game.frmMain));
        game.enter();
    }
    QVERIFY2(ordinaryNeedingWork < 15, qPrintable(QString::number(ordinaryNeedingWork)));
    QVERIFY(driver.closedByForce().isEmpty());
}

void FactTimesTest::clearingAsksFirst()
{
    Game game;
    game.basGlobals.PracticeProblemCount = 3;
    ModalDialogDriver driver;
    game.startPractice(driver, "Command1_0");
    driver.then([](QWidget* stats) { stats->close(); });
    const Operands first = problemOnShow(game);
    for (int problem = 0; problem < 3; ++problem) {
        game.type(rightAnswer(&game.frmMain));
        game.enter();
    }
    const QString cellName = QStringLiteral("fact_%1_%2").arg(first.first).arg(first.second);
    QString question;
    QStringList toolTips;
    driver.then([&](QWidget* window) {
        auto* cell = child<QWidget>(window, cellName);
        toolTips << cell->toolTip();
        clickChild(window, "cmdClearHistory"); // answered No
        toolTips << child<QWidget>(window, cellName)->toolTip();
        clickChild(window, "cmdClearHistory"); // answered Yes
        toolTips << child<QWidget>(window, cellName)->toolTip();
        clickChild(window, "cmdClose");
    });
    driver.then([&](QWidget* box) {
        question = qobject_cast<QMessageBox*>(box)->text();
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
    });
    driver.then(
        [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); });
    game.action("mnuFactTimes")->trigger();
    QVERIFY(driver.finished());
    QCOMPARE(question,
             "Clear every fact time, including this session's answers? This cannot be undone.");
    QCOMPARE(toolTips.size(), 3);
    QVERIFY2(toolTips[0].contains(": right in "), qPrintable(toolTips[0]));
    QCOMPARE(toolTips[1], toolTips[0]);
    QVERIFY2(toolTips[2].endsWith("\nNo answers yet"), qPrintable(toolTips[2]));
}

void FactTimesTest::resultsWindowOpensFactTimesOverItself()
{
    Game game;
    game.basGlobals.PracticeProblemCount = 2;
    ModalDialogDriver driver;
    game.startPractice(driver, "Command1_0");
    QString message;
    QList<QRect> designedButtons;
    driver.then([&](QWidget* stats) {
        for (const char* name : { "Command2", "Command3", "Command5" }) {
            designedButtons << child<QWidget>(stats, name)->geometry();
        }
        clickChild(stats, "cmdFactTimes");
        stats->close();
    });
    driver.then([](QWidget* window) {
        clickChild(window, "cmdPractise"); // nothing to practise yet: a message, the window stays
        clickChild(window, "cmdClose");
    });
    driver.then([&](QWidget* box) {
        message = qobject_cast<QMessageBox*>(box)->text();
        qobject_cast<QDialog*>(box)->accept();
    });
    for (int problem = 0; problem < 2; ++problem) {
        game.type(rightAnswer(&game.frmMain));
        game.enter();
    }
    QVERIFY(driver.finished());
    QCOMPARE(driver.dialogsSeen(),
             QStringList({ "frmOptions", "frmSelect", "frmStats", "frmFactTimes", "" }));
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(message,
             "Nothing in Addition needs practice right now. Play a few runs, and the facts to "
             "practise will show here.");

    // The results' own buttons stand where they stand without the Fact Times button.
    GameState globals;
    QList<QRect> withoutFactTimes;
    driver.then([&](QWidget* stats) {
        QVERIFY(child<QWidget>(stats, "cmdFactTimes")->isHidden());
        for (const char* name : { "Command2", "Command3", "Command5" }) {
            withoutFactTimes << child<QWidget>(stats, name)->geometry();
        }
        stats->close();
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 1, 5, 2, 0 }, game.records.stores(),
                           game.site);
    QCOMPARE(designedButtons, withoutFactTimes);
}

void FactTimesTest::historyThatCannotBeKeptIsToldOnceAfterTheRun()
{
    // Keeping is on, but a folder stands where the history file belongs: the run plays to its
    // end, the results come and go, and only then is the parent told, once.
    Game game;
    game.records.topTimes.write(QStringLiteral("KeepFactHistory"), QStringLiteral("1"));
    QVERIFY(QDir(game.records.folder()).mkdir(QStringLiteral("facthistory.sqlite")));
    game.basGlobals.PracticeProblemCount = 2;
    ModalDialogDriver driver;
    QString message;
    for (int run = 0; run < 2; ++run) {
        game.startPractice(driver, "Command1_0");
        driver.then([](QWidget* stats) { stats->close(); });
        if (run == 0) {
            driver.then([&](QWidget* box) {
                auto* said = qobject_cast<QMessageBox*>(box);
                QVERIFY(said != nullptr);
                message = said->text();
                said->accept();
            });
        }
        for (int problem = 0; problem < 2; ++problem) {
            game.type(rightAnswer(&game.frmMain));
            game.enter();
        }
        if (run == 0) {
            QTRY_VERIFY(!message.isEmpty()); // the writer's report comes back to the window
        }
        QVERIFY(game.settle());
    }
    QVERIFY(driver.finished());
    QCOMPARE(driver.dialogsSeen(),
             QStringList({ "frmOptions", "frmSelect", "frmStats", "", "frmOptions", "frmSelect",
                           "frmStats" }));
    QVERIFY2(message.contains("could not open the fact history"), qPrintable(message));
    QVERIFY(driver.closedByForce().isEmpty());
}

QTEST_MAIN(FactTimesTest)
#include "FactTimesTest.moc"
