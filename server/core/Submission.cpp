// A submission checked and cleaned: what the server keeps of a child's request.
#include "server/core/Submission.h"

#include "server/core/PlayerText.h"

#include <QUrl>

namespace {

const char* const DefaultName = "Your Name";

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString displayName(const QString& name)
{
    return name.isEmpty() ? QStringLiteral("Anonymous") : name;
}

int submissionCheckValue(int minutes, int seconds, Subject subject)
{
    return seconds * 7 + minutes * 13 + static_cast<int>(subject) * 29;
}

std::optional<int> submittedSeconds(const QString& time)
{
    if (time.size() != 4 || !isDigit(time[0]) || time[1] != QLatin1Char(':') || !isDigit(time[2])
        || !isDigit(time[3])) {
        return std::nullopt;
    }
    const int minutes = time[0].digitValue();
    const int tens = time[2].digitValue();
    const int total = minutes * 60 + tens * 10 + time[3].digitValue();
    if (tens > 5 || total > MaxSubmitSeconds) {
        return std::nullopt;
    }
    return total;
}

std::variant<Submission, SubmitRefusal> checkedSubmission(const SubmitFields& fields)
{
    Submission submission;
    const auto subject = subjectFromCode(fields.subj);
    if (!subject) {
        return SubmitRefusal { RefusalKind::UnknownSubject, QStringLiteral("subj") };
    }
    submission.subject = *subject;
    const auto seconds = submittedSeconds(fields.time);
    if (!seconds) {
        return SubmitRefusal { RefusalKind::BadTime, QStringLiteral("time") };
    }
    submission.seconds = *seconds;
    const int check = submissionCheckValue(*seconds / 60, *seconds % 60, *subject);
    if (fields.valid != QString::number(check)) {
        return SubmitRefusal { RefusalKind::CheckMismatch, QStringLiteral("valid") };
    }
    auto name = cleanedPlayerText(fields.name, MaxNameCharacters);
    if (!name) {
        return SubmitRefusal { RefusalKind::NameTooLong, QStringLiteral("name") };
    }
    submission.name = *name == QLatin1String(DefaultName) ? QString() : std::move(*name);
    auto date = cleanedPlayerText(fields.date, MaxDateCharacters);
    if (!date) {
        return SubmitRefusal { RefusalKind::DateTooLong, QStringLiteral("date") };
    }
    submission.date = std::move(*date);
    return submission;
}

QByteArray submitQuery(const Submission& submission)
{
    const int minutes = submission.seconds / 60;
    const int seconds = submission.seconds % 60;
    return "name=" + QUrl::toPercentEncoding(submission.name) + "&subj="
        + subjectCode(submission.subject).toLatin1() + "&time=" + QByteArray::number(minutes)
        + "%3A" + QByteArray::number(seconds).rightJustified(2, '0')
        + "&date=" + QUrl::toPercentEncoding(submission.date) + "&valid="
        + QByteArray::number(submissionCheckValue(minutes, seconds, submission.subject));
}

std::variant<Submission, SubmitRefusal> submissionFromQuery(QByteArrayView rawQuery)
{
    auto fields = parseSubmitQuery(rawQuery);
    if (const auto* refusal = std::get_if<SubmitRefusal>(&fields)) {
        return *refusal;
    }
    return checkedSubmission(std::get<SubmitFields>(fields));
}
