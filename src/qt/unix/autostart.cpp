#include "qt/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstdio>

namespace soramado {

// The freedesktop session autostart: an entry in $XDG_CONFIG_HOME/autostart.
const bool AutostartOffered = true;

namespace {

const QString EntryName = QStringLiteral("soramado.desktop");

// This program file, by the kernel's account.
QString programFile()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

// One argument of an Exec line as the desktop entry rules write it: quoted
// where it holds a reserved character, '%' doubled, and then escaped once more
// as the value of a string key.
std::string execValue(std::string_view path)
{
    constexpr std::string_view Reserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quote = path.find_first_of(Reserved) != std::string_view::npos;
    std::string argument;
    for (const char c : path) {
        if (c == '%')
            argument += '%';
        else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            argument += '\\';
        argument += c;
    }
    if (quote)
        argument = '"' + argument + '"';
    std::string value;
    for (const char c : argument) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '\n')
            value += "\\n";
        else
            value += c;
    }
    return value;
}

// The clock's desktop entry: the one installed beside this program file, else
// one in the XDG data folders, else the copy the program carries. All come
// from the one source in the project's packaging folder.
QByteArray desktopEntry(const QString& program)
{
    QStringList candidates;
    if (!program.isEmpty())
        candidates << QFileInfo(program).dir().filePath(QStringLiteral("../share/applications/") +
                                                        EntryName);
    candidates << QStandardPaths::locate(QStandardPaths::ApplicationsLocation, EntryName);
    candidates << QStringLiteral(":/soramado/") + EntryName;
    for (const QString& candidate : candidates) {
        QFile file(candidate);
        if (!candidate.isEmpty() && file.open(QIODevice::ReadOnly))
            return file.readAll();
    }
    return {};
}

void say(std::FILE* stream, const QString& line)
{
    std::fprintf(stream, "soramado: %s\n", line.toLocal8Bit().constData());
}

} // namespace

std::string autostartEntry(std::string_view desktopEntry, std::string_view exec)
{
    std::string entry;
    bool inMainGroup = false;
    std::size_t from = 0;
    while (from < desktopEntry.size()) {
        const std::size_t end = desktopEntry.find('\n', from);
        const std::size_t next = end == std::string_view::npos ? desktopEntry.size() : end + 1;
        std::string_view line = desktopEntry.substr(from, next - from);
        from = next;
        if (line.starts_with('['))
            inMainGroup = line.starts_with("[Desktop Entry]");
        if (!exec.empty() && inMainGroup && line.starts_with("Exec=")) {
            const std::size_t body = line.find_last_not_of("\r\n") + 1;
            entry += "Exec=" + execValue(exec) + std::string(line.substr(body));
            continue;
        }
        entry += line;
    }
    return entry;
}

int setAutostart(bool on)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/autostart");
    const QString path = folder + QLatin1Char('/') + EntryName;
    if (!on) {
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
            say(stdout,
                QStringLiteral("did not start with the session; nothing to remove at ") + path);
            return 0;
        }
        QFile file(path);
        if (!file.remove()) {
            say(stderr, QStringLiteral("cannot remove ") + path + QStringLiteral(": ") +
                            file.errorString());
            return 1;
        }
        say(stdout, QStringLiteral("no longer starts with the session; removed ") + path);
        return 0;
    }

    const QString program = programFile();
    const QByteArray source = desktopEntry(program);
    // The entry names the program as "soramado"; where the session's search
    // path finds another program or none under that name, it names this file.
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("soramado"));
    const bool found = !onPath.isEmpty() && QFileInfo(onPath).canonicalFilePath() == program;
    const std::string entry =
        autostartEntry(source.toStdString(), found ? std::string() : program.toStdString());

    if (!QDir().mkpath(folder)) {
        say(stderr, QStringLiteral("cannot make the folder ") + folder);
        return 1;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(entry.data(), static_cast<qint64>(entry.size())) !=
            static_cast<qint64>(entry.size()) ||
        !file.commit()) {
        say(stderr,
            QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
        return 1;
    }
    say(stdout, QStringLiteral("starts with the session from now on: ") + path);
    return 0;
}

} // namespace soramado
