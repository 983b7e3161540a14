// The five boards of a scoreboard: one per kind of problem the game times.
#include "server/core/Subject.h"

#include "engine/ProblemTypes.h"

namespace {

QString text(std::string_view view)
{
    return QString::fromLatin1(view.data(), static_cast<qsizetype>(view.size()));
}

const ProblemTypeInfo& info(Subject subject)
{
    return *problemTypeInfo(static_cast<std::int16_t>(subject));
}

} // namespace

std::optional<Subject> subjectFromCode(const QString& code)
{
    for (const ProblemTypeInfo& type : ProblemTypes) {
        if (code == text(type.subjectCode)) {
            return static_cast<Subject>(type.number);
        }
    }
    return std::nullopt;
}

QString subjectCode(Subject subject)
{
    return text(info(subject).subjectCode);
}

QString subjectName(Subject subject)
{
    return text(info(subject).name);
}
