#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace soramado {

// The exit status of a command line that cannot be followed, as command-line
// programs use it.
constexpr int UsageErrorStatus = 2;

// One option a program knows, with its dashes ("--city", "-platform"). A value
// option takes the next argument whatever it is, or the text after '=' in the
// same argument.
struct KnownOption {
    std::string_view name;
    bool takesValue = false;
};

struct GivenOption {
    std::string name; // as in the table
    std::string value;
};

struct ParsedArguments {
    std::vector<GivenOption> options;
    std::string error; // one line to tell the user; empty when all was understood

    bool has(std::string_view name) const;
    // The last value given for a value option, or nullptr.
    const std::string* value(std::string_view name) const;
};

// Reads args (without the program itself) against the known options, in order;
// the first argument that is not understood ends the reading with its error.
// Neither program takes arguments other than options; after "--" every
// argument is such an unexpected one.
ParsedArguments parseArguments(std::string_view program, const std::vector<std::string>& args,
                               std::span<const KnownOption> known);

// "soramado: unknown option \"--foo\"; see 'soramado --help'"
std::string unknownOptionLine(std::string_view program, std::string_view option);

// "Soramado 1.04a (1.4.0.1000)": the version as the version window writes it,
// and the program file's four numbers.
std::string versionLine();

// The clock's own command line. Each shell adds the options its toolkit takes
// for itself (they are let through untouched) and says where the settings live.
struct ClockCommandLineFacts {
    std::string_view program;       // "soramado"
    std::string_view settingsPlace; // one line
    std::span<const KnownOption> toolkitOptions;
    std::string_view toolkitNote; // one line about those options, or empty
    bool offersAutostart = false;
};

struct ClockRequest {
    enum class Action { Run, Help, Version, Autostart, Refuse };
    Action action = Action::Run;
    bool autostartOn = false;
    std::string text; // the usage, the version line or the refusal

    // The status to end with, for every action but Run.
    int exitStatus() const { return action == Action::Refuse ? UsageErrorStatus : 0; }
};

// What the user asked for: a refusal wins over --help, --help over --version,
// --version over --autostart; else the clock runs.
ClockRequest readClockCommandLine(const std::vector<std::string>& args,
                                  const ClockCommandLineFacts& facts);

std::string clockUsage(const ClockCommandLineFacts& facts);

} // namespace soramado
