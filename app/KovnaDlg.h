// The main dialog: owns every control, the command buttons and the schedule
// settings of this window; its lifetime is the program's.
#pragma once

#include "controls/RegionButton.h"
#include "controls/TrayIcon.h"
#include "platform/Afx.h"
#include "res/resource.h"
#include "schedule/ScheduleState.h"

// Posted to the dialog by itself: a session end was called off after our
// own shutdown or restart had been handed to the system.
constexpr UINT WM_POWER_CANCELLED = WM_APP + 3;

// Where an item of nItem pixels starts when centred in nExtent pixels
// (signed, rounding toward zero).
int CentredOffset(int nExtent, int nItem);

// The command buttons' colours in the system's colour scheme of the moment.
RegionButtonColours CommandButtonColours();

class CKovnaDlg : public CDialog {
public:
    explicit CKovnaDlg(CWnd* pParent = nullptr);

    CIconHandle m_hAppIcon;
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
    bool m_bOnTop = false;  // the final minute of a shutdown or restart
    bool m_bHiddenBefore = false;  // this run has hidden to the icon once

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;

    void OnOK() override;
    void OnCancel() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDestroy();
    BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
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
    LRESULT OnCountdownShown(WPARAM wParam, LPARAM lParam);
    LRESULT OnCountdownFailed(WPARAM wParam, LPARAM lParam);
    LRESULT OnPowerCancelled(WPARAM wParam, LPARAM lParam);

    void OnBtnHelp();
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    LRESULT OnSysColorChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    struct CommandButton {
        UINT nID;
        CRegionButton CKovnaDlg::*pButton;
        const char* pszCaption;  // at start-up
        CPoint ptDesign;         // the top-left corner as designed
    };
    static const CommandButton kCommandButtons[5];
    static constexpr int kCommandButtonWidth = 50;
    static constexpr int kCommandButtonHeight = 24;
    // A Set button made anew by a Set or Reset press is two pixels higher
    // than at start-up, as designed; the rows are 38 pixels apart, so it
    // still stays 12 pixels clear of the row below.
    static constexpr int kRemadeSetButtonHeight = 26;

    // Stops the schedule and silences the sound: no action of ours follows.
    void EndSchedule();
    void HideToNotificationArea();
    void ShowFromNotificationArea();
    // The icon's tooltip: the program's name, and while hidden the countdown line.
    CString TrayTip() const;
    // Back from the notification area, without taking the focus, and on top.
    void BringFinalMinuteIntoSight();
    void SetOnTop(bool bOnTop);
    // Back from the icon or from minimised, without taking the focus.
    void ShowWithoutFocus();
    // The taskbar button flashes until the window comes to the foreground.
    void FlashTaskbarButton(bool bFlash);
    // A warning the user did not ask for: seen even while another program
    // has the foreground, which Windows does not give a program behind it.
    void TellUnasked(LPCSTR pszWarning);
    // A refused Set press: the warning, and back to the stopped face.
    void RefuseSet(LPCSTR pszWarning);
    // A shutdown or restart that this user may not ask for is refused at its
    // Set press, not at its deadline; true when refused.
    bool RefusedForPrivilege();
    // Both Set buttons made anew with this caption; FALSE when either cannot be made.
    BOOL RemakeSetButtons(LPCSTR pszCaption);
    // One command button of the table, with the look that all five share.
    BOOL CreateCommandButton(UINT nID, LPCSTR pszCaption, int nHeight);
    // Every static text field as wide as the widest text it can show in this
    // dialog's font, where the template's is not.
    void FitTextFields();
    // hField widened to nWidth pixels; what follows it on its row moves right
    // only as far as it must to stay clear.
    void WidenOnItsRow(HWND hField, int nWidth);
    // Both pickers show the current local time again.
    void ResetPickersToNow();
    // Starts the countdown worker of a schedule just opened.
    void StartCountdown(AFX_THREADPROC pfnThreadProc, const ScheduleTicket& ticket);
};
