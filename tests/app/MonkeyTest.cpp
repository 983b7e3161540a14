// Guards the game against a child hammering it: tens of thousands of random keys, clicks, ticks
// and commands across every window, with the counts, the club file and the store checked as it
// goes.
#include "assets/DesignFonts.h"
#include "records/ClubFile.h"
#include "tests/support/GameFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QRandomGenerator>
#include <QSet>
#include <QSettings>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int Actions = 20000;

const std::array<Qt::Key, 16> Keys {
    Qt::Key_0,         Qt::Key_1,  Qt::Key_5,     Qt::Key_9,      Qt::Key_Return, Qt::Key_Enter,
    Qt::Key_Backspace, Qt::Key_A,  Qt::Key_Space, Qt::Key_Escape, Qt::Key_Tab,    Qt::Key_F5,
    Qt::Key_F6,        Qt::Key_F7, Qt::Key_F8,    Qt::Key_Minus
};

/// Answers whatever modal window is up with a random act of its own: a button, a key, a close.
class DialogMonkey : public QObject
{
public:
    explicit DialogMonkey(QRandomGenerator& random)
        : m_random(random)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { act(); });
        m_timer.start(0);
    }

private:
    // Each act runs from its own queued call: an act that opens another window (a board from
    // the results) waits inside it, while this timer goes on answering the new window.
    void act()
    {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || m_pending) {
            return;
        }
        met.insert(dialog->objectName());
        m_pending = true;
        const int choice = static_cast<int>(m_random.bounded(10));
        const quint32 pick = m_random.generate();
        QTimer::singleShot(0, this, [this, dialog = QPointer<QWidget>(dialog), choice, pick] {
            m_pending = false;
            if (dialog == nullptr || dialog != QApplication::activeModalWidget()) {
                return;
            }
            if (choice < 6) {
                QList<QAbstractButton*> buttons;
                for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
                    if (button->isVisible() && button->isEnabled()) {
                        buttons << button;
                    }
                }
                if (!buttons.isEmpty()) {
                    buttons.at(static_cast<int>(pick % static_cast<quint32>(buttons.size())))
                        ->click();
                }
            } else if (choice < 8) {
                QWidget* target
                    = QApplication::focusWidget() ? QApplication::focusWidget() : dialog.data();
                QTest::keyClick(target, Keys[pick % Keys.size()]);
            } else if (auto* combo = dialog->findChild<QComboBox*>()) {
                combo->setCurrentIndex(
                    static_cast<int>(pick % static_cast<quint32>(combo->count())));
            } else if (auto* asDialog = qobject_cast<QDialog*>(dialog)) {
                asDialog->done(QDialog::Rejected); // the close box, even where Escape is ignored
            }
        });
    }

public:
    QSet<QString> met; ///< the windows it has answered

private:
    QRandomGenerator& m_random;
    QTimer m_timer;
    bool m_pending = false;
};

} // namespace

class MonkeyTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDesignFonts(); }
    void randomPlayKeepsEverythingWhole();
};

void MonkeyTest::randomPlayKeepsEverythingWhole()
{
    const quint32 seed = qEnvironmentVariableIsSet("SUMDASH_MONKEY_SEED")
        ? qEnvironmentVariable("SUMDASH_MONKEY_SEED").toUInt()
        : 20261208u;
    qInfo("monkey seed %u", seed);
    QRandomGenerator random(seed);
    Game game;
    DialogMonkey dialogs(random);
    qint64 clubSize = 0;
    const QList<const char*> commands { "mnuDash",        "mnuStart",     "mnuStop",
                                        "mnuOptions",     "mnuBestTimes", "mnuViewClub",
                                        "mnuOnlineTimes", "mnuHome",      "mnuAbout" };

    for (int action = 0; action < Actions; ++action) {
        const int choice = static_cast<int>(random.bounded(100));
        if (choice < 45) {
            QWidget* target
                = QApplication::focusWidget() ? QApplication::focusWidget() : &game.frmMain;
            QTest::keyClick(target, Keys[random.bounded(static_cast<quint32>(Keys.size()))]);
        } else if (choice < 58) {
            if (game.answerBox()->isVisible() && game.answerBox()->isEnabled()) {
                game.type(rightAnswer(&game.frmMain));
                game.enter();
            }
        } else if (choice < 60) {
            // A good player: right answers until the run ends, so the results come up too.
            for (int answer = 0;
                 answer < 100 && game.answerBox()->isVisible() && game.answerBox()->isEnabled();
                 ++answer) {
                game.type(rightAnswer(&game.frmMain));
                game.enter();
            }
        } else if (choice < 75) {
            game.frmMain.Timer2_Timer();
        } else if (choice < 88) {
            game.tickSecond();
        } else if (choice < 96) {
            QAction* command
                = game.action(commands.at(static_cast<int>(random.bounded(commands.size()))));
            if (command->isEnabled()) {
                command->trigger();
            }
        } else {
            QTest::mouseClick(game.find("Picture1"), Qt::LeftButton, {}, QPoint(10, 10));
        }

        // The counts on show agree with the counters, also while hidden.
        QCOMPARE(game.label("CorrectLab"), QString::number(game.basGlobals.CorrectCount));
        QCOMPARE(game.label("IncorrectLab"), QString::number(game.basGlobals.IncorrectCount));
        QVERIFY(game.answerBox()->text().size() <= 4);
        // The club file only ever grows, and by whole lines.
        QFile club(game.records.club.path());
        if (club.exists()) {
            QVERIFY(club.size() >= clubSize);
            clubSize = club.size();
            QVERIFY(club.open(QIODevice::ReadOnly));
            QVERIFY(club.readAll().endsWith("\r\n"));
        }
        if (!game.frmMain.isVisible()) {
            game.frmMain.show(); // Escape or a close reached the main window
        }
    }
    qInfo("windows met: %s",
          qPrintable(QStringList(dialogs.met.begin(), dialogs.met.end()).join(' ')));
    // The monkey reached every kind of window, the results and both boards included.
    for (const char* name :
         { "frmSelect", "frmOptions", "frmStats", "frmHighScores", "frmClub", "frmAbout" }) {
        QVERIFY2(dialogs.met.contains(QString::fromLatin1(name)), name);
    }
    // The store reads back, whatever the run left in it.
    QSettings store(game.records.topTimes.filePath(), QSettings::IniFormat);
    QCOMPARE(store.status(), QSettings::NoError);
    QVERIFY(game.records.club.read().has_value() || !QFile::exists(game.records.club.path()));
}

QTEST_MAIN(MonkeyTest)
#include "MonkeyTest.moc"
