// The main dialog: routing table, control binding, start-up and the mode radios.
#include "app/KovnaDlg.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <vector>

#include "platform/DialogScale.h"
#include "platform/TextRoom.h"
#include "schedule/Clock.h"
#include "schedule/ClockPass.h"
#include "schedule/Countdown.h"
#include "schedule/CountdownLoop.h"
#include "schedule/ScheduleState.h"

namespace {

// Workers get this long to finish a pass (a text being set) before the
// windows they write to go away.
constexpr DWORD kWorkerStopTimeoutMs = 10000;

bool IsClass(HWND hWnd, LPCWSTR pszClass)
{
    wchar_t szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, 16);
    return ::lstrcmpiW(szClass, pszClass) == 0;
}

bool IsFrame(HWND hWnd)
{
    return IsClass(hWnd, L"Button") && (::GetWindowLongW(hWnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

CRect ChildRect(HWND hChild)
{
    CRect rc;
    ::GetWindowRect(hChild, rc);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// What a static field can show: the clock, the seconds and the countdown
// what their workers write, every other field its template text.
std::vector<CString> ShownTexts(HWND hField)
{
    const CTime now = CTime::GetCurrentTime();
    switch (::GetDlgCtrlID(hField)) {
    case IDC_STATIC_CLOCK:
        return {MinuteClockPass(now).strText};
    case IDC_STATIC_SECONDS:
        return {SecondsTickerPass(now).strText};
    case IDC_STATIC_COUNTDOWN: {
        // The count has at most the digits of the largest one.
        std::vector<CString> lines;
        for (const ScheduleKind kind : {SCHEDULE_AFTER, SCHEDULE_AT}) {
            for (const int nMode : {MODE_SHUTDOWN, MODE_REBOOT, MODE_ALARM})
                lines.push_back(CountdownLine(INT_MAX, kind, nMode));
        }
        return lines;
    }
    default: {
        CString strText;
        CWnd::FromHandle(hField)->GetWindowText(strText);
        return {strText};
    }
    }
}

} // namespace

// In creation order, which is their Z and Tab order after the template's.
// The design is in pixels for base units of 6 x 12, scaled to the dialog's.
const CKovnaDlg::CommandButton CKovnaDlg::kCommandButtons[] = {
    {IDC_BTN_SET_AFTER, &CKovnaDlg::m_btnSetAfter, "设置", {350, 100}},
    {IDC_BTN_SET_AT, &CKovnaDlg::m_btnSetAt, "设置", {350, 138}},
    {IDC_BTN_HIDE, &CKovnaDlg::m_btnHide, "隐藏", {96, 208}},
    {IDC_BTN_EXIT, &CKovnaDlg::m_btnExit, "退出", {335, 208}},
    {IDC_BTN_HELP, &CKovnaDlg::m_btnHelp, "帮助", {220, 208}},
};

BEGIN_MESSAGE_MAP(CKovnaDlg, CDialog)
    ON_WM_DESTROY()
    ON_WM_QUERYENDSESSION()
    ON_WM_ENDSESSION()
    ON_MESSAGE(WM_COUNTDOWN_SHOWN, OnCountdownShown)
    ON_MESSAGE(WM_COUNTDOWN_FAILED, OnCountdownFailed)
    ON_MESSAGE(WM_POWER_CANCELLED, OnPowerCancelled)
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
    ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
    ON_BN_CLICKED(IDC_RADIO_REBOOT, OnRadioReboot)
    ON_BN_CLICKED(IDC_RADIO_SHUTDOWN, OnRadioShutdown)
    ON_BN_CLICKED(IDC_RADIO_ALARM, OnRadioAlarm)
    ON_BN_CLICKED(IDC_BTN_SET_AFTER, OnSetAfter)
    ON_EN_CHANGE(IDC_EDIT_COUNT, OnChangeCount)
END_MESSAGE_MAP()

CKovnaDlg::CKovnaDlg(CWnd* pParent)
    : CDialog(IDD_MAIN, pParent), m_hAppIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_APP)))
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

    if (CMenuHandle sysMenu = GetSystemMenu(FALSE)) {
        CString strInfoEntry;
        strInfoEntry.LoadString(IDS_INFO_ENTRY);
        if (!strInfoEntry.IsEmpty()) {
            sysMenu.AppendMenu(MF_SEPARATOR, 0, nullptr);
            sysMenu.AppendMenu(MF_STRING, IDM_INFO_ENTRY, strInfoEntry);
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

    FitTextFields();

    ::SendDlgItemMessageA(m_hWnd, IDC_RADIO_ALARM, BM_SETCHECK, BST_CHECKED, 0);
    // A radio button makes itself a tab stop when checked, and the dialog
    // manager gives the focus to the first tab stop once we return TRUE. The
    // radios stay out of the Tab order, so the focus starts in the unit list.
    CWnd::FromHandle(::GetDlgItem(m_hWnd, IDC_RADIO_ALARM))->ModifyStyle(WS_TABSTOP, 0);

    bool bAllMade = true;
    for (const CommandButton& button : kCommandButtons)
        bAllMade = CreateCommandButton(button.nID, button.pszCaption, kCommandButtonHeight) && bAllMade;
    // The caption's buttons and Esc still work without them.
    if (!bAllMade)
        MessageBox("按钮无法创建, 请重新启动 Kovna.", "警告", MB_ICONEXCLAMATION);

    return TRUE;
}

BOOL CKovnaDlg::CreateCommandButton(UINT nID, LPCSTR pszCaption, int nHeight)
{
    const CommandButton* pButton = std::find_if(std::begin(kCommandButtons), std::end(kCommandButtons),
                                                [nID](const CommandButton& each) { return each.nID == nID; });
    if (pButton == std::end(kCommandButtons))
        return FALSE;
    // The template grows with the dialog font and the DPI; the buttons grow with it.
    const CDialogScale scale(m_hWnd);
    CRgn rgnButton;
    rgnButton.CreateRectRgn(0, 0, scale.X(kCommandButtonWidth), scale.Y(nHeight));
    const CPoint design = pButton->ptDesign;
    CRegionButton& button = this->*pButton->pButton;
    return button.Create(pszCaption, WS_CHILD | WS_VISIBLE, scale.Point(design.x, design.y), rgnButton, this, nID, 2,
                         CommandButtonColours());
}

void CKovnaDlg::FitTextFields()
{
    for (HWND hField = ::GetWindow(m_hWnd, GW_CHILD); hField; hField = ::GetWindow(hField, GW_HWNDNEXT)) {
        if (!IsClass(hField, L"Static"))
            continue;
        int nRoom = 0;
        for (const CString& strText : ShownTexts(hField))
            nRoom = std::max(nRoom, AfxTextRoom(hField, strText));
        WidenOnItsRow(hField, nRoom);
    }
}

void CKovnaDlg::WidenOnItsRow(HWND hField, int nWidth)
{
    const CRect field = ChildRect(hField);
    if (nWidth <= field.Width())
        return;
    std::vector<HWND> row;
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        const CRect rc = ChildRect(h);
        if (!IsFrame(h) && rc.left >= field.right && rc.top < field.bottom && rc.bottom > field.top)
            row.push_back(h);
    }
    std::sort(row.begin(), row.end(), [](HWND a, HWND b) { return ChildRect(a).left < ChildRect(b).left; });

    ::SetWindowPos(hField, nullptr, 0, 0, nWidth, field.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A wide gap takes the growth before anything moves: the gaps of the row
    // shrink to one dialog unit, or to what the template had if less.
    CRect unit(0, 0, 1, 0);
    ::MapDialogRect(m_hWnd, unit);
    int nOldRight = field.right;
    int nNewRight = field.left + nWidth;
    for (const HWND h : row) {
        const CRect rc = ChildRect(h);
        const int nShift = nNewRight + std::min<int>(rc.left - nOldRight, unit.right) - rc.left;
        if (nShift <= 0)
            return;
        ::SetWindowPos(h, nullptr, rc.left + nShift, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        nOldRight = rc.right;
        nNewRight = rc.right + nShift;
    }
}

void CKovnaDlg::EndSchedule()
{
    // A countdown never acts after this, and no ring can start: one begins
    // only while its schedule runs.
    CountdownSetRunning(false);
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
    if (bEnding) {
        EndSchedule();
        return;
    }
    // Windows asks every program even when forced, and the user may cancel
    // on its list of programs that hold the shutdown. The system waits for
    // this answer, so the user is told once it has it.
    if (ScheduleHandedOver())
        PostMessage(WM_POWER_CANCELLED);
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
