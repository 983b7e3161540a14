// The top-times board: the five best times and names of one problem type at a time.
#pragma once

#include "records/TopTimes.h"

#include <QDialog>
#include <array>
#include <cstdint>

class QLabel;
class QPushButton;
class SettingsStore;
struct GameState;

/// frmHighScores. Opens on the type of the current or last run (Addition before any run) and
/// reads the store once; the five type buttons switch the table on show, the dark one marks it.
class TopTimesBoard : public QDialog
{
    Q_OBJECT

public:
    static void showModal(QWidget* parent, const GameState& basGlobals, const SettingsStore& store);

protected:
    /// Opening puts the keyboard on the button of the run's type.
    void showEvent(QShowEvent* event) override;

private:
    TopTimesBoard(QWidget* parent, const GameState& basGlobals, const SettingsStore& store);
    void Form_Load(const SettingsStore& store);
    void onTypeChosen(int index);
    void showTable(int index);

    std::int16_t m_problemType;
    TopTimeTables m_tables;
    QLabel* typeHeading;
    std::array<QLabel*, 5> timeLabels {};
    std::array<QLabel*, 5> nameLabels {};
    std::array<QPushButton*, 5> typeButtons {};
};
