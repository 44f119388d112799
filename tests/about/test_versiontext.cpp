#include "about/versiontext.h"

#include <gtest/gtest.h>

using namespace soramado;

namespace {

struct VersionCase {
    const char* name;
    std::int16_t minor;
    std::int16_t revision;
    const char* expected;
};

class VersionText : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionText, LetterAndRemainderFollowTheRevision)
{
    const VersionCase& c = GetParam();
    EXPECT_EQ(versionText({1, c.minor, c.revision}, "."), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Revisions, VersionText,
    ::testing::Values(VersionCase{"NoRevision", 4, 0, "ver.1.04"},
                      VersionCase{"Program", 4, 1000, "ver.1.04a"},
                      VersionCase{"RemainderNotAbove99", 4, 1099, "ver.1.04a"},
                      VersionCase{"RemainderWhole", 4, 1100, "ver.1.04a1"},
                      VersionCase{"RemainderHalf", 4, 1250, "ver.1.04a2.5"},
                      VersionCase{"HalfRoundsDownToGrave", 4, 500, "ver.1.04`5"},
                      VersionCase{"JustAboveHalf", 4, 501, "ver.1.04a5.01"},
                      VersionCase{"HalfRoundsUpToEven", 4, 1500, "ver.1.04b5"},
                      VersionCase{"HalfRoundsDownToEven", 4, 2500, "ver.1.04b5"},
                      VersionCase{"MinorZero", 0, 1000, "ver.1.00a"},
                      VersionCase{"MinorTen", 10, 1000, "ver.1.10a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VersionText, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(versionText({1, 4, 1250}, std::string(",")), std::string("ver.1.04a2,5"));
}

TEST(VersionText, ProgramVersionIsOnePointFourRevision1000)
{
    const ProgramVersion v = programVersion();
    EXPECT_EQ(v.major, 1);
    EXPECT_EQ(v.minor, 4);
    EXPECT_EQ(v.revision, 1000);
    EXPECT_EQ(versionText(v), std::string("ver.1.04a"));
}

} // namespace
