// The command line with the radio on pseudo-terminals: the connection
// report, the port list, ports that cannot be opened (no permission, busy,
// gone, not present), the trace, one exchange per read, the password, a
// damaged identification during a write and a write that fails halfway.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/port_report.h"
#include "platform/serial/port_facts.h"
#include "support/support.h"
#include "tools/cli_support.h"

namespace fs = std::filesystem;
using namespace clitest;

namespace {

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

int CountLines(const std::string& text, const std::string& what) {
    std::istringstream in(text);
    std::string line;
    int n = 0;
    while (std::getline(in, line))
        if (Has(line, what)) ++n;
    return n;
}

// Waits until `check` holds, at most `seconds`.
template <class F>
bool WaitFor(F check, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (check()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return check();
}

class CliLink : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.str(name); }
    // A memory image of a new document with channels, for the simulator.
    std::string memory() {
        const std::string doc = path("doc.dat"), mem = path("mem.bin");
        EXPECT_EQ(RunCli({"new", "-f", doc}).code, 0);
        EXPECT_EQ(RunCli({"encode", "-f", doc, mem}).code, 0);
        return mem;
    }
    zrtest::TempDir dir;
};

}  // namespace

TEST_F(CliLink, DoctorTellsWhetherTheRadioAnswers) {
    {
        Sim sim;
        ASSERT_TRUE(sim.start({}));
        const RunResult r = RunCli({"doctor", "--port", sim.device});
        EXPECT_EQ(r.code, 0) << Describe(r);
        EXPECT_TRUE(Has(r.out, "port tried: " + sim.device + " (--port)")) << r.out;
        EXPECT_TRUE(Has(r.out, "opened: yes")) << r.out;
        EXPECT_TRUE(Has(r.out, "radio: answered; model ZR614, band 1 (460 - 470 MHz), firmware V100, flags 0x00"))
            << r.out;
        EXPECT_TRUE(Has(r.out, "result: the radio answers on this port")) << r.out;
        EXPECT_TRUE(Has(r.out, "serial ports:")) << r.out;
        EXPECT_TRUE(Has(r.out, "groups of this session:")) << r.out;
    }
    {
        Sim sim;
        ASSERT_TRUE(sim.start({"--silent"}));
        const RunResult r = RunCli({"doctor", "--port", sim.device});
        EXPECT_EQ(r.code, 1) << Describe(r);
        EXPECT_TRUE(Has(r.out, "radio: no answer")) << r.out;
        EXPECT_TRUE(Has(r.out, "result: no connection to the radio")) << r.out;
    }
    const RunResult missing = RunCli({"doctor", "--port", "/dev/zrcps-no-such-port"});
    EXPECT_EQ(missing.code, 1) << Describe(missing);
    EXPECT_TRUE(Has(missing.out, "opened: no")) << missing.out;
    EXPECT_TRUE(Has(missing.out, "There is no serial port /dev/zrcps-no-such-port")) << missing.out;
}

TEST_F(CliLink, PortsAreListedAsTheDialogShowsThem) {
    const RunResult r = RunCli({"ports"});
    ASSERT_EQ(r.code, 0) << Describe(r);
    const auto ports = zr::ListPortFacts();
    if (ports.empty()) {
        EXPECT_EQ(r.out, "no serial ports found\n");
    }
    for (const auto& p : ports) {
        EXPECT_TRUE(Has(r.out, zr::link::PortLine(p) + "\n")) << r.out;
        EXPECT_TRUE(Has(r.out, "    " + zr::link::AccessLine(zr::CheckDeviceAccess(p.device)))) << r.out;
    }
}

TEST_F(CliLink, PortsThatCannotBeOpenedSayWhatToDo) {
    const RunResult missing = RunCli({"ident", "--port", "/dev/zrcps-no-such-port"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(Has(missing.err, "There is no serial port /dev/zrcps-no-such-port")) << Describe(missing);

    // A USB cable that is not there is gone, and what may have taken it is named.
    const RunResult gone = RunCli({"ident", "--port", "/dev/ttyUSB97"});
    EXPECT_EQ(gone.code, 1);
    EXPECT_TRUE(Has(gone.err, "The serial port /dev/ttyUSB97 is gone")) << Describe(gone);
    EXPECT_TRUE(Has(gone.err, "brltty")) << Describe(gone);
    EXPECT_TRUE(Has(gone.err, "ModemManager")) << Describe(gone);

    // A port another program holds: the holder is named from its lock file.
    Sim sim;
    ASSERT_TRUE(sim.start({"--paced", "--turnaround", "5"}));
    const pid_t holder = StartCli({"read", "--port", sim.device, path("held.dat")});
    std::string lock = sim.device.substr(5);   // "pts/3" -> LCK..pts_3
    std::replace(lock.begin(), lock.end(), '/', '_');
    const bool locked = WaitFor([&] { return fs::exists("/var/lock/LCK.." + lock); }, 10);
    if (locked) {
        const RunResult busy = RunCli({"ident", "--port", sim.device});
        EXPECT_EQ(busy.code, 1) << Describe(busy);
        EXPECT_TRUE(Has(busy.err, "Another program uses the serial port " + sim.device)) << Describe(busy);
        EXPECT_TRUE(Has(busy.err, "It is held by zrcps-cli (process " + std::to_string(holder) + ")."))
            << Describe(busy);
    }
    ::kill(holder, SIGKILL);
    WaitOrKill(holder, 10);
    if (!locked) GTEST_SKIP() << "the port's lock file did not appear in /var/lock";
}

TEST_F(CliLink, APortOfAGroupTheUserIsNotInNamesTheGroupAndTheRemedy) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run the program as an unprivileged user";
    const group* dialout = ::getgrnam("dialout");
    if (!dialout) GTEST_SKIP() << "no group dialout on this system";
    const std::vector<std::string> nobody{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
    if (clitest::Run("/bin/true", {}, 10, {}, nobody).code != 0) GTEST_SKIP() << "setpriv cannot switch to an unprivileged user";

    Sim sim;
    ASSERT_TRUE(sim.start({}));
    // The device node as a serial port is: the group dialout may use it.
    ASSERT_EQ(::chown(sim.device.c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(sim.device.c_str(), 0660), 0);
    const RunResult r = clitest::Run(CliPath(), {"ident", "--port", sim.device}, 30, {}, nobody);
    if (r.code == 127) GTEST_SKIP() << "the unprivileged user cannot run the built program here";
    EXPECT_EQ(r.code, 1) << Describe(r);
    EXPECT_TRUE(Has(r.err, "You may not use the serial port " + sim.device + ": it belongs to the group \"dialout\""))
        << Describe(r);
    EXPECT_TRUE(Has(r.err, "sudo usermod -aG dialout $USER")) << Describe(r);
    EXPECT_TRUE(Has(r.err, "log out and back in")) << Describe(r);
    EXPECT_FALSE(Has(r.err, "chmod")) << Describe(r);
    EXPECT_FALSE(Has(r.err, "sudo zrcps")) << Describe(r);

    // The doctor sees the same from the user's side.
    const RunResult d = clitest::Run(CliPath(), {"doctor", "--port", sim.device}, 30, {}, nobody);
    EXPECT_EQ(d.code, 1) << Describe(d);
    EXPECT_TRUE(Has(d.out, "opened: no")) << d.out;
    EXPECT_TRUE(Has(d.out, "sudo usermod -aG dialout $USER")) << d.out;
}

TEST_F(CliLink, ACablePulledDuringAReadIsReportedAsGone) {
    Sim sim;
    ASSERT_TRUE(sim.start({"--paced", "--turnaround", "2"}));
    auto read = std::async(std::launch::async, [&] { return RunCli({"read", "--port", sim.device, path("r.dat")}, 60); });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    sim.kill();
    const RunResult r = read.get();
    EXPECT_EQ(r.code, 1) << Describe(r);
    EXPECT_TRUE(Has(r.err, "is gone")) << Describe(r);
    EXPECT_FALSE(fs::exists(path("r.dat")));
}

TEST_F(CliLink, AReadIsOneExchangeAndItsTraceShowsEveryFrameWithoutThePassword) {
    Sim sim;
    ASSERT_TRUE(sim.start({"--memory", memory(), "--password", "1234"}));
    const RunResult r =
        RunCli({"read", "--port", sim.device, "--password", "1234", "--trace", path("trace.txt"), path("r.dat")});
    ASSERT_EQ(r.code, 0) << Describe(r);
    const std::string t = ReadText(path("trace.txt"));
    // One handshake, the identification twice (to be sure of it), the
    // password block, 320 memory blocks, the end: no separate identify run.
    EXPECT_EQ(CountLines(t, "handshake  > 50 52 4F 47 52 41 4D"), 1) << t;
    EXPECT_EQ(CountLines(t, "identify   > 02"), 2) << t;
    EXPECT_EQ(CountLines(t, "password   > 52 14 20 10"), 1) << t;
    EXPECT_EQ(CountLines(t, "data       > 52 "), 320) << t;
    EXPECT_EQ(CountLines(t, "ending     > 45 4E 44"), 1) << t;
    EXPECT_EQ(CountLines(t, "(4 echo bytes, data block)"), 320) << t;
    EXPECT_EQ(CountLines(t, "read ended: done"), 1) << t;
    // The password is masked in the reply of its block.
    EXPECT_EQ(CountLines(t, "** ** ** ** ** 06   (4 echo bytes, password block)"), 1) << t;
    EXPECT_FALSE(Has(t, "31 32 33 34")) << t;
    // Millisecond time stamps that never go back.
    std::istringstream in(t);
    std::string line;
    double last = -1;
    int stamped = 0;
    while (std::getline(in, line)) {
        ASSERT_GT(line.size(), 13u) << line;
        ASSERT_EQ(line.substr(10, 3), " ms") << line;
        const double ms = std::stod(line.substr(0, 10));
        EXPECT_GE(ms, last) << line;
        last = ms;
        ++stamped;
    }
    EXPECT_GT(stamped, 640);
}

TEST_F(CliLink, AWrongPasswordIsThePasswordFailure) {
    Sim sim;
    ASSERT_TRUE(sim.start({"--password", "1234"}));
    const RunResult wrong = RunCli({"read", "--port", sim.device, "--password", "9999", path("r.dat")});
    EXPECT_EQ(wrong.code, 1) << Describe(wrong);
    EXPECT_TRUE(Has(wrong.err, "PassWord Failure!")) << Describe(wrong);
    EXPECT_FALSE(Has(wrong.err, "give it with --password")) << Describe(wrong);
    EXPECT_FALSE(fs::exists(path("r.dat")));

    const RunResult none = RunCli({"read", "--port", sim.device, path("r.dat")});
    EXPECT_EQ(none.code, 1) << Describe(none);
    EXPECT_TRUE(Has(none.err, "give it with --password")) << Describe(none);
}

TEST_F(CliLink, ADamagedIdentificationNeverReachesTheRadio) {
    const std::string mem = memory();
    const auto before = zrtest::readBytes(mem);
    ASSERT_EQ(before.size(), 5120u);
    {
        // The first identification is damaged: asked a third time, the two
        // that agree are taken; the radio keeps its own flags byte.
        Sim sim;
        ASSERT_TRUE(sim.start({"--memory", mem, "--damage-ident", "1", "--flags", "1"}));
        const RunResult w = RunCli({"write", "--port", sim.device, "--trace", path("w.txt"), path("doc.dat")});
        ASSERT_EQ(w.code, 0) << Describe(w);
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(CountLines(ReadText(path("w.txt")), "identify   > 02"), 3);
        EXPECT_EQ(zrtest::readBytes(mem)[5116], 0x01);
    }
    {
        // Every identification differs: the write fails before any block.
        const auto kept = zrtest::readBytes(mem);
        Sim sim;
        ASSERT_TRUE(sim.start({"--memory", mem, "--damage-ident", "9"}));
        const RunResult w = RunCli({"write", "--port", sim.device, path("doc.dat")});
        EXPECT_EQ(w.code, 1) << Describe(w);
        EXPECT_FALSE(Has(w.err, "partly programmed")) << Describe(w);
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(zrtest::readBytes(mem), kept);
    }
}

TEST_F(CliLink, AWriteThatFailsHalfwaySaysHowToRestoreTheRadio) {
    Sim sim;
    ASSERT_TRUE(sim.start({"--memory", memory(), "--silent-after", "100"}));
    const RunResult w = RunCli({"write", "--port", sim.device, path("doc.dat")});
    EXPECT_EQ(w.code, 1) << Describe(w);
    EXPECT_TRUE(Has(w.err, "The radio may now be partly programmed. Write the document again, or the last backup"))
        << Describe(w);
}

// write --backup: the radio is read and kept first, the changes are shown on
// the terminal and nothing is written without a yes; a failed backup read
// writes nothing; without a terminal only --yes writes.
TEST_F(CliLink, WriteWithBackupKeepsTheRadioFirstAndAsksWithTheChanges) {
    const std::string mem = memory();
    const std::string changed = path("changed.dat");
    WriteText(path("list.csv"),
              "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
              "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
              "7,HILL,462.562500,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,,,,,\n");
    ASSERT_EQ(RunCli({"import-csv", path("doc.dat"), path("list.csv"), changed}).code, 0);
    ASSERT_EQ(RunCli({"encode", changed, path("changed.bin")}).code, 0);
    const Env data{{"XDG_DATA_HOME", path("data")}};
    const fs::path backups = fs::path(path("data")) / "zrcps" / "zrcps" / "backups";
    const auto backupFiles = [&] {
        std::vector<std::string> out;
        if (fs::exists(backups))
            for (const auto& e : fs::directory_iterator(backups)) out.push_back(e.path().string());
        std::sort(out.begin(), out.end());
        return out;
    };
    const auto before = zrtest::readBytes(mem);

    // No: the radio is kept as a backup that holds what it held, and stays as it was.
    {
        Sim sim;
        ASSERT_TRUE(sim.start({"--memory", mem}));
        TerminalCli cli;
        ASSERT_TRUE(cli.start({"write", "--port", sim.device, "--backup", changed}, data));
        ASSERT_TRUE(cli.waitFor("[y]es/[N]o? ", 60)) << cli.output();
        EXPECT_TRUE(Has(cli.output(), "This write changes in the radio:")) << cli.output();
        EXPECT_TRUE(Has(cli.output(), "CH 7 empty -> RX 462.56250 \"HILL\"")) << cli.output();
        cli.type("n\n");
        EXPECT_EQ(cli.wait(30), 1) << cli.output();
        EXPECT_TRUE(Has(cli.output(), "zrcps-cli write: Nothing was written: the write was cancelled")) << cli.output();
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(zrtest::readBytes(mem), before);
        const auto kept = backupFiles();
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_TRUE(Has(cli.output(), "backup of the radio: " + kept[0])) << cli.output();
        const RunResult same = RunCli({"diff", kept[0], mem});
        EXPECT_EQ(same.code, 0) << Describe(same);
    }
    // Yes: a second backup of the radio before the write, then the write.
    {
        Sim sim;
        ASSERT_TRUE(sim.start({"--memory", mem}));
        TerminalCli cli;
        ASSERT_TRUE(cli.start({"write", "--port", sim.device, "--backup", "--verify", changed}, data));
        ASSERT_TRUE(cli.waitFor("[y]es/[N]o? ", 60)) << cli.output();
        cli.type("y\n");
        EXPECT_EQ(cli.wait(60), 0) << cli.output();
        EXPECT_TRUE(Has(cli.output(), "The radio holds exactly the data that was written.")) << cli.output();
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(KeptPart(zrtest::readBytes(mem)), KeptPart(zrtest::readBytes(path("changed.bin"))));
        const auto kept = backupFiles();
        ASSERT_EQ(kept.size(), 2u);
        zrtest::writeBytes(path("mem-before.bin"), before);
        for (const auto& b : kept) {
            const RunResult same = RunCli({"diff", b, path("mem-before.bin")});
            EXPECT_EQ(same.code, 0) << b << Describe(same);
        }
    }
    // Without a terminal, --backup asks nobody and writes nothing; --yes writes.
    {
        Sim sim;
        ASSERT_TRUE(sim.start({"--memory", mem}));
        const RunResult refused = RunCli({"write", "--port", sim.device, "--backup", path("doc.dat")}, 30, data);
        EXPECT_EQ(refused.code, 1) << Describe(refused);
        EXPECT_TRUE(Has(refused.err, "run it on a terminal, or give --yes")) << Describe(refused);
        EXPECT_EQ(backupFiles().size(), 2u);
        const RunResult yes = RunCli({"write", "--port", sim.device, "--backup", "-y", path("doc.dat")}, 60, data);
        EXPECT_EQ(yes.code, 0) << Describe(yes);
        EXPECT_TRUE(Has(yes.err, "CH 7 RX 462.56250 \"HILL\" -> empty")) << Describe(yes);
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(backupFiles().size(), 3u);
        EXPECT_EQ(KeptPart(zrtest::readBytes(mem)), KeptPart(before));
        const RunResult onlyYes = RunCli({"write", "--port", sim.device, "--yes", path("doc.dat")});
        EXPECT_EQ(onlyYes.code, 2) << Describe(onlyYes);
    }
    // The backup read fails halfway: not one block is written.
    {
        ASSERT_EQ(RunCli({"encode", "-f", changed, mem}).code, 0);
        const auto kept = zrtest::readBytes(mem);
        Sim sim;
        ASSERT_TRUE(sim.start({"--memory", mem, "--silent-after", "100"}));
        const RunResult r = RunCli(
            {"write", "--port", sim.device, "--backup", "--yes", "--trace", path("t.txt"), path("doc.dat")}, 60, data);
        EXPECT_EQ(r.code, 1) << Describe(r);
        EXPECT_TRUE(Has(r.err, "Nothing was written: the radio could not be read for the backup")) << Describe(r);
        const std::string t = ReadText(path("t.txt"));
        EXPECT_GE(CountLines(t, "data       > 52 "), 100) << t;
        EXPECT_EQ(CountLines(t, "> 57 "), 0) << t;
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(zrtest::readBytes(mem), kept);
        EXPECT_EQ(backupFiles().size(), 3u);
    }
}
