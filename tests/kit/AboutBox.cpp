// The About box that a test's main dialog opens in a modal loop of its own.
#include "AboutBox.h"

#include <string>
#include <utility>

#include "Controls.h"

namespace {

struct AboutSearch {
    HWND hMain;
    HWND hFound;
};

BOOL CALLBACK MatchAboutBox(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<AboutSearch*>(lParam);
    if (hWnd != pSearch->hMain && ClassName(hWnd) == "#32770" && ::IsWindowVisible(hWnd)
        && std::string(WindowText(hWnd)) == "关于 Kovna") {
        pSearch->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindAboutBox(HWND hMain)
{
    AboutSearch search{hMain, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchAboutBox, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

CAboutWatcher::CAboutWatcher(HWND hMain, std::function<void(HWND)> onBox) : m_hMain(hMain), m_onBox(std::move(onBox))
{
    s_pThis = this;
    m_nTimer = ::SetTimer(nullptr, 0, 30, Tick);
}

CAboutWatcher::~CAboutWatcher()
{
    ::KillTimer(nullptr, m_nTimer);
    s_pThis = nullptr;
}

void CALLBACK CAboutWatcher::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    CAboutWatcher* p = s_pThis;
    if (!p)
        return;
    const HWND hBox = FindAboutBox(p->m_hMain);
    if (!hBox || hBox == p->m_hHandled)
        return;
    p->m_hHandled = hBox;
    ++p->m_nBoxes;
    p->m_onBox(hBox);
}
