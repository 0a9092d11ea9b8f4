// The application object and its start: the main dialog, run modally.
#include "app/KovnaApp.h"

#include "app/KovnaDlg.h"

namespace {

CKovnaApp theApp;

} // namespace

BOOL CKovnaApp::InitInstance()
{
    ::InitCommonControls();
    CWinApp::InitInstance();

    CKovnaDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
