// The one crossing of text between the program and the system. The program's
// texts are code page 936 (GBK) bytes; the system's W calls take and give
// UTF-16. Both ways name code page 936, so the ANSI code page of the Windows
// the program runs on never matters.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/CString.h"

constexpr UINT kTextCodePage = 936;

// A GBK text as the W calls take it, alive as long as the object. A null
// pointer stays null, and so does the number in a pointer that names a
// resource or an atom (MAKEINTRESOURCE, MAKEINTATOM), which is passed on as
// the same number.
class CWideText {
public:
    explicit CWideText(const char* pszGbk);
    CWideText(const char* pchGbk, int nLength);
    CWideText(const CWideText&) = delete;
    CWideText& operator=(const CWideText&) = delete;

    operator LPCWSTR() const { return m_wide.empty() ? m_pszPassedOn : m_wide.data(); }
    // UTF-16 units, without the terminator.
    int GetLength() const { return m_wide.empty() ? 0 : static_cast<int>(m_wide.size()) - 1; }

private:
    // With its terminator, so empty only when passed on. A vector, not a
    // std::wstring, whose library instantiation adds some 35 KB to the exe.
    std::vector<wchar_t> m_wide;
    LPCWSTR m_pszPassedOn = nullptr;
};

// A UTF-16 text of the system as GBK; a character GBK lacks becomes '?'.
// nLength -1: up to the terminator.
CString AfxGbkFromWide(const wchar_t* pwch, int nLength = -1);
