// Guards the name prompt, both boards and joining the club, as a player meets them.
#include "assets/DesignFonts.h"
#include "engine/GameState.h"
#include "records/ClubBoard.h"
#include "records/NameDialog.h"
#include "records/TopTimes.h"
#include "records/TopTimesBoard.h"
#include "results/StatsWindow.h"
#include "testing/ModalDialogDriver.h"
#include "testing/RecordingBrowser.h"
#include "testing/TempRecords.h"
#include "tests/support/ChildNamed.h"
#include "tests/support/ShownText.h"
#include "web/SiteAddress.h"
#include "web/SiteDomain.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

QString cell(QWidget* board, int row, int column)
{
    return child<QTableView>(board, "MSFlexGrid1")->model()->index(row, column).data().toString();
}

int rows(QWidget* board)
{
    return child<QTableView>(board, "MSFlexGrid1")->model()->rowCount();
}

QColor buttonColour(QWidget* board, int index)
{
    return child<QPushButton>(board, QStringLiteral("Command1_%1").arg(index))
        ->palette()
        .color(QPalette::Button);
}

QString askName(GameState& globals, const std::function<void(QWidget*)>& answer,
                NameDialog::Banner banner = NameDialog::Banner::Shown)
{
    ModalDialogDriver driver;
    driver.then(answer);
    const QString name = NameDialog::ask(nullptr, globals, banner);
    if (!driver.closedByForce().isEmpty()) {
        QTest::qFail("the name prompt had to be closed by force", __FILE__, __LINE__);
    }
    return name;
}

} // namespace

class RecordsWindowsTest : public QObject
{
    Q_OBJECT

    RecordingBrowser m_browser;
    const WebSite m_site { builtInSiteAddress(), m_browser };

private slots:
    void initTestCase() { registerDesignFonts(); }
    void namePromptHeadings_data();
    void namePromptHeadings();
    void namePromptReturnsTheName();
    void namePromptLeavesOnlyByOk();
    void namePromptCountsWholeCharacters();
    void namePromptIgnoresAHeldEnter();
    void boardShowsDefaultsOfANeverWrittenStore();
    void boardOpensOnTheRunsType();
    void boardShowsMarkupInNamesAsTyped();
    void boardKeepsTheKeyboardWhereThePlayerPutsIt();
    void clubBoardWithoutAFile();
    void clubBoardListsOneTypeFastestFirst();
    void clubBoardSurvivesAGarbageFile();
    void joiningTheClub();
    void joiningWhenTheClubCannotBeSaved();
    void topTimeThatCannotBeSavedIsReported();
};

void RecordsWindowsTest::namePromptHeadings_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<bool>("banner");

    QTest::newRow("top time") << ""
                              << "You have a top 5 time!" << true;
    QTest::newRow("club") << "You are in the Sumdash Club!"
                          << "You are in the Sumdash Club!" << true;
    const QString submission
        = QString::fromStdString(submissionPrompt(builtInSiteAddress().toStdString()));
    QTest::newRow("submission") << submission << submission << false;
}

void RecordsWindowsTest::namePromptHeadings()
{
    QFETCH(QString, title);
    QFETCH(QString, heading);
    QFETCH(bool, banner);

    GameState globals;
    globals.NamePromptTitle = title.toStdString();
    const auto shows = banner ? NameDialog::Banner::Shown : NameDialog::Banner::Hidden;
    askName(
        globals,
        [&](QWidget* prompt) {
            QCOMPARE(prompt->objectName(), "frmTopTime");
            QCOMPARE(prompt->windowTitle(), "Great Time!");
            QCOMPARE(child<QLabel>(prompt, "Label2")->text(), heading);
            QCOMPARE(child<QLabel>(prompt, "Label1")->text(), "Please enter your name:");
            QCOMPARE(!child<QWidget>(prompt, "Image1")->isHidden(), banner);
            auto* name = child<QLineEdit>(prompt, "Text1");
            QCOMPARE(name->text(), "Your Name");
            QCOMPARE(name->selectedText(), "Your Name");
            clickChild(prompt, "Command1");
        },
        shows);
}

void RecordsWindowsTest::namePromptReturnsTheName()
{
    GameState globals;
    QCOMPARE(askName(globals, [](QWidget* prompt) { clickChild(prompt, "Command1"); }),
             "Your Name");
    QCOMPARE(askName(globals,
                     [](QWidget* prompt) {
                         auto* name = child<QLineEdit>(prompt, "Text1");
                         QTest::keyClick(name, Qt::Key_Backspace);
                         clickChild(prompt, "Command1");
                     }),
             "");
    // Typing replaces the selected default; a 21st character does not fit; Enter is OK.
    QCOMPARE(askName(globals,
                     [](QWidget* prompt) {
                         auto* name = child<QLineEdit>(prompt, "Text1");
                         QTRY_COMPARE(QApplication::focusWidget(), name);
                         QTest::keyClicks(name, "Abcdefghijklmnopqrstuvwxyz");
                         QTest::keyClick(name, Qt::Key_Enter);
                     }),
             "Abcdefghijklmnopqrst");
    QCOMPARE(askName(globals,
                     [](QWidget* prompt) {
                         auto* name = child<QLineEdit>(prompt, "Text1");
                         name->selectAll();
                         name->insert(QString::fromUtf8("Zoë 小明")); // as an input method types
                         QTest::keyClick(name, Qt::Key_Return);
                     }),
             QString::fromUtf8("Zoë 小明"));
}

void RecordsWindowsTest::namePromptLeavesOnlyByOk()
{
    GameState globals;
    bool stillOpen = false;
    askName(globals, [&](QWidget* prompt) {
        QTest::keyClick(child<QLineEdit>(prompt, "Text1"), Qt::Key_Escape);
        const bool closedByTheWindowManager = prompt->close(); // as Alt+F4 would ask
        stillOpen = prompt->isVisible() && !closedByTheWindowManager;
        clickChild(prompt, "Command1");
    });
    QVERIFY(stillOpen);
}

// Twenty characters as a reader counts them: an emoji or a flag is one, and is never cut in half
// (half an emoji was stored as "?").
void RecordsWindowsTest::namePromptCountsWholeCharacters()
{
    GameState globals;
    const QString emoji = QString::fromUtf8("\U0001F600");
    const QString flag = QString::fromUtf8("\U0001F1EB\U0001F1F7");
    const QString family = QString::fromUtf8("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    const auto typed = [&](const QStringList& entries) {
        return askName(globals, [&](QWidget* prompt) {
            auto* name = child<QLineEdit>(prompt, "Text1");
            name->selectAll();
            for (const QString& entry : entries) {
                name->insert(entry); // as an input method or a paste puts it in
            }
            QTest::keyClick(name, Qt::Key_Return);
        });
    };
    const QString nineteen(19, 'a');
    QCOMPARE(typed({ nineteen, emoji }), nineteen + emoji);
    QCOMPARE(typed({ nineteen, emoji, "b" }), nineteen + emoji);
    QCOMPARE(typed({ nineteen, family }), nineteen + family);
    QCOMPARE(typed({ QString(18, 'a'), flag, flag }), QString(18, 'a') + flag + flag);
    QCOMPARE(typed({ nineteen, flag + emoji }), nineteen + flag);
    // What does not fit of a long paste is left out; the name around it stays.
    QCOMPARE(askName(globals,
                     [](QWidget* prompt) {
                         auto* name = child<QLineEdit>(prompt, "Text1");
                         name->setText("Ann Lee");
                         name->setCursorPosition(3);
                         name->insert(QString(30, 'x'));
                         QTest::keyClick(name, Qt::Key_Return);
                     }),
             "Ann" + QString(13, 'x') + " Lee");
}

// The Enter still held from the last answer repeats into the prompt that opens after it; its
// repeats must not take "Your Name" as the name.
void RecordsWindowsTest::namePromptIgnoresAHeldEnter()
{
    GameState globals;
    bool stillOpen = false;
    const QString name = askName(globals, [&](QWidget* prompt) {
        auto* box = child<QLineEdit>(prompt, "Text1");
        for (Qt::Key key : { Qt::Key_Return, Qt::Key_Enter }) {
            QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QStringLiteral("\r"), true);
            QApplication::sendEvent(box, &repeat);
        }
        // Not every repeat is marked as one: the X server's release and press of a held key
        // share their time, and Qt can miss the first such pair in a window just opened.
        for (QEvent::Type type : { QEvent::KeyRelease, QEvent::KeyPress }) {
            QKeyEvent unmarked(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            unmarked.setTimestamp(2001526);
            QApplication::sendEvent(box, &unmarked);
        }
        stillOpen = prompt->isVisible();
        QTest::keyClicks(box, "Kim");
        QTest::keyClick(box, Qt::Key_Return);
    });
    QVERIFY(stillOpen);
    QCOMPARE(name, "Kim");
}

void RecordsWindowsTest::boardShowsDefaultsOfANeverWrittenStore()
{
    GameState globals;
    TempRecords records;
    ModalDialogDriver driver;
    driver.then([](QWidget* board) {
        QCOMPARE(board->windowTitle(), "Sumdash! Top Times:");
        QCOMPARE(child<QLabel>(board, "Label5")->text(), "Top Sumdash! Times");
        for (int type = 0; type < 5; ++type) {
            clickChild(board, QStringLiteral("Command1_%1").arg(type));
            for (int place = 0; place < 5; ++place) {
                QCOMPARE(child<QLabel>(board, QStringLiteral("Label2_%1").arg(place))->text(),
                         QString::number(place + 1));
                QCOMPARE(child<QLabel>(board, QStringLiteral("Label1_%1").arg(place))->text(),
                         "3:00");
                QCOMPARE(child<QLabel>(board, QStringLiteral("Label3_%1").arg(place))->text(),
                         "Empty");
            }
        }
        clickChild(board, "Command2");
    });
    TopTimesBoard::showModal(nullptr, globals, records.topTimes);
    QVERIFY(driver.closedByForce().isEmpty());
    QVERIFY(!QFile::exists(records.topTimes.filePath())); // the board only reads
}

void RecordsWindowsTest::boardOpensOnTheRunsType()
{
    TempRecords records;
    records.topTimes.write("TopMulTime0", "1:11");
    records.topTimes.write("TopMulName0", "");
    for (const auto& [problemType, heading] :
         { std::pair { 3, "Multiplication" }, std::pair { 0, "Addition" },
           std::pair { 9, "Addition" } }) {
        GameState globals;
        globals.ProblemType = static_cast<std::int16_t>(problemType);
        ModalDialogDriver driver;
        driver.then([&](QWidget* board) {
            QCOMPARE(child<QLabel>(board, "Label4")->text(), heading);
            const int index = problemType == 3 ? 2 : 0;
            QCOMPARE(buttonColour(board, index), QColor(0xC0, 0xC0, 0xC0));
            QCOMPARE(buttonColour(board, (index + 1) % 5), QColor(0xE0, 0xE0, 0xE0));
            QTRY_COMPARE(QApplication::focusWidget(),
                         child<QWidget>(board, QStringLiteral("Command1_%1").arg(index)));
            if (problemType == 3) {
                QCOMPARE(child<QLabel>(board, "Label1_0")->text(), "1:11");
                QCOMPARE(child<QLabel>(board, "Label3_0")->text(), "");
            }
            board->close();
        });
        TopTimesBoard::showModal(nullptr, globals, records.topTimes);
        QVERIFY(driver.closedByForce().isEmpty());
    }
}

// A name is shown exactly as it was typed: a tag in it is never drawn as a heading or a picture
// (a picture tag pointing at /dev/zero once read until memory ran out).
void RecordsWindowsTest::boardShowsMarkupInNamesAsTyped()
{
    const QStringList names { "<h1>Ann</h1>", "<img src=\":/assets/stats.svg\">",
                              "<b>Bo</b> & <i>Cy</i>", "Dee <a href=\"x\">",
                              "<p>" + QString(40, 'E') + "</p>" };
    GameState globals;
    globals.ProblemType = 4;
    TempRecords records;
    for (int place = 0; place < 5; ++place) {
        records.topTimes.write(topTimeKey(4, place, false), names[place].left(5));
        records.topTimes.write(topTimeKey(4, place, true), names[place]);
    }
    ModalDialogDriver driver;
    driver.then([&](QWidget* board) {
        for (int place = 0; place < 4; ++place) {
            QCOMPARE(shownText(child<QLabel>(board, QStringLiteral("Label3_%1").arg(place))),
                     names[place]);
            QCOMPARE(shownText(child<QLabel>(board, QStringLiteral("Label1_%1").arg(place))),
                     names[place].left(5));
        }
        // Too long for its row: elided on the board, whole in the tool tip.
        auto* longName = child<QLabel>(board, "Label3_4");
        QVERIFY(shownText(longName).startsWith("<p>EEE"));
        QCOMPARE(shownToolTip(longName), names[4]);
        board->close();
    });
    TopTimesBoard::showModal(nullptr, globals, records.topTimes);
}

void RecordsWindowsTest::boardKeepsTheKeyboardWhereThePlayerPutsIt()
{
    GameState globals;
    globals.ProblemType = 2;
    TempRecords records;
    records.topTimes.write("TopRanTime0", "0:42");
    ModalDialogDriver driver;
    driver.then([&](QWidget* board) {
        // Opened on Subtraction: its button has the keyboard.
        QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>(board, "Command1_1"));
        // Tab to Random and Space shows its table; the keyboard stays there, also once the
        // window is drawn again whole, as when it is uncovered.
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(child<QLabel>(board, "Label4")->text(), "Random");
        QCOMPARE(child<QLabel>(board, "Label1_0")->text(), "0:42");
        for (int index = 0; index < 5; ++index) {
            QCOMPARE(buttonColour(board, index),
                     index == 4 ? QColor(0xC0, 0xC0, 0xC0) : QColor(0xE0, 0xE0, 0xE0));
        }
        board->repaint();
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(board, "Command1_4"));
        // A type pressed without taking the focus (a screen reader's press) takes it too.
        clickChild(board, "Command1_0");
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(board, "Command1_0"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(board, "Command1_1"));
        // From Random, Tab walks on to Close, and Space presses it.
        clickChild(board, "Command1_4");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(board, "Command2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    });
    TopTimesBoard::showModal(nullptr, globals, records.topTimes);
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
}

void RecordsWindowsTest::clubBoardWithoutAFile()
{
    GameState globals;
    globals.ProblemType = 4;
    TempRecords records;
    ModalDialogDriver driver;
    driver.then([](QWidget* board) {
        QCOMPARE(board->windowTitle(), "Sumdash Club:");
        QCOMPARE(child<QComboBox>(board, "Combo1")->currentText(), "Division");
        QCOMPARE(rows(board), 2);
        QCOMPARE(cell(board, 0, 0), "");
        QCOMPARE(cell(board, 0, 1), "");
        child<QComboBox>(board, "Combo1")->setCurrentIndex(0);
        QCOMPARE(rows(board), 2);
        QCOMPARE(cell(board, 0, 0), "");
        clickChild(board, "Command3");
    });
    ClubBoard::showModal(nullptr, globals, records.club);
    QVERIFY(driver.closedByForce().isEmpty());
    QVERIFY(!QFile::exists(records.club.path()));
}

void RecordsWindowsTest::clubBoardListsOneTypeFastestFirst()
{
    GameState globals;
    globals.ProblemType = 1;
    TempRecords records;
    QVERIFY(records.club.SaveClubRecord(clubRecordText("Cy", "2:59", "Addition")));
    QVERIFY(records.club.SaveClubRecord(clubRecordText("Di", "1:00", "Subtraction")));
    QVERIFY(records.club.SaveClubRecord(clubRecordText("Ann", "1:47", "Addition")));
    QVERIFY(records.club.SaveClubRecord(clubRecordText("Bo", "2:05", "Addition")));
    QVERIFY(records.club.SaveClubRecord(clubRecordText("Ed", "0:30", "addition")));
    ModalDialogDriver driver;
    driver.then([](QWidget* board) {
        QCOMPARE(rows(board), 4);
        QCOMPARE(cell(board, 0, 0), "Name");
        QCOMPARE(cell(board, 0, 1), "Time");
        QCOMPARE(cell(board, 1, 0) + cell(board, 1, 1), "Ann1:47");
        QCOMPARE(cell(board, 2, 0) + cell(board, 2, 1), "Bo2:05");
        QCOMPARE(cell(board, 3, 0) + cell(board, 3, 1), "Cy2:59");
        child<QComboBox>(board, "Combo1")->setCurrentIndex(1);
        QCOMPARE(rows(board), 2);
        QCOMPARE(cell(board, 1, 0), "Di");
        child<QComboBox>(board, "Combo1")->setCurrentIndex(2);
        QCOMPARE(rows(board), 1); // headings only: no Multiplication members
        QCOMPARE(cell(board, 0, 0), "Name");
        board->close();
    });
    ClubBoard::showModal(nullptr, globals, records.club);
    QVERIFY(driver.closedByForce().isEmpty());
}

void RecordsWindowsTest::clubBoardSurvivesAGarbageFile()
{
    GameState globals;
    TempRecords records;
    QFile file(records.club.path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    // Every byte value, over and over, in an order no line ends could make sense of.
    QByteArray garbage;
    for (unsigned i = 0; i < 300000; ++i) {
        garbage += static_cast<char>((i * 7919u) % 256u);
    }
    file.write(garbage);
    file.close();
    ModalDialogDriver driver;
    driver.then([](QWidget* board) {
        // No line of it is a member: at most the heading row and one blank row.
        QVERIFY(rows(board) <= 2);
        for (int row = 1; row < rows(board); ++row) {
            QCOMPARE(cell(board, row, 0), QString());
            QCOMPARE(cell(board, row, 1), QString());
        }
        board->close();
    });
    ClubBoard::showModal(nullptr, globals, records.club);
    QVERIFY(driver.closedByForce().isEmpty());
}

void RecordsWindowsTest::joiningTheClub()
{
    GameState globals;
    globals.TimedMode = true;
    globals.ProblemType = 3;
    TempRecords records;
    // A full table, so 2:47 makes no place and only the join road runs.
    for (int place = 0; place < 5; ++place) {
        records.topTimes.write(topTimeKey(3, place, false), QStringLiteral("1:0%1").arg(place));
    }
    ModalDialogDriver driver;
    driver.then([&](QWidget* stats) {
        clickChild(stats, "Command4");
        QVERIFY(child<QWidget>(stats, "Command4")->isHidden());
        QVERIFY(!child<QWidget>(stats, "Command1")->isHidden());
        QVERIFY(globals.NamePromptTitle.empty());
        clickChild(stats, "Command3");
    });
    driver.then([&](QWidget* prompt) {
        QCOMPARE(child<QLabel>(prompt, "Label2")->text(), "You are in the Sumdash Club!");
        QCOMPARE(globals.NamePromptTitle, "You are in the Sumdash Club!");
        auto* name = child<QLineEdit>(prompt, "Text1");
        name->selectAll();
        QTest::keyClicks(name, "Ann");
        clickChild(prompt, "Command1");
    });
    driver.then([](QWidget* board) {
        QCOMPARE(board->objectName(), "frmClub");
        QCOMPARE(child<QComboBox>(board, "Combo1")->currentText(), "Multiplication");
        QCOMPARE(cell(board, 1, 0), "Ann");
        QCOMPARE(cell(board, 1, 1), "2:47");
        clickChild(board, "Command3");
    });
    StatsWindow::showModal(nullptr, globals, RunResults { 2, 47, 100, 0 }, records.stores(),
                           m_site);
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
    QFile file(records.club.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), EncodeClubText("Ann^|^2:47^|^Multiplication^|^") + "\r\n");
}

void RecordsWindowsTest::joiningWhenTheClubCannotBeSaved()
{
    GameState globals;
    globals.TimedMode = true;
    globals.ProblemType = 1;
    TempRecords records;
    for (int place = 0; place < 5; ++place) {
        records.topTimes.write(topTimeKey(1, place, false), QStringLiteral("0:1%1").arg(place));
    }
    ClubFile folder(records.dir.path()); // a folder in the club file's place
    QString message;
    ModalDialogDriver driver;
    driver.then([](QWidget* stats) {
        clickChild(stats,
                   "Command4"); // the prompt, the message and the board open and close in here
        stats->close();
    });
    driver.then([](QWidget* prompt) { clickChild(prompt, "Command1"); });
    driver.then([&](QWidget* box) {
        message = qobject_cast<QMessageBox*>(box)->text();
        qobject_cast<QDialog*>(box)->accept();
    });
    driver.then([](QWidget* board) { board->close(); });
    StatsWindow::showModal(nullptr, globals, RunResults { 1, 0, 100, 0 },
                           RecordStores { records.topTimes, folder }, m_site);
    QCOMPARE(message, "Unable to save file.");
    QCOMPARE(driver.dialogsSeen(), QStringList({ "frmStats", "frmTopTime", "", "frmClub" }));
    QVERIFY(driver.closedByForce().isEmpty());
    QVERIFY(globals.NamePromptTitle.empty());
}

void RecordsWindowsTest::topTimeThatCannotBeSavedIsReported()
{
    GameState globals;
    globals.TimedMode = true;
    globals.ProblemType = 5;
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath("Pellmoor.ini"))); // a folder in the store's place
    IniSettingsStore store(dir.filePath("Pellmoor.ini"));
    ClubFile club(dir.filePath(ClubFileName));
    QString message;
    ModalDialogDriver driver;
    driver.then([](QWidget* prompt) { clickChild(prompt, "Command1"); });
    driver.then([&](QWidget* box) {
        message = qobject_cast<QMessageBox*>(box)->text();
        qobject_cast<QDialog*>(box)->accept();
    });
    driver.then([](QWidget* board) { board->close(); });
    driver.then([](QWidget* stats) { stats->close(); });
    StatsWindow::showModal(nullptr, globals, RunResults { 1, 30, 100, 0 },
                           RecordStores { store, club }, m_site);
    QCOMPARE(message, "Unable to save file.");
    QVERIFY(driver.closedByForce().isEmpty());
}

QTEST_MAIN(RecordsWindowsTest)
#include "RecordsWindowsTest.moc"
