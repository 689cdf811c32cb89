#pragma once
// A child program started by a test, with its standard input and output on pipes.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace pw::test {

class ChildProcess {
public:
    struct Io {
        bool pipeStdin = false;   // keep a pipe to the child's stdin (closed by Stop)
        bool pipeStdout = false;  // read the child's stdout with ReadLine
        // When not empty, stdout (unless piped) and stderr go to this file; else they are
        // inherited from the test.
        std::string outputFile;
        // The child gets SIGKILL when the thread that started it ends (for programs that do
        // not stop by themselves when the test dies).
        bool dieWithParent = false;
    };

    // argv[0] is the program path. Throws std::runtime_error when it cannot be started.
    ChildProcess(std::vector<std::string> argv, Io io);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // One line of stdout without its newline; false at end of output or after timeout.
    bool ReadLine(std::string& line, std::chrono::milliseconds timeout);
    void CloseStdout();
    void CloseStdin();
    bool Running();
    // Closes stdin, sends SIGTERM, waits up to 3 s, then SIGKILL. Safe to call twice.
    void Stop();

private:
    pid_t pid_ = -1;
    int stdinFd_ = -1;
    int stdoutFd_ = -1;
    std::string pending_;
};

// A new empty folder below the temporary directory, named prefix + random letters.
std::string MakeTempDir(const std::string& prefix);

// A loopback TCP port that was free a moment ago.
int FreeLoopbackPort();
// True when nothing listens on 127.0.0.1:port and it can be bound.
bool LoopbackPortFree(int port);
// True when a connection to 127.0.0.1:port is accepted.
bool LoopbackPortAccepts(int port);

}  // namespace pw::test
