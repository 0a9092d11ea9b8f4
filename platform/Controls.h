// Wrappers of the standard controls that the dialogs bind by identifier.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/CTime.h"
#include "platform/Wnd.h"

class CStatic : public CWnd {};

class CEdit : public CWnd {};

class CComboBox : public CWnd {
public:
    int AddString(LPCSTR pszString)
    {
        const CWideText text(pszString);
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(text))));
    }
    int GetCurSel() const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0));
    }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect))); }
    int GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
    void GetLBText(int nIndex, CString& str) const;
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCSTR pszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }

    // Owner-drawn buttons paint here; the parent's WM_DRAWITEM is sent on.
    virtual void DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CDateTimeCtrl : public CWnd {
public:
    // The picker's value as a local time; FALSE when it holds none.
    BOOL GetTime(CTime& timeDest) const;
    // Its fields as the picker holds them, whether or not a CTime can hold them.
    BOOL GetTime(SYSTEMTIME& stDest) const;
    BOOL SetTime(const CTime& timeNew);
};
