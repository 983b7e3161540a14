// One time on a scoreboard, as the store keeps it.
#pragma once

#include "server/core/Subject.h"

#include <QString>
#include <QtGlobal>

/// Shown on the boards; held until someone moderating approves it; hidden by them.
enum class EntryState { Shown, Held, Hidden };

struct BoardEntry
{
    qint64 id = 0; ///< the store's number; later entries have larger ones
    QString name; ///< cleaned; empty for "Anonymous" (see displayName())
    Subject subject = Subject::Addition;
    int seconds = 0;
    qint64 receivedUtcMs = 0; ///< when the server received it, milliseconds since 1970 UTC
    EntryState state = EntryState::Shown;
    QString date; ///< the player's own date text, cleaned; only ever shown
};
