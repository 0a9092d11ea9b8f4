// The program's resources as compiled into the test program (the same
// script as kovna.exe), and the version block and manifest read back from
// kovna.exe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "KovnaVersion.h"
#include "kit/Controls.h"
#include "kit/MainTemplate.h"
#include "kit/Paths.h"
#include "platform/Afx.h"
#include "res/resource.h"

namespace {

std::string Utf16ToGbk(const std::u16string& text)
{
    if (text.empty())
        return {};
    const auto* pWide = reinterpret_cast<const wchar_t*>(text.data());
    const int n = ::WideCharToMultiByte(936, 0, pWide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(936, 0, pWide, static_cast<int>(text.size()), &result[0], n, nullptr, nullptr);
    return result;
}

// A reader of an extended dialog template.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* p) : m_p(p), m_start(p) {}
    WORD Word() { WORD w; memcpy(&w, m_p, 2); m_p += 2; return w; }
    DWORD Dword() { DWORD d; memcpy(&d, m_p, 4); m_p += 4; return d; }
    short Short() { return static_cast<short>(Word()); }
    // A string or an ordinal (0xFFFF followed by the number): "#n" for an ordinal.
    std::string SzOrOrd()
    {
        WORD first = Word();
        if (first == 0xFFFF)
            return "#" + std::to_string(Word());
        std::u16string text;
        for (WORD w = first; w != 0; w = Word())
            text.push_back(static_cast<char16_t>(w));
        return Utf16ToGbk(text);
    }
    void AlignDword()
    {
        while ((m_p - m_start) % 4)
            ++m_p;
    }
    void Skip(size_t n) { m_p += n; }

private:
    const BYTE* m_p;
    const BYTE* m_start;
};

struct TemplateItem {
    DWORD helpId, exStyle, style;
    short x, y, cx, cy;
    DWORD id;
    std::string cls, text;
};

struct Template {
    WORD dlgVer, signature;
    DWORD helpId, exStyle, style;
    WORD cDlgItems;
    short x, y, cx, cy;
    std::string menu, cls, title;
    WORD pointsize, weight;
    BYTE italic, charset;
    std::string typeface;
    std::vector<TemplateItem> items;
};

Template LoadTemplate(UINT nID)
{
    const HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    const HRSRC hRes = ::FindResourceExA(hInst, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(nID),
                                         MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    EXPECT_NE(nullptr, hRes) << "dialog " << nID << " in language 0x0804";
    Template t{};
    if (!hRes)
        return t;
    TemplateReader r(static_cast<const BYTE*>(::LockResource(::LoadResource(hInst, hRes))));
    t.dlgVer = r.Word();
    t.signature = r.Word();
    t.helpId = r.Dword();
    t.exStyle = r.Dword();
    t.style = r.Dword();
    t.cDlgItems = r.Word();
    t.x = r.Short();
    t.y = r.Short();
    t.cx = r.Short();
    t.cy = r.Short();
    t.menu = r.SzOrOrd();
    t.cls = r.SzOrOrd();
    t.title = r.SzOrOrd();
    t.pointsize = r.Word();
    t.weight = r.Word();
    const WORD italicCharset = r.Word();
    t.italic = LOBYTE(italicCharset);
    t.charset = HIBYTE(italicCharset);
    t.typeface = r.SzOrOrd();
    for (WORD i = 0; i < t.cDlgItems; ++i) {
        r.AlignDword();
        TemplateItem item{};
        item.helpId = r.Dword();
        item.exStyle = r.Dword();
        item.style = r.Dword();
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = r.Dword();
        item.cls = r.SzOrOrd();
        item.text = r.SzOrOrd();
        r.Skip(r.Word());
        t.items.push_back(item);
    }
    return t;
}

// The dialog's own fields, as both templates set them.
void ExpectHeader(const Template& t, DWORD exStyle, DWORD style, short cx, short cy, const char* pszTitle)
{
    EXPECT_EQ(1, t.dlgVer);
    EXPECT_EQ(0xFFFF, t.signature);
    EXPECT_EQ(0u, t.helpId);
    EXPECT_EQ(exStyle, t.exStyle);
    EXPECT_EQ(style, t.style);
    EXPECT_EQ(0, t.x);
    EXPECT_EQ(0, t.y);
    EXPECT_EQ(cx, t.cx);
    EXPECT_EQ(cy, t.cy);
    EXPECT_EQ("", t.menu);
    EXPECT_EQ("", t.cls);
    EXPECT_EQ(pszTitle, t.title);
    EXPECT_EQ(9, t.pointsize);
    EXPECT_EQ(0, t.weight);
    EXPECT_EQ(0, t.italic);
    EXPECT_EQ(1, t.charset);
    EXPECT_EQ("MS Shell Dlg", t.typeface);
}

// A null text stands for any text that is not empty.
void ExpectItems(const Template& t, const TemplateControl* pWant, size_t nWant)
{
    ASSERT_EQ(nWant, t.items.size());
    for (size_t i = 0; i < nWant; ++i) {
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        const TemplateItem& item = t.items[i];
        const TemplateControl& want = pWant[i];
        EXPECT_EQ(static_cast<DWORD>(want.id), item.id);
        EXPECT_EQ(want.cls, item.cls);
        if (want.text) {
            EXPECT_EQ(want.text, item.text);
        } else {
            EXPECT_FALSE(item.text.empty());
        }
        EXPECT_EQ(want.x, item.x);
        EXPECT_EQ(want.y, item.y);
        EXPECT_EQ(want.cx, item.cx);
        EXPECT_EQ(want.cy, item.cy);
        EXPECT_EQ(want.style, item.style);
        EXPECT_EQ(0u, item.exStyle);
        EXPECT_EQ(0u, item.helpId);
    }
}

} // namespace

TEST(Resources, MainTemplateIsAsDesigned)
{
    const Template t = LoadTemplate(IDD_MAIN);
    ExpectHeader(t, 0x00040000, 0x90CA00C8, 291, 170, "Kovna");
    ExpectItems(t, kMainControls, 19);
}

TEST(Resources, AboutTemplateIsAsDesigned)
{
    const Template t = LoadTemplate(IDD_INFO_BOX);
    ExpectHeader(t, 0, 0x80C800C8, 235, 55, "关于 Kovna");
    const TemplateControl want[] = {
        {IDC_STATIC, "#130", "#132", 11, 17, 20, 20, 0x50000003},
        {IDC_STATIC, "#130", "Kovna Version 1.0", 40, 10, 119, 8, 0x50020080},
        {IDC_STATIC, "#130", nullptr, 40, 25, 119, 8, 0x50020000},
        {IDOK, "#128", "确定", 178, 7, 50, 16, 0x50030001},
    };
    ExpectItems(t, want, 4);
}

TEST(Resources, AnyCodePage_StringMenuAndIcon)
{
    CString strEntry;
    EXPECT_TRUE(strEntry.LoadString(IDS_INFO_ENTRY));
    EXPECT_EQ(CString("关于 Kovna(&A)..."), strEntry);

    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(::GetModuleHandleA(nullptr), IDR_ICONMENU));
    ASSERT_EQ(1, ::GetMenuItemCount(menu));
    EXPECT_EQ("开始", MenuText(menu, 0));
    const HMENU hPopup = ::GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, hPopup);
    ASSERT_EQ(2, ::GetMenuItemCount(hPopup));
    EXPECT_EQ(static_cast<UINT>(ID_ICONMENU_OPEN), ::GetMenuItemID(hPopup, 0));
    EXPECT_EQ(static_cast<UINT>(ID_ICONMENU_EXIT), ::GetMenuItemID(hPopup, 1));
    EXPECT_EQ("打开(&O)", MenuText(hPopup, 0));
    EXPECT_EQ("退出(&X)", MenuText(hPopup, 1));

    // The group icon: exactly two 8-bit images, 16 and 32 pixels square.
    const HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    const HRSRC hGroup = ::FindResourceExA(hInst, MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(IDI_APP),
                                           MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    ASSERT_NE(nullptr, hGroup);
    const BYTE* pDir = static_cast<const BYTE*>(::LockResource(::LoadResource(hInst, hGroup)));
    WORD count;
    memcpy(&count, pDir + 4, 2);
    ASSERT_EQ(2, count);
    std::vector<int> sizes;
    for (int i = 0; i < 2; ++i) {
        const BYTE* pEntry = pDir + 6 + 14 * i;
        WORD bitCount;
        memcpy(&bitCount, pEntry + 6, 2);
        EXPECT_EQ(8, bitCount);
        sizes.push_back(pEntry[0]);
        EXPECT_EQ(pEntry[0], pEntry[1]);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ((std::vector<int>{16, 32}), sizes);
    EXPECT_NE(nullptr, ::LoadImageA(hInst, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(nullptr, ::LoadImageA(hInst, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 32, 32, 0));
}

namespace {

std::string VersionString(const std::vector<BYTE>& block, const char* key)
{
    char* pValue = nullptr;
    UINT cb = 0;
    const std::string query = std::string("\\StringFileInfo\\080403a8\\") + key;
    if (!::VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&pValue), &cb) || !pValue)
        return "<missing>";
    return std::string(pValue);
}

} // namespace

TEST(Resources, VersionBlockOfTheBuiltProgram)
{
    const std::string exe = WinePath(KOVNA_EXE_PATH);
    DWORD dwHandle = 0;
    const DWORD cb = ::GetFileVersionInfoSizeA(exe.c_str(), &dwHandle);
    ASSERT_GT(cb, 0u) << exe;
    std::vector<BYTE> block(cb);
    ASSERT_TRUE(::GetFileVersionInfoA(exe.c_str(), 0, cb, block.data()));

    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT cbFixed = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&pFixed), &cbFixed));
    const WORD file[] = {KOVNA_FILE_VERSION};
    const WORD product[] = {KOVNA_PRODUCT_VERSION};
    EXPECT_EQ(MAKELONG(file[1], file[0]), pFixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(file[3], file[2]), pFixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(product[1], product[0]), pFixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(product[3], product[2]), pFixed->dwProductVersionLS);
    EXPECT_EQ(0x3Fu, pFixed->dwFileFlagsMask);
    EXPECT_EQ(0u, pFixed->dwFileFlags);
    EXPECT_EQ(4u, pFixed->dwFileOS);
    EXPECT_EQ(1u, pFixed->dwFileType);
    EXPECT_EQ(0u, pFixed->dwFileSubtype);

    EXPECT_EQ("Kovna", VersionString(block, "FileDescription"));
    EXPECT_EQ(KOVNA_FILE_VERSION_TEXT, VersionString(block, "FileVersion"));
    EXPECT_EQ(KOVNA_PRODUCT_VERSION_TEXT, VersionString(block, "ProductVersion"));
    EXPECT_EQ(VersionString(block, "InternalName"), VersionString(block, "OriginalFilename"));
    EXPECT_EQ("", VersionString(block, "Comments"));

    WORD* pTranslation = nullptr;
    UINT cbTranslation = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pTranslation),
                                 &cbTranslation));
    ASSERT_EQ(4u, cbTranslation);
    EXPECT_EQ(0x0804, pTranslation[0]);
    EXPECT_EQ(936, pTranslation[1]);
}

TEST(Resources, ManifestOfTheBuiltProgram)
{
    const std::string exe = WinePath(KOVNA_EXE_PATH);
    const HMODULE hExe = ::LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hExe) << exe;
    const HRSRC hInfo = ::FindResourceA(hExe, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(nullptr, hInfo);
    const auto* pBytes = static_cast<const char*>(::LockResource(::LoadResource(hExe, hInfo)));
    const std::string manifest(pBytes, ::SizeofResource(hExe, hInfo));
    ::FreeLibrary(hExe);

    // Plain UTF-8 (ASCII, no byte-order mark) that the loader itself accepts.
    EXPECT_EQ(0u, manifest.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"", 0));
    EXPECT_TRUE(std::all_of(manifest.begin(), manifest.end(), [](char c) { return c > 0; }));
    ACTCTXA actCtx{};
    actCtx.cbSize = sizeof actCtx;
    actCtx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    actCtx.lpSource = exe.c_str();
    actCtx.lpResourceName = MAKEINTRESOURCEA(1);
    const HANDLE hActCtx = ::CreateActCtxA(&actCtx);
    EXPECT_NE(INVALID_HANDLE_VALUE, hActCtx) << ::GetLastError();
    if (hActCtx != INVALID_HANDLE_VALUE)
        ::ReleaseActCtx(hActCtx);

    const auto has = [&](const char* pszText) { return manifest.find(pszText) != std::string::npos; };
    EXPECT_TRUE(has("<requestedExecutionLevel level=\"asInvoker\""));
    for (const char* pszOs : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}" /* Vista */,
                              "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}" /* 7 */,
                              "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}" /* 8 */,
                              "{1f676c76-80e1-4239-95bb-83d0f6d0da78}" /* 8.1 */,
                              "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}" /* 10 */})
        EXPECT_TRUE(has((std::string("<supportedOS Id=\"") + pszOs + "\"/>").c_str())) << pszOs;
    EXPECT_TRUE(has("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"));
    // System awareness only, and the classic controls.
    EXPECT_FALSE(has("dpiAwareness"));
    EXPECT_FALSE(has("PerMonitor"));
    EXPECT_FALSE(has("<dependency"));
    EXPECT_FALSE(has("Common-Controls"));
}
