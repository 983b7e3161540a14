// The game's fact history: this session's answers always, the history file when a parent has
// turned keeping on. What the Fact Times window reads and clears.
#pragma once

#include "facts/FactBook.h"
#include "facts/FactHistoryOutcome.h"
#include "facts/FactSummary.h"
#include "facts/SessionAnswers.h"

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class FactHistoryWriter;

/// The keeping switch, wherever the game stores it.
class KeepSwitch
{
public:
    virtual ~KeepSwitch() = default;
    virtual bool isOn() const = 0;
    /// False when the switch could not be stored.
    virtual bool set(bool on) = 0;
};

/// Everything the Fact Times window shows.
struct FactTimesData
{
    FactBook book;
    std::map<FactOperation, std::vector<DayKnown>> knownByDay;
};

class FactHistory : public QObject
{
    Q_OBJECT

public:
    struct Clocks
    {
        std::function<std::int64_t()> utcNowMs;
        /// The local time's offset from UTC at a moment, in minutes, for calendar days.
        std::function<std::int32_t(std::int64_t)> utcOffsetMinutesAt;
    };

    /// Nothing is opened here: the file only when keeping is on and a run ends or the window
    /// reads it.
    FactHistory(QString filePath, KeepSwitch& keepSwitch, Clocks clocks, QObject* parent = nullptr);
    ~FactHistory() override;

    const QString& filePath() const { return m_filePath; }
    bool keeping() const { return m_keepSwitch.isOn(); }
    /// Turning keeping on keeps this session's earlier answers too. False when the switch
    /// could not be stored.
    bool setKeeping(bool on);

    void runStarted(bool timed, std::int16_t maxOperand, bool onlyCorrect);
    /// On the keystroke's path: only memory is touched.
    void answered(const JudgedAnswer& answer);
    /// The run is over: kept on disk, on the writer's thread, when keeping is on.
    void runEnded();

    /// The kept history (when keeping is on) with this session's answers not yet in it.
    FactTimesData load();
    /// Empties the session's answers and, when there is one, the history file.
    FactHistoryOutcome clear();
    /// Deletes the history file; the session's answers stay.
    FactHistoryOutcome removeFile();

signals:
    /// A problem with the history file, in words for a parent; told once per problem.
    void problemFound(const QString& message);

private:
    FactHistoryWriter& writer();
    void keepFrom(std::size_t first, std::size_t end);

    QString m_filePath;
    KeepSwitch& m_keepSwitch;
    Clocks m_clocks;
    SessionAnswers m_session;
    std::unique_ptr<FactHistoryWriter> m_writer;
    /// The session's answers before this index were handed to the file or cleared.
    std::size_t m_handedOut = 0;
};
