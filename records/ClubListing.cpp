// What the club board lists: per problem type, the members' names and times, fastest first.
#include "records/ClubListing.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <numeric>

ClubListing::ClubListing(QStringList typeNames)
    : m_typeNames(std::move(typeNames))
    , m_typeStarts(static_cast<std::size_t>(m_typeNames.size()) + 1, 0)
{
}

void ClubListing::clear()
{
    m_members = {};
    m_text = QString();
    std::fill(m_typeStarts.begin(), m_typeStarts.end(), 0);
}

ClubListing::State ClubListing::load(const ClubFile& club, qint64 largestFile)
{
    clear();
    // Room for the most the file can hold, taken once: nothing kept is ever moved to a larger
    // block, which would leave the smaller ones behind, and the pages never written to cost no
    // memory. Each character kept comes from at least one byte of the file; each member's line
    // has at least its three separators and its type's name.
    if (const qint64 size = QFileInfo(club.path()).size(); size > 0 && size <= largestFile) {
        qsizetype shortestLine = 3 * ClubSeparator.size();
        if (!m_typeNames.isEmpty()) {
            shortestLine += std::min_element(m_typeNames.cbegin(), m_typeNames.cend(),
                                             [](const QString& a, const QString& b) {
                                                 return a.size() < b.size();
                                             })
                                ->size();
        }
        m_text.reserve(static_cast<qsizetype>(size));
        m_members.reserve(static_cast<std::size_t>(size / shortestLine + 1));
    }

    switch (club.stream(
        [this](QStringView name, QStringView time, QStringView type) { keep(name, time, type); },
        largestFile)) {
    case ClubFile::ReadResult::Read:
        m_state = State::Read;
        break;
    case ClubFile::ReadResult::Unreadable:
        m_state = State::Unreadable;
        break;
    case ClubFile::ReadResult::TooLarge:
        m_state = State::TooLarge;
        break;
    }
    if (m_state != State::Read) {
        // What came before a failure is not shown: the board lists a file whole or not at all.
        clear();
        return m_state;
    }

    // By type, then fastest first, once for all types. Members with equal times keep their file
    // order, which is the order of their texts, so an in-place sort needs no room of its own.
    std::sort(m_members.begin(), m_members.end(), [this](const Member& a, const Member& b) {
        if (a.type != b.type) {
            return a.type < b.type;
        }
        if (a.timeKey != b.timeKey) {
            return a.timeKey < b.timeKey;
        }
        if (a.timeLength != b.timeLength || a.timeLength > 4) {
            // The key holds only the first four units of each time.
            if (const int order = timeOf(a).compare(timeOf(b), Qt::CaseSensitive); order != 0) {
                return order < 0;
            }
        }
        return a.text < b.text;
    });
    for (const Member& member : m_members) {
        ++m_typeStarts[member.type + 1u];
    }
    std::partial_sum(m_typeStarts.begin(), m_typeStarts.end(), m_typeStarts.begin());
    return m_state;
}

void ClubListing::keep(QStringView name, QStringView time, QStringView type)
{
    const int index = typeIndex(type);
    if (index < 0 || index > std::numeric_limits<std::uint8_t>::max()) {
        return;
    }
    name = name.left(LongestText);
    time = time.left(LongestText);
    const qsizetype start = m_text.size();
    if (start + name.size() + time.size() > std::numeric_limits<std::uint32_t>::max()) {
        return;
    }
    std::uint64_t key = 0;
    for (qsizetype i = 0; i < 4; ++i) {
        key = (key << 16) | (i < time.size() ? time[i].unicode() : 0u);
    }
    m_text.append(name);
    m_text.append(time);
    m_members.push_back(
        { key, static_cast<std::uint32_t>(start), static_cast<std::uint8_t>(name.size()),
          static_cast<std::uint8_t>(time.size()), static_cast<std::uint8_t>(index) });
}

int ClubListing::typeIndex(QStringView typeName) const
{
    for (qsizetype i = 0; i < m_typeNames.size(); ++i) {
        if (typeName == m_typeNames[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

qsizetype ClubListing::memberCount(int type) const
{
    return type >= 0 && type < m_typeNames.size()
        ? static_cast<qsizetype>(m_typeStarts[static_cast<std::size_t>(type) + 1]
                                 - m_typeStarts[static_cast<std::size_t>(type)])
        : 0;
}

const ClubListing::Member& ClubListing::member(int type, qsizetype row) const
{
    return m_members[m_typeStarts[static_cast<std::size_t>(type)] + static_cast<std::size_t>(row)];
}

QStringView ClubListing::name(int type, qsizetype row) const
{
    const Member& kept = member(type, row);
    return QStringView(m_text).sliced(kept.text, kept.nameLength);
}

QStringView ClubListing::time(int type, qsizetype row) const
{
    return timeOf(member(type, row));
}

QStringView ClubListing::timeOf(const Member& kept) const
{
    return QStringView(m_text).sliced(kept.text + kept.nameLength, kept.timeLength);
}
