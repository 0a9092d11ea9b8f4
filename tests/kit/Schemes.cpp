// Windows' colour schemes for the tests.
#include "Schemes.h"

#include <cstdlib>
#include <cstdio>
#include <fstream>

#include "Paths.h"

namespace {

// The names under HKCU\Control Panel\Colors.
const struct {
    const char* pszName;
    int nIndex;
} kColourNames[] = {
    {"Scrollbar", COLOR_SCROLLBAR},
    {"Background", COLOR_BACKGROUND},
    {"ActiveTitle", COLOR_ACTIVECAPTION},
    {"InactiveTitle", COLOR_INACTIVECAPTION},
    {"Menu", COLOR_MENU},
    {"Window", COLOR_WINDOW},
    {"WindowFrame", COLOR_WINDOWFRAME},
    {"MenuText", COLOR_MENUTEXT},
    {"WindowText", COLOR_WINDOWTEXT},
    {"TitleText", COLOR_CAPTIONTEXT},
    {"ActiveBorder", COLOR_ACTIVEBORDER},
    {"InactiveBorder", COLOR_INACTIVEBORDER},
    {"AppWorkspace", COLOR_APPWORKSPACE},
    {"Hilight", COLOR_HIGHLIGHT},
    {"HilightText", COLOR_HIGHLIGHTTEXT},
    {"ButtonFace", COLOR_BTNFACE},
    {"ButtonShadow", COLOR_BTNSHADOW},
    {"GrayText", COLOR_GRAYTEXT},
    {"ButtonText", COLOR_BTNTEXT},
    {"InactiveTitleText", COLOR_INACTIVECAPTIONTEXT},
    {"ButtonHilight", COLOR_BTNHIGHLIGHT},
    {"ButtonDkShadow", COLOR_3DDKSHADOW},
    {"ButtonLight", COLOR_3DLIGHT},
    {"InfoText", COLOR_INFOTEXT},
    {"InfoWindow", COLOR_INFOBK},
    {"ButtonAlternateFace", 25},
    {"HotTrackingColor", COLOR_HOTLIGHT},
    {"GradientActiveTitle", COLOR_GRADIENTACTIVECAPTION},
    {"GradientInactiveTitle", COLOR_GRADIENTINACTIVECAPTION},
    {"MenuHilight", COLOR_MENUHILIGHT},
    {"MenuBar", COLOR_MENUBAR},
};

} // namespace

ColourScheme LoadColourScheme(const std::string& name)
{
    std::ifstream file(WinePath(KOVNA_COLOUR_SCHEMES_DIR "/" + name + ".reg"));
    ColourScheme scheme;
    std::string line;
    while (std::getline(file, line)) {
        char szName[64] = {};
        int r = 0;
        int g = 0;
        int b = 0;
        if (std::sscanf(line.c_str(), "\"%63[^\"]\"=\"%d %d %d\"", szName, &r, &g, &b) != 4)
            continue;
        for (const auto& entry : kColourNames) {
            if (::lstrcmpiA(entry.pszName, szName) == 0)
                scheme.push_back({entry.nIndex, RGB(r, g, b)});
        }
    }
    return scheme;
}

std::string SeatScheme()
{
    const char* pszSeat = std::getenv("KOVNA_SEAT");
    return pszSeat && !LoadColourScheme(pszSeat).empty() ? pszSeat : "";
}

CScopedColourScheme::CScopedColourScheme(const ColourScheme& scheme)
{
    std::vector<COLORREF> colours;
    for (const SchemeColour& colour : scheme) {
        m_indexes.push_back(colour.nIndex);
        m_before.push_back(::GetSysColor(colour.nIndex));
        colours.push_back(colour.cr);
    }
    ::SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), colours.data());
}

CScopedColourScheme::~CScopedColourScheme()
{
    ::SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), m_before.data());
}

DWORD CHighContrastApi::SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni)
{
    if (uiAction != SPI_GETHIGHCONTRAST)
        return CSystemApi::SystemParametersInfoW(uiAction, uiParam, pvParam, fWinIni);
    auto* pHighContrast = static_cast<HIGHCONTRASTW*>(pvParam);
    if (!pHighContrast || pHighContrast->cbSize != sizeof(HIGHCONTRASTW))
        return ERROR_INVALID_PARAMETER;
    pHighContrast->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
    pHighContrast->lpszDefaultScheme = nullptr;
    return ERROR_SUCCESS;
}
