// Starting the system's own system-information program from the about box.
#include "app/SystemInfoLauncher.h"

#include <QProcess>
#include <QStandardPaths>

const QStringList& PathSystemInfoLauncher::candidates()
{
    static const QStringList programs { QStringLiteral("kinfocenter"), QStringLiteral("hardinfo"),
                                        QStringLiteral("lshw-gtk"),
                                        QStringLiteral("gnome-system-monitor") };
    return programs;
}

QString PathSystemInfoLauncher::findProgram()
{
    for (const QString& program : candidates()) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return {};
}

bool PathSystemInfoLauncher::start()
{
    const QString program = findProgram();
    return !program.isEmpty() && QProcess::startDetached(program, {});
}
