#include "tools/cli_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/support.h"

namespace clitest {

fs::path CliPath() { return zrtest::binaryDir() / "tools" / "zrcps-cli"; }
fs::path SimPath() { return zrtest::binaryDir() / "tools" / "zrcps-sim"; }
fs::path GuiPath() { return zrtest::binaryDir() / "app" / "zrcps"; }

namespace {

// Forks and executes `program args`; stdin, stdout and stderr come from the
// given descriptors (-1: /dev/null). The child dies with us.
pid_t Spawn(const fs::path& program, const std::vector<std::string>& args, int outFd, int errFd,
            const Env& env = {}, const std::vector<std::string>& prefix = {}, int inFd = -1) {
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(inFd >= 0 ? inFd : null, STDIN_FILENO);
    ::dup2(outFd >= 0 ? outFd : null, STDOUT_FILENO);
    ::dup2(errFd >= 0 ? errFd : null, STDERR_FILENO);
    ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv("ZRCPS_PROGRAM_FOLDER");
    for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
    std::vector<std::string> all = prefix;
    all.push_back(program.string());
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

}  // namespace

int WaitOrKill(pid_t pid, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (true) {
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (r < 0) return -1;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

RunResult Run(const fs::path& program, const std::vector<std::string>& args, double seconds, const Env& env,
              const std::vector<std::string>& prefix) {
    int out[2], err[2];
    if (::pipe(out) != 0) return {};
    if (::pipe(err) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return {};
    }
    const pid_t pid = Spawn(program, args, out[1], err[1], env, prefix);
    ::close(out[1]);
    ::close(err[1]);
    RunResult r;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* into[2] = {&r.out, &r.err};
    int open = 2;
    while (open > 0 && std::chrono::steady_clock::now() < deadline) {
        if (::poll(fds, 2, 100) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buf[4096];
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                into[i]->append(buf, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (auto& f : fds)
        if (f.fd >= 0) ::close(f.fd);
    const double left =
        std::max(0.5, std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count());
    r.code = WaitOrKill(pid, left);
    return r;
}

pid_t StartCli(const std::vector<std::string>& args) { return Spawn(CliPath(), args, -1, -1); }

std::string Describe(const RunResult& r) {
    return "exit " + std::to_string(r.code) + "\nstdout:\n" + r.out + "\nstderr:\n" + r.err;
}

std::string ReadText(const fs::path& p) {
    const auto bytes = zrtest::readBytes(p);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const fs::path& p, const std::string& text) {
    zrtest::writeBytes(p, std::vector<unsigned char>(text.begin(), text.end()));
}

std::vector<unsigned char> KeptPart(const std::vector<unsigned char>& image) {
    return {image.begin(), image.begin() + std::min<std::size_t>(image.size(), 5104)};
}

bool TerminalCli::start(const std::vector<std::string>& args, const Env& env) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return false;
    const char* name = ::ptsname(master_);
    if (!name) return false;
    const int slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave < 0) return false;
    pid_ = Spawn(CliPath(), args, slave, slave, env, {}, slave);
    ::close(slave);
    return pid_ > 0;
}

void TerminalCli::readFor(int ms) {
    pollfd p{master_, POLLIN, 0};
    if (master_ < 0 || ::poll(&p, 1, ms) <= 0) return;
    char buf[4096];
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n > 0) out_.append(buf, static_cast<std::size_t>(n));
    else if (n < 0 && errno != EAGAIN && errno != EINTR) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool TerminalCli::waitFor(const std::string& text, double seconds, int times) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (true) {
        int found = 0;
        for (auto at = out_.find(text); at != std::string::npos; at = out_.find(text, at + text.size())) ++found;
        if (found >= times) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        readFor(50);
    }
}

void TerminalCli::type(const std::string& keys) {
    if (master_ >= 0 && ::write(master_, keys.data(), keys.size()) < 0) return;
}

int TerminalCli::wait(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int code = -1;
    while (pid_ > 0) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            pid_ = -1;
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            code = WaitOrKill(pid_, 0);
            pid_ = -1;
            break;
        }
        readFor(20);
    }
    for (std::size_t before = 0; before != out_.size();) {   // what is left in the terminal
        before = out_.size();
        readFor(0);
    }
    return code;
}

TerminalCli::~TerminalCli() {
    if (pid_ > 0) WaitOrKill(pid_, 0);
    if (master_ >= 0) ::close(master_);
}

bool Sim::start(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0) return false;
    pid_ = Spawn(SimPath(), args, out[1], -1);
    ::close(out[1]);
    out_ = out[0];
    // Its first line names the device.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    std::string line;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{out_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char c = 0;
        if (::read(out_, &c, 1) != 1) return false;
        if (c == '\n') {
            device = line;
            return !device.empty();
        }
        line += c;
    }
    return false;
}

bool Sim::stop() {
    if (pid_ <= 0) return false;
    ::kill(pid_, SIGTERM);
    const int code = WaitOrKill(pid_, 10);
    pid_ = -1;
    return code == 0;
}

void Sim::kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    WaitOrKill(pid_, 10);
    pid_ = -1;
}

Sim::~Sim() {
    stop();
    if (out_ >= 0) ::close(out_);
}

}  // namespace clitest
