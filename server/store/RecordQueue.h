// The writers of a server process: the threads answering requests hand them their confirmed
// submissions, and each records whatever has gathered in one transaction. A class posting at
// once costs the disk one write, not thirty. SQLite takes one writer at a time, so it gets one;
// PostgreSQL writes side by side, so it gets a few.
#pragma once

#include "server/store/ScoreStore.h"

#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

class RecordQueue
{
public:
    /// Starts the writers, each with its own connection to address.
    explicit RecordQueue(DatabaseAddress address);
    /// Records what was handed in, then stops.
    ~RecordQueue();
    RecordQueue(const RecordQueue&) = delete;
    RecordQueue& operator=(const RecordQueue&) = delete;

    /// Hands pending to the writer and waits until it is recorded (or not: Failed, when the
    /// database cannot be reached).
    Recorded record(PendingRecord pending);

private:
    struct Job
    {
        PendingRecord pending;
        std::promise<Recorded> done;
    };
    void write();

    DatabaseAddress m_address;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job*> m_jobs;
    bool m_stopping = false;
    std::vector<std::thread> m_writers;
};
