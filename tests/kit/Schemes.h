// Windows' colour schemes for the tests: read from the files their prefixes
// are set up from (scripts/colour-schemes), put in force in this process as
// a change of scheme on Windows does, and the high contrast setting that a
// Windows in such a scheme reports.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "platform/SystemApi.h"

struct SchemeColour {
    int nIndex;  // COLOR_...
    COLORREF cr;
};
using ColourScheme = std::vector<SchemeColour>;

// scripts/colour-schemes/NAME.reg; empty when there is no such file.
ColourScheme LoadColourScheme(const std::string& name);

// The scheme the test's seat was set up in: a seat named after a scheme is
// in it (KOVNA_SEAT). Empty for Wine's own colours, the standard ones.
std::string SeatScheme();

// The scheme's colours in force for the life of the object, the earlier
// ones after it. SetSysColors tells every top-level window, as Windows does
// when the user picks another scheme.
class CScopedColourScheme {
public:
    explicit CScopedColourScheme(const ColourScheme& scheme);
    ~CScopedColourScheme();
    CScopedColourScheme(const CScopedColourScheme&) = delete;
    CScopedColourScheme& operator=(const CScopedColourScheme&) = delete;

private:
    std::vector<int> m_indexes;
    std::vector<COLORREF> m_before;
};

// The system as a Windows in a high contrast scheme is: it reports the
// setting on, which Wine never does.
class CHighContrastApi : public CSystemApi {
public:
    DWORD SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni) override;
};
