// The rows of the club board's grid: a heading row, then one row per member.
#pragma once

#include <QAbstractTableModel>

class ClubListing;

/// Shows one type of a ClubListing, which holds the texts; the rows cost nothing of their own,
/// so switching types is a reset over members already kept. Row 0 is the heading row; it stays
/// blank until the file has been read.
class ClubGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    /// Every cell blank, headings included, and two rows: the heading row and one empty row.
    void clearAll();
    /// The headings "Name" and "Time" over the members of one type of the listing, in its
    /// order. The listing must outlive the model or its next showMembers/clearAll.
    void showMembers(const ClubListing& listing, int type);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    bool m_headings = false;
    int m_rows = 2;
    const ClubListing* m_listing = nullptr;
    int m_type = -1;
};
