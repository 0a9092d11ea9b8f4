// Modal dialogs from a template in the program's resources.
#pragma once

#include "platform/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the modal loop on this thread; the result passed to EndDialog, or
    // -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(INT_PTR nResult) { ::EndDialog(m_hWnd, nResult); }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
