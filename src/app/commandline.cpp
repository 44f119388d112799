#include "app/commandline.h"

#include "about/versiontext.h"
#include "common/quoting.h"

#include <algorithm>

namespace soramado {

namespace {

std::string hint(std::string_view program)
{
    return "; see '" + std::string(program) + " --help'";
}

constexpr std::string_view Help = "--help";
constexpr std::string_view ShortHelp = "-h";
constexpr std::string_view Version = "--version";
constexpr std::string_view Autostart = "--autostart";

} // namespace

bool ParsedArguments::has(std::string_view name) const
{
    return std::any_of(options.begin(), options.end(),
                       [name](const GivenOption& o) { return o.name == name; });
}

const std::string* ParsedArguments::value(std::string_view name) const
{
    for (auto o = options.rbegin(); o != options.rend(); ++o) {
        if (o->name == name)
            return &o->value;
    }
    return nullptr;
}

std::string unknownOptionLine(std::string_view program, std::string_view option)
{
    return std::string(program) + ": unknown option " + quotedForMessage(option) + hint(program);
}

ParsedArguments parseArguments(std::string_view program, const std::vector<std::string>& args,
                               std::span<const KnownOption> known)
{
    ParsedArguments parsed;
    const auto find = [known](std::string_view name) -> const KnownOption* {
        const auto found = std::find_if(known.begin(), known.end(),
                                        [name](const KnownOption& k) { return k.name == name; });
        return found == known.end() ? nullptr : &*found;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            if (i + 1 < args.size())
                parsed.error = std::string(program) + ": unexpected argument " +
                               quotedForMessage(args[i + 1]) + hint(program);
            return parsed;
        }
        if (arg.size() < 2 || arg.front() != '-') {
            parsed.error = std::string(program) + ": unexpected argument " + quotedForMessage(arg) +
                           hint(program);
            return parsed;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = std::string_view(arg).substr(0, equals);
        const KnownOption* option = find(name);
        if (!option) {
            // Named as given up to '=': a mistyped option is the part to correct.
            parsed.error = unknownOptionLine(program, name);
            return parsed;
        }
        if (!option->takesValue) {
            if (equals != std::string::npos) {
                parsed.error = std::string(program) + ": " + std::string(name) + " takes no value" +
                               hint(program);
                return parsed;
            }
            parsed.options.push_back({std::string(name), {}});
        } else if (equals != std::string::npos) {
            parsed.options.push_back({std::string(name), arg.substr(equals + 1)});
        } else if (i + 1 < args.size()) {
            parsed.options.push_back({std::string(name), args[++i]});
        } else {
            parsed.error =
                std::string(program) + ": " + std::string(name) + " needs a value" + hint(program);
            return parsed;
        }
    }
    return parsed;
}

std::string versionLine()
{
    const ProgramVersion v = programVersion();
    std::string shown = versionText(v);
    if (shown.starts_with("ver."))
        shown.erase(0, 4);
    return "Soramado " + shown + " (" + std::to_string(v.major) + "." + std::to_string(v.minor) +
           ".0." + std::to_string(v.revision) + ")";
}

std::string clockUsage(const ClockCommandLineFacts& facts)
{
    const std::string program(facts.program);
    std::string text = "Usage: " + program +
                       " [OPTION]...\n"
                       "A small desktop clock with a pixel-art view of the sky outdoors, as it\n"
                       "looks right now. Every command is in the menu that a click on the\n"
                       "picture opens. A second start brings the running clock to the front.\n"
                       "\n";
    if (facts.offersAutostart)
        text += "      --autostart on|off  start the clock with the session from now on, or\n"
                "                          no longer\n";
    text += "  -h, --help              show this help and exit\n"
            "      --version           show the version and exit\n";
    if (!facts.toolkitNote.empty())
        text += std::string(facts.toolkitNote) + "\n";
    text += "\nSettings: " + std::string(facts.settingsPlace) + "\n";
    return text;
}

ClockRequest readClockCommandLine(const std::vector<std::string>& args,
                                  const ClockCommandLineFacts& facts)
{
    std::vector<KnownOption> known = {{Help}, {ShortHelp}, {Version}};
    if (facts.offersAutostart)
        known.push_back({Autostart, true});
    known.insert(known.end(), facts.toolkitOptions.begin(), facts.toolkitOptions.end());

    const ParsedArguments parsed = parseArguments(facts.program, args, known);
    ClockRequest request;
    if (!parsed.error.empty()) {
        request.action = ClockRequest::Action::Refuse;
        request.text = parsed.error;
    } else if (parsed.has(Help) || parsed.has(ShortHelp)) {
        request.action = ClockRequest::Action::Help;
        request.text = clockUsage(facts);
    } else if (parsed.has(Version)) {
        request.action = ClockRequest::Action::Version;
        request.text = versionLine();
    } else if (const std::string* state = parsed.value(Autostart)) {
        if (*state == "on" || *state == "off") {
            request.action = ClockRequest::Action::Autostart;
            request.autostartOn = *state == "on";
        } else {
            request.action = ClockRequest::Action::Refuse;
            request.text = std::string(facts.program) + ": --autostart takes on or off, not " +
                           quotedForMessage(*state) + hint(facts.program);
        }
    }
    return request;
}

} // namespace soramado
