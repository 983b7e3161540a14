// The results window that closes every run: time, counts, percentage and the rewards.
#pragma once

#include "results/RunResults.h"

#include <QDialog>

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
    static void showModal(QWidget* parent, GameState& basGlobals, const RunResults& results);

private:
    StatsWindow(QWidget* parent, GameState& basGlobals, const RunResults& results);
    void Form_Load(const RunResults& results);
    void Command3_Click();
    bool eventFilter(QObject* watched, QEvent* event) override;

    GameState& basGlobals;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* ShowTime;
    QLabel* CorrectLab;
    QLabel* IncorrectLab;
    QLabel* PercentLab;
    QWidget* Image1;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
};
