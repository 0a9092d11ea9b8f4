// The rule for the interval field's text.
#include "schedule/IntervalText.h"

bool IsNumeric(CString strText)
{
    bool bFullStopSeen = false;
    for (int i = 0; i < strText.GetLength(); ++i) {
        const char ch = strText.GetAt(i);
        if (ch >= '0' && ch <= '9')
            continue;
        if (ch == '.' && !bFullStopSeen) {
            bFullStopSeen = true;
            continue;
        }
        return false;
    }
    return true;
}

CountCheck CheckCount(const CString& strCount)
{
    if (strCount.GetLength() > kMaxCountBytes)
        return CountCheck::TooLong;
    return IsNumeric(strCount) ? CountCheck::Accepted : CountCheck::IllegalCharacter;
}
