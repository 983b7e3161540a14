// The rows of the club board's grid: a heading row, then one row per member.
#include "records/ClubGridModel.h"

#include <QBrush>
#include <QColor>

void ClubGridModel::clearAll()
{
    beginResetModel();
    m_headings = false;
    m_members.clear();
    m_rows = 2;
    endResetModel();
}

void ClubGridModel::showMembers(std::vector<std::pair<QString, QString>> members)
{
    beginResetModel();
    m_headings = true;
    m_members = std::move(members);
    m_rows = static_cast<int>(m_members.size()) + 1;
    endResetModel();
}

int ClubGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ClubGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ClubGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        if (row == 0) {
            return m_headings ? QString(index.column() == 0 ? QStringLiteral("Name") : QStringLiteral("Time"))
                              : QString();
        }
        if (static_cast<std::size_t>(row - 1) < m_members.size()) {
            const auto& member = m_members[static_cast<std::size_t>(row - 1)];
            return index.column() == 0 ? member.first : member.second;
        }
        return QString();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::BackgroundRole:
        return row == 0 ? QVariant(QBrush(QColor(0xC0, 0xC0, 0xC0))) : QVariant();
    default:
        return {};
    }
}
