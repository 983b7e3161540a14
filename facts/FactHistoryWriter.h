// Keeps the fact history off the keystroke path and off the window's thread: one thread of its
// own owns the history file and does every read and write in the order asked.
#pragma once

#include "facts/FactHistoryOutcome.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Declared only: moc cannot read the standard library's C++20 headers the fact types include.
struct FactAttempt;
struct FactHistoryLoad;
class FactHistoryFile;

class FactHistoryWriter : public QObject
{
    Q_OBJECT

public:
    /// Neither the thread nor the file is started before the first operation.
    explicit FactHistoryWriter(QString path, QObject* parent = nullptr);
    /// Days for the chart are local days; utcOffsetAt tells the local time's offset from UTC,
    /// in minutes, at a moment. Called on the writer's thread.
    FactHistoryWriter(QString path, std::function<std::int32_t(std::int64_t)> utcOffsetAt,
                      QObject* parent = nullptr);
    /// Keeps every run queued before, then closes the file and ends the thread.
    ~FactHistoryWriter() override;

    const QString& path() const { return m_path; }

    /// Queues the run to be kept and returns at once.
    void keepRun(std::vector<FactAttempt> attempts);

    /// These wait for every run queued before them, then for their own work. The window reads
    /// through here rather than on a connection of its own: it then sees the run just ended,
    /// and with a million answers kept a load takes a few milliseconds either way.
    FactHistoryLoad loadRecent(); ///< as many latest answers as the fact book shows
    FactHistoryLoad loadRecent(int perFact);
    FactHistoryOutcome clear();
    FactHistoryOutcome removeFile();

signals:
    /// A problem with the history began: told once, on the thread that made the writer. An
    /// operation that fails the way the last one told did is not told again; once a run is kept,
    /// the next problem is. Each damaged file put aside is told.
    void problemFound(const FactHistoryOutcome& outcome);

private:
    void ensureStarted();
    /// On the writer's thread: the file, made on first use so that it belongs to this thread.
    FactHistoryFile& file();
    /// On the writer's thread: tells the outcome's problem when it is news.
    void report(const FactHistoryOutcome& outcome, bool keptRun);
    template<typename Result, typename Work> Result runAndWait(Work work);

    QString m_path;
    std::function<std::int32_t(std::int64_t)> m_utcOffsetAt; ///< empty: the computer's own zone
    QThread m_thread;
    QObject* m_worker = nullptr; ///< lives on m_thread; the operations are queued to it
    std::unique_ptr<FactHistoryFile> m_file; ///< touched on m_thread only
    FactHistoryProblem m_lastTold = FactHistoryProblem::None; ///< touched on m_thread only
};
