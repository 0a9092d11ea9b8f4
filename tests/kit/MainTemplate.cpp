// The nineteen controls of the main dialog as its template declares them.
#include "MainTemplate.h"

#include <cstring>

#include "res/resource.h"

const TemplateControl kMainControls[19] = {
    {IDC_STATIC_CLOCK, "#130", "", 69, 24, 97, 8, 0x50020000},
    {IDC_RADIO_SHUTDOWN, "#128", "关机", 19, 66, 30, 10, 0x50000009},
    {IDC_RADIO_REBOOT, "#128", "重启", 19, 85, 30, 10, 0x50000009},
    {IDC_RADIO_ALARM, "#128", "提醒", 19, 103, 30, 10, 0x50000009},
    {IDC_STATIC, "#130", "当前时间为:      ", 19, 24, 46, 8, 0x50020200},
    {IDC_STATIC_SECONDS, "#130", "", 167, 24, 8, 8, 0x50020000},
    {IDC_STATIC, "#130", "秒.", 177, 24, 10, 8, 0x50020000},
    {IDC_STATIC, "#130", "过", 74, 71, 8, 8, 0x50020000},
    {IDC_STATIC, "#130", "之后", 196, 72, 17, 8, 0x50020000},
    {IDC_STATIC, "#130", "到", 73, 98, 8, 8, 0x50020000},
    {IDC_STATIC, "#130", "之时", 195, 98, 18, 8, 0x50020000},
    {IDC_COMBO_UNIT, "#133", "", 145, 70, 47, 58, 0x50010003},
    {IDC_EDIT_COUNT, "#129", "", 84, 70, 56, 13, 0x50810080},
    {IDC_STATIC_COUNTDOWN, "#130", "", 197, 24, 81, 8, 0x50020000},
    {IDC_DATE, "SysDateTimePick32", "", 84, 93, 56, 15, 0x50010020},
    {IDC_TIME, "SysDateTimePick32", "", 145, 93, 47, 15, 0x50010029},
    {IDC_STATIC, "#128", "系统状态", 7, 7, 277, 37, 0x50000007},
    {IDC_STATIC, "#128", "用户设置", 7, 50, 277, 72, 0x50000007},
    {IDC_STATIC, "#128", "功能按钮", 7, 127, 277, 36, 0x50000007},
};

const char* WindowClassOf(const char* pszTemplateClass)
{
    static const struct {
        const char* pszOrdinal;
        const char* pszClass;
    } kPredefined[] = {{"#128", "Button"}, {"#129", "Edit"}, {"#130", "Static"}, {"#133", "ComboBox"}};
    for (const auto& predefined : kPredefined) {
        if (std::strcmp(predefined.pszOrdinal, pszTemplateClass) == 0)
            return predefined.pszClass;
    }
    return pszTemplateClass;
}

RECT TemplateRect(HWND hDlg, const TemplateControl& c)
{
    // The dialog manager converts origin and size separately, as here.
    RECT rc{c.x, c.y, c.cx, c.cy};
    ::MapDialogRect(hDlg, &rc);
    return RECT{rc.left, rc.top, rc.left + rc.right, rc.top + rc.bottom};
}
