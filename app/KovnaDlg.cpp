#include "app/KovnaDlg.h"

namespace {

// Workers get this long to finish a pass (a sound playing to its end, a
// text being set) before the windows they write to go away.
constexpr DWORD kWorkerStopTimeoutMs = 10000;

} // namespace

BEGIN_MESSAGE_MAP(CKovnaDlg, CDialog)
    ON_WM_DESTROY()
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_BTN_EXIT, OnBtnExit)
    ON_BN_CLICKED(IDC_BTN_HELP, OnBtnHelp)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CKovnaDlg::CKovnaDlg(CWnd* pParent)
    : CDialog(IDD_MAIN, pParent), m_hAppIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_APP)))
{
}

void CKovnaDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STATIC_CLOCK, m_staticClock);
    DDX_Control(pDX, IDC_STATIC_SECONDS, m_staticSeconds);
    DDX_Control(pDX, IDC_COMBO_UNIT, m_comboUnit);
    DDX_Control(pDX, IDC_DATE, m_dateCtrl);
    DDX_Control(pDX, IDC_TIME, m_timeCtrl);
    DDX_Control(pDX, IDC_STATIC_COUNTDOWN, m_staticCountdown);
    DDX_Control(pDX, IDC_EDIT_COUNT, m_editCount);
}

BOOL CKovnaDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (const HMENU hSysMenu = GetSystemMenu(FALSE)) {
        CString strInfoEntry;
        strInfoEntry.LoadString(IDS_INFO_ENTRY);
        if (!strInfoEntry.IsEmpty()) {
            ::AppendMenuA(hSysMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(hSysMenu, MF_STRING, IDM_INFO_ENTRY, strInfoEntry);
        }
    }

    SetIcon(m_hAppIcon, TRUE);
    SetIcon(m_hAppIcon, FALSE);

    m_comboUnit.AddString("分");
    m_comboUnit.AddString("时");
    m_comboUnit.AddString("日");
    m_comboUnit.AddString("月");
    m_comboUnit.SetCurSel(0);

    ::SendDlgItemMessageA(m_hWnd, IDC_RADIO_ALARM, BM_SETCHECK, BST_CHECKED, 0);
    // A radio button makes itself a tab stop when checked, and the dialog
    // manager gives the focus to the first tab stop once we return TRUE. The
    // radios stay out of the Tab order, so the focus starts in the unit list.
    CWnd::FromHandle(::GetDlgItem(m_hWnd, IDC_RADIO_ALARM))->ModifyStyle(WS_TABSTOP, 0);

    return TRUE;
}

void CKovnaDlg::OnDestroy()
{
    // The workers write to our controls: they stop before the controls go.
    AfxStopWorkers(kWorkerStopTimeoutMs);
    Default();
}

void CKovnaDlg::OnBtnExit() { OnCancel(); }
