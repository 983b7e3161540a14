// The problem-type selector asked before every run.
#pragma once

#include <QDialog>
#include <array>

struct GameState;
class QPushButton;

/// frmSelect: five buttons, one per problem type. A button sets ProblemType and DialogResult 0;
/// the close box (or Escape) leaves DialogResult at -1 and ProblemType as it was.
class SelectDialog : public QDialog
{
    Q_OBJECT

public:
    /// Loads the selector, waits for the player and unloads it; the answer is in basGlobals.
    static void showModal(QWidget* parent, GameState& basGlobals);

private:
    SelectDialog(QWidget* parent, GameState& basGlobals);
    void Form_Load();
    void onTypeChosen(int index);

    GameState& basGlobals;
    std::array<QPushButton*, 5> typeButtons {};
};
