// The rows of the club board's grid: a heading row, then one row per member.
#include "records/ClubGridModel.h"

#include "records/ClubListing.h"

#include <QBrush>
#include <QColor>

void ClubGridModel::clearAll()
{
    beginResetModel();
    m_headings = false;
    m_listing = nullptr;
    m_type = -1;
    m_rows = 2;
    endResetModel();
}

void ClubGridModel::showMembers(const ClubListing& listing, int type)
{
    beginResetModel();
    m_headings = true;
    m_listing = &listing;
    m_type = type;
    m_rows = static_cast<int>(listing.memberCount(type)) + 1;
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
            return m_headings
                ? QString(index.column() == 0 ? QStringLiteral("Name") : QStringLiteral("Time"))
                : QString();
        }
        if (m_listing != nullptr && row - 1 < m_listing->memberCount(m_type)) {
            return (index.column() == 0 ? m_listing->name(m_type, row - 1)
                                        : m_listing->time(m_type, row - 1))
                .toString();
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
