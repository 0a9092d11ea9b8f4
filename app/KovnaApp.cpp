// The application object's start: the main dialog, run modally.
#include "app/KovnaApp.h"

#include "app/KovnaDlg.h"

namespace {

const char kNoMainDialog[] =
    "Kovna 无法打开主窗口：系统的通用控件库 comctl32.dll 缺失或版本过旧（需要 4.70 或更新的版本）。";

} // namespace

BOOL CKovnaApp::InitInstance()
{
    AfxInitCommonControls();
    CWinApp::InitInstance();

    CKovnaDlg dlg;
    m_pMainWnd = &dlg;
    const INT_PTR nResult = dlg.DoModal();
    m_pMainWnd = nullptr;
    // A template whose control classes the system lacks makes no dialog at
    // all: say why instead of ending without a word.
    if (nResult == -1)
        AfxSystemApi().MessageBoxGbk(nullptr, kNoMainDialog, "警告", MB_ICONEXCLAMATION);
    return FALSE;
}
