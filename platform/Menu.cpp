// Menus loaded from the resources.
#include "platform/Menu.h"

BOOL CMenu::LoadMenu(HINSTANCE hInstance, UINT nIDResource)
{
    DestroyMenu();
    m_hMenu = ::LoadMenuA(hInstance, MAKEINTRESOURCEA(nIDResource));
    return m_hMenu != nullptr;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    const BOOL bDestroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return bDestroyed;
}
