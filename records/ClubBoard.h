// The club board: the members of one problem type, fastest first.
#pragma once

#include <QDialog>

class ClubFile;
class ClubGridModel;
class QComboBox;
class QTableView;
struct GameState;

/// frmClub. Opens on the type of the current or last run; every change of type reads the club
/// file again. Without a readable file the grid stays empty, without headings.
class ClubBoard : public QDialog
{
    Q_OBJECT

public:
    static void showModal(QWidget* parent, const GameState& basGlobals, const ClubFile& club);

private:
    ClubBoard(QWidget* parent, const GameState& basGlobals, const ClubFile& club);
    void Combo1_Click();
    void LoadClubList(const QString& typeName);

    const ClubFile& m_club;
    QComboBox* Combo1;
    QTableView* MSFlexGrid1;
    ClubGridModel* m_rows;
};
