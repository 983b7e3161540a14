// A sumdash-server process of a test's or benchmark's own.
#include "testing/server/ServerProcess.h"

#include <QRegularExpression>
#include <QtDebug>

quint16 startServerProcess(QProcess& process, const QString& program, const QStringList& arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    QByteArray output;
    const QRegularExpression listening(
        QStringLiteral("listening on http://127\\.0\\.0\\.1:(\\d+)/"));
    while (process.waitForReadyRead(30000)) {
        output += process.readAllStandardOutput();
        const auto match = listening.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            return quint16(match.captured(1).toUInt());
        }
    }
    qWarning().noquote() << "sumdash-server did not start:" << output;
    return 0;
}
