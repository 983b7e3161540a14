// A sumdash-server process of a test's or benchmark's own.
#pragma once

#include <QProcess>
#include <QStringList>

/// Starts program (sumdash-server) with arguments, among them "--listen 127.0.0.1:0", and
/// returns the port it says it listens on; 0, with its words in the log, when it does not come
/// up within 30 s. Its errors go to this process's.
quint16 startServerProcess(QProcess& process, const QString& program, const QStringList& arguments);
