// The main dialog: routing table, control binding, start-up and the mode radios.
#include "app/KovnaDlg.h"

#include "platform/DialogScale.h"
#include "schedule/Clock.h"
#include "schedule/Countdown.h"
#include "schedule/ScheduleState.h"

namespace {

// Workers get this long to finish a pass (a text being set) before the
// windows they write to go away.
constexpr DWORD kWorkerStopTimeoutMs = 10000;

} // namespace

BEGIN_MESSAGE_MAP(CKovnaDlg, CDialog)
    ON_WM_DESTROY()
    ON_WM_QUERYENDSESSION()
    ON_WM_ENDSESSION()
    ON_MESSAGE(WM_COUNTDOWN_SHOWN, OnCountdownShown)
    ON_MESSAGE(WM_COUNTDOWN_FAILED, OnCountdownFailed)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_MESSAGE(WM_ICON_NOTIFY, OnIconMessage)
    ON_REGISTERED_MESSAGE(WM_TASKBARCREATED, OnTaskbarCreated)
    ON_WM_CLOSE()
    ON_COMMAND(ID_ICONMENU_OPEN, OnIconMenuOpen)
    ON_COMMAND(ID_ICONMENU_EXIT, OnIconMenuExit)
    ON_BN_CLICKED(IDC_BTN_EXIT, OnBtnExit)
    ON_BN_CLICKED(IDC_BTN_HIDE, OnBtnHide)
    ON_BN_CLICKED(IDC_BTN_HELP, OnBtnHelp)
    ON_BN_CLICKED(IDC_BTN_SET_AT, OnSetAt)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_RADIO_REBOOT, OnRadioReboot)
    ON_BN_CLICKED(IDC_RADIO_SHUTDOWN, OnRadioShutdown)
    ON_BN_CLICKED(IDC_RADIO_ALARM, OnRadioAlarm)
    ON_BN_CLICKED(IDC_BTN_SET_AFTER, OnSetAfter)
    ON_EN_CHANGE(IDC_EDIT_COUNT, OnChangeCount)
END_MESSAGE_MAP()

CKovnaDlg::CKovnaDlg(CWnd* pParent)
    : CDialog(IDD_MAIN, pParent), m_hAppIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_APP)))
{
    m_smallIcon.LoadSmallIcon(AfxGetResourceHandle(), IDI_APP);
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
            AfxAppendMenu(hSysMenu, MF_SEPARATOR, 0, nullptr);
            AfxAppendMenu(hSysMenu, MF_STRING, IDM_INFO_ENTRY, strInfoEntry);
        }
    }

    SetIcon(m_hAppIcon, TRUE);
    SetIcon(m_smallIcon, FALSE);

    AfxBeginThread(ClockThreadProc, &m_staticClock, THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
    AfxBeginThread(SecondsThreadProc, &m_staticSeconds, THREAD_PRIORITY_NORMAL, 0, 0, nullptr);

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

    CreateCommandButton(m_btnSetAfter, "设置", CRect(350, 100, 400, 124), IDC_BTN_SET_AFTER);
    CreateCommandButton(m_btnSetAt, "设置", CRect(350, 138, 400, 162), IDC_BTN_SET_AT);
    CreateCommandButton(m_btnHide, "隐藏", CRect(96, 208, 146, 232), IDC_BTN_HIDE);
    CreateCommandButton(m_btnExit, "退出", CRect(335, 208, 385, 232), IDC_BTN_EXIT);
    CreateCommandButton(m_btnHelp, "帮助", CRect(220, 208, 270, 232), IDC_BTN_HELP);

    return TRUE;
}

BOOL CKovnaDlg::CreateCommandButton(CRegionButton& button, LPCSTR pszCaption, const CRect& design, UINT nID)
{
    // The template grows with the dialog font and the DPI; the buttons grow with it.
    const CDialogScale scale(m_hWnd);
    CRgn rgnButton;
    rgnButton.CreateRectRgn(0, 0, scale.X(design.Width()), scale.Y(design.Height()));
    constexpr COLORREF crWhite = RGB(255, 255, 255);
    return button.Create(pszCaption, WS_CHILD | WS_VISIBLE, scale.Point(design.left, design.top), rgnButton, this,
                         nID, 2, crWhite, crWhite, crWhite, ::GetSysColor(COLOR_BTNFACE));
}

void CKovnaDlg::EndSchedule()
{
    // A countdown never acts after this, and no ring can start: one begins
    // only while its schedule runs.
    ScheduleSetRunning(false);
    AfxSystemApi().PlaySoundA(nullptr, nullptr, 0);
}

// Enter, Esc, the Exit button and the icon menu's Exit: the schedule stops
// before anything else, so that no deadline can come while the window and
// the icon take their time to go.
void CKovnaDlg::OnOK()
{
    EndSchedule();
    CDialog::OnOK();
}

void CKovnaDlg::OnCancel()
{
    EndSchedule();
    m_notifyIcon.DeleteIcon();
    CDialog::OnCancel();
}

BOOL CKovnaDlg::OnQueryEndSession() { return TRUE; }

void CKovnaDlg::OnEndSession(BOOL bEnding)
{
    // Someone else ends the session: a forced shutdown of ours must not cut into it.
    if (bEnding)
        EndSchedule();
}

void CKovnaDlg::OnDestroy()
{
    EndSchedule();
    // The workers write to our controls: they stop before the controls go,
    // and one that outlives the wait can no longer write.
    AfxStopWorkers(kWorkerStopTimeoutMs);
    Default();
}

void CKovnaDlg::OnBtnExit() { OnCancel(); }

void CKovnaDlg::OnRadioShutdown() { m_nMode = MODE_SHUTDOWN; }

void CKovnaDlg::OnRadioReboot() { m_nMode = MODE_REBOOT; }

void CKovnaDlg::OnRadioAlarm() { m_nMode = MODE_ALARM; }
