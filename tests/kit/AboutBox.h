// The About box that a test's main dialog opens in a modal loop of its own.
#pragma once

#include <functional>

#include <windows.h>

// The About box of this thread, once it is on screen.
HWND FindAboutBox(HWND hMain);

// While a system command runs the About box's own modal loop, a thread timer
// hands each About box that appears to onBox once, which must close it.
class CAboutWatcher {
public:
    CAboutWatcher(HWND hMain, std::function<void(HWND)> onBox);
    ~CAboutWatcher();
    int m_nBoxes = 0;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    static inline CAboutWatcher* s_pThis = nullptr;
    HWND m_hMain;
    HWND m_hHandled = nullptr;
    std::function<void(HWND)> m_onBox;
    UINT_PTR m_nTimer = 0;
};
