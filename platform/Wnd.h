// Windows with message routing. Every window of a CWnd is subclassed to one
// static window procedure, which hands each message to the object's
// WindowProc; the class's routing table sends it on to an On... handler or,
// when the table has no entry, to default handling. The windows are Unicode
// windows: texts (GBK in CString) reach them through the W calls, converted
// by platform/StringConvert.h.
#pragma once

#include <windows.h>

#include "platform/CString.h"
#include "platform/Gdi.h"
#include "platform/Menu.h"
#include "platform/Object.h"
#include "platform/StringConvert.h"

class CWnd;
class CDataExchange;

using AFX_THUNK = LRESULT (*)(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;             // window message, or WM_COMMAND for commands and notifications
    UINT nCode;                // notification code of a WM_COMMAND entry
    UINT nID;                  // control or command identifier of a WM_COMMAND entry
    const UINT* pnRegistered;  // a message registered at run time, instead of nMessage
    AFX_THUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CWnd : public CObject {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }

    // The object bound to a window; for a window that no object owns, a
    // temporary object of this thread (never null for a live handle), good
    // until the thread next goes idle: keep the handle, not the pointer.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Deletes this thread's temporary objects; the thread's idle point calls it.
    static void DeleteTempMap();

    BOOL CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, UINT nID);
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    BOOL DestroyWindow();

    // Window-handle conveniences.
    void SetWindowText(LPCSTR pszText) { ::SetWindowTextW(m_hWnd, CWideText(pszText)); }
    void GetWindowText(CString& str) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void SetDlgItemText(int nID, LPCSTR pszText) { ::SetDlgItemTextW(m_hWnd, nID, CWideText(pszText)); }
    int GetDlgItemText(int nID, CString& str) const;
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(LPRECT pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void GetWindowRect(LPRECT pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    LRESULT SendMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_hWnd, nMsg, wParam, lParam);
    }
    BOOL PostMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::PostMessageW(m_hWnd, nMsg, wParam, lParam);
    }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon, reinterpret_cast<LPARAM>(hIcon)));
    }
    // The window's own menu, borrowed: the system destroys it with the window.
    CMenuHandle GetSystemMenu(BOOL bRevert) const { return CMenuHandle(::GetSystemMenu(m_hWnd, bRevert)); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    BOOL RedrawWindow(LPCRECT pRectUpdate = nullptr, HRGN hRgnUpdate = nullptr,
                      UINT nFlags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, pRectUpdate, hRgnUpdate, nFlags);
    }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    // Once accepted (non-zero), the region is the system's: Detach it.
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Shown through the system seam, owned by this window.
    int MessageBox(LPCSTR pszText, LPCSTR pszCaption = nullptr, UINT nType = MB_OK);

    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    virtual void PreSubclassWindow() {}
    // A message about this control that its parent received (owner drawing).
    virtual BOOL OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}

protected:
    // Default handling of the message being handled now.
    LRESULT Default();

    // Routes a message through the routing tables; FALSE when no entry took it.
    BOOL OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxCbtHook(int, WPARAM, LPARAM);

    void Attach(HWND hWnd);
    void DetachAfterNcDestroy(HWND hWnd);

    WNDPROC m_pfnSuper = nullptr;
    MSG m_currentMsg{};
};

// Binding of member objects to dialog controls.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds rControl to the dialog's control nIDC (once; later exchanges keep it).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Window creation hook: the next window created on this thread is bound to
// pWnd and subclassed before it receives its first message.
void AfxHookWindowCreate(CWnd* pWnd);
void AfxUnhookWindowCreate();

// ---- Routing tables --------------------------------------------------------

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                   \
    {                                                                                 \
        using ThisClass [[maybe_unused]] = theClass;                                  \
        using TheBaseClass = baseClass;                                               \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                       \
    {0, 0, 0, nullptr, nullptr}                                                 \
    }                                                                           \
    ;                                                                           \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &messageMap;                                                         \
    }

namespace afx {

template <class T, void (T::*F)()>
LRESULT Sig_v_v(CWnd* p, UINT, WPARAM, LPARAM)
{
    (static_cast<T*>(p)->*F)();
    return 0;
}

template <class T, void (T::*F)(UINT, LPARAM)>
LRESULT Sig_v_u_l(CWnd* p, UINT, WPARAM w, LPARAM l)
{
    (static_cast<T*>(p)->*F)(static_cast<UINT>(w), l);
    return 0;
}

template <class T, HCURSOR (T::*F)()>
LRESULT Sig_hcur_v(CWnd* p, UINT, WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>((static_cast<T*>(p)->*F)());
}

template <class T, BOOL (T::*F)(CDC*)>
LRESULT Sig_b_dc(CWnd* p, UINT, WPARAM w, LPARAM)
{
    CDCHandle dc(reinterpret_cast<HDC>(w));
    return (static_cast<T*>(p)->*F)(&dc);
}

template <class T, HBRUSH (T::*F)(CDC*, CWnd*, UINT)>
LRESULT Sig_hbr_ctlcolor(CWnd* p, UINT nMsg, WPARAM w, LPARAM l)
{
    CDCHandle dc(reinterpret_cast<HDC>(w));
    const HBRUSH hbr = (static_cast<T*>(p)->*F)(&dc, CWnd::FromHandle(reinterpret_cast<HWND>(l)),
                                                 nMsg - WM_CTLCOLORMSGBOX);
    return reinterpret_cast<LRESULT>(hbr);
}

template <class T, int (T::*F)(LPCREATESTRUCTW)>
LRESULT Sig_i_create(CWnd* p, UINT, WPARAM, LPARAM l)
{
    return (static_cast<T*>(p)->*F)(reinterpret_cast<LPCREATESTRUCTW>(l));
}

template <class T, void (T::*F)(UINT, CPoint)>
LRESULT Sig_v_u_pt(CWnd* p, UINT, WPARAM w, LPARAM l)
{
    (static_cast<T*>(p)->*F)(static_cast<UINT>(w), CPoint(l));
    return 0;
}

template <class T, BOOL (T::*F)()>
LRESULT Sig_b_v(CWnd* p, UINT, WPARAM, LPARAM)
{
    return (static_cast<T*>(p)->*F)();
}

template <class T, void (T::*F)(BOOL)>
LRESULT Sig_v_b(CWnd* p, UINT, WPARAM w, LPARAM)
{
    (static_cast<T*>(p)->*F)(static_cast<BOOL>(w));
    return 0;
}

template <class T, LRESULT (T::*F)(WPARAM, LPARAM)>
LRESULT Sig_l_w_l(CWnd* p, UINT, WPARAM w, LPARAM l)
{
    return (static_cast<T*>(p)->*F)(w, l);
}

} // namespace afx

#define AFX_MSG_ENTRY(msg, sig, fn) {msg, 0, 0, nullptr, &afx::sig<ThisClass, &ThisClass::fn>},

#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, Sig_v_v, OnPaint)
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, Sig_v_v, OnClose)
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, Sig_v_v, OnDestroy)
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, Sig_v_u_l, OnSysCommand)
#define ON_WM_QUERYDRAGICON() AFX_MSG_ENTRY(WM_QUERYDRAGICON, Sig_hcur_v, OnQueryDragIcon)
#define ON_WM_ERASEBKGND() AFX_MSG_ENTRY(WM_ERASEBKGND, Sig_b_dc, OnEraseBkgnd)
#define ON_WM_CREATE() AFX_MSG_ENTRY(WM_CREATE, Sig_i_create, OnCreate)
#define ON_WM_MOUSEMOVE() AFX_MSG_ENTRY(WM_MOUSEMOVE, Sig_v_u_pt, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MSG_ENTRY(WM_LBUTTONDOWN, Sig_v_u_pt, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MSG_ENTRY(WM_LBUTTONUP, Sig_v_u_pt, OnLButtonUp)
#define ON_WM_QUERYENDSESSION() AFX_MSG_ENTRY(WM_QUERYENDSESSION, Sig_b_v, OnQueryEndSession)
#define ON_WM_ENDSESSION() AFX_MSG_ENTRY(WM_ENDSESSION, Sig_v_b, OnEndSession)
// Every control-colour message goes to one handler.
#define ON_WM_CTLCOLOR()                                       \
    AFX_MSG_ENTRY(WM_CTLCOLORBTN, Sig_hbr_ctlcolor, OnCtlColor)       \
    AFX_MSG_ENTRY(WM_CTLCOLORDLG, Sig_hbr_ctlcolor, OnCtlColor)       \
    AFX_MSG_ENTRY(WM_CTLCOLOREDIT, Sig_hbr_ctlcolor, OnCtlColor)      \
    AFX_MSG_ENTRY(WM_CTLCOLORLISTBOX, Sig_hbr_ctlcolor, OnCtlColor)   \
    AFX_MSG_ENTRY(WM_CTLCOLORSCROLLBAR, Sig_hbr_ctlcolor, OnCtlColor) \
    AFX_MSG_ENTRY(WM_CTLCOLORSTATIC, Sig_hbr_ctlcolor, OnCtlColor)
#define ON_MESSAGE(msg, fn) {msg, 0, 0, nullptr, &afx::Sig_l_w_l<ThisClass, &ThisClass::fn>},
#define ON_REGISTERED_MESSAGE(nMsgVariable, fn) \
    {0, 0, 0, &nMsgVariable, &afx::Sig_l_w_l<ThisClass, &ThisClass::fn>},
#define ON_CONTROL(code, id, fn) {WM_COMMAND, code, id, nullptr, &afx::Sig_v_v<ThisClass, &ThisClass::fn>},
#define ON_COMMAND(id, fn) ON_CONTROL(0, id, fn)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
