#include "facts/FactHistoryWriter.h"

#include "facts/FactHistoryFile.h"

#include <QMetaObject>

FactHistoryWriter::FactHistoryWriter(QString path, QObject* parent)
    : FactHistoryWriter(std::move(path), {}, parent)
{
}

FactHistoryWriter::FactHistoryWriter(QString path,
                                     std::function<std::int32_t(std::int64_t)> utcOffsetAt,
                                     QObject* parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_utcOffsetAt(std::move(utcOffsetAt))
{
    m_thread.setObjectName(QStringLiteral("Fact history writer"));
}

FactHistoryWriter::~FactHistoryWriter()
{
    if (m_worker == nullptr) {
        return;
    }
    // After the runs queued before: the connection is closed on the thread it belongs to.
    QMetaObject::invokeMethod(
        m_worker, [this] { m_file.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

void FactHistoryWriter::ensureStarted()
{
    if (m_worker != nullptr) {
        return;
    }
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    m_thread.start();
}

FactHistoryFile& FactHistoryWriter::file()
{
    if (!m_file) {
        m_file = m_utcOffsetAt ? std::make_unique<FactHistoryFile>(m_path, m_utcOffsetAt)
                               : std::make_unique<FactHistoryFile>(m_path);
    }
    return *m_file;
}

void FactHistoryWriter::report(const FactHistoryOutcome& outcome, bool keptRun)
{
    const bool news = outcome.problem != FactHistoryProblem::None
        && (outcome.problem != m_lastTold || outcome.problem == FactHistoryProblem::Damaged);
    if (news) {
        m_lastTold = outcome.problem;
        QMetaObject::invokeMethod(
            this, [this, outcome] { emit problemFound(outcome); }, Qt::QueuedConnection);
    } else if (outcome.ok() && keptRun) {
        m_lastTold = FactHistoryProblem::None;
    }
}

template<typename Result, typename Work> Result FactHistoryWriter::runAndWait(Work work)
{
    ensureStarted();
    Result result;
    QMetaObject::invokeMethod(
        m_worker, [&] { result = work(); }, Qt::BlockingQueuedConnection);
    return result;
}

void FactHistoryWriter::keepRun(std::vector<FactAttempt> attempts)
{
    if (attempts.empty()) {
        return;
    }
    ensureStarted();
    QMetaObject::invokeMethod(
        m_worker,
        [this, attempts = std::move(attempts)] { report(file().appendRun(attempts), true); },
        Qt::QueuedConnection);
}

FactHistoryLoad FactHistoryWriter::loadRecent()
{
    return loadRecent(static_cast<int>(FactRecord::RecentKept));
}

FactHistoryLoad FactHistoryWriter::loadRecent(int perFact)
{
    return runAndWait<FactHistoryLoad>([this, perFact] {
        FactHistoryLoad load = file().loadRecent(perFact);
        report(load.outcome, false);
        return load;
    });
}

FactHistoryOutcome FactHistoryWriter::clear()
{
    return runAndWait<FactHistoryOutcome>([this] {
        FactHistoryOutcome outcome = file().clear();
        report(outcome, false);
        return outcome;
    });
}

FactHistoryOutcome FactHistoryWriter::removeFile()
{
    return runAndWait<FactHistoryOutcome>([this] {
        FactHistoryOutcome outcome = file().removeFile();
        report(outcome, false);
        return outcome;
    });
}
