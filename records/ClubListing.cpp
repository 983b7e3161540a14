// What the club board lists: per problem type, the members' names and times, fastest first.
#include "records/ClubListing.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

ClubListing::ClubListing(QStringList typeNames)
    : m_typeNames(std::move(typeNames))
    , m_members(static_cast<std::size_t>(m_typeNames.size()))
{
}

ClubListing::State ClubListing::load(const ClubFile& club, qint64 largestFile)
{
    for (std::vector<Member>& members : m_members) {
        members = {};
    }
    m_text = QString();
    // Each character kept comes from at least one byte of the file, so room for as many
    // characters as the file has bytes is never outgrown; the pages not written to cost no
    // memory.
    if (const qint64 size = QFileInfo(club.path()).size(); size > 0 && size <= largestFile) {
        m_text.reserve(static_cast<qsizetype>(size));
    }

    switch (club.stream([this](QStringView name, QStringView time, QStringView type) { keep(name, time, type); },
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
        for (std::vector<Member>& members : m_members) {
            members = {};
        }
        m_text = QString();
        return m_state;
    }

    // Fastest first, once for every type.
    const auto faster = [this](const Member& a, const Member& b) {
        if (a.timeKey != b.timeKey) {
            return a.timeKey < b.timeKey;
        }
        if (a.timeLength == b.timeLength && a.timeLength <= 4) {
            return false; // the key holds the whole of both times: equal
        }
        return timeOf(a).compare(timeOf(b), Qt::CaseSensitive) < 0;
    };
    for (std::vector<Member>& members : m_members) {
        std::stable_sort(members.begin(), members.end(), faster);
    }
    return m_state;
}

void ClubListing::keep(QStringView name, QStringView time, QStringView type)
{
    const int index = typeIndex(type);
    if (index < 0) {
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
    m_members[static_cast<std::size_t>(index)].push_back(
        { key, static_cast<std::uint32_t>(start), static_cast<std::uint8_t>(name.size()),
          static_cast<std::uint8_t>(time.size()) });
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
    return type >= 0 && static_cast<std::size_t>(type) < m_members.size()
        ? static_cast<qsizetype>(m_members[static_cast<std::size_t>(type)].size())
        : 0;
}

const ClubListing::Member& ClubListing::member(int type, qsizetype row) const
{
    return m_members[static_cast<std::size_t>(type)][static_cast<std::size_t>(row)];
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
