// Modal dialogs: the modal loop, centring at WM_INITDIALOG, OK and Cancel.
#include "platform/Dialog.h"

#include "platform/WinApp.h"

namespace {

// Everything reaches the dialog through its subclassed window procedure, so
// the dialog procedure itself handles nothing.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal()
{
    // Without a parent of its own, a dialog is owned by the main window
    // unless it is the main window itself.
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (!hOwner && pMainWnd && pMainWnd != this && ::IsWindow(pMainWnd->m_hWnd))
        hOwner = pMainWnd->m_hWnd;

    AfxHookWindowCreate(this);
    // The W call makes a Unicode dialog: the template's texts reach its
    // controls as they are stored, whatever the system's ANSI code page.
    const INT_PTR nResult = ::DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), hOwner,
                                              AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return nResult;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    // Windows opens a template without DS_CENTER at its own origin, the
    // screen's corner for ours: the framework centres it, as MFC's does,
    // in the work area or over its owner.
    if (!(GetStyle() & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)))
        CenterWindow();
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }
