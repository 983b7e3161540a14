// Test helper program: appends club records to the file given, as fast as it can, until killed.
#include "records/ClubFile.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    ClubFile club(QString::fromLocal8Bit(argv[1]));
    for (int i = 0;; ++i) {
        // Names of changing length, so a cut line would show.
        const QString name = QStringLiteral("Member %1 ").arg(i) + QString(i % 17, QChar(0x00E9));
        if (!club.SaveClubRecord(clubRecordText(name, QStringLiteral("2:%1").arg(i % 60, 2, 10, QLatin1Char('0')),
                                                QStringLiteral("Addition")))) {
            return 1;
        }
    }
}
