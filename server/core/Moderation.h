// What the people running a board decide about new entries, and what they can do to them.
#pragma once

#include "server/core/BoardEntry.h"
#include "server/core/Submission.h"

#include <array>
#include <optional>

struct ModerationSettings
{
    /// A name no one has approved before waits for approval; the anonymous one never does.
    bool holdNewNames = false;
    /// Per subject (Addition first): a time under its floor waits for approval. One minute by
    /// default: faster is possible, but rare enough to be worth a look; 0 lets every time by.
    std::array<int, 5> floorSeconds { 60, 60, 60, 60, 60 };
};

/// Why a new entry is held; both can apply.
struct HoldReasons
{
    bool newName = false;
    bool underFloor = false;

    bool any() const { return newName || underFloor; }
};

HoldReasons holdReasons(const Submission& submission, const ModerationSettings& settings,
                        bool nameApprovedBefore);

/// Shown, or held when there is any reason.
EntryState initialState(const Submission& submission, const ModerationSettings& settings,
                        bool nameApprovedBefore);

/// The key under which a store remembers approved names: the same child typing "ann" or "Ann"
/// needs approving once.
QString nameApprovalKey(const QString& name);

enum class ModerationAction {
    Approve, ///< held or hidden becomes shown; a named entry's name counts as approved from now
    Hide, ///< held or shown becomes hidden: kept, but on no board
    Delete, ///< the entry goes
};

/// The state after action; nothing when the entry is deleted. Every action is allowed from
/// every state; one that changes nothing (approving a shown entry) leaves it as it is.
std::optional<EntryState> stateAfter(EntryState state, ModerationAction action);

/// The nameApprovalKey() a store records as approved when action is taken on entry: approving a
/// named entry approves its name. Nothing otherwise.
std::optional<QString> nameApprovedBy(const BoardEntry& entry, ModerationAction action);
