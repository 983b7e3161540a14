// One writer per server process.
#include "server/store/RecordQueue.h"

#include <QDateTime>
#include <QtDebug>
#include <atomic>

namespace {

// Enough for a class; a longer queue waits for the next transaction.
constexpr std::size_t MostInOneTransaction = 64;

std::atomic<int> writers { 0 };

} // namespace

RecordQueue::RecordQueue(DatabaseAddress address)
    : m_address(std::move(address))
{
    const int count = m_address.kind == DatabaseAddress::Kind::Sqlite ? 1 : 4;
    for (int writer = 0; writer < count; ++writer) {
        m_writers.emplace_back([this] { write(); });
    }
}

RecordQueue::~RecordQueue()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& writer : m_writers) {
        writer.join();
    }
}

Recorded RecordQueue::record(PendingRecord pending)
{
    Job job { std::move(pending), {} };
    auto done = job.done.get_future();
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(&job);
    }
    m_wake.notify_one();
    return done.get();
}

void RecordQueue::write()
{
    const QString connection = QStringLiteral("sumdash-writer-%1").arg(++writers);
    std::unique_ptr<ScoreStore> store;
    qint64 nextTryMs = 0;
    while (true) {
        std::vector<Job*> batch;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_jobs.empty()) {
                break;
            }
            while (!m_jobs.empty() && batch.size() < MostInOneTransaction) {
                batch.push_back(m_jobs.front());
                m_jobs.pop_front();
            }
        }
        if (store && !store->healthy()) {
            store.reset();
        }
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (!store && now >= nextTryMs) {
            auto opened = ScoreStore::open(m_address, connection);
            if (auto* ready = std::get_if<std::unique_ptr<ScoreStore>>(&opened)) {
                store = std::move(*ready);
            } else {
                qWarning().noquote() << std::get<QString>(opened);
                nextTryMs = now + 1000;
            }
        }
        std::vector<PendingRecord> pending;
        for (Job* job : batch) {
            pending.push_back(job->pending);
        }
        std::vector<Recorded> results
            = store ? store->recordAll(pending) : std::vector<Recorded>(batch.size());
        if (store && results.front().outcome == Recorded::Outcome::Failed) {
            qWarning().noquote() << "Times cannot be recorded:" << store->lastError();
        }
        for (std::size_t at = 0; at < batch.size(); ++at) {
            batch[at]->done.set_value(results[at]);
        }
    }
}
