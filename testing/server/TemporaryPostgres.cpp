// A PostgreSQL server of the test's own.
#include "testing/server/TemporaryPostgres.h"

#include <QDir>
#include <QProcess>
#include <unistd.h>

namespace {

/// The newest installed server's programs: Debian keeps them off PATH, by major version.
QString postgresBinaries()
{
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList names = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& name : names) {
        const QString bin = versions.filePath(name + QStringLiteral("/bin"));
        if (QFileInfo::exists(bin + QStringLiteral("/initdb"))) {
            return bin;
        }
    }
    return {};
}

} // namespace

TemporaryPostgres::TemporaryPostgres()
    : m_folder(QDir::tempPath() + QStringLiteral("/sumdash-pg-XXXXXX"))
{
    m_binaries = postgresBinaries();
    if (m_binaries.isEmpty()) {
        m_failure = QStringLiteral("No PostgreSQL server is installed (package postgresql).");
        return;
    }
    if (!m_folder.isValid()) {
        m_failure = QStringLiteral("No temporary folder: ") + m_folder.errorString();
        return;
    }
    m_asNobody = geteuid() == 0;
    if (m_asNobody
        && !run(QStringLiteral("chown"), { QStringLiteral("nobody"), m_folder.path() }, false)) {
        return;
    }
    const QString data = m_folder.filePath(QStringLiteral("data"));
    if (!run(m_binaries + QStringLiteral("/initdb"),
             { QStringLiteral("-D"), data, QStringLiteral("-U"), QStringLiteral("sumdash"),
               QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
               QStringLiteral("UTF8"), QStringLiteral("--no-sync") })) {
        return;
    }
    // No TCP at all: the socket sits in the folder, so tests running side by side never meet.
    const QString options = QStringLiteral("-c listen_addresses='' -k %1 -c fsync=off"
                                           " -c max_connections=200")
                                .arg(m_folder.path());
    if (!run(m_binaries + QStringLiteral("/pg_ctl"),
             { QStringLiteral("-D"), data, QStringLiteral("-o"), options, QStringLiteral("-l"),
               m_folder.filePath(QStringLiteral("log")), QStringLiteral("-w"),
               QStringLiteral("start") })) {
        return;
    }
    m_running = true;
}

TemporaryPostgres::~TemporaryPostgres()
{
    if (m_running) {
        run(m_binaries + QStringLiteral("/pg_ctl"),
            { QStringLiteral("-D"), m_folder.filePath(QStringLiteral("data")), QStringLiteral("-m"),
              QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop") });
    }
}

bool TemporaryPostgres::run(const QString& program, const QStringList& arguments, bool asOwner)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (m_asNobody && asOwner) {
        process.start(QStringLiteral("setpriv"),
                      QStringList { QStringLiteral("--reuid=nobody"),
                                    QStringLiteral("--regid=nogroup"),
                                    QStringLiteral("--clear-groups"), program }
                          + arguments);
    } else {
        process.start(program, arguments);
    }
    if (!process.waitForFinished(120 * 1000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        m_failure = program + u' ' + arguments.join(u' ') + QStringLiteral(" failed: ")
            + QString::fromLocal8Bit(process.readAll()) + process.errorString();
        return false;
    }
    return true;
}

QString TemporaryPostgres::databaseUrl(const QString& name)
{
    if (m_running && !m_databases.contains(name)) {
        if (!run(m_binaries + QStringLiteral("/createdb"),
                 { QStringLiteral("-h"), m_folder.path(), QStringLiteral("-U"),
                   QStringLiteral("sumdash"), name })) {
            return {};
        }
        m_databases.append(name);
    }
    return QStringLiteral("postgresql://sumdash@/%1?host=%2").arg(name, m_folder.path());
}
