#include "facts/FactHistoryOutcome.h"

#include <QDir>
#include <QFileInfo>

QString factHistoryMessage(const FactHistoryOutcome& outcome)
{
    switch (outcome.problem) {
    case FactHistoryProblem::None:
        return {};
    case FactHistoryProblem::CannotOpen:
        return QStringLiteral("Sumdash! could not open the fact history on this computer, so "
                              "answers are kept only until Sumdash! closes. The history is kept "
                              "in %1; this user account needs to be allowed to change that file "
                              "and its folder.")
            .arg(QDir::toNativeSeparators(outcome.path));
    case FactHistoryProblem::Damaged:
        return QStringLiteral("The fact history on this computer was damaged, so Sumdash! put it "
                              "aside as %1 and started a new, empty one. Answers from now on are "
                              "kept in the new history.")
            .arg(QFileInfo(outcome.setAsidePath).fileName());
    case FactHistoryProblem::DiskFull:
        return QStringLiteral("The disk is full, so the latest answers could not be added to the "
                              "fact history; they are kept only until Sumdash! closes. The answers "
                              "kept before are safe. Free some space on the disk and later runs "
                              "will be kept again.");
    }
    return {};
}
