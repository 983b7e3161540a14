// The practice options dialog: number of problems, largest operand and three switches.
#pragma once

#include "engine/DrillView.h"

#include <QDialog>
#include <functional>

struct GameState;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

/// frmOptions. OK shows the main window's count and clock row as the switches ask (also when
/// the number is then rejected), stores the options and closes with DialogResult 0.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    using CountsRowSink = std::function<void(const CountsRowVisibility&)>;

    /// Loads the dialog from basGlobals, waits for the player and unloads it. The main window
    /// passes how to show its count and clock row.
    static void showModal(QWidget* parent, GameState& basGlobals, CountsRowSink showCountsRow);

private:
    OptionsDialog(QWidget* parent, GameState& basGlobals, CountsRowSink showCountsRow);
    void Form_Load();
    void onOk();
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    GameState& basGlobals;
    CountsRowSink m_showCountsRow;
    QCheckBox* hideTimeBox;
    QCheckBox* hideCountsBox;
    QCheckBox* onlyCorrectBox;
    QLineEdit* problemCountBox;
    QComboBox* maxOperandBox;
    QPushButton* okButton;
};
