// The question the confirmation page asks before a time goes on the board.
#pragma once

#include "server/core/Submission.h"

#include <QString>

/// "2:47": minutes without a leading zero, two-digit seconds, as the game shows a time.
QString submittedTimeText(int seconds);

/// "Post 2:47 in Multiplication as Ann?"; "... as Anonymous?" for an anonymous one. Plain text:
/// a page escapes it with htmlEscaped() like every other field.
QString confirmQuestion(const Submission& submission);
