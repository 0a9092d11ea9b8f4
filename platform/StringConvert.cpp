// Conversion between the program's GBK texts and the system's UTF-16.
#include "platform/StringConvert.h"

#include "platform/WinApp.h"

namespace {

std::vector<wchar_t> WideFromGbk(const char* pch, int nLength)
{
    const int nWide = nLength > 0 ? ::MultiByteToWideChar(kTextCodePage, 0, pch, nLength, nullptr, 0) : 0;
    std::vector<wchar_t> wide(static_cast<size_t>(nWide > 0 ? nWide : 0) + 1, L'\0');
    if (nWide > 0)
        ::MultiByteToWideChar(kTextCodePage, 0, pch, nLength, wide.data(), nWide);
    return wide;
}

} // namespace

CWideText::CWideText(const char* pszGbk)
{
    if (!pszGbk || IS_INTRESOURCE(pszGbk)) {
        m_pszPassedOn = reinterpret_cast<LPCWSTR>(pszGbk);
        return;
    }
    m_wide = WideFromGbk(pszGbk, static_cast<int>(std::char_traits<char>::length(pszGbk)));
}

CWideText::CWideText(const char* pchGbk, int nLength) : m_wide(WideFromGbk(pchGbk, nLength)) {}

CString AfxGbkFromWide(const wchar_t* pwch, int nLength)
{
    if (!pwch)
        return CString();
    if (nLength < 0)
        nLength = static_cast<int>(std::char_traits<wchar_t>::length(pwch));
    if (nLength == 0)
        return CString();
    const int nBytes = ::WideCharToMultiByte(kTextCodePage, 0, pwch, nLength, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return CString();
    std::vector<char> bytes(static_cast<size_t>(nBytes));
    ::WideCharToMultiByte(kTextCodePage, 0, pwch, nLength, bytes.data(), nBytes, nullptr, nullptr);
    return CString(bytes.data(), nBytes);
}

BOOL CString::LoadString(UINT nID)
{
    // String resources are stored as UTF-16: read as they are, then made
    // GBK. Grow the buffer until the whole text fits.
    for (int nSize = 256;; nSize *= 2) {
        std::vector<wchar_t> buffer(static_cast<size_t>(nSize));
        const int nLength = ::LoadStringW(AfxGetResourceHandle(), nID, buffer.data(), nSize);
        if (nLength < nSize - 1) {
            *this = AfxGbkFromWide(buffer.data(), nLength);
            return nLength > 0;
        }
    }
}
