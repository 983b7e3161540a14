// The online submission of a qualifying time: the address the scoreboard server receives.
#include "results/OnlineSubmission.h"

#include "engine/ProblemTypes.h"

#include <QUrl>

namespace {

QString encoded(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

// The part before and after the colon as whole numbers, wrapped to 16 bits like the counters
// they come from; a text with no colon counts as 0:00.
std::pair<int, int> minutesAndSeconds(const QString& clockText)
{
    const qsizetype colon = clockText.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        return { 0, 0 };
    }
    const auto sixteenBits = [](QStringView part) {
        return static_cast<int>(static_cast<std::int16_t>(part.toInt()));
    };
    return { sixteenBits(QStringView(clockText).left(colon)),
             sixteenBits(QStringView(clockText).mid(colon + 1)) };
}

} // namespace

std::int16_t submissionCheckValue(const QString& clockText, std::int16_t problemType)
{
    const auto [minutes, seconds] = minutesAndSeconds(clockText);
    const int sum = seconds * CheckWeights::Seconds + minutes * CheckWeights::Minutes
        + problemType * CheckWeights::ProblemType;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(sum));
}

QString submissionDate(const QDate& date, const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) {
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    return locale.toString(date, format);
}

QString submissionAddress(const QString& siteAddress, const QString& name, std::int16_t problemType,
                          const QString& clockText, const QDate& date, const QLocale& locale)
{
    const ProblemTypeInfo* type = problemTypeInfo(problemType);
    const QString subject = type != nullptr
        ? QString::fromLatin1(type->subjectCode.data(),
                              static_cast<qsizetype>(type->subjectCode.size()))
        : QString();
    return siteAddress + QStringLiteral("/cgi-bin/submit.pl?name=") + encoded(name)
        + QStringLiteral("&subj=") + encoded(subject) + QStringLiteral("&time=")
        + encoded(clockText) + QStringLiteral("&date=") + encoded(submissionDate(date, locale))
        + QStringLiteral("&valid=") + QString::number(submissionCheckValue(clockText, problemType));
}
