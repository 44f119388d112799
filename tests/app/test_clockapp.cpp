// The window-independent program as a shell drives it: what start-up and the
// commands show, ask of the system and write to the store, and when.

#include "app/clockapp.h"
#include "app/headless.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace soramado;
using namespace soramado::fakes;

namespace {

// Remembers every write in order, on top of a memory store.
class RecordingStore final : public SettingsStore {
public:
    MemorySettingsStore inner;
    std::vector<std::pair<std::string, std::string>> writes;
    std::optional<std::string> ReadSetting(std::string_view key) override
    {
        return inner.ReadSetting(key);
    }
    std::optional<std::string> WriteSetting(std::string_view key, std::string_view text) override
    {
        writes.emplace_back(key, text);
        return inner.WriteSetting(key, text);
    }
};

class RecordingTopmost final : public TopmostRequest {
public:
    std::vector<bool> requests;
    void setTopmost(bool on) override { requests.push_back(on); }
};

class AnsweringFonts final : public FontChooser {
public:
    std::optional<std::string> answer;
    std::vector<std::string> offered;
    std::optional<std::string> choose(const std::string& currentFace) override
    {
        offered.push_back(currentFace);
        return answer;
    }
};

struct App {
    SettableClock clock{at(2003, 5, 1, 12, 0, 0)};
    ScriptedRandom random;
    RecordingStore store;
    RecordingTopmost topmost;
    AnsweringFonts fonts;
    FixedScreen screen;
    std::vector<std::string> warnings;
    ClockApp app{{clock, random, store, topmost, fonts, screen,
                  [this](const std::string& m) { warnings.push_back(m); }}};

    App& set(const std::string& key, const std::string& text)
    {
        store.inner.values()[key] = text;
        return *this;
    }
    ClockApp& start()
    {
        app.startUp();
        return app;
    }
    std::string value(const std::string& key) const
    {
        const auto it = store.inner.values().find(key);
        return it == store.inner.values().end() ? "<none>" : it->second;
    }
};

using Writes = std::vector<std::pair<std::string, std::string>>;

// Where the frame opens for a window without a manager's frame.
std::optional<PixelPoint> reach(const ClockApp& app)
{
    return app.reachableFramePosition(layout::ClientSize, {0, 0});
}

TEST(ClockAppStartUp, EmptyStoreGivesTheDesignAndWritesOnlyAlwaysTop)
{
    App a;
    const ClockApp& app = a.start();
    EXPECT_EQ(app.locationIndex(), 2);
    EXPECT_EQ(app.clockFontFace(), "MS ゴシック");
    EXPECT_DOUBLE_EQ(app.clockFontPoints(), 20.25);
    EXPECT_FALSE(app.storedFramePosition());
    EXPECT_FALSE(reach(app));
    EXPECT_FALSE(app.alwaysOnTop());
    EXPECT_EQ(a.store.writes, (Writes{{"AlwaysTop", "False"}}));
    EXPECT_EQ(a.topmost.requests, std::vector<bool>{false});
    EXPECT_TRUE(a.warnings.empty());
    // The first full refresh has run: the labels and the picture are there.
    EXPECT_EQ(app.face().date, "2003年5月1日");
    EXPECT_EQ(app.face().weekday, "Thu");
    EXPECT_EQ(app.face().time, "12:00:00");
    EXPECT_EQ(app.phase(), 3);
    EXPECT_GT(app.viewRevision(), 0u);
}

TEST(ClockAppStartUp, StoredSettingsAreUsedAndAlwaysTopIsAppliedAndWrittenBack)
{
    App a;
    a.set("Location", "0").set("Font", "IPAGothic").set("AlwaysTop", "True");
    a.set("Left", "3000").set("Top", "4500");
    const ClockApp& app = a.start();
    EXPECT_EQ(app.locationIndex(), 0);
    EXPECT_EQ(app.clockFontFace(), "IPAGothic");
    EXPECT_DOUBLE_EQ(app.clockFontPoints(), 20.25); // the face only; the size stays designed
    EXPECT_TRUE(app.alwaysOnTop());
    EXPECT_EQ(a.topmost.requests, std::vector<bool>{true});
    EXPECT_EQ(a.store.writes, (Writes{{"AlwaysTop", "True"}}));
    EXPECT_EQ(app.storedFramePosition(), (PixelPoint{200, 300}));
    EXPECT_EQ(reach(app), (PixelPoint{200, 300}));
    // 札幌's sun, not 東京's, from the first refresh on.
    EXPECT_EQ(app.snapshot().sunTimes.Sunrise, hms(5, 8, 18));
}

// Every read and write of the store and every request to the window system, in order.
struct Journal {
    std::vector<std::string> events;
};

class JournalStore final : public SettingsStore {
public:
    JournalStore(Journal& journal, std::optional<std::string> alwaysTop)
        : journal_(journal), alwaysTop_(std::move(alwaysTop))
    {}
    std::optional<std::string> ReadSetting(std::string_view key) override
    {
        journal_.events.push_back("read " + std::string(key));
        return key == "AlwaysTop" ? alwaysTop_ : std::nullopt;
    }
    std::optional<std::string> WriteSetting(std::string_view key, std::string_view text) override
    {
        journal_.events.push_back("write " + std::string(key) + "=" + std::string(text));
        return std::nullopt;
    }

private:
    Journal& journal_;
    std::optional<std::string> alwaysTop_;
};

class JournalTopmost final : public TopmostRequest {
public:
    explicit JournalTopmost(Journal& journal) : journal_(journal) {}
    void setTopmost(bool on) override { journal_.events.push_back(on ? "topmost" : "not topmost"); }

private:
    Journal& journal_;
};

// Start-up reads the five keys once, then applies the flag as the command
// does: "AlwaysTop" written first, the window system asked after.
TEST(ClockAppStartUp, ReadsTheFiveKeysThenWritesAlwaysTopThenAsksTheWindowSystem)
{
    const std::vector<std::string> reads{"read Location", "read Font", "read Left", "read Top",
                                         "read AlwaysTop"};
    const std::vector<std::pair<std::optional<std::string>, bool>> rows{
        {std::nullopt, false}, {"True", true}, {"False", false}, {"-1", true}, {"maybe", false}};
    for (const auto& [stored, on] : rows) {
        Journal journal;
        SettableClock clock{at(2003, 5, 1, 12, 0, 0)};
        ScriptedRandom random;
        JournalStore store(journal, stored);
        JournalTopmost topmost(journal);
        CancellingFontChooser fonts;
        FixedScreen screen;
        ClockApp app({clock, random, store, topmost, fonts, screen, [](const std::string&) {}});
        app.startUp();
        std::vector<std::string> expected = reads;
        expected.push_back(on ? "write AlwaysTop=True" : "write AlwaysTop=False");
        expected.push_back(on ? "topmost" : "not topmost");
        EXPECT_EQ(journal.events, expected) << stored.value_or("<none>");
        EXPECT_EQ(app.alwaysOnTop(), on);

        // The command leaves the same trace, flipped.
        app.alwaysOnTopCommand();
        expected.push_back(on ? "write AlwaysTop=False" : "write AlwaysTop=True");
        expected.push_back(on ? "not topmost" : "topmost");
        EXPECT_EQ(journal.events, expected) << stored.value_or("<none>");
    }
}

TEST(ClockAppStartUp, BadTextsWarnOnceEachAndFallBack)
{
    App a;
    a.set("Location", "9").set("AlwaysTop", "maybe").set("Left", "x").set("Top", "300");
    const ClockApp& app = a.start();
    EXPECT_EQ(app.locationIndex(), 2);
    EXPECT_FALSE(app.alwaysOnTop());
    EXPECT_FALSE(app.storedFramePosition());
    ASSERT_EQ(a.warnings.size(), 3u);
    EXPECT_NE(a.warnings[0].find("\"Location\" = \"9\""), std::string::npos) << a.warnings[0];
    EXPECT_NE(a.warnings[1].find("\"Left\" = \"x\""), std::string::npos) << a.warnings[1];
    EXPECT_NE(a.warnings[2].find("\"AlwaysTop\" = \"maybe\""), std::string::npos);
    // The bad city text is left as it was.
    EXPECT_EQ(a.value("Location"), "9");
}

struct PlaceCase {
    const char* name;
    const char* left;
    const char* top;
    bool reachable;
};

class ClockAppPlace : public ::testing::TestWithParam<PlaceCase> {};

// Two screens side by side: the picture's corner must lie on one of them.
TEST_P(ClockAppPlace, StoredPositionOnlyWhereAScreenIs)
{
    const PlaceCase& c = GetParam();
    App a;
    a.screen.areas = {{0, 0, 1920, 1040}, {1920, 0, 1280, 1024}};
    a.set("Left", c.left).set("Top", c.top);
    const ClockApp& app = a.start();
    EXPECT_TRUE(app.storedFramePosition());
    EXPECT_EQ(reach(app).has_value(), c.reachable);
    // Nothing is written over the stored place at start-up.
    EXPECT_EQ(a.value("Left"), c.left);
}

INSTANTIATE_TEST_SUITE_P(Places, ClockAppPlace,
                         ::testing::Values(PlaceCase{"FirstScreen", "3000", "4500", true},
                                           PlaceCase{"SecondScreen", "45000", "1500", true},
                                           PlaceCase{"GripOnTheSecond", "47000", "14700", true},
                                           PlaceCase{"OnlyACornerPixel", "47985", "15345", false},
                                           PlaceCase{"RightOfAll", "48000", "1500", false},
                                           PlaceCase{"BelowTheFirst", "1500", "16500", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClockAppCommands, FontTakesOnlyTheFaceAtTwentyPointsAndCancelKeepsAll)
{
    App a;
    ClockApp& app = a.set("Font", "IPAGothic").start();
    app.fontCommand();
    EXPECT_EQ(a.fonts.offered, std::vector<std::string>{"IPAGothic"});
    EXPECT_EQ(app.clockFontFace(), "IPAGothic");
    EXPECT_DOUBLE_EQ(app.clockFontPoints(), 20.25);
    EXPECT_EQ(a.store.writes.size(), 1u); // AlwaysTop at start only

    a.fonts.answer = "Noto Sans Mono CJK JP";
    app.fontCommand();
    EXPECT_EQ(app.clockFontFace(), "Noto Sans Mono CJK JP");
    EXPECT_DOUBLE_EQ(app.clockFontPoints(), 20.0);
    EXPECT_EQ(a.store.writes.back(),
              (std::pair<std::string, std::string>{"Font", "Noto Sans Mono CJK JP"}));
}

TEST(ClockAppCommands, CityIsWrittenAtOnceAndDrawnOnTheNextTick)
{
    App a;
    ClockApp& app = a.start();
    const std::uint64_t revision = app.viewRevision();
    app.locationCommand(5);
    EXPECT_EQ(app.locationIndex(), 5);
    EXPECT_EQ(a.value("Location"), "5");
    EXPECT_EQ(app.viewRevision(), revision) << "nothing redrawn before the tick";
    a.clock.advanceMs(100);
    app.tick();
    EXPECT_EQ(app.snapshot().sunTimes.Sunrise, hms(5, 56, 10));

    const std::size_t writes = a.store.writes.size();
    for (const int bad : {-1, 6, 100})
        app.locationCommand(bad);
    EXPECT_EQ(a.store.writes.size(), writes);
    EXPECT_EQ(app.locationIndex(), 5);
}

TEST(ClockAppCommands, AlwaysOnTopFlipsWritesAndAsksEachTime)
{
    App a;
    ClockApp& app = a.start();
    app.alwaysOnTopCommand();
    app.alwaysOnTopCommand();
    app.alwaysOnTopCommand();
    EXPECT_TRUE(app.alwaysOnTop());
    EXPECT_EQ(a.topmost.requests, (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(a.store.writes, (Writes{{"AlwaysTop", "False"},
                                      {"AlwaysTop", "True"},
                                      {"AlwaysTop", "False"},
                                      {"AlwaysTop", "True"}}));
}

TEST(ClockAppCommands, UnloadWritesLeftThenTopInTwipsOncePerRun)
{
    App a;
    ClockApp& app = a.start();
    a.store.writes.clear();
    app.unload({321, -4});
    app.unload({1, 1});
    EXPECT_EQ(a.store.writes, (Writes{{"Left", "4815"}, {"Top", "-60"}}));
}

TEST(ClockAppCommands, RefusedWritesWarnOncePerKeyWithTheReasonAndTheClockGoesOn)
{
    App a;
    a.store.inner.refuseWrites(true);
    ClockApp& app = a.start();
    app.locationCommand(1);
    app.alwaysOnTopCommand();
    app.unload({10, 10});
    // Once per key and cause: AlwaysTop's second refusal is no news.
    ASSERT_EQ(a.warnings.size(), 4u);
    int n = 0;
    for (const char* key : {"\"AlwaysTop\"", "\"Location\"", "\"Left\"", "\"Top\""}) {
        EXPECT_NE(a.warnings[n].find(key), std::string::npos) << a.warnings[n];
        EXPECT_NE(a.warnings[n++].find("refuse writes"), std::string::npos);
    }
    EXPECT_EQ(app.locationIndex(), 1);
    EXPECT_TRUE(app.alwaysOnTop());
    a.clock.advanceMs(1000);
    app.tick();
    EXPECT_EQ(app.face().time, "12:00:01");
}

TEST(ClockAppSnapshot, KeepsTheMomentItWasTakenWhileTheClockGoesOn)
{
    App a;
    ClockApp& app = a.start();
    const ClockSnapshot before = app.snapshot();
    app.requestVisitor();
    app.alwaysOnTopCommand();
    app.locationCommand(4);
    a.clock.advanceMs(100);
    app.tick();

    EXPECT_EQ(before.state.LocationIndex, 2);
    EXPECT_FALSE(before.state.AlwaysOnTop);
    EXPECT_FALSE(before.state.VisitorActive);
    EXPECT_EQ(before.ticksRun, 0u);
    const ClockSnapshot after = app.snapshot();
    EXPECT_EQ(after.state.LocationIndex, 4);
    EXPECT_TRUE(after.state.AlwaysOnTop);
    EXPECT_TRUE(after.state.VisitorActive);
    EXPECT_EQ(after.ticksRun, 1u);
    EXPECT_NE(after.sunTimes.Sunrise, before.sunTimes.Sunrise);
    EXPECT_EQ(after.state.Phase, app.phase());
}

TEST(ClockAppCommands, ShiftF9StartsAVisitorOnTheNextTick)
{
    App a;
    ClockApp& app = a.start();
    app.requestVisitor();
    a.clock.advanceMs(100);
    app.tick();
    EXPECT_TRUE(app.snapshot().state.VisitorActive);
    EXPECT_EQ(app.snapshot().state.VisitorTicks, 1);
}

} // namespace
