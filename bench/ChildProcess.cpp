// This benchmark program started again as a child process, its output collected.
#include "bench/ChildProcess.h"

#include <chrono>
#include <cstdio>

#include <sys/wait.h>
#include <unistd.h>

namespace bench {

std::int64_t steadyNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string selfPath()
{
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return {};
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0) {
        finish();
    }
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& arguments)
{
    int channel[2];
    if (pipe(channel) != 0) {
        std::perror("pipe");
        return false;
    }
    // Built before the fork: the child only calls what is safe between fork and exec.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    std::fflush(stdout);
    std::fflush(stderr);
    m_startedNs = steadyNowNs();
    const pid_t child = fork();
    if (child == 0) {
        dup2(channel[1], STDOUT_FILENO);
        dup2(channel[1], STDERR_FILENO);
        close(channel[0]);
        close(channel[1]);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(channel[1]);
    if (child < 0) {
        std::perror("fork");
        close(channel[0]);
        return false;
    }
    m_pid = child;
    m_pipe = channel[0];
    m_output.clear();
    return true;
}

bool ChildProcess::finish()
{
    if (m_pid <= 0) {
        return false;
    }
    char chunk[4096];
    ssize_t got = 0;
    while ((got = read(m_pipe, chunk, sizeof chunk)) > 0) {
        m_output.append(chunk, static_cast<std::size_t>(got));
    }
    close(m_pipe);
    m_pipe = -1;
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace bench
