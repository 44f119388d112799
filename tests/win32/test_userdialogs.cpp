// What the shell hands to the system's dialogs: the start-up report's text
// and the font dialog's request, both prepared without showing anything.
#include "win32/fontchooser.h"
#include "win32/labelfonts.h"
#include "win32/startupreport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace soramado::win32 {
namespace {

const std::string Place = "HKEY_CURRENT_USER\\Software\\Soramado\\Setting";

bool has(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

TEST(StartUpReport, NothingToTellWhenEverySettingWasUsable)
{
    EXPECT_EQ(startUpReport({}, {}, Place), L"");
}

TEST(StartUpReport, EachProblemOnItsOwnLineInReadingOrderWithWhatIsUsedInstead)
{
    const std::wstring text = startUpReport({{"Top", "abc"}, {"Location", "x"}},
                                            {{"AlwaysTop", ERROR_UNSUPPORTED_TYPE}}, Place);
    EXPECT_TRUE(has(text, L"HKEY_CURRENT_USER\\Software\\Soramado\\Setting")) << text;
    const std::size_t location = text.find(L"\n・Location の値 \"x\" ");
    const std::size_t top = text.find(L"\n・Top の値 \"abc\" ");
    const std::size_t alwaysTop = text.find(L"\n・AlwaysTop の値を読めません");
    ASSERT_NE(location, std::wstring::npos) << text;
    ASSERT_NE(top, std::wstring::npos) << text;
    ASSERT_NE(alwaysTop, std::wstring::npos) << text;
    EXPECT_LT(location, top);
    EXPECT_LT(top, alwaysTop);
    // What the clock does instead: Tokyo, the design place, a value that is no text.
    EXPECT_TRUE(has(text, L"東京を使います")) << text;
    EXPECT_TRUE(has(text, L"既定の位置")) << text;
    EXPECT_TRUE(has(text, L"REG_SZ")) << text;
    // A reason the system words, for any other failure.
    const std::wstring denied = startUpReport({}, {{"Left", ERROR_ACCESS_DENIED}}, Place);
    EXPECT_TRUE(has(denied, L"・Left の値を読めません (")) << denied;
    EXPECT_TRUE(has(denied, L"5)")) << denied; // "(error 5)" or the system's text with it
}

TEST(StartUpReport, StoredTextIsQuotedSoNoControlCharacterReachesTheBox)
{
    const std::wstring text = startUpReport({{"Left", "1\x1b[31m\r\nx\"y"}}, {}, Place);
    EXPECT_TRUE(has(text, L"\"1\\x1b[31m\\r\\nx\\\"y\"")) << text;
    for (const wchar_t c : text)
        EXPECT_TRUE(c == L'\n' || (c >= 0x20 && c != 0x7f)) << static_cast<int>(c);
}

TEST(StartUpReport, AHugeValueIsCutToOneShortLine)
{
    const std::string huge = "12" + std::string(40'000, 'x') + "34";
    const std::wstring text = startUpReport({{"Left", huge}}, {}, Place);
    EXPECT_LT(text.size(), 600u);
    EXPECT_TRUE(has(text, L"\"12xxx")) << text;
    EXPECT_TRUE(has(text, L"xxx\u2026xxx")) << text;
    EXPECT_TRUE(has(text, L"xxx34\"")) << text;
}

TEST(FontDialogRequest, OpensOnTheFaceBoldAt20PointsWithoutVerticalFaces)
{
    LOGFONTW font{};
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    for (const int dpi : {96, 120, 144}) {
        const CHOOSEFONTW dialog = prepareFontDialog(font, owner, L"IPAGothic", dpi);
        EXPECT_EQ(dialog.lStructSize, sizeof(CHOOSEFONTW));
        EXPECT_EQ(dialog.hwndOwner, owner);
        EXPECT_EQ(dialog.lpLogFont, &font);
        EXPECT_EQ(std::wstring(font.lfFaceName), L"IPAGothic");
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        // The dialog shows lfHeight in points of the screen's density.
        ASSERT_LT(font.lfHeight, 0);
        EXPECT_EQ(MulDiv(-font.lfHeight, 72, dpi), 20) << dpi;
        const DWORD wanted = CF_SCREENFONTS | CF_FORCEFONTEXIST | CF_NOVERTFONTS |
                             CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
        EXPECT_EQ(dialog.Flags & wanted, wanted);
        EXPECT_EQ(dialog.Flags & (CF_EFFECTS | CF_LIMITSIZE | CF_PRINTERFONTS), 0u);
        EXPECT_NE(dialog.lpfnHook, nullptr);
    }
    // A face longer than LOGFONT holds is cut, never left without its end.
    prepareFontDialog(font, owner, std::wstring(40, L'x'), 96);
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(LF_FACESIZE - 1, L'x'));
}

TEST(FontDialogRequest, FaceIsTheOneTheTimeIsDrawnWith)
{
    const auto installedOf = [](std::set<std::wstring> faces) {
        return [faces](const std::wstring& face) { return faces.contains(face); };
    };
    // The stored face when installed; else the clock's fixed-pitch fallback.
    EXPECT_EQ(clockFaceDrawn(L"Arial", installedOf({L"Arial", L"IPAGothic"})), L"Arial");
    EXPECT_EQ(clockFaceDrawn(L"MS ゴシック", installedOf({L"IPAPGothic", L"IPAGothic"})),
              L"IPAGothic");
}

} // namespace
} // namespace soramado::win32
