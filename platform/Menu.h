// Menus: one loaded from the resources and destroyed with its owner object,
// and a borrowed one (the system menu, a sub-menu), which is never destroyed.
#pragma once

#include <windows.h>

// The calls of a menu, whoever ends it.
class CMenuHandle {
public:
    explicit CMenuHandle(HMENU hMenu = nullptr) : m_hMenu(hMenu) {}

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    // Appends an item with a GBK text, or a separator (nullptr).
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR pszNewItem);
    // The pop-up at nPos, borrowed from this menu.
    CMenuHandle GetSubMenu(int nPos) const { return CMenuHandle(::GetSubMenu(m_hMenu, nPos)); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    BOOL SetDefaultItem(UINT uItem, BOOL bByPos) { return ::SetMenuDefaultItem(m_hMenu, uItem, bByPos); }

protected:
    HMENU m_hMenu;
};

// A menu this object loads and destroys.
class CMenu : public CMenuHandle {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu() { DestroyMenu(); }

    BOOL LoadMenu(HINSTANCE hInstance, UINT nIDResource);
    BOOL DestroyMenu();
};
