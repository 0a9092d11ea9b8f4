// Windows with message routing: the window maps, the window procedure, the tables.
#include "platform/Wnd.h"

#include <map>
#include <memory>
#include <vector>

#include "platform/SystemApi.h"
#include "platform/Lock.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

namespace {

CCriticalSection g_mapLock;
std::map<HWND, CWnd*> g_permanentMap;

thread_local std::map<HWND, std::unique_ptr<CWnd>> t_temporaryMap;
thread_local HHOOK t_hIdleHook = nullptr;
// Messages of ours being handled on this thread: while one is, its handler
// may hold a temporary object.
thread_local int t_nHandlerDepth = 0;
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hCbtHook = nullptr;

// Every loop of this thread takes its messages past this hook: the dialog
// manager's modal loop, a message box's, CWinApp::Run. The idle point is
// where one of them takes a message while none of our handlers runs, since
// no temporary object can be held then.
LRESULT CALLBACK AfxIdleHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && t_nHandlerDepth == 0)
        CWnd::DeleteTempMap();
    return ::CallNextHookEx(t_hIdleHook, nCode, wParam, lParam);
}

} // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    const MSG saved = pWnd->m_currentMsg;
    pWnd->m_currentMsg = MSG{hWnd, nMsg, wParam, lParam, 0, {0, 0}};
    ++t_nHandlerDepth;
    const LRESULT lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    --t_nHandlerDepth;
    pWnd->m_currentMsg = saved;
    if (nMsg == WM_NCDESTROY)
        pWnd->DetachAfterNcDestroy(hWnd);
    return lResult;
}

LRESULT CALLBACK AfxCbtHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && t_pWndInit) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(t_hCbtHook, nCode, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    if (!t_hCbtHook)
        t_hCbtHook = ::SetWindowsHookExW(WH_CBT, AfxCbtHook, nullptr, ::GetCurrentThreadId());
    t_pWndInit = pWnd;
}

void AfxUnhookWindowCreate()
{
    if (t_hCbtHook) {
        ::UnhookWindowsHookEx(t_hCbtHook);
        t_hCbtHook = nullptr;
    }
    t_pWndInit = nullptr;
}

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    CSingleLock lock(g_mapLock);
    for (auto it = g_permanentMap.begin(); it != g_permanentMap.end();) {
        if (it->second == this)
            it = g_permanentMap.erase(it);
        else
            ++it;
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    CSingleLock lock(g_mapLock);
    const auto it = g_permanentMap.find(hWnd);
    return it == g_permanentMap.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    std::unique_ptr<CWnd>& pTemp = t_temporaryMap[hWnd];
    if (!pTemp) {
        pTemp = std::make_unique<CWnd>();
        pTemp->m_hWnd = hWnd;
        if (!t_hIdleHook)
            t_hIdleHook = ::SetWindowsHookExW(WH_GETMESSAGE, AfxIdleHook, nullptr, ::GetCurrentThreadId());
    }
    return pTemp.get();
}

void CWnd::DeleteTempMap() { t_temporaryMap.clear(); }

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    CSingleLock lock(g_mapLock);
    g_permanentMap[hWnd] = this;
}

void CWnd::DetachAfterNcDestroy(HWND hWnd)
{
    {
        CSingleLock lock(g_mapLock);
        const auto it = g_permanentMap.find(hWnd);
        if (it != g_permanentMap.end() && it->second == this)
            g_permanentMap.erase(it);
    }
    if (m_hWnd == hWnd) {
        m_hWnd = nullptr;
        m_pfnSuper = nullptr;
    }
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, UINT nID)
{
    AfxHookWindowCreate(this);
    const HMENU hMenuOrId = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
    const HWND hWnd =
        AfxSystemApi().CreateWindowExW(dwExStyle, CWideText(pszClassName), CWideText(pszWindowName), dwStyle, x, y,
                                       nWidth, nHeight, hWndParent, hMenuOrId, ::GetModuleHandleW(nullptr), nullptr);
    AfxUnhookWindowCreate();
    return hWnd != nullptr;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return FALSE;
    Attach(hWnd);
    PreSubclassWindow();
    // Set through the W call, the procedure makes the window a Unicode window.
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::GetWindowText(CString& str) const
{
    const int nLength = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(nLength) + 1);
    const int nCopied = ::GetWindowTextW(m_hWnd, buffer.data(), nLength + 1);
    str = AfxGbkFromWide(buffer.data(), nCopied);
}

int CWnd::GetDlgItemText(int nID, CString& str) const
{
    const HWND hItem = ::GetDlgItem(m_hWnd, nID);
    if (!hItem) {
        str.Empty();
        return 0;
    }
    FromHandle(hItem)->GetWindowText(str);
    return str.GetLength();
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    const DWORD dwStyle = GetStyle();
    const DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwNewStyle));
    if (nFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    const DWORD dwStyle = GetStyle();
    HWND hCenter = pAlternateOwner ? pAlternateOwner->m_hWnd : nullptr;
    if (!hCenter)
        hCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    RECT rcDlg;
    ::GetWindowRect(m_hWnd, &rcDlg);
    RECT rcArea;
    RECT rcCenter;
    if (dwStyle & WS_CHILD) {
        const HWND hParent = ::GetParent(m_hWnd);
        ::GetClientRect(hParent, &rcArea);
        if (hCenter && hCenter != hParent) {
            ::GetClientRect(hCenter, &rcCenter);
            ::MapWindowPoints(hCenter, hParent, reinterpret_cast<POINT*>(&rcCenter), 2);
        } else {
            rcCenter = rcArea;
        }
    } else {
        // An owner that cannot be seen is no reference: centre in the work area.
        if (hCenter && (!::IsWindowVisible(hCenter) || ::IsIconic(hCenter)))
            hCenter = nullptr;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        ::GetMonitorInfoW(::MonitorFromWindow(hCenter ? hCenter : m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
        rcArea = info.rcWork;
        if (hCenter)
            ::GetWindowRect(hCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }

    const int nWidth = rcDlg.right - rcDlg.left;
    const int nHeight = rcDlg.bottom - rcDlg.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - nWidth / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - nHeight / 2;
    if (x + nWidth > rcArea.right)
        x = rcArea.right - nWidth;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + nHeight > rcArea.bottom)
        y = rcArea.bottom - nHeight;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

int CWnd::MessageBox(LPCSTR pszText, LPCSTR pszCaption, UINT nType)
{
    return AfxSystemApi().MessageBoxGbk(m_hWnd, pszText, pszCaption, nType);
}

LRESULT CWnd::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(nMsg, wParam, lParam, &lResult))
        lResult = DefWindowProc(nMsg, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }

BOOL CWnd::OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Owner drawing is the control's own business.
    if (nMsg == WM_DRAWITEM && wParam != 0) {
        const auto* pItem = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        CWnd* pChild = FromHandlePermanent(pItem->hwndItem);
        if (pChild && pChild->OnChildNotify(nMsg, wParam, lParam, pResult))
            return TRUE;
    }

    UINT nCode = 0;
    UINT nID = 0;
    if (nMsg == WM_COMMAND) {
        nCode = HIWORD(wParam);
        nID = LOWORD(wParam);
        if (nCode == 1 && lParam == 0) // accelerator: a command like a menu's
            nCode = 0;
    }

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfn; ++pEntry) {
            bool bMatch;
            if (pEntry->pnRegistered)
                bMatch = *pEntry->pnRegistered != 0 && *pEntry->pnRegistered == nMsg;
            else if (nMsg == WM_COMMAND)
                bMatch = pEntry->nMessage == WM_COMMAND && pEntry->nCode == nCode && pEntry->nID == nID;
            else
                bMatch = pEntry->nMessage == nMsg;
            if (bMatch) {
                *pResult = pEntry->pfn(this, nMsg, wParam, lParam);
                return TRUE;
            }
        }
    }
    return FALSE;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, entries};
    return &messageMap;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (!rControl.m_hWnd)
        rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}
