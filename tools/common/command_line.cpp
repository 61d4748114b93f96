#include "common/command_line.h"

#include <QCommandLineParser>

namespace zr::cmdline {

namespace {
QStringList Names(const manual::Option& o) {
    QStringList n;
    for (const auto& name : o.names) n << QString::fromStdString(name);
    return n;
}
}  // namespace

QStringList Words(int argc, char** argv, int first) {
    QStringList out;
    for (int i = first; i < argc; ++i) out << QString::fromLocal8Bit(argv[i]);
    return out;
}

Parsed Parse(const std::vector<manual::Option>& options, const QStringList& args, bool withVersion) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const auto& o : options)
        parser.addOption(QCommandLineOption(Names(o), QString::fromStdString(o.help), QString::fromStdString(o.value)));
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    if (withVersion) parser.addOption(QCommandLineOption(QStringList{QStringLiteral("version")}));

    Parsed p;
    // QCommandLineParser skips the first word as the program name.
    if (!parser.parse(QStringList{QStringLiteral("program")} + args)) {
        p.error = parser.errorText().toLocal8Bit().toStdString();
        return p;
    }
    p.ok = true;
    p.help = parser.isSet(QStringLiteral("help"));
    p.version = withVersion && parser.isSet(QStringLiteral("version"));
    for (const auto& o : options) {
        const QString key = QString::fromStdString(o.names.back());
        if (!parser.isSet(key)) continue;
        if (o.value.empty()) p.switches.insert(o.names.back());
        else p.values[o.names.back()] = parser.value(key).toLocal8Bit().toStdString();
    }
    for (const auto& a : parser.positionalArguments()) p.positional.push_back(a.toLocal8Bit().toStdString());
    return p;
}

}  // namespace zr::cmdline
