// This benchmark program started again as a child process, its output collected.
#pragma once

#include <cstdint>
#include <string>

#include <sys/types.h>

#include <vector>

namespace bench {

/// Nanoseconds on the monotonic clock. A parent and its children read the same clock
/// (CLOCK_MONOTONIC on Linux), so stamps taken in different processes compare directly.
std::int64_t steadyNowNs();

/// The path of the running program, to start it again in another mode; empty when unknown.
std::string selfPath();

/// One child: the program started with the given arguments, its output and errors read through
/// one pipe. Start several before finishing any to run them side by side; each may print a
/// pipe's worth (64 KiB) before it is read.
class ChildProcess
{
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    /// False, after saying why, when the child could not be started.
    bool start(const std::string& program, const std::vector<std::string>& arguments);
    /// Reads what the child prints until it ends; true when it exited with status 0.
    bool finish();

    const std::string& output() const { return m_output; }
    /// When start() was called, by steadyNowNs().
    std::int64_t startedNs() const { return m_startedNs; }

private:
    pid_t m_pid = -1;
    int m_pipe = -1;
    std::string m_output;
    std::int64_t m_startedNs = 0;
};

} // namespace bench
