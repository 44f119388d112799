#include "win32/labelfonts.h"

#include "win32/dpi.h"

#include <cwchar>

namespace soramado::win32 {

std::wstring pickFace(const std::wstring& wanted, std::span<const wchar_t* const> fallbacks,
                      const FaceInstalled& installed)
{
    if (installed(wanted))
        return wanted;
    for (const wchar_t* face : fallbacks) {
        if (installed(face))
            return face;
    }
    return wanted;
}

std::wstring clockFaceDrawn(const std::wstring& stored, const FaceInstalled& installed)
{
    return pickFace(stored, ClockFaceFallbacks, installed);
}

namespace {

int CALLBACK foundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

} // namespace

bool faceInstalled(const std::wstring& face)
{
    if (face.empty() || face.size() >= LF_FACESIZE)
        return false;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(query.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    const ScreenDC dc;
    EnumFontFamiliesExW(dc.get(), &query, foundFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

Font createFont(const FontRequest& request, UINT dpi)
{
    LOGFONTW font{};
    font.lfHeight = fontHeight(request.points, dpi);
    font.lfWeight = request.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = request.italic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    wcsncpy(font.lfFaceName, request.face.c_str(), LF_FACESIZE - 1);
    return Font(CreateFontIndirectW(&font));
}

} // namespace soramado::win32
