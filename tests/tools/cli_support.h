#pragma once
// Running the built programs in the tests: zrcps-cli and zrcps (as child
// processes, with their output collected) and zrcps-sim on a
// pseudo-terminal. Every child is killed when its test ends, passes or
// fails, and when the test program dies.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace clitest {

namespace fs = std::filesystem;

fs::path CliPath();   // build-test/tools/zrcps-cli
fs::path SimPath();
fs::path GuiPath();   // build-test/app/zrcps

using Env = std::vector<std::pair<std::string, std::string>>;

struct RunResult {
    int code = -1;    // exit code; -1 when killed or dead of a signal
    std::string out;
    std::string err;
};

// Runs `program args` to its end (at most `seconds`), stdin /dev/null.
// `prefix` runs it through another program first (setpriv ...).
RunResult Run(const fs::path& program, const std::vector<std::string>& args, double seconds = 30,
              const Env& env = {}, const std::vector<std::string>& prefix = {});
inline RunResult RunCli(const std::vector<std::string>& args, double seconds = 30, const Env& env = {}) {
    return Run(CliPath(), args, seconds, env);
}
// Starts zrcps-cli without waiting; its output goes to /dev/null.
pid_t StartCli(const std::vector<std::string>& args);
// Waits up to `seconds` for the child; kills it when it does not end.
int WaitOrKill(pid_t pid, double seconds);

std::string Describe(const RunResult& r);
std::string ReadText(const fs::path& p);
void WriteText(const fs::path& p, const std::string& text);

// zrcps-cli run by a person on a terminal: its standard input, output and
// error are a pseudo-terminal; what it prints is collected in output() and
// keys are typed into it. Killed at the end of the test when still running.
class TerminalCli {
public:
    bool start(const std::vector<std::string>& args, const Env& env = {});
    // Waits until the output holds `text` at least `times` times.
    bool waitFor(const std::string& text, double seconds, int times = 1);
    void type(const std::string& keys);
    // Its exit code (-1 when it had to be killed after `seconds`).
    int wait(double seconds);
    const std::string& output() const { return out_; }
    ~TerminalCli();

private:
    void readFor(int ms);
    pid_t pid_ = -1;
    int master_ = -1;
    std::string out_;
};

// zrcps-sim on a pseudo-terminal; terminated (and its memory saved) by
// stop() or at the end of the test.
class Sim {
public:
    bool start(const std::vector<std::string>& args);
    // Ends the simulator the way a user does (SIGTERM); it saves its memory
    // on the way out. true when it ended by itself.
    bool stop();
    // Ends it at once (SIGKILL): the cable is pulled.
    void kill();
    ~Sim();
    std::string device;

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

// The bytes of a memory image up to the identification block (5104), which
// a read of one radio and a write of another document do not share.
std::vector<unsigned char> KeptPart(const std::vector<unsigned char>& image);

}  // namespace clitest
