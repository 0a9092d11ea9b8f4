// Menus loaded from the resources.
#include "platform/Menu.h"

#include "platform/StringConvert.h"

BOOL CMenu::LoadMenu(HINSTANCE hInstance, UINT nIDResource)
{
    DestroyMenu();
    m_hMenu = ::LoadMenuW(hInstance, MAKEINTRESOURCEW(nIDResource));
    return m_hMenu != nullptr;
}

BOOL CMenuHandle::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR pszNewItem)
{
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, CWideText(pszNewItem));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    const BOOL bDestroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return bDestroyed;
}
