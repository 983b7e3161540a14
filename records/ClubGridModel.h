// The rows of the club board's grid: a heading row, then one row per member.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <utility>
#include <vector>

/// Holds just the two texts of each row, so a club of 100,000 members costs little more than
/// its names and times. Row 0 is the heading row; it stays blank until the file has been read.
class ClubGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    /// Every cell blank, headings included, and two rows: the heading row and one empty row.
    void clearAll();
    /// The headings "Name" and "Time" over the given members, in their order.
    void showMembers(std::vector<std::pair<QString, QString>> members);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    bool m_headings = false;
    int m_rows = 2;
    std::vector<std::pair<QString, QString>> m_members;
};
