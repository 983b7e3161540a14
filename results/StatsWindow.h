// The results window that closes every run: time, counts, percentage and the rewards.
#pragma once

#include "records/RecordStores.h"
#include "results/RunResults.h"

#include <QDialog>
#include <cstdint>

struct GameState;
class WebBrowser;
class QLabel;
class QPushButton;

/// frmStats. A timed run shows the time alone; within 3:00 it also offers joining the club and
/// submitting the time. A practice run shows counts and percentage unless only correct answers
/// were allowed.
class StatsWindow : public QDialog
{
    Q_OBJECT

public:
    static void showModal(QWidget* parent, GameState& basGlobals, const RunResults& results,
                          RecordStores stores, WebBrowser& browser);

private:
    StatsWindow(QWidget* parent, GameState& basGlobals, const RunResults& results,
                RecordStores stores, WebBrowser& browser);
    void Form_Load();
    /// Ranks a qualifying time into its type's table, asks the name when it made the table,
    /// saves all tables and then shows the board.
    void RecordTopTime(std::int16_t problemType);
    /// Sends the time to the online scoreboard, once: name prompt, then the browser.
    void onSubmit();
    void onViewTopTimes();
    void onClose();
    void onJoinClub();
    void onViewClub();
    void regainFocus();

    GameState& basGlobals;
    const RunResults m_results;
    RecordStores m_stores;
    WebBrowser& m_browser;
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
};
