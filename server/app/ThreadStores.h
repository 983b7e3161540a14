// One database connection per server thread, opened on the thread's first request: QtSql lets
// a connection be used only by the thread that opened it.
#pragma once

#include "server/store/DatabaseAddress.h"

#include <QString>
#include <atomic>

class ScoreStore;

class ThreadStores
{
public:
    explicit ThreadStores(DatabaseAddress address);
    /// The calling thread's store; nullptr when the database cannot be reached just now, in
    /// which case the next call tries again (a second later at the soonest).
    ScoreStore* current();

private:
    DatabaseAddress m_address;
    int m_instance; ///< tells apart the stores of two servers in one process, as in tests
};
