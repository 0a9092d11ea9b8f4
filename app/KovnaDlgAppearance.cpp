// How the main dialog looks (control colours, its white framed background,
// the minimised icon) and its two informational windows: the About box and
// the Help message.
#include "app/AboutBox.h"
#include "app/KovnaDlg.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// Replies go here; the message names it between its two fixed pieces.
constexpr char kContactAddress[] = "kovna@example.org";

// The controls that draw on white: every label and group box (-1), the
// radios, the clock, seconds and countdown fields, the interval field and
// the unit list.
bool DrawsOnWhite(int nCtrlID)
{
    switch (nCtrlID) {
    case IDC_STATIC:
    case IDC_STATIC_SECONDS:
    case IDC_RADIO_SHUTDOWN:
    case IDC_RADIO_REBOOT:
    case IDC_RADIO_ALARM:
    case IDC_STATIC_CLOCK:
    case IDC_STATIC_COUNTDOWN:
    case IDC_EDIT_COUNT:
    case IDC_COMBO_UNIT:
        return true;
    default:
        return false;
    }
}

} // namespace

int CentredOffset(int nExtent, int nItem)
{
    return (nExtent - nItem + 1) / 2;
}

void CKovnaDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) == IDM_INFO_ENTRY) {
        CAboutBox dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CKovnaDlg::OnPaint()
{
    CPaintDC dc(this);
    if (IsIconic()) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        const int cxIcon = ::GetSystemMetrics(SM_CXICON);
        const int cyIcon = ::GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        dc.DrawIcon(CentredOffset(rect.Width(), cxIcon), CentredOffset(rect.Height(), cyIcon), m_hAppIcon);
    } else {
        // The background is already erased and the controls paint themselves.
        Default();
    }
}

HCURSOR CKovnaDlg::OnQueryDragIcon() { return m_hAppIcon; }

BOOL CKovnaDlg::OnEraseBkgnd(CDC* pDC)
{
    // The context's default pen draws the one-pixel black frame.
    CBrush brushWhite(kWhite);
    const CGdiSelection brush(*pDC, brushWhite);
    CRect rect;
    GetClientRect(&rect);
    pDC->Rectangle(&rect);
    return TRUE;
}

HBRUSH CKovnaDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // The default colours stay on the context; only the brush is ours.
    const HBRUSH hbrDefault = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    const int nCtrlID = pWnd ? pWnd->GetDlgCtrlID() : 0;
    if (DrawsOnWhite(nCtrlID)) {
        pDC->SetBkColor(kWhite);
        return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    }
    // Some date pickers ask for their background too; black would hide
    // their black digits, so they keep the default colours.
    if (nCtrlID == IDC_DATE || nCtrlID == IDC_TIME)
        return hbrDefault;
    return static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
}

void CKovnaDlg::OnBtnHelp()
{
    CString strText = "您有任何意见或建议, 抑或不满, 请发邮件到";
    strText += kContactAddress;
    strText += ".\n作者将尽快予以回复.感谢您的使用.谢谢!";
    MessageBox(strText, "谢谢", MB_OK);
}
