#include "shell/manual.h"

#include <algorithm>
#include <cctype>

#ifndef ZR_RELEASE
#define ZR_RELEASE "0.0.0"
#endif

namespace zr::manual {

namespace {

const Option kPort{{"port"}, "DEVICE",
                   "The serial device of the programming cable (/dev/ttyUSB0, a /dev/serial/by-id/ name, a "
                   "pseudo-terminal) or a port name COM n. Without it, the port chosen in the windows.",
                   "device"};
const Option kPassword{{"password"}, "P", "The radio's programming password (up to four characters).", ""};
const Option kTrace{{"trace"}, "FILE",
                    "Write every frame sent and received, with millisecond time stamps and the transfer step, "
                    "to FILE (the password bytes are masked); for bug reports.",
                    "file"};
const Option kForce{{"f", "force"}, "", "Replace an existing output file.", ""};

const char* kExitText =
    "0  done\n"
    "1  failed (the radio did not answer, a file could not be read or written, a check failed)\n"
    "2  wrong use (an unknown command or option, a missing argument)\n"
    "diff: 0 the files are equal, 1 they differ, 2 a file cannot be read or is not a document";

const char* kFilesText =
    "Documents (*.dat) hold one radio's channels and settings in 11037 bytes. The installation keeps "
    "Version.ini and language/mysetup.ini (the chosen port: keys comPort and PortPath) in its root, and the "
    "programs, language texts and init templates in its version folder (V100).\n\n"
    "Every file is written through a temporary file in its folder and renamed over the old one: a failed "
    "write leaves the old file as it was; a symbolic link is written through; a read-only file is refused.";

const char* kPortsText =
    "Serial ports are shown as COM n: /dev/ttyS k is COM k+1, /dev/ttyUSB k COM 101+k, /dev/ttyACM k "
    "COM 201+k, other serial devices COM 256 and up. A USB cable is kept by its /dev/serial/by-id/ name too, "
    "so the choice survives plugging it into another socket.\n\n"
    "Opening a port tells what to do when it fails: a port of a group you are not in (sudo usermod -aG "
    "GROUP $USER, then log out and back in), a port another program holds, a device that is gone (on some "
    "systems brltty or ModemManager takes USB serial adapters), a port that is not there.";

std::string Wrap(const std::string& text, std::size_t indent, std::size_t width = 79) {
    std::string out;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::string para = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        std::string line(indent, ' ');
        std::size_t p = 0;
        bool first = true;
        while (p < para.size()) {
            const std::size_t sp = para.find(' ', p);
            const std::string word = para.substr(p, sp == std::string::npos ? std::string::npos : sp - p);
            if (!first && line.size() + 1 + word.size() > width) {
                out += line + "\n";
                line = std::string(indent, ' ');
                first = true;
            }
            if (!first) line += ' ';
            line += word;
            first = false;
            if (sp == std::string::npos) break;
            p = sp + 1;
        }
        out += line + "\n";
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
    return out;
}

std::string OptionSynopsis(const Option& o) {
    std::string s;
    for (const auto& n : o.names) {
        if (!s.empty()) s += ", ";
        s += (n.size() == 1 ? "-" : "--") + n;
    }
    if (!o.value.empty()) s += " " + o.value;
    return s;
}

std::string OptionLines(const std::vector<Option>& options, bool withStandard) {
    std::vector<Option> all = options;
    if (withStandard) {
        all.push_back({{"h", "help"}, "", "Show this help and exit.", ""});
    }
    std::string out;
    for (const auto& o : all) {
        std::string head = "  " + OptionSynopsis(o);
        if (head.size() < 24) {
            head.append(24 - head.size(), ' ');
            const std::string body = Wrap(o.help, 24);
            out += head + body.substr(24);
        } else {
            out += head + "\n" + Wrap(o.help, 24);
        }
    }
    return out;
}

// roff: a leading dot or quote is escaped, backslashes and minus signs too.
std::string Roff(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
        lineStart = c == '\n';
    }
    return out;
}

std::string RoffParagraphs(const std::string& text) {
    std::string out;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t nl = text.find("\n\n", pos);
        out += ".PP\n" + Roff(text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos)) + "\n";
        if (nl == std::string::npos) break;
        pos = nl + 2;
    }
    return out;
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

std::string RoffOptions(const std::vector<Option>& options) {
    std::string out;
    for (const auto& o : options) {
        out += ".TP\n.B " + Roff(OptionSynopsis(o)) + "\n" + Roff(o.help) + "\n";
    }
    return out;
}

Program MakeGui() {
    Program p;
    p.name = "zrcps";
    p.summary = "program PMR446/GMRS handheld radios through their programming cable";
    p.synopsis = {"zrcps [--demo] [FILE]", "zrcps --self-test", "zrcps --help | --version"};
    p.description =
        "zrcps reads a radio's memory over its serial programming cable, shows its channels as a table and "
        "its radio-wide settings as pages, writes them back, and keeps them in document files (*.dat). "
        "Given a FILE, it opens that document as File > Open does.\n\n"
        "Program > Check connection lists the serial ports with your access to each, checks your groups, tries "
        "the radio on the chosen port and shows a report to paste into a bug report. Settings > Port chooses "
        "the port; a check box there records a trace of every transfer in the folder zrcps/traces of your "
        "state folder (XDG_STATE_HOME, ~/.local/state).";
    p.options = {
        {{"demo"}, "", "Start a simulated radio (zrcps-sim) on a pseudo-terminal and use it as the port.", ""},
        {{"self-test"}, "", "Start, show the main window, close it as a user would and end; prints what it did "
                            "and where the settings are kept.", ""},
    };
    p.sections = {{"SERIAL PORTS", kPortsText}, {"FILES", kFilesText}};
    p.seeAlso = {"zrcps-cli(1)", "zrcps-sim(1)"};
    return p;
}

Program MakeCli() {
    Program p;
    p.name = "zrcps-cli";
    p.summary = "the radio programming rules of zrcps from the command line";
    p.synopsis = {"zrcps-cli COMMAND [OPTIONS] [ARGUMENTS]", "zrcps-cli COMMAND --help",
                  "zrcps-cli --help | --version"};
    p.description =
        "zrcps-cli runs the rules, checks and texts of the windows program without windows: documents, "
        "memory images, CSV channel lists, the printable channel sheet, the serial ports and the transfers "
        "with a radio. Messages go to the standard error, results to the standard output.\n\n"
        "Commands that write a file refuse to replace an existing one unless -f is given.";
    p.commands = {
        {"new", "[-f] [FILE]", 0, 1, "write a new document to FILE (print it without FILE)",
         "A new document of the program's model and band, with its default channels and settings.",
         {kForce}},
        {"show", "FILE", 1, 1, "print the channels and settings of a document",
         "Refuses a file that File > Open refuses (its version text).", {}},
        {"encode", "[-f] FILE.dat IMAGE.bin", 2, 2, "build the radio memory image of a document",
         "The 5120 bytes a write sends to the radio.", {kForce}},
        {"decode", "[-f] IMAGE.bin FILE.dat", 2, 2, "turn a radio memory image into a document",
         "The document a read of a radio holding IMAGE.bin gives.", {kForce}},
        {"export-csv", "[-f] FILE.dat OUT.csv", 2, 2, "the channels as a CHIRP-style CSV list",
         "Refuses a file that File > Open refuses.", {kForce}},
        {"import-csv", "[-f] FILE.dat IN.csv [OUT.dat]", 2, 3, "channels from a CSV list",
         "The channels of IN.csv replace those of FILE.dat; the result goes to OUT.dat, or back to FILE.dat.",
         {kForce}},
        {"print", "[-f] FILE.dat OUT.pdf", 2, 2, "the channel sheet as PDF",
         "Refuses a file that File > Open refuses.", {kForce}},
        {"diff", "A B", 2, 2, "the differences of two documents or memory images",
         "Prints every difference, one line each, by channel and settings page, the value in A before the "
         "arrow: \"CH 12 RX 462.56250 -> 462.57500\". A and B are documents (*.dat) or memory images of "
         "5120 bytes; a document against an image is compared as the image a write of it sends, and bytes "
         "no item shows are told by their address. Exits with 0 when A and B are equal, 1 when they differ "
         "and 2 when a file cannot be read or is not a document of this program.",
         {}},
        {"ports", "", 0, 0, "list the serial ports as the port dialog does",
         "Each port as \"COM n - device - description\" with its manufacturer, USB vendor:product, serial "
         "number and /dev/serial/by-id/ name.",
         {}, false},
        {"doctor", "[--port DEVICE] [--trace FILE]", 0, 0, "check the connection to the radio",
         "Lists the ports with your access to each, checks your group membership, tries the handshake and the "
         "identification on the port and prints a plain report to paste into a bug report. Exits with 1 when "
         "the radio did not answer.",
         {kPort, kTrace, kForce}, false},
        {"ident", "[--port DEVICE] [--trace FILE]", 0, 0, "the identification of the radio",
         "Model, band, firmware version and flags byte, asked twice to be sure of them.", {kPort, kTrace, kForce},
         false},
        {"read", "[--port DEVICE] [--password P] [--trace FILE] [-f] FILE", 1, 1,
         "read the radio into a document",
         "One exchange with the radio: handshake, identification, password, the memory blocks, end. The "
         "document takes the radio's band.",
         {kPort, kPassword, kTrace, kForce}},
        {"write",
         "[--port DEVICE] [--password P] [--verify] [--backup [-y] | --repeat [--log FILE.csv]] [--trace FILE] "
         "[-f] FILE",
         1, 1,
         "write a document into the radio",
         "With --verify the radio is read back and every byte written is compared. A failed write leaves the "
         "radio partly programmed: write the document (or the last backup) again.\n\n"
         "With --backup the radio is read first and that read is kept as a backup, where the windows keep the "
         "backups of their reads (zrcps/zrcps/backups in $XDG_DATA_HOME, ~/.local/share); nothing is written unless that read "
         "succeeded. Then the changes the write makes are shown and the write starts only when you answer y. "
         "Without a terminal to ask on, --backup refuses (exit 1) unless -y is given.\n\n"
         "With --repeat the document is written into one radio after another, as Program > Write to several "
         "radios does: each radio's turn reads its dealer information (its serial number), writes, and checks "
         "with --verify; a radio that does not answer fails at once. After each radio its line of the list is "
         "printed and \"Connect the next radio and press Enter (q to stop)\" is asked on the standard input: "
         "Enter writes the next radio, r tries the last failed radio again (r N radio N), q or the end of the "
         "input stops. A failed radio never stops the list. With --log the list is written after every radio "
         "as CSV: radio, time, serial number, result, details, attempts. Exits with 0 when every radio of the "
         "list was written.",
         {kPort, kPassword,
          {{"verify"}, "", "Read the radio back after the write and compare.", ""},
          {{"backup"}, "", "Read and keep the radio first, show the changes and ask.", ""},
          {{"y", "yes"}, "", "With --backup: write without asking.", ""},
          {{"repeat"}, "", "Write one radio after another until q.", ""},
          {{"log"}, "FILE.csv", "With --repeat: the list of the radios as CSV.", "file"}, kTrace, kForce}},
        {"dealer", "[--port DEVICE] [--password P] [--trace FILE] [-f] [FILE]", 0, 1,
         "read the dealer information",
         "Prints the dealer information; with FILE, also writes the 512 bytes of the dealer area to it.",
         {kPort, kPassword, kTrace, kForce}},
        {"help", "[COMMAND]", 0, 1, "this help, or the help of a command", "", {}, false},
    };
    p.sections = {{"EXIT STATUS", kExitText},
                  {"SERIAL PORTS", kPortsText},
                  {"FILES", kFilesText},
                  {"ENVIRONMENT",
                   "ZRCPS_PROGRAM_FOLDER names the program folder whose language texts and version table are "
                   "used (default: the folder of zrcps-cli)."},
                  {"EXAMPLES",
                   "zrcps-cli doctor\n"
                   "zrcps-cli read --port /dev/ttyUSB0 radio.dat\n"
                   "zrcps-cli write --port COM101 --verify --trace write.txt radio.dat\n"
                   "zrcps-cli export-csv radio.dat channels.csv\n"
                   "zrcps-cli diff radio.dat backup.dat\n"
                   "zrcps-cli write --repeat --log radios.csv --port /dev/ttyUSB0 fleet.dat"}};
    p.seeAlso = {"zrcps(1)", "zrcps-sim(1)"};
    return p;
}

Program MakeSim() {
    Program p;
    p.name = "zrcps-sim";
    p.summary = "a simulated radio on a pseudo-terminal";
    p.synopsis = {"zrcps-sim [OPTIONS]", "zrcps-sim --help | --version"};
    p.description =
        "zrcps-sim opens a pseudo-terminal, prints its device path on the first line of its output and "
        "answers there like a radio of this model behind its programming cable. zrcps and zrcps-cli open "
        "the device as their serial port. SIGINT and SIGTERM end it; its memory is saved after every session "
        "and at the end.";
    const auto n = [](const char* name, const char* value, const char* help) {
        return Option{{name}, value, help, value[0] && std::string(value) == "FILE" ? "file" : ""};
    };
    p.options = {
        n("memory", "FILE", "5120-byte memory, loaded at start, saved after each session"),
        n("dealer", "FILE", "512-byte dealer area (password at offsets 44..47)"),
        n("testdata", "FILE", "16-byte factory test data"),
        n("no-echo", "", "the cable does not echo (default: it echoes)"),
        n("password", "TEXT", "programming password (up to 4 characters)"),
        n("model", "TEXT", "model text (default ZR614)"),
        n("band", "N", "band code (default 1)"),
        n("firmware", "TEXT", "firmware version (default V100)"),
        n("flags", "N", "flags byte (default 0)"),
        n("repeat", "A[,A...]", "answer the write of these block addresses with 0A once"),
        n("drop", "SHARE", "share of answers not sent (0..1)"),
        n("corrupt", "SHARE", "share of answers with a damaged byte (0..1)"),
        n("seed", "N", "seed of drop and corrupt choices (default 1)"),
        n("damage-ident", "N", "the first N identifications carry a damaged flags byte, each another one"),
        n("silent", "", "never answer"),
        n("silent-after", "N", "stop answering after N memory blocks (cable pulled)"),
        n("no-end-answer", "", "do not answer the end frame"),
        n("no-testdata-answer", "", "do not answer the factory test data block"),
        n("paced", "", "9600-baud timing of every byte (10 bits)"),
        n("turnaround", "MS", "delay before each answer (default 0)"),
    };
    p.sections = {{"EXIT STATUS", kExitText},
                  {"EXAMPLES",
                   "zrcps-sim --memory radio.bin > sim.txt &\n"
                   "zrcps-cli read --port \"$(head -1 sim.txt)\" radio.dat"}};
    p.seeAlso = {"zrcps(1)", "zrcps-cli(1)"};
    return p;
}

}  // namespace

const Program& Gui() {
    static const Program p = MakeGui();
    return p;
}
const Program& Cli() {
    static const Program p = MakeCli();
    return p;
}
const Program& Sim() {
    static const Program p = MakeSim();
    return p;
}

std::string Release() { return ZR_RELEASE; }

std::string VersionText(const Program& p) {
    return p.name + " " + Release() + " (program version V100, documents V100)\n";
}

const Command* FindCommand(const Program& p, std::string_view name) {
    for (const auto& c : p.commands)
        if (c.name == name) return &c;
    return nullptr;
}

std::string HelpText(const Program& p) {
    std::string out = "usage: " + p.synopsis.front() + "\n";
    for (std::size_t i = 1; i < p.synopsis.size(); ++i) out += "       " + p.synopsis[i] + "\n";
    out += "\n" + Wrap(p.summary, 0);
    std::vector<Option> opts = p.options;
    opts.push_back({{"h", "help"}, "", "Show this help and exit.", ""});
    opts.push_back({{"version"}, "", "Show the version and exit.", ""});
    out += "\noptions:\n" + OptionLines(opts, false);
    if (!p.commands.empty()) {
        out += "\ncommands:\n";
        for (const auto& c : p.commands) {
            std::string head = "  " + c.name;
            head.append(head.size() < 14 ? 14 - head.size() : 1, ' ');
            out += head + c.summary + "\n";
        }
        out += "\n\"" + p.name + " COMMAND --help\" tells more about a command.\n";
    }
    for (const auto& s : p.sections)
        if (s.title == "EXIT STATUS") out += "\nexit status:\n" + Wrap(s.text, 2);
    return out;
}

std::string CommandHelpText(const Program& p, const Command& c) {
    std::string out = "usage: " + p.name + " " + c.name + (c.args.empty() ? "" : " " + c.args) + "\n\n";
    out += Wrap(c.summary, 0);
    if (!c.description.empty()) out += "\n" + Wrap(c.description, 0);
    out += "\noptions:\n" + OptionLines(c.options, true);
    return out;
}

std::string ManPage(const Program& p) {
    std::string out = ".TH " + Upper(p.name) + " 1 \"\" \"zrcps " + Release() + "\" \"User Commands\"\n";
    out += ".SH NAME\n" + Roff(p.name) + " \\- " + Roff(p.summary) + "\n";
    out += ".SH SYNOPSIS\n";
    for (const auto& s : p.synopsis) out += ".B " + Roff(s) + "\n.br\n";
    out += ".SH DESCRIPTION\n" + RoffParagraphs(p.description);
    std::vector<Option> opts = p.options;
    opts.push_back({{"h", "help"}, "", "Show the help and exit.", ""});
    opts.push_back({{"version"}, "", "Show the version and exit.", ""});
    out += ".SH OPTIONS\n" + RoffOptions(opts);
    if (!p.commands.empty()) {
        out += ".SH COMMANDS\n";
        for (const auto& c : p.commands) {
            out += ".TP\n.B " + Roff(c.name + (c.args.empty() ? "" : " " + c.args)) + "\n" + Roff(c.summary) + ".";
            if (!c.description.empty()) out += "\n" + Roff(c.description);
            out += "\n";
            if (!c.options.empty()) {
                out += ".RS\n" + RoffOptions(c.options) + ".RE\n";
            }
        }
    }
    for (const auto& s : p.sections) {
        out += ".SH " + Roff(s.title) + "\n";
        if (s.title == "EXIT STATUS" || s.title == "EXAMPLES") {
            out += ".nf\n" + Roff(s.text) + "\n.fi\n";
        } else {
            out += RoffParagraphs(s.text);
        }
    }
    if (!p.seeAlso.empty()) {
        out += ".SH SEE ALSO\n";
        for (std::size_t i = 0; i < p.seeAlso.size(); ++i) {
            const auto& s = p.seeAlso[i];
            const auto paren = s.find('(');
            out += ".BR " + Roff(s.substr(0, paren)) + " " + s.substr(paren) + (i + 1 < p.seeAlso.size() ? "," : "") +
                   "\n";
        }
    }
    return out;
}

std::string BashCompletion(const Program& p) {
    const std::string fn = "_" + std::string(p.name == "zrcps-cli" ? "zrcps_cli" : p.name == "zrcps-sim" ? "zrcps_sim" : "zrcps");
    std::string commands;
    for (const auto& c : p.commands) commands += (commands.empty() ? "" : " ") + c.name;
    auto words = [](const std::vector<Option>& options) {
        std::string w;
        for (const auto& o : options)
            for (const auto& n : o.names) w += (w.empty() ? "" : " ") + std::string(n.size() == 1 ? "-" : "--") + n;
        return w;
    };
    auto valueCase = [](const std::vector<Option>& options) {
        std::string files, devices, others;
        for (const auto& o : options) {
            if (o.value.empty()) continue;
            for (const auto& n : o.names) {
                std::string& into = o.completes == "file" ? files : o.completes == "device" ? devices : others;
                into += (into.empty() ? "" : "|") + std::string(n.size() == 1 ? "-" : "--") + n;
            }
        }
        std::string out;
        if (!files.empty()) out += "        " + files + ")\n            COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n";
        if (!devices.empty())
            out += "        " + devices +
                   ")\n            COMPREPLY=($(compgen -W \"$(ls /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* "
                   "/dev/ttyS* 2>/dev/null)\" -- \"$cur\")); return ;;\n";
        if (!others.empty()) out += "        " + others + ")\n            return ;;\n";
        return out;
    };
    std::string s = "# bash completion for " + p.name + " (made from its manual)\n";
    s += fn + "() {\n    local cur prev cmd i\n    cur=\"${COMP_WORDS[COMP_CWORD]}\"\n";
    s += "    prev=\"${COMP_WORDS[COMP_CWORD-1]}\"\n";
    if (p.commands.empty()) {
        s += "    case \"$prev\" in\n" + valueCase(p.options) + "    esac\n";
        s += "    COMPREPLY=($(compgen -W \"" + words(p.options) + " --help --version\" -- \"$cur\"))\n}\n";
        s += "complete -o filenames -F " + fn + " " + p.name + "\n";
        return s;
    }
    s += "    cmd=\"\"\n    for ((i = 1; i < COMP_CWORD; i++)); do\n";
    s += "        case \"${COMP_WORDS[i]}\" in -*) ;; *) cmd=\"${COMP_WORDS[i]}\"; break ;; esac\n    done\n";
    s += "    if [ -z \"$cmd\" ]; then\n        COMPREPLY=($(compgen -W \"" + commands +
         " --help --version\" -- \"$cur\"))\n        return\n    fi\n";
    s += "    case \"$cmd\" in\n";
    for (const auto& c : p.commands) {
        s += "    " + c.name + ")\n        case \"$prev\" in\n" + valueCase(c.options) + "        esac\n";
        s += "        if [[ \"$cur\" == -* ]]; then\n            COMPREPLY=($(compgen -W \"" + words(c.options) +
             (words(c.options).empty() ? "" : " ") + "--help\" -- \"$cur\"))\n";
        if (c.name == "help") {
            s += "        else\n            COMPREPLY=($(compgen -W \"" + commands + "\" -- \"$cur\"))\n";
        } else if (c.filesAsArgs) {
            s += "        else\n            COMPREPLY=($(compgen -f -- \"$cur\"))\n";
        }
        s += "        fi ;;\n";
    }
    s += "    esac\n}\ncomplete -o filenames -F " + fn + " " + p.name + "\n";
    return s;
}

}  // namespace zr::manual
