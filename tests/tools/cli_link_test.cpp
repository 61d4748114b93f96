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
    // doc.dat with the channel of a CSV row: changed.dat, and its memory
    // image changed.bin.
    std::string changedDocument(const std::string& row) {
        WriteText(path("list.csv"),
                  "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
                  "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n" + row + "\n");
        EXPECT_EQ(RunCli({"import-csv", "-f", path("doc.dat"), path("list.csv"), path("changed.dat")}).code, 0);
        EXPECT_EQ(RunCli({"encode", "-f", path("changed.dat"), path("changed.bin")}).code, 0);
        return path("changed.dat");
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
    const std::string changed = changedDocument("7,HILL,462.562500,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,,,,,");
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

namespace {

// A radio's dealer area with its serial number (offset 48) and no password.
std::string DealerArea(const std::string& file, const std::string& serial) {
    std::vector<unsigned char> area(512, 0xFF);
    std::copy(serial.begin(), serial.end(), area.begin() + 48);
    area[48 + serial.size()] = 0;
    zrtest::writeBytes(file, area);
    return file;
}

std::vector<std::string> Lines(const std::string& text, const std::string& end) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t e = text.find(end, at);
        out.push_back(text.substr(at, e == std::string::npos ? std::string::npos : e - at));
        if (e == std::string::npos) break;
        at = e + end.size();
    }
    return out;
}

}  // namespace

// write --repeat on a terminal: three radios in a row on one port (the
// simulator restarted behind it with another memory and serial number each
// time), the second failing halfway; the list goes on, r writes the failed
// radio again, q stops; the log after every radio.
TEST_F(CliLink, WriteRepeatGoesOnPastAFailedRadioAndLogsEveryRadio) {
    memory();
    const std::string changed = changedDocument("9,FLEET,462.637500,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,,,,,");
    const auto sent = KeptPart(zrtest::readBytes(path("changed.bin")));
    // Each radio holds something else before.
    std::vector<std::string> mems;
    for (int i = 1; i <= 3; ++i) {
        const std::string mem = path("mem" + std::to_string(i) + ".bin");
        auto bytes = zrtest::readBytes(path("mem.bin"));
        bytes[3000 + i] ^= 0x5A;
        zrtest::writeBytes(mem, bytes);
        mems.push_back(mem);
    }
    const std::string serials[] = {"ZR24A0001", "ZR24A0002", "ZR24A0003"};
    const std::string port = path("cable");   // one port, whatever radio is behind it
    const std::string log = path("radios.csv");
    auto connect = [&](Sim& sim, int radio, std::vector<std::string> more = {}) {
        std::vector<std::string> args{"--memory", mems[radio - 1], "--dealer",
                                      DealerArea(path("dealer" + std::to_string(radio)), serials[radio - 1])};
        args.insert(args.end(), more.begin(), more.end());
        if (!sim.start(args)) return false;
        fs::remove(port);
        fs::create_symlink(sim.device, port);
        return true;
    };
    const std::string prompt = "Connect the next radio and press Enter (q to stop): ";

    TerminalCli cli;
    {
        Sim sim;
        ASSERT_TRUE(connect(sim, 1));
        ASSERT_TRUE(cli.start({"write", "--repeat", "--port", port, "--log", log, changed}));
        ASSERT_TRUE(cli.waitFor(prompt, 60)) << cli.output();
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(KeptPart(zrtest::readBytes(mems[0])), sent);
    }
    {
        Sim sim;   // the second radio stops answering halfway through the write
        ASSERT_TRUE(connect(sim, 2, {"--silent-after", "100"}));
        cli.type("\n");
        ASSERT_TRUE(cli.waitFor(prompt, 90, 2)) << cli.output();
        EXPECT_TRUE(Has(cli.output(), "Radio 2 failed: connect it again and type r to try again.")) << cli.output();
        ASSERT_TRUE(sim.stop());
    }
    {
        Sim sim;
        ASSERT_TRUE(connect(sim, 3));
        cli.type("\n");
        ASSERT_TRUE(cli.waitFor(prompt, 60, 3)) << cli.output();
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(KeptPart(zrtest::readBytes(mems[2])), sent);
    }
    // The log so far: the second radio marked, with its serial number.
    {
        const auto lines = Lines(ReadText(log), "\r\n");
        ASSERT_EQ(lines.size(), 4u) << ReadText(log);   // the header and three radios
        EXPECT_TRUE(Has(lines[2], ",ZR24A0002,FAILED,")) << lines[2];
        EXPECT_TRUE(Has(lines[2], "the write failed")) << lines[2];
    }
    EXPECT_NE(KeptPart(zrtest::readBytes(mems[1])), sent);
    // The second radio once more: r, then q.
    {
        Sim sim;
        ASSERT_TRUE(connect(sim, 2));
        cli.type("r\n");
        ASSERT_TRUE(cli.waitFor(prompt, 60, 4)) << cli.output();
        cli.type("q\n");
        EXPECT_EQ(cli.wait(30), 0) << cli.output();
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(KeptPart(zrtest::readBytes(mems[1])), sent);
    }
    EXPECT_TRUE(Has(cli.output(), "3 of 3 radios written")) << cli.output();
    EXPECT_EQ(CountLines(cli.output(), "OK: written"), 3) << cli.output();

    const auto lines = Lines(ReadText(log), "\r\n");
    ASSERT_EQ(lines.size(), 4u) << ReadText(log);
    EXPECT_EQ(lines[0], "Radio,Time,Serial number,Result,Details,Attempts");
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(lines[i + 1]);
        const auto fields = Lines(lines[i + 1], ",");
        ASSERT_EQ(fields.size(), 6u);
        EXPECT_EQ(fields[0], std::to_string(i + 1));
        EXPECT_EQ(fields[1].size(), 19u);   // "2026-12-10 02:50:01"
        EXPECT_EQ(fields[1][4], '-');
        EXPECT_EQ(fields[1][13], ':');
        EXPECT_EQ(fields[2], serials[i]);
        EXPECT_EQ(fields[3], "OK");
        EXPECT_EQ(fields[4], "written");
        EXPECT_EQ(fields[5], i == 1 ? "2" : "1");
    }
    EXPECT_EQ(ReadText(log).substr(ReadText(log).size() - 2), "\r\n");

    // An existing log is kept unless -f; a failed radio left in the list fails the command.
    const RunResult kept = RunCli({"write", "--repeat", "--port", port, "--log", log, changed});
    EXPECT_EQ(kept.code, 1) << Describe(kept);
    EXPECT_TRUE(Has(kept.err, "already exists (use -f to replace it)")) << Describe(kept);
    EXPECT_EQ(Lines(ReadText(log), "\r\n").size(), 4u);
    fs::remove(port);
    const RunResult none = RunCli({"write", "--repeat", "-f", "--port", port, "--log", log, changed});
    EXPECT_EQ(none.code, 1) << Describe(none);
    EXPECT_TRUE(Has(none.out, "0 of 1 radios written")) << Describe(none);
    EXPECT_TRUE(Has(ReadText(log), "\r\n1,")) << ReadText(log);
    EXPECT_TRUE(Has(ReadText(log), ",FAILED,")) << ReadText(log);
    const RunResult logAlone = RunCli({"write", "--log", log, changed});
    EXPECT_EQ(logAlone.code, 2) << Describe(logAlone);
}
