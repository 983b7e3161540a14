// A PostgreSQL server of the test's own: a fresh cluster in a temporary folder, reached through a
// Unix socket in that folder only, gone when the object goes.
#pragma once

#include <QString>
#include <QTemporaryDir>

class TemporaryPostgres
{
public:
    /// Creates and starts the cluster. PostgreSQL refuses to run as root, so under root (as in
    /// CI) the cluster belongs to the unprivileged user "nobody". failure() tells what went wrong.
    TemporaryPostgres();
    ~TemporaryPostgres();
    TemporaryPostgres(const TemporaryPostgres&) = delete;
    TemporaryPostgres& operator=(const TemporaryPostgres&) = delete;

    bool running() const { return m_running; }
    QString failure() const { return m_failure; }
    /// "postgresql://sumdash@/NAME?host=SOCKETFOLDER" for database name, made on first ask.
    QString databaseUrl(const QString& name = QStringLiteral("sumdash"));

private:
    /// Runs program to its end; asOwner: as the cluster's owner ("nobody" under root).
    bool run(const QString& program, const QStringList& arguments, bool asOwner = true);

    QTemporaryDir m_folder;
    QString m_binaries;
    bool m_asNobody = false;
    bool m_running = false;
    QString m_failure;
    QStringList m_databases;
};
