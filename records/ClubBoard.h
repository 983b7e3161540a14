// The club board: the members of one problem type, fastest first.
#pragma once

#include "records/ClubListing.h"

#include <QDialog>

class ClubGridModel;
class QComboBox;
class QTableView;
struct GameState;

/// frmClub. Opens on the type of the current or last run. The club file is read once, as the
/// board opens; a change of type lists what was read. Without a readable file the grid stays
/// empty, without headings; a file too large to read is said so first.
class ClubBoard : public QDialog
{
    Q_OBJECT

public:
    static void showModal(QWidget* parent, const GameState& basGlobals, const ClubFile& club);
    ~ClubBoard() override;

private:
    ClubBoard(QWidget* parent, const GameState& basGlobals, const ClubFile& club);
    void onTypeChosen();
    void LoadClubList(const QString& typeName);

    ClubListing m_listing;
    QComboBox* typeBox;
    QTableView* membersGrid;
    ClubGridModel* m_rows;
};
