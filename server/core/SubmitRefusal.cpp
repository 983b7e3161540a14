// Why a submission is turned away, and how the refusal page says it to a child.
#include "server/core/SubmitRefusal.h"

namespace {

QString sendAgain()
{
    return QStringLiteral(" Please send your time again from Sumdash!");
}

// The query's keys as a child knows the parts of a score.
QString partName(const QString& key)
{
    if (key == QLatin1String("subj")) {
        return QStringLiteral("subject");
    }
    if (key == QLatin1String("valid")) {
        return QStringLiteral("check number");
    }
    return key;
}

} // namespace

QString SubmitRefusal::message() const
{
    switch (kind) {
    case RefusalKind::QueryTooLong:
        return QStringLiteral("That score is much too long.") + sendAgain();
    case RefusalKind::BadEscape:
    case RefusalKind::BadText:
        return QStringLiteral("Some letters of that score got mixed up on the way.") + sendAgain();
    case RefusalKind::RepeatedKey:
        return QStringLiteral("That score gives its %1 twice.").arg(partName(key)) + sendAgain();
    case RefusalKind::MissingKey:
        return QStringLiteral("Part of that score is missing: its %1.").arg(partName(key))
            + sendAgain();
    case RefusalKind::UnknownSubject:
        return QStringLiteral("That subject does not look right: it must be addition, "
                              "subtraction, multiplication, division or random.");
    case RefusalKind::BadTime:
        return QStringLiteral("That time does not look right: times go from 0:00 to 3:00.");
    case RefusalKind::CheckMismatch:
        return QStringLiteral("That score's check number does not fit its time.") + sendAgain();
    case RefusalKind::NameTooLong:
        return QStringLiteral("That name is too long: a name can have up to 20 letters.");
    case RefusalKind::DateTooLong:
        return QStringLiteral("That date is too long: a date can have up to 32 letters.");
    }
    return sendAgain().trimmed();
}
