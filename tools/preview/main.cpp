// soramado-preview: what the sky model computes for any city and moment,
// without a window; optionally the picture the clock would show then.

#include "app/commandline.h"
#include "app/headless.h"
#include "common/numbers.h"
#include "common/quoting.h"
#include "moment.h"
#include "platform/random.h"
#include "pngfile.h"
#include "sky/suntimes.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace soramado;

namespace {

constexpr int BadInput = UsageErrorStatus;

constexpr KnownOption Options[] = {
    {"--city", true}, {"--at", true}, {"--png", true}, {"--seed", true},
    {"--help"},       {"-h"},         {"--version"},
};

void usage(std::FILE* out)
{
    std::fprintf(
        out,
        "usage: soramado-preview [--city N] --at \"YYYY-MM-DD hh:mm:ss\" [--at ...]\n"
        "       soramado-preview [--city N] --at -        (timestamps from standard input)\n"
        "       soramado-preview [--city N] --at \"...\" --png FILE [--seed N]\n"
        "       soramado-preview --help | --version\n"
        "  N is a city number 0 to %d (%d when not given):",
        LocationCount - 1, DefaultLocationIndex);
    for (int i = 0; i < LocationCount; ++i)
        std::fprintf(out, " %d %s%s", i, cityName(i).c_str(), i + 1 < LocationCount ? "," : "");
    std::fprintf(out, "\n  FILE - writes the picture to standard output (and no text line)\n");
}

// The clock as it stands right after starting at that moment in that city.
struct Started {
    SeededRandom random;
    HeadlessClock headless;
    Started(const LocalDateTime& at, int city, std::uint64_t seed)
        : random(seed), headless(random, at, [](const std::string&) {})
    {
        headless.store.WriteSetting("Location", std::to_string(city));
        headless.app.startUp();
    }
    ClockSnapshot inside() const { return headless.app.snapshot(); }
};

std::string line(const LocalDateTime& at, int city, std::uint64_t seed)
{
    const ClockSnapshot inside = Started(at, city, seed).inside();
    const SunTimes& sun = inside.sunTimes;
    return momentText(at) + " city=" + std::to_string(city) + " sunrise=" + timeText(sun.Sunrise) +
           " sunset=" + timeText(sun.Sunset) + " phase=" + std::to_string(inside.state.Phase) +
           " stars=" + std::to_string(inside.state.StarsWanted);
}

template <typename T> std::optional<T> wholeNumber(const std::string& text)
{
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

void badMoment(const std::string& text)
{
    std::fprintf(stderr, "soramado-preview: bad timestamp %s: use \"YYYY-MM-DD hh:mm:ss\"\n",
                 quotedForMessage(text).c_str());
}

// Standard output, which must get every line or say that it did not. The C
// library may flush (and lose) a line long before the end, after which a last
// flush finds nothing to complain about: so each write is checked, and the
// stream's error flag and its closing at the end.
class TextOutput {
public:
    // False once a line is lost; said once.
    bool line(const std::string& text)
    {
        errno = 0;
        if (!failed_ && std::printf("%s\n", text.c_str()) < 0)
            fail(errno);
        return !failed_;
    }

    // Whether everything reached standard output; said once if not.
    bool finish()
    {
        errno = 0;
        if (std::fflush(stdout) != 0)
            fail(errno);
        if (std::ferror(stdout))
            fail(0);
        errno = 0;
        if (std::fclose(stdout) != 0)
            fail(errno);
        return !failed_;
    }

private:
    void fail(int error)
    {
        if (failed_)
            return;
        failed_ = true;
        std::fprintf(stderr, "soramado-preview: cannot write to standard output%s%s\n",
                     error ? ": " : "", error ? std::strerror(error) : "");
    }

    bool failed_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);

    const ParsedArguments parsed = parseArguments("soramado-preview", args, Options);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s\n", parsed.error.c_str());
        return BadInput;
    }
    if (parsed.has("--help") || parsed.has("-h")) {
        usage(stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (parsed.has("--version")) {
        std::printf("%s\n", versionLine().c_str());
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    int city = DefaultLocationIndex;
    std::vector<std::string> moments;
    std::optional<std::string> pngFile;
    std::uint64_t seed = 1;
    for (const GivenOption& option : parsed.options) {
        const std::string& value = option.value;
        if (option.name == "--city") {
            const std::optional<int> n = wholeNumber<int>(value);
            if (!n || *n < 0 || *n >= LocationCount) {
                std::fprintf(stderr, "soramado-preview: bad city %s: give 0 to %d\n",
                             quotedForMessage(value).c_str(), LocationCount - 1);
                return BadInput;
            }
            city = *n;
        } else if (option.name == "--at") {
            moments.push_back(value);
        } else if (option.name == "--png") {
            if (value.empty()) {
                std::fprintf(stderr, "soramado-preview: --png needs a file name (or - for "
                                     "standard output)\n");
                return BadInput;
            }
            pngFile = value;
        } else if (option.name == "--seed") {
            const std::optional<std::uint64_t> n = wholeNumber<std::uint64_t>(value);
            if (!n) {
                std::fprintf(stderr, "soramado-preview: bad seed %s\n",
                             quotedForMessage(value).c_str());
                return BadInput;
            }
            seed = *n;
        }
    }
    if (moments.empty()) {
        usage(stderr);
        return BadInput;
    }

    if (pngFile) {
        if (moments.size() != 1 || moments.front() == "-") {
            std::fprintf(stderr, "soramado-preview: --png takes exactly one --at moment\n");
            return BadInput;
        }
        const std::optional<LocalDateTime> at = parseMoment(moments.front());
        if (!at) {
            badMoment(moments.front());
            return BadInput;
        }
        const Started started(*at, city, seed);
        if (const std::optional<std::string> failure =
                writePng(started.headless.app.view(), *pngFile)) {
            std::fprintf(stderr, "soramado-preview: %s\n", failure->c_str());
            return 1;
        }
        TextOutput output;
        if (*pngFile != "-")
            output.line(line(*at, city, seed));
        return output.finish() ? 0 : 1;
    }

    TextOutput output;
    // Input is read while answers wait in the buffer; tying the two would
    // flush them, and a failure there would go unseen.
    std::cin.tie(nullptr);
    int status = 0;
    // False once output is lost: there is no point in answering more.
    const auto answer = [&](const std::string& text) {
        const std::optional<LocalDateTime> at = parseMoment(text);
        if (!at) {
            badMoment(text);
            status = BadInput;
            return true;
        }
        return output.line(line(*at, city, seed));
    };
    bool written = true;
    for (const std::string& moment : moments) {
        if (moment == "-") {
            std::string input;
            while (written && std::getline(std::cin, input)) {
                if (input.find_first_not_of(" \t\r\n\f\v") != std::string::npos)
                    written = answer(input);
            }
        } else {
            written = answer(moment);
        }
        if (!written)
            break;
    }
    if (!output.finish())
        return 1;
    return status;
}
