// The check of the interval field at every change (OnChangeCount).
#include "app/KovnaDlg.h"
#include "schedule/IntervalText.h"

void CKovnaDlg::OnChangeCount()
{
    GetDlgItemText(IDC_EDIT_COUNT, m_strCount);
    switch (CheckCount(m_strCount)) {
    case CountCheck::Accepted:
        return;
    case CountCheck::TooLong:
        // The text stays: the user shortens it.
        MessageBox("数字太长了, 请调整一下.", "警告", MB_ICONEXCLAMATION);
        return;
    case CountCheck::IllegalCharacter:
        MessageBox("输入非法字符，请重新输入", "警告", MB_ICONEXCLAMATION);
        // Emptying the field comes back here at once, nested, and passes.
        SetDlgItemText(IDC_EDIT_COUNT, "");
        UpdateData(FALSE);
        return;
    }
}
