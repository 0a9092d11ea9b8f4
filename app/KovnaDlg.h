// The main dialog: owns every control, the command buttons and the schedule
// settings of this window; its lifetime is the program's.
#pragma once

#include "controls/RegionButton.h"
#include "controls/TrayIcon.h"
#include "platform/Afx.h"
#include "res/resource.h"
#include "schedule/ScheduleState.h"

// Where an item of nItem pixels starts when centred in nExtent pixels
// (signed, rounding toward zero).
int CentredOffset(int nExtent, int nItem);

class CKovnaDlg : public CDialog {
public:
    explicit CKovnaDlg(CWnd* pParent = nullptr);

    HICON m_hAppIcon;
    // The same icon at the small size: the caption's and the notification
    // area's. Declared before m_notifyIcon, which may still show it.
    CIcon m_smallIcon;
    CRegionButton m_btnSetAfter;
    CRegionButton m_btnSetAt;
    CRegionButton m_btnHide;
    CRegionButton m_btnHelp;
    CRegionButton m_btnExit;
    CTrayIcon m_notifyIcon;
    BYTE m_bRunning = 0;
    CStatic m_staticClock;
    CStatic m_staticSeconds;
    CComboBox m_comboUnit;
    int m_nMode = MODE_ALARM;
    CDateTimeCtrl m_dateCtrl;
    CDateTimeCtrl m_timeCtrl;
    CStatic m_staticCountdown;
    CString m_strCount;
    CEdit m_editCount;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDestroy();
    void OnBtnExit();
    void OnChangeCount();

    LRESULT OnIconMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    void OnClose();
    void OnIconMenuOpen();
    void OnIconMenuExit();
    void OnBtnHide();

    void OnRadioShutdown();
    void OnRadioReboot();
    void OnRadioAlarm();

    // The schedule controller: the Set/Reset toggle and its two kinds of start.
    void ToggleRunning(BYTE& bFlag);
    void OnSetAfter();
    void OnSetAt();
    CTime GetTargetTime();

    void OnBtnHelp();
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()

private:
    void HideToNotificationArea();
    void ShowFromNotificationArea();
    // One command button with the look that all five share.
    BOOL CreateCommandButton(CRegionButton& button, LPCSTR pszCaption, int x, int y, HRGN hRgn, UINT nID);
    // Both pickers show the current local time again.
    void ResetPickersToNow();
    // Starts the countdown worker of a schedule just opened.
    void StartCountdown(AFX_THREADPROC pfnThreadProc, const ScheduleTicket& ticket);
};
