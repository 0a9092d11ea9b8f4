// Resource identifiers, shared by kovna.rc (windres) and the C++ sources: plain #defines only.
#ifndef KOVNA_RESOURCE_H
#define KOVNA_RESOURCE_H

/* Dialog templates, strings, menus, icons */
#define IDD_INFO_BOX            100
#define IDS_INFO_ENTRY          101
#define IDD_MAIN                102
#define IDR_ICONMENU            129
#define IDI_APP                 132
#define IDR_ALARM_RING          140

/* Controls of IDD_MAIN */
#define IDC_EDIT_COUNT          1000
#define IDC_RADIO_SHUTDOWN      1003
#define IDC_RADIO_REBOOT        1004
#define IDC_RADIO_ALARM         1005
#define IDC_STATIC_CLOCK        1006
#define IDC_STATIC_SECONDS      1007
#define IDC_DATE                1013
#define IDC_TIME                1014
#define IDC_COMBO_UNIT          1015
#define IDC_STATIC_COUNTDOWN    1018

/* Command buttons created at run time (not in the template) */
#define IDC_BTN_EXIT            1011
#define IDC_BTN_HIDE            1092
#define IDC_BTN_SET_AFTER       1901
#define IDC_BTN_SET_AT          1902
#define IDC_BTN_HELP            1903

/* Notification-area icon menu */
#define ID_ICONMENU_OPEN        32773
#define ID_ICONMENU_EXIT        32774

/* System-menu entry for the About box; the low four bits must stay clear */
#define IDM_INFO_ENTRY          0x0010

/* Callback message of the notification-area icon: WM_USER + 10 */
#ifndef WM_ICON_NOTIFY
#ifdef WM_USER
#define WM_ICON_NOTIFY          (WM_USER + 10)
#else
#define WM_ICON_NOTIFY          0x040A
#endif
#endif

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

#endif /* KOVNA_RESOURCE_H */
