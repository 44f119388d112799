// soramado-preview: what the sky model computes for any city and moment,
// without a window; optionally the picture the clock would show then.

#include "app/clockcore.h"
#include "common/numbers.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "sky/suntimes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>

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
                 "  N is 0 札幌, 1 仙台, 2 東京, 3 大阪, 4 広島, 5 福岡\n");
}

std::optional<QDateTime> parseMoment(const QString& text)
{
    const QDateTime at =
        QDateTime::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!at.isValid())
        return std::nullopt;
    return at;
}

// The clock as it stands right after starting at that moment.
struct Started {
    SettableClock clock;
    SeededRandom random;
    ClockCore core;
    Started(const QDateTime& at, int city, std::uint64_t seed)
        : clock(at), random(seed), core(clock, random)
    {
        core.startUp();
        core.setLocationIndex(static_cast<std::int16_t>(city));
        core.finishStartUp();
    }
};

QString line(const QDateTime& at, int city, std::uint64_t seed)
{
    const Started started(at, city, seed);
    const SunTimes& sun = started.core.sunTimes();
    return QStringLiteral("%1 city=%2 sunrise=%3 sunset=%4 phase=%5 stars=%6")
        .arg(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        .arg(city)
        .arg(timeText(sun.Sunrise), timeText(sun.Sunset))
        .arg(started.core.state().Phase)
        .arg(started.core.state().StarsWanted);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);

    std::optional<int> city;
    QStringList moments;
    QString pngFile;
    std::uint64_t seed = 1;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            usage();
            return 0;
        }
        if (!hasValue) {
            std::fprintf(stderr, "soramado-preview: %s needs a value\n", qPrintable(arg));
            usage();
            return BadInput;
        }
        const QString value = args[++i];
        if (arg == QLatin1String("--city")) {
            bool ok = false;
            const int n = value.toInt(&ok);
            if (!ok || n < 0 || n >= LocationCount) {
                std::fprintf(stderr, "soramado-preview: bad city '%s': give 0 to 5\n",
                             qPrintable(value));
                return BadInput;
            }
            city = n;
        } else if (arg == QLatin1String("--at")) {
            moments << value;
        } else if (arg == QLatin1String("--png")) {
            pngFile = value;
        } else if (arg == QLatin1String("--seed")) {
            bool ok = false;
            seed = value.toULongLong(&ok);
            if (!ok) {
                std::fprintf(stderr, "soramado-preview: bad seed '%s'\n", qPrintable(value));
                return BadInput;
            }
        } else {
            std::fprintf(stderr, "soramado-preview: unknown option '%s'\n", qPrintable(arg));
            usage();
            return BadInput;
        }
    }
    if (!city || moments.isEmpty()) {
        usage();
        return BadInput;
    }

    if (!pngFile.isEmpty()) {
        if (moments.size() != 1 || moments.front() == QLatin1String("-")) {
            std::fprintf(stderr, "soramado-preview: --png takes exactly one --at moment\n");
            return BadInput;
        }
        const auto at = parseMoment(moments.front());
        if (!at) {
            std::fprintf(stderr,
                         "soramado-preview: bad timestamp '%s': use \"YYYY-MM-DD hh:mm:ss\"\n",
                         qPrintable(moments.front()));
            return BadInput;
        }
        const Started started(*at, *city, seed);
        if (!started.core.view()
                 .image()
                 .convertToFormat(QImage::Format_RGB888)
                 .save(pngFile, "PNG")) {
            std::fprintf(stderr, "soramado-preview: cannot write '%s'\n", qPrintable(pngFile));
            return 1;
        }
        std::printf("%s\n", qPrintable(line(*at, *city, seed)));
        return 0;
    }

    int status = 0;
    const auto answer = [&](const QString& text) {
        const auto at = parseMoment(text);
        if (!at) {
            std::fprintf(stderr,
                         "soramado-preview: bad timestamp '%s': use \"YYYY-MM-DD hh:mm:ss\"\n",
                         qPrintable(text));
            status = BadInput;
            return;
        }
        std::printf("%s\n", qPrintable(line(*at, *city, seed)));
    };
    for (const QString& moment : moments) {
        if (moment == QLatin1String("-")) {
            std::string input;
            while (std::getline(std::cin, input)) {
                const QString text = QString::fromStdString(input);
                if (!text.trimmed().isEmpty())
                    answer(text);
            }
        } else {
            answer(moment);
        }
    }
    return status;
}
