// Conversion between the program's GBK texts and the system's UTF-16.
#include "platform/StringConvert.h"

namespace {

std::wstring WideFromGbk(const char* pch, int nLength)
{
    if (nLength <= 0)
        return std::wstring();
    const int nWide = ::MultiByteToWideChar(kTextCodePage, 0, pch, nLength, nullptr, 0);
    std::wstring str(static_cast<size_t>(nWide), L'\0');
    if (nWide > 0)
        ::MultiByteToWideChar(kTextCodePage, 0, pch, nLength, &str[0], nWide);
    return str;
}

} // namespace

CWideText::CWideText(const char* pszGbk)
{
    if (!pszGbk || IS_INTRESOURCE(pszGbk)) {
        m_bPassedOn = true;
        m_pszPassedOn = reinterpret_cast<LPCWSTR>(pszGbk);
        return;
    }
    m_str = WideFromGbk(pszGbk, static_cast<int>(std::char_traits<char>::length(pszGbk)));
}

CWideText::CWideText(const char* pchGbk, int nLength) : m_str(WideFromGbk(pchGbk, nLength)) {}

CString AfxGbkFromWide(const wchar_t* pwch, int nLength)
{
    if (!pwch)
        return CString();
    if (nLength < 0)
        nLength = static_cast<int>(std::char_traits<wchar_t>::length(pwch));
    if (nLength == 0)
        return CString();
    const int nBytes = ::WideCharToMultiByte(kTextCodePage, 0, pwch, nLength, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(nBytes > 0 ? nBytes : 0), '\0');
    if (nBytes > 0)
        ::WideCharToMultiByte(kTextCodePage, 0, pwch, nLength, &bytes[0], nBytes, nullptr, nullptr);
    return CString(bytes.data(), static_cast<int>(bytes.size()));
}
