// Multibyte text: printf-style formatting.
#include "platform/CString.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    const int nNeeded = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (nNeeded < 0) {
        m_str.clear();
    } else {
        std::vector<char> buffer(static_cast<size_t>(nNeeded) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), pszFormat, args);
        m_str.assign(buffer.data(), static_cast<size_t>(nNeeded));
    }
    va_end(args);
}
