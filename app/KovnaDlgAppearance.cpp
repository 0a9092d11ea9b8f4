// How the main dialog looks (control colours, its white framed background,
// the command buttons' colours, the minimised icon, all of it again when the
// colour scheme changes) and its two informational windows: the About box
// and the Help message.
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

// The look was made for the white window of the standard schemes. In a high
// contrast scheme, or any whose window is not white, its texts would stand
// on white in the scheme's own text colour: there the dialog and its buttons
// paint from the system's pairs instead.
bool PaintsFromSystemPairs()
{
    HIGHCONTRASTW highContrast{};
    highContrast.cbSize = sizeof highContrast;
    if (AfxSystemApi().SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) ==
            ERROR_SUCCESS &&
        (highContrast.dwFlags & HCF_HIGHCONTRASTON))
        return true;
    return ::GetSysColor(COLOR_WINDOW) != kWhite;
}

// The scheme changed while the dialog is open. Only top-level windows hear
// of it: the controls are told (the pickers keep colours of their own), the
// buttons take the new colours, and all of it paints again.
void ShowInNewScheme(CKovnaDlg& dlg, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    for (HWND hChild = ::GetWindow(dlg.m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ::SendMessageW(hChild, nMsg, wParam, lParam);
    for (CRegionButton* pButton : {&dlg.m_btnSetAfter, &dlg.m_btnSetAt, &dlg.m_btnHide, &dlg.m_btnHelp, &dlg.m_btnExit})
        pButton->SetColours(CommandButtonColours());
    dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

} // namespace

RegionButtonColours CommandButtonColours()
{
    if (!PaintsFromSystemPairs())
        return {{kWhite}, {kWhite}, {kWhite}, {::GetSysColor(COLOR_BTNFACE)}};
    const RegionButtonFace face{::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNTEXT)};
    const RegionButtonFace highlight{::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHTTEXT)};
    return {face, highlight, highlight, {::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_GRAYTEXT)}};
}

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
    // The context's default pen draws the one-pixel black frame; a scheme of
    // its own frames in its window text.
    const bool bSystemPairs = PaintsFromSystemPairs();
    CBrush brushBack(bSystemPairs ? ::GetSysColor(COLOR_WINDOW) : kWhite);
    const CGdiSelection brush(*pDC, brushBack);
    CRect rect;
    GetClientRect(&rect);
    pDC->Rectangle(&rect);
    if (bSystemPairs)
        pDC->FrameRect(&rect, ::GetSysColorBrush(COLOR_WINDOWTEXT));
    return TRUE;
}

HBRUSH CKovnaDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // The default colours stay on the context; only the brush is ours.
    const HBRUSH hbrDefault = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    const bool bSystemPairs = PaintsFromSystemPairs();
    const int nCtrlID = pWnd ? pWnd->GetDlgCtrlID() : 0;
    if (DrawsOnWhite(nCtrlID)) {
        if (bSystemPairs) {
            pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
            pDC->SetBkColor(::GetSysColor(COLOR_WINDOW));
            return ::GetSysColorBrush(COLOR_WINDOW);
        }
        pDC->SetBkColor(kWhite);
        return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    }
    // Some date pickers ask for their background too; black would hide
    // their black digits, so they keep the default colours, as does every
    // other window in a scheme of the system's.
    if (nCtrlID == IDC_DATE || nCtrlID == IDC_TIME || bSystemPairs)
        return hbrDefault;
    return static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
}

LRESULT CKovnaDlg::OnSysColorChange(WPARAM wParam, LPARAM lParam)
{
    ShowInNewScheme(*this, WM_SYSCOLORCHANGE, wParam, lParam);
    return Default();
}

LRESULT CKovnaDlg::OnSettingChange(WPARAM wParam, LPARAM lParam)
{
    // High contrast turned on or off may keep every colour as it was.
    if (wParam == SPI_SETHIGHCONTRAST)
        ShowInNewScheme(*this, WM_SETTINGCHANGE, wParam, lParam);
    return Default();
}

void CKovnaDlg::OnBtnHelp()
{
    CString strText = "您有任何意见或建议, 抑或不满, 请发邮件到";
    strText += kContactAddress;
    strText += ".\n作者将尽快予以回复.感谢您的使用.谢谢!";
    MessageBox(strText, "谢谢", MB_OK);
}
