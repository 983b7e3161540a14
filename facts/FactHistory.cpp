// The game's fact history: this session's answers always, the history file when a parent has
// turned keeping on.
#include "facts/FactHistory.h"

#include "facts/FactGrid.h"
#include "facts/FactHistoryFile.h"
#include "facts/FactHistoryWriter.h"

#include <QFileInfo>

FactHistory::FactHistory(QString filePath, KeepSwitch& keepSwitch, Clocks clocks, QObject* parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
    , m_keepSwitch(keepSwitch)
    , m_clocks(std::move(clocks))
    , m_session(m_clocks.utcNowMs)
{
}

// The writer's destructor keeps every run queued before it.
FactHistory::~FactHistory() = default;

FactHistoryWriter& FactHistory::writer()
{
    if (!m_writer) {
        m_writer = std::make_unique<FactHistoryWriter>(m_filePath, m_clocks.utcOffsetMinutesAt);
        connect(m_writer.get(), &FactHistoryWriter::problemFound, this,
                [this](const FactHistoryOutcome& outcome) {
                    emit problemFound(factHistoryMessage(outcome));
                });
    }
    return *m_writer;
}

bool FactHistory::setKeeping(bool on)
{
    if (!m_keepSwitch.set(on)) {
        return false;
    }
    if (on) {
        // What this session answered before the switch went on is kept too, up to the run in
        // progress, which is kept when it ends.
        keepFrom(m_handedOut, m_session.all().size() - m_session.unfinishedCount());
    }
    return true;
}

void FactHistory::keepFrom(std::size_t first, std::size_t end)
{
    if (first >= end) {
        return;
    }
    const auto& all = m_session.all();
    writer().keepRun(std::vector<FactAttempt>(all.begin() + static_cast<std::ptrdiff_t>(first),
                                              all.begin() + static_cast<std::ptrdiff_t>(end)));
    m_handedOut = end;
}

void FactHistory::runStarted(bool timed, std::int16_t maxOperand, bool onlyCorrect)
{
    runEnded();
    m_session.startRun(timed, maxOperand, onlyCorrect);
}

void FactHistory::answered(const JudgedAnswer& answer)
{
    m_session.record(answer);
}

void FactHistory::runEnded()
{
    m_session.finishRun();
    if (keeping()) {
        keepFrom(m_handedOut, m_session.all().size());
    }
}

FactTimesData FactHistory::load()
{
    FactTimesData data;
    const auto& all = m_session.all();
    if (!keeping()) {
        for (const FactAttempt& attempt : all) {
            data.book.add(attempt);
        }
        for (FactOperation operation : AllFactOperations) {
            data.knownByDay[operation]
                = knownByDay(all, operation, m_clocks.utcOffsetMinutesAt(m_clocks.utcNowMs()));
        }
        return data;
    }
    FactHistoryLoad kept = writer().loadRecent();
    data.book = FactBook(std::move(kept.records));
    data.knownByDay = std::move(kept.knownByDay);
    // The answers not in the file yet: the run in progress, newer than anything kept.
    if (m_handedOut < all.size()) {
        FactBook newer;
        for (auto answer = all.begin() + static_cast<std::ptrdiff_t>(m_handedOut);
             answer != all.end(); ++answer) {
            newer.add(*answer);
        }
        data.book.merge(newer);
        const std::int64_t today
            = localDay(m_clocks.utcNowMs(), m_clocks.utcOffsetMinutesAt(m_clocks.utcNowMs()));
        for (FactOperation operation : AllFactOperations) {
            std::vector<DayKnown>& days = data.knownByDay[operation];
            const int known = knownCount(data.book, operation).known;
            if (!days.empty() && days.back().day == today) {
                days.back().known = known;
            } else if (known > 0) {
                days.push_back(DayKnown { today, known });
            }
        }
    }
    return data;
}

FactHistoryOutcome FactHistory::clear()
{
    m_session.clear();
    m_handedOut = 0;
    if (!keeping() && !QFileInfo::exists(m_filePath)) {
        FactHistoryOutcome nothingToClear;
        nothingToClear.done = true;
        nothingToClear.path = m_filePath;
        return nothingToClear;
    }
    return writer().clear();
}

FactHistoryOutcome FactHistory::removeFile()
{
    return writer().removeFile();
}
