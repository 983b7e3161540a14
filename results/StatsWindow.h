// The results window that closes every run: time, counts, percentage and the rewards.
#pragma once

#include "records/RecordStores.h"
#include "results/RunResults.h"
#include "web/WebSite.h"

#include <QDialog>
#include <functional>

struct GameState;
class QLabel;
class QPushButton;

/// frmStats. A timed run shows the time alone; within 3:00 it also offers joining the club and
/// submitting the time. A practice run shows counts and percentage unless only correct answers
/// were allowed.
class StatsWindow : public QDialog
{
    Q_OBJECT

public:
    /// Shows the results, records a qualifying time over them (recordTopTime()) and waits for
    /// the player to close the window.
    /// factTimes, when given, is offered by a "Fact Times" button: it opens that window over
    /// the results and returns true when a practice run was asked for, which closes the results.
    using FactTimesOpener = std::function<bool(QWidget* over)>;
    /// site is where a time is submitted to.
    static void showModal(QWidget* parent, GameState& basGlobals, const RunResults& results,
                          RecordStores stores, WebSite site, FactTimesOpener factTimes = {});

    /// Lays the results out; opens nothing and stores nothing.
    StatsWindow(QWidget* parent, GameState& basGlobals, const RunResults& results,
                RecordStores stores, WebSite site, FactTimesOpener factTimes = {});

    /// Once the window is on screen: a timed run within 3:00 is ranked into its type's table;
    /// when it made the table the name is asked, every table saved (or the failure said) and the
    /// board shown, each over this window. Sets TopTimeSlot. Nothing for any other run.
    void recordTopTime();

private:
    void showResults();
    /// Sends the time to the online scoreboard, once: name prompt, then the browser.
    void onSubmit();
    void onViewTopTimes();
    void onClose();
    void onJoinClub();
    void onViewClub();
    void onFactTimes();
    void regainFocus();

    GameState& basGlobals;
    const RunResults m_results;
    RecordStores m_stores;
    WebSite m_site;
    FactTimesOpener m_factTimes;
    QLabel* correctCaption;
    QLabel* timeCaption;
    QLabel* incorrectCaption;
    QLabel* percentCaption;
    QLabel* ShowTime;
    QLabel* CorrectLab;
    QLabel* IncorrectLab;
    QLabel* PercentLab;
    QWidget* trophyPicture;
    QPushButton* submitButton;
    QPushButton* topTimesButton;
    QPushButton* closeButton;
    QPushButton* joinButton;
    QPushButton* clubButton;
    QPushButton* factTimesButton;
};
