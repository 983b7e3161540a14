// The question the confirmation page asks before a time goes on the board.
#include "server/core/ConfirmQuestion.h"

QString submittedTimeText(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString confirmQuestion(const Submission& submission)
{
    return QStringLiteral("Post %1 in %2 as %3?")
        .arg(submittedTimeText(submission.seconds), subjectName(submission.subject),
             displayName(submission.name));
}
