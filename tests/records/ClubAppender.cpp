// Test helper program, another copy of the game joining the club. "ClubAppender <file>" appends
// records as fast as it can until killed; "ClubAppender --once <file> <name>" appends one
// Addition member of that name at 2:00 and exits with 0 when it was stored, 1 when not.
#include "records/ClubFile.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArrayView(argv[1]) == "--once") {
        ClubFile club(QString::fromLocal8Bit(argv[2]));
        const QString name = QString::fromLocal8Bit(argv[3]);
        return club.SaveClubRecord(
                   clubRecordText(name, QStringLiteral("2:00"), QStringLiteral("Addition")))
            ? 0
            : 1;
    }
    if (argc != 2) {
        return 2;
    }
    ClubFile club(QString::fromLocal8Bit(argv[1]));
    for (int i = 0;; ++i) {
        // Names of changing length, so a cut line would show.
        const QString name = QStringLiteral("Member %1 ").arg(i) + QString(i % 17, QChar(0x00E9));
        if (!club.SaveClubRecord(
                clubRecordText(name, QStringLiteral("2:%1").arg(i % 60, 2, 10, QLatin1Char('0')),
                               QStringLiteral("Addition")))) {
            return 1;
        }
    }
}
