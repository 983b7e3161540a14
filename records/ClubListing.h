// What the club board lists: per problem type, the members' names and times, fastest first.
#pragma once

#include "records/ClubFile.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

/// The club board's members, read from the club file once, when the board opens. Of each record
/// only what the board shows is kept: the name and the time, each cut to LongestText characters,
/// all in one text, and only for the types the board lists. So memory follows the members kept,
/// not the file's size, and switching types is a look-up.
class ClubListing
{
public:
    /// A club file larger than this is not read (the board says so): about two million members,
    /// far beyond any real club, and still read in about a second.
    static constexpr qint64 LargestFile = 64 * 1024 * 1024;
    /// The longest name or time a board shows.
    static constexpr qsizetype LongestText = 100;

    enum class State {
        NotRead,
        Read,
        Unreadable, ///< missing, not a plain file, or not ours to read
        TooLarge, ///< larger than LargestFile; nothing was read
    };

    /// The types in the board's order; a record of any other type is not kept.
    explicit ClubListing(QStringList typeNames);

    /// Reads the club file, replacing whatever was kept before.
    State load(const ClubFile& club, qint64 largestFile = LargestFile);
    State state() const { return m_state; }

    /// The type's place in the list given, -1 for a type not listed.
    int typeIndex(QStringView typeName) const;
    /// The members of one type, fastest first (times compared as text, case-sensitively, which is
    /// time order for every time that can join); equal times keep their file order.
    qsizetype memberCount(int type) const;
    QStringView name(int type, qsizetype row) const;
    QStringView time(int type, qsizetype row) const;

private:
    struct Member
    {
        /// The time's first four UTF-16 units, so most comparisons are one of integers.
        std::uint64_t timeKey;
        std::uint32_t text; ///< where the name starts in m_text; the time follows it
        std::uint8_t nameLength;
        std::uint8_t timeLength;
        std::uint8_t type;
    };

    void clear();
    void keep(QStringView name, QStringView time, QStringView type);
    const Member& member(int type, qsizetype row) const;
    QStringView timeOf(const Member& member) const;

    QStringList m_typeNames;
    /// Every member kept, by type and then fastest first; type t's are those from
    /// m_typeStarts[t] up to m_typeStarts[t + 1].
    std::vector<Member> m_members;
    std::vector<std::size_t> m_typeStarts;
    QString m_text;
    State m_state = State::NotRead;
};
