#include "app/commandline.h"

#include <gtest/gtest.h>

using namespace soramado;

namespace {

constexpr KnownOption PreviewLike[] = {{"--city", true}, {"--at", true}, {"--help"}, {"-h"}};

struct ParseCase {
    const char* name;
    std::vector<std::string> args;
    const char* error;  // the whole line, or "" when all is understood
    const char* values; // name=value pairs as read, space-separated
};

class ParseArguments : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseArguments, ReadsOrNamesTheFirstFault)
{
    const ParseCase& c = GetParam();
    const ParsedArguments parsed = parseArguments("tool", c.args, PreviewLike);
    EXPECT_EQ(parsed.error, c.error);
    std::string values;
    for (const GivenOption& o : parsed.options)
        values += (values.empty() ? "" : " ") + o.name + "=" + o.value;
    EXPECT_EQ(values, c.values);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseArguments,
    ::testing::Values(
        ParseCase{"Nothing", {}, "", ""},
        ParseCase{"ValueApart", {"--city", "3", "--at", "x"}, "", "--city=3 --at=x"},
        ParseCase{"ValueAfterEquals", {"--city=3", "--at="}, "", "--city=3 --at="},
        ParseCase{
            "ValueThatLooksLikeAnOption", {"--city", "-1", "--at", "-"}, "", "--city=-1 --at=-"},
        ParseCase{"Flag", {"-h"}, "", "-h="},
        ParseCase{
            "UnknownAlone", {"--foo"}, "tool: unknown option \"--foo\"; see 'tool --help'", ""},
        ParseCase{"UnknownWithAValue",
                  {"--foo", "bar"},
                  "tool: unknown option \"--foo\"; see 'tool --help'",
                  ""},
        ParseCase{"UnknownWithEquals",
                  {"--foo=bar"},
                  "tool: unknown option \"--foo\"; see 'tool --help'",
                  ""},
        ParseCase{"UnknownAfterGoodOnes",
                  {"--city", "1", "-x"},
                  "tool: unknown option \"-x\"; see 'tool --help'",
                  "--city=1"},
        ParseCase{"UnknownIsQuotedSafely",
                  {"--\x1b[31m"},
                  "tool: unknown option \"--\\x1b[31m\"; see 'tool --help'",
                  ""},
        ParseCase{"ValueMissing", {"--city"}, "tool: --city needs a value; see 'tool --help'", ""},
        ParseCase{"FlagGivenAValue",
                  {"--help=yes"},
                  "tool: --help takes no value; see 'tool --help'",
                  ""},
        ParseCase{
            "NotAnOption", {"file"}, "tool: unexpected argument \"file\"; see 'tool --help'", ""},
        ParseCase{"LoneDash", {"-"}, "tool: unexpected argument \"-\"; see 'tool --help'", ""},
        ParseCase{"EndOfOptions", {"--"}, "", ""},
        ParseCase{"AfterEndOfOptions",
                  {"--", "--city"},
                  "tool: unexpected argument \"--city\"; see 'tool --help'",
                  ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A toolkit's own options, with one dash or two, as Qt takes them.
constexpr KnownOption Toolkit[] = {
    {"-platform", true}, {"--platform", true}, {"-reverse"}, {"--reverse"}};

ClockCommandLineFacts facts(bool autostart)
{
    return {"soramado", "~/.config/Soramado.conf", Toolkit, "Qt's options work too.", autostart};
}

struct ClockCase {
    const char* name;
    std::vector<std::string> args;
    bool autostart;
    ClockRequest::Action action;
    const char* textStart;
};

class ClockCommandLine : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockCommandLine, AnswersWhatWasAsked)
{
    const ClockCase& c = GetParam();
    const ClockRequest request = readClockCommandLine(c.args, facts(c.autostart));
    EXPECT_EQ(request.action, c.action);
    EXPECT_TRUE(request.text.starts_with(c.textStart)) << request.text;
    EXPECT_EQ(request.exitStatus(), c.action == ClockRequest::Action::Refuse ? 2 : 0);
}

using A = ClockRequest::Action;
INSTANTIATE_TEST_SUITE_P(
    Cases, ClockCommandLine,
    ::testing::Values(
        ClockCase{"Nothing", {}, true, A::Run, ""},
        ClockCase{"ToolkitOptions", {"-platform", "xcb", "--reverse"}, true, A::Run, ""},
        ClockCase{"ToolkitValueAfterEquals", {"--platform=offscreen"}, true, A::Run, ""},
        ClockCase{"Help", {"--help"}, true, A::Help, "Usage: soramado [OPTION]...\n"},
        ClockCase{"ShortHelp", {"-platform", "xcb", "-h"}, true, A::Help, "Usage: soramado"},
        ClockCase{"HelpBeforeVersion", {"--version", "--help"}, true, A::Help, "Usage:"},
        ClockCase{"Version", {"--version"}, true, A::Version, "Soramado 1.04a (1.4.0.1000)"},
        ClockCase{"UnknownBeatsHelp",
                  {"--help", "--bogus"},
                  true,
                  A::Refuse,
                  "soramado: unknown option \"--bogus\"; see 'soramado --help'"},
        ClockCase{"AutostartOn", {"--autostart", "on"}, true, A::Autostart, ""},
        ClockCase{"AutostartOff", {"--autostart=off"}, true, A::Autostart, ""},
        ClockCase{"AutostartBadState",
                  {"--autostart", "yes"},
                  true,
                  A::Refuse,
                  "soramado: --autostart takes on or off, not \"yes\""},
        ClockCase{"AutostartWhereNotOffered",
                  {"--autostart", "on"},
                  false,
                  A::Refuse,
                  "soramado: unknown option \"--autostart\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClockCommandLine, AutostartStateIsRead)
{
    EXPECT_TRUE(readClockCommandLine({"--autostart", "on"}, facts(true)).autostartOn);
    EXPECT_FALSE(readClockCommandLine({"--autostart", "off"}, facts(true)).autostartOn);
}

TEST(ClockCommandLine, UsageSaysWhereTheSettingsLiveAndOffersOnlyWhatIsThere)
{
    const std::string withAutostart = clockUsage(facts(true));
    EXPECT_NE(withAutostart.find("\nSettings: ~/.config/Soramado.conf\n"), std::string::npos);
    EXPECT_NE(withAutostart.find("--autostart on|off"), std::string::npos);
    EXPECT_NE(withAutostart.find("Qt's options work too.\n"), std::string::npos);
    EXPECT_EQ(clockUsage(facts(false)).find("--autostart"), std::string::npos);
}

} // namespace
