// soramado-preview: what the sky model computes for any city and moment,
// without a window; optionally the picture the clock would show then.

#include "app/headless.h"
#include "common/numbers.h"
#include "moment.h"
#include "platform/random.h"
#include "pngfile.h"
#include "sky/suntimes.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace soramado;

namespace {

constexpr int BadInput = 2;

void usage()
{
    std::fprintf(stderr,
                 "usage: soramado-preview --city N --at \"YYYY-MM-DD hh:mm:ss\" [--at ...]\n"
                 "       soramado-preview --city N --at -        (timestamps from standard input)\n"
                 "       soramado-preview --city N --at \"...\" --png FILE [--seed N]\n"
                 "  N is a city number 0 to %d:",
                 LocationCount - 1);
    for (int i = 0; i < LocationCount; ++i)
        std::fprintf(stderr, " %d %s%s", i, cityName(i).c_str(), i + 1 < LocationCount ? "," : "");
    std::fprintf(stderr, "\n  FILE - writes the picture to standard output (and no text line)\n");
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
    std::fprintf(stderr, "soramado-preview: bad timestamp '%s': use \"YYYY-MM-DD hh:mm:ss\"\n",
                 text.c_str());
}

} // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);

    std::optional<int> city;
    std::vector<std::string> moments;
    std::optional<std::string> pngFile;
    std::uint64_t seed = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            usage();
            return 0;
        }
        if (!hasValue) {
            std::fprintf(stderr, "soramado-preview: %s needs a value\n", arg.c_str());
            usage();
            return BadInput;
        }
        const std::string& value = args[++i];
        if (arg == "--city") {
            const std::optional<int> n = wholeNumber<int>(value);
            if (!n || *n < 0 || *n >= LocationCount) {
                std::fprintf(stderr, "soramado-preview: bad city '%s': give 0 to %d\n",
                             value.c_str(), LocationCount - 1);
                return BadInput;
            }
            city = n;
        } else if (arg == "--at") {
            moments.push_back(value);
        } else if (arg == "--png") {
            if (value.empty()) {
                std::fprintf(stderr, "soramado-preview: --png needs a file name (or - for "
                                     "standard output)\n");
                return BadInput;
            }
            pngFile = value;
        } else if (arg == "--seed") {
            const std::optional<std::uint64_t> n = wholeNumber<std::uint64_t>(value);
            if (!n) {
                std::fprintf(stderr, "soramado-preview: bad seed '%s'\n", value.c_str());
                return BadInput;
            }
            seed = *n;
        } else {
            std::fprintf(stderr, "soramado-preview: unknown option '%s'\n", arg.c_str());
            usage();
            return BadInput;
        }
    }
    if (!city || moments.empty()) {
        usage();
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
        const Started started(*at, *city, seed);
        if (const std::optional<std::string> failure =
                writePng(started.headless.app.view(), *pngFile)) {
            std::fprintf(stderr, "soramado-preview: %s\n", failure->c_str());
            return 1;
        }
        if (*pngFile != "-")
            std::printf("%s\n", line(*at, *city, seed).c_str());
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    int status = 0;
    const auto answer = [&](const std::string& text) {
        const std::optional<LocalDateTime> at = parseMoment(text);
        if (!at) {
            badMoment(text);
            status = BadInput;
            return;
        }
        std::printf("%s\n", line(*at, *city, seed).c_str());
    };
    for (const std::string& moment : moments) {
        if (moment == "-") {
            std::string input;
            while (std::getline(std::cin, input)) {
                if (input.find_first_not_of(" \t\r\n\f\v") != std::string::npos)
                    answer(input);
            }
        } else {
            answer(moment);
        }
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "soramado-preview: cannot write to standard output\n");
        return 1;
    }
    return status;
}
