// The command line's files and words: every command that writes a file,
// against an existing, a read-only, a symlinked, a "NAME.tmp"-colliding and
// a full target; documents refused as File > Open refuses them; --help and
// --version of the three programs; the man pages and completion made from
// the manual; no Qt Widgets in the command-line programs.

#include <gtest/gtest.h>

#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "shell/manual.h"
#include "support/support.h"
#include "tools/cli_support.h"

namespace fs = std::filesystem;
using namespace clitest;

namespace {

// The system's words for an error as the programs print them: in the
// language of the environment's locale, as the shell's own messages.
std::string SystemText(int err) {
    locale_t loc = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0)) return std::strerror(err);
    std::string text = ::strerror_l(err, loc);
    ::freelocale(loc);
    return text;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.insert(e.path().filename().string());
    return out;
}

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

// One command that writes the file `out`.
struct Writer {
    std::string name;
    std::function<std::vector<std::string>(const std::string& out)> args;
};

class CliFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RunCli({"new", doc()}).code, 0);
        ASSERT_EQ(RunCli({"encode", doc(), image()}).code, 0);
        WriteText(csv(),
                  "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
                  "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
                  "7,HILL,462.562500,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,,,,,\n");
        ASSERT_TRUE(sim.start({}));
    }
    std::string doc() const { return inputs.str("doc.dat"); }
    std::string image() const { return inputs.str("doc.bin"); }
    std::string csv() const { return inputs.str("list.csv"); }

    std::vector<Writer> writers() const {
        const std::string dev = sim.device, d = doc(), i = image(), c = csv();
        return {
            {"new", [](const std::string& o) { return std::vector<std::string>{"new", o}; }},
            {"encode", [d](const std::string& o) { return std::vector<std::string>{"encode", d, o}; }},
            {"decode", [i](const std::string& o) { return std::vector<std::string>{"decode", i, o}; }},
            {"export-csv", [d](const std::string& o) { return std::vector<std::string>{"export-csv", d, o}; }},
            {"import-csv", [d, c](const std::string& o) { return std::vector<std::string>{"import-csv", d, c, o}; }},
            {"print", [d](const std::string& o) { return std::vector<std::string>{"print", d, o}; }},
            {"read", [dev](const std::string& o) { return std::vector<std::string>{"read", "--port", dev, o}; }},
            {"dealer", [dev](const std::string& o) { return std::vector<std::string>{"dealer", "--port", dev, o}; }},
            {"write --repeat --log", [dev, d](const std::string& o) {
                 return std::vector<std::string>{"write", "--repeat", "--port", dev, "--log", o, d};
             }},
            {"trace", [dev](const std::string& o) {
                 return std::vector<std::string>{"ident", "--port", dev, "--trace", o};
             }},
        };
    }
    static std::vector<std::string> Forced(std::vector<std::string> args) {
        args.push_back("-f");
        return args;
    }

    zrtest::TempDir inputs;
    Sim sim;
};

}  // namespace

TEST_F(CliFiles, ExistingFilesAreReplacedOnlyWithForce) {
    for (const auto& w : writers()) {
        SCOPED_TRACE(w.name);
        zrtest::TempDir dir;
        const std::string out = dir.str("out.x");
        WriteText(out, "old");
        const RunResult refused = RunCli(w.args(out));
        EXPECT_EQ(refused.code, 1) << Describe(refused);
        EXPECT_NE(refused.err.find("already exists (use -f to replace it)"), std::string::npos) << Describe(refused);
        EXPECT_EQ(ReadText(out), "old");

        const RunResult forced = RunCli(Forced(w.args(out)));
        EXPECT_EQ(forced.code, 0) << Describe(forced);
        EXPECT_NE(ReadText(out), "old");
        EXPECT_GT(fs::file_size(out), 3u);
        EXPECT_EQ(Names(dir.path()), std::set<std::string>{"out.x"});
    }
}

TEST_F(CliFiles, ReadOnlyTargetsAreRefusedAndKept) {
    for (const auto& w : writers()) {
        SCOPED_TRACE(w.name);
        zrtest::TempDir dir;
        const std::string out = dir.str("out.x");
        WriteText(out, "old");
        ::chmod(out.c_str(), 0444);
        const RunResult r = RunCli(Forced(w.args(out)));
        EXPECT_EQ(r.code, 1) << Describe(r);
        EXPECT_NE(r.err.find("out.x: " + SystemText(EACCES)), std::string::npos) << Describe(r);
        EXPECT_EQ(ReadText(out), "old");
        EXPECT_EQ(Names(dir.path()), std::set<std::string>{"out.x"});
    }
}

TEST_F(CliFiles, SymlinkedTargetsAreWrittenThroughTheirLink) {
    for (const auto& w : writers()) {
        SCOPED_TRACE(w.name);
        zrtest::TempDir dir;
        fs::create_directory(dir.path() / "real");
        WriteText(dir.path() / "real" / "file.x", "old");
        fs::create_symlink("real/file.x", dir.path() / "link.x");
        const RunResult r = RunCli(Forced(w.args(dir.str("link.x"))));
        EXPECT_EQ(r.code, 0) << Describe(r);
        EXPECT_TRUE(fs::is_symlink(dir.path() / "link.x"));
        EXPECT_NE(ReadText(dir.path() / "real" / "file.x"), "old");
        EXPECT_EQ(Names(dir.path() / "real"), std::set<std::string>{"file.x"});
    }
}

TEST_F(CliFiles, AFileNamedLikeATemporaryFileIsLeftAlone) {
    for (const auto& w : writers()) {
        SCOPED_TRACE(w.name);
        zrtest::TempDir dir;
        const std::string out = dir.str("out.x");
        WriteText(out + ".tmp", "someone else's");
        fs::create_directory(dir.path() / "elsewhere");
        WriteText(dir.path() / "elsewhere" / "target", "pointed at");
        fs::create_symlink("elsewhere/target", dir.path() / ".out.x.tmp");
        const RunResult r = RunCli(w.args(out));
        EXPECT_EQ(r.code, 0) << Describe(r);
        EXPECT_TRUE(fs::exists(out));
        EXPECT_EQ(ReadText(out + ".tmp"), "someone else's");
        EXPECT_EQ(ReadText(dir.path() / "elsewhere" / "target"), "pointed at");
        EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"out.x", "out.x.tmp", ".out.x.tmp", "elsewhere"}));
    }
}

TEST_F(CliFiles, AFullDiskFailsTheCommandAndKeepsTheOldFile) {
    for (const auto& w : writers()) {
        SCOPED_TRACE(w.name);
        zrtest::SmallTmpfs disk(64);
        if (!disk.ok()) GTEST_SKIP() << disk.why();
        const std::string out = disk.str("out.x");
        WriteText(out, "old");
        disk.fill();
        const RunResult r = RunCli(Forced(w.args(out)));
        EXPECT_EQ(r.code, 1) << Describe(r);
        EXPECT_NE(r.err.find(SystemText(ENOSPC)), std::string::npos) << Describe(r);
        EXPECT_EQ(ReadText(out), "old");
        EXPECT_EQ(Names(disk.str()), (std::set<std::string>{"out.x", "filler"}));
    }
}

TEST_F(CliFiles, DocumentsFileOpenRefusesAreRefusedEverywhere) {
    zrtest::TempDir dir;
    std::vector<unsigned char> bytes = zrtest::readBytes(doc());
    const struct {
        const char* name;
        const char* version;
        const char* says;
    } cases[] = {
        {"damaged.dat", "X100", "its version text is not valid"},   // text 9065
        {"newer.dat", "V101", "is refused"},                         // no pair with V100
    };
    for (const auto& c : cases) {
        std::copy(c.version, c.version + 4, bytes.begin());
        zrtest::writeBytes(dir.path() / c.name, bytes);
        const std::string in = dir.str(c.name);
        for (const auto& args : {std::vector<std::string>{"show", in},
                                 std::vector<std::string>{"export-csv", in, dir.str("out.csv")},
                                 std::vector<std::string>{"print", in, dir.str("out.pdf")},
                                 std::vector<std::string>{"encode", in, dir.str("out.bin")}}) {
            SCOPED_TRACE(args[0] + " " + c.name);
            const RunResult r = RunCli(args);
            EXPECT_EQ(r.code, 1) << Describe(r);
            EXPECT_NE(r.err.find(c.says), std::string::npos) << Describe(r);
            EXPECT_TRUE(r.out.empty()) << Describe(r);
        }
    }
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"damaged.dat", "newer.dat"}));
}

TEST_F(CliFiles, DiffPrintsEveryDifferenceAndTellsByItsExitCode) {
    zrtest::TempDir dir;
    const std::string changed = dir.str("changed.dat"), changedImage = dir.str("changed.bin");
    ASSERT_EQ(RunCli({"import-csv", doc(), csv(), changed}).code, 0);
    ASSERT_EQ(RunCli({"encode", changed, changedImage}).code, 0);

    // Equal: nothing printed, 0; a document equals the image a write of it sends.
    for (const auto& [a, b] : {std::pair{doc(), doc()}, std::pair{doc(), image()}, std::pair{image(), image()}}) {
        SCOPED_TRACE(a + " " + b);
        const RunResult r = RunCli({"diff", a, b});
        EXPECT_EQ(r.code, 0) << Describe(r);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "");
    }

    // Different: the line of every changed item, the first file's value
    // before the arrow, numbers with "." whatever the locale; 1.
    const RunResult docs = RunCli({"diff", doc(), changed});
    EXPECT_EQ(docs.code, 1) << Describe(docs);
    EXPECT_NE(docs.out.find("CH 7 empty -> RX 462.56250 \"HILL\""), std::string::npos) << docs.out;
    const RunResult back = RunCli({"diff", changed, doc()});
    EXPECT_EQ(back.code, 1) << Describe(back);
    EXPECT_NE(back.out.find("CH 7 RX 462.56250 \"HILL\" -> empty"), std::string::npos) << back.out;
    // Mixed and image sides list the same channel change.
    for (const auto& [a, b] : {std::pair{doc(), changedImage}, std::pair{image(), changed},
                               std::pair{image(), changedImage}}) {
        SCOPED_TRACE(a + " " + b);
        const RunResult r = RunCli({"diff", a, b});
        EXPECT_EQ(r.code, 1) << Describe(r);
        EXPECT_NE(r.out.find("CH 7 empty -> RX 462.56250 \"HILL\""), std::string::npos) << r.out;
        EXPECT_EQ(r.out.back(), '\n');
    }

    // Files that cannot be compared: 2, the reason on stderr, nothing on stdout.
    std::vector<unsigned char> bytes = zrtest::readBytes(doc());
    std::copy_n("X100", 4, bytes.begin());
    zrtest::writeBytes(dir.path() / "damaged.dat", bytes);
    zrtest::writeBytes(dir.path() / "short.bin", std::vector<unsigned char>(5119, 0xFF));
    const struct {
        std::string file, says;
    } bad[] = {
        {dir.str("missing.dat"), dir.str("missing.dat") + ": cannot be read (" + SystemText(ENOENT) + ")"},
        {dir.str(), dir.str() + ": cannot be read (" + SystemText(EISDIR) + ")"},
        {dir.str("damaged.dat"), "not a document of this program"},
        {dir.str("short.bin"), "shorter than a document"},
    };
    std::vector<std::pair<std::string, std::string>> cases;
    for (const auto& c : bad) cases.emplace_back(c.file, c.says);
    // A file the user may not read (root reads every file).
    fs::copy_file(doc(), dir.path() / "locked.dat");
    ::chmod(dir.str("locked.dat").c_str(), 0);
    if (::geteuid() != 0)
        cases.emplace_back(dir.str("locked.dat"), dir.str("locked.dat") + ": cannot be read (" + SystemText(EACCES) + ")");
    for (const auto& [file, says] : cases) {
        for (const auto& args : {std::vector<std::string>{"diff", file, doc()},
                                 std::vector<std::string>{"diff", image(), file}}) {
            SCOPED_TRACE(args[1] + " " + args[2]);
            const RunResult r = RunCli(args);
            EXPECT_EQ(r.code, 2) << Describe(r);
            EXPECT_EQ(r.err.rfind("zrcps-cli diff: ", 0), 0u) << Describe(r);
            EXPECT_NE(r.err.find(says), std::string::npos) << Describe(r);
            EXPECT_EQ(r.out, "");
        }
    }
    const RunResult one = RunCli({"diff", doc()});
    EXPECT_EQ(one.code, 2) << Describe(one);
    EXPECT_NE(one.err.find("usage: zrcps-cli diff A B"), std::string::npos) << Describe(one);
}

TEST(CliWords, EveryProgramAndCommandHasHelpAndVersion) {
    namespace m = zr::manual;
    const struct {
        fs::path program;
        const m::Program& manual;
    } programs[] = {{CliPath(), m::Cli()}, {SimPath(), m::Sim()}, {GuiPath(), m::Gui()}};
    for (const auto& p : programs) {
        SCOPED_TRACE(p.manual.name);
        const RunResult v = clitest::Run(p.program, {"--version"});
        EXPECT_EQ(v.code, 0) << Describe(v);
        EXPECT_EQ(v.out, p.manual.name + " " + m::Release() + " (program version V100, documents V100)\n");
        const RunResult h = clitest::Run(p.program, {"--help"});
        EXPECT_EQ(h.code, 0) << Describe(h);
        EXPECT_EQ(h.out.rfind("usage: " + p.manual.name, 0), 0u) << h.out;
        for (const auto& o : p.manual.options) EXPECT_NE(h.out.find("--" + o.names.back()), std::string::npos);
        const RunResult bad = clitest::Run(p.program, {"--no-such-option"});
        EXPECT_EQ(bad.code, 2) << Describe(bad);
        EXPECT_NE(bad.err.find("no-such-option"), std::string::npos) << Describe(bad);
    }
    for (const auto& c : m::Cli().commands) {
        SCOPED_TRACE(c.name);
        for (const auto& args : {std::vector<std::string>{c.name, "--help"}, std::vector<std::string>{"help", c.name}}) {
            const RunResult h = RunCli(args);
            EXPECT_EQ(h.code, 0) << Describe(h);
            EXPECT_EQ(h.out.rfind("usage: zrcps-cli " + c.name, 0), 0u) << h.out;
            for (const auto& o : c.options) EXPECT_NE(h.out.find("--" + o.names.back()), std::string::npos) << h.out;
        }
        // One argument too many is wrong use, told with the usage line.
        std::vector<std::string> tooMany{c.name};
        for (int i = 0; i <= c.maxArgs; ++i) tooMany.push_back("x" + std::to_string(i));
        const RunResult r = RunCli(tooMany);
        EXPECT_EQ(r.code, 2) << Describe(r);
        EXPECT_NE(r.err.find("usage: zrcps-cli " + c.name), std::string::npos) << Describe(r);
    }
    EXPECT_EQ(RunCli({}).code, 2);
    EXPECT_EQ(RunCli({"no-such-command"}).code, 2);
}

TEST(CliWords, ManPagesAndCompletionComeFromTheManual) {
    const fs::path man = zrtest::binaryDir() / "man";
    for (const auto* p : {&zr::manual::Gui(), &zr::manual::Cli(), &zr::manual::Sim()}) {
        const std::string page = ReadText(man / (p->name + ".1"));
        ASSERT_FALSE(page.empty()) << p->name;
        EXPECT_EQ(page.rfind(".TH " + std::string(p->name == "zrcps" ? "ZRCPS" : p->name == "zrcps-cli" ? "ZRCPS-CLI"
                                                                                                          : "ZRCPS-SIM"),
                             0),
                  0u);
        // roff writes a minus sign as "\-".
        auto roff = [](const std::string& text) {
            std::string out;
            for (char ch : text) out += ch == '-' ? std::string("\\-") : std::string(1, ch);
            return out;
        };
        for (const auto& c : p->commands) EXPECT_NE(page.find(".B " + roff(c.name)), std::string::npos) << c.name;
        for (const auto& o : p->options) EXPECT_NE(page.find(roff("--" + o.names.back())), std::string::npos);
        if (p == &zr::manual::Cli()) {
            EXPECT_NE(page.find(".SH EXIT STATUS"), std::string::npos);
        }
    }
    const std::string completion = (man / "zrcps-cli.bash").string();
    EXPECT_EQ(Shell("bash -n " + completion + " 2>&1"), "");
    auto complete = [&](const std::string& words, int cword) {
        return Shell("bash -c 'source " + completion + "; COMP_WORDS=(" + words + "); COMP_CWORD=" +
                     std::to_string(cword) + "; _zrcps_cli; echo \"${COMPREPLY[*]}\"'");
    };
    EXPECT_EQ(complete("zrcps-cli re", 1), "read\n");
    EXPECT_EQ(complete("zrcps-cli write --ve", 2), "--verify\n");
    EXPECT_EQ(complete("zrcps-cli help exp", 2), "export-csv\n");
    EXPECT_EQ(complete("zrcps-cli di", 1), "diff\n");
}

TEST(CliWords, CommandLineProgramsDoNotLoadQtWidgets) {
    for (const auto& program : {CliPath(), SimPath()}) {
        SCOPED_TRACE(program.string());
        const std::string libs = Shell("ldd " + program.string());
        ASSERT_NE(libs.find("libQt6Core"), std::string::npos) << libs;   // ldd did list the libraries
        EXPECT_EQ(libs.find("libQt6Widgets"), std::string::npos) << libs;
        EXPECT_EQ(libs.find("libQt6PrintSupport"), std::string::npos) << libs;
    }
    // The windows program does, so the check sees what it looks for.
    EXPECT_NE(Shell("ldd " + GuiPath().string()).find("libQt6Widgets"), std::string::npos);
}
