// What the people running a board decide about new entries, and what they can do to them.
#include "server/core/Moderation.h"

HoldReasons holdReasons(const Submission& submission, const ModerationSettings& settings,
                        bool nameApprovedBefore)
{
    const auto subject = static_cast<std::size_t>(submission.subject) - 1;
    return { settings.holdNewNames && !submission.anonymous() && !nameApprovedBefore,
             submission.seconds < settings.floorSeconds.at(subject) };
}

EntryState initialState(const Submission& submission, const ModerationSettings& settings,
                        bool nameApprovedBefore)
{
    return holdReasons(submission, settings, nameApprovedBefore).any() ? EntryState::Held
                                                                       : EntryState::Shown;
}

QString nameApprovalKey(const QString& name)
{
    return name.toCaseFolded();
}

std::optional<EntryState> stateAfter(EntryState state, ModerationAction action)
{
    switch (action) {
    case ModerationAction::Approve:
        return EntryState::Shown;
    case ModerationAction::Hide:
        return EntryState::Hidden;
    case ModerationAction::Delete:
        return std::nullopt;
    }
    return state;
}

std::optional<QString> nameApprovedBy(const BoardEntry& entry, ModerationAction action)
{
    if (action != ModerationAction::Approve || entry.name.isEmpty()) {
        return std::nullopt;
    }
    return nameApprovalKey(entry.name);
}
