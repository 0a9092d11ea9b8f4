// A menu loaded from the resources, destroyed with its owner object.
#pragma once

#include <windows.h>

class CMenu {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu() { DestroyMenu(); }

    BOOL LoadMenu(HINSTANCE hInstance, UINT nIDResource);
    BOOL DestroyMenu();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

private:
    HMENU m_hMenu = nullptr;
};

// Appends an item with a GBK text (or a separator: nullptr) to any menu,
// one this program owns or a borrowed one such as the system menu.
BOOL AfxAppendMenu(HMENU hMenu, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR pszNewItem);
