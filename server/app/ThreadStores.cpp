// One database connection per server thread.
#include "server/app/ThreadStores.h"

#include "server/store/ScoreStore.h"

#include <QDateTime>
#include <QThread>
#include <QtDebug>
#include <map>
#include <memory>

namespace {

std::atomic<int> instances { 0 };

struct ThreadStore
{
    std::unique_ptr<ScoreStore> store;
    qint64 nextTryMs = 0;
};

} // namespace

ThreadStores::ThreadStores(DatabaseAddress address)
    : m_address(std::move(address))
    , m_instance(++instances)
{
}

ScoreStore* ThreadStores::current()
{
    // Ended with the thread, on the thread, as the connection must be.
    thread_local std::map<int, ThreadStore> stores;
    ThreadStore& mine = stores[m_instance];
    if (mine.store && !mine.store->healthy()) {
        mine.store.reset();
    }
    if (mine.store) {
        return mine.store.get();
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now < mine.nextTryMs) {
        return nullptr;
    }
    const QString name
        = QStringLiteral("sumdash-%1-%2").arg(m_instance).arg(quintptr(QThread::currentThreadId()));
    auto opened = ScoreStore::open(m_address, name);
    if (auto* store = std::get_if<std::unique_ptr<ScoreStore>>(&opened)) {
        mine.store = std::move(*store);
        return mine.store.get();
    }
    mine.nextTryMs = now + 1000;
    qWarning().noquote() << std::get<QString>(opened);
    return nullptr;
}
