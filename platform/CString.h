// Multibyte text in code page 936 (GBK), whatever the system's ANSI code
// page: length and indices count bytes, so a Chinese character counts two.
// It crosses to the system as UTF-16 in platform/StringConvert.h.
#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#if defined(__MINGW32__)
#define KOVNA_PRINTF_FORMAT(fmt, first) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, first)))
#else
#define KOVNA_PRINTF_FORMAT(fmt, first) __attribute__((format(printf, fmt, first)))
#endif

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, static_cast<size_t>(nLength)) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    const char* GetString() const { return m_str.c_str(); }
    operator const char*() const { return m_str.c_str(); }
    char GetAt(int nIndex) const { return m_str.at(static_cast<size_t>(nIndex)); }

    CString& operator=(const char* psz)
    {
        m_str = psz ? psz : "";
        return *this;
    }
    CString& operator+=(const CString& other)
    {
        m_str += other.m_str;
        return *this;
    }
    CString& operator+=(const char* psz)
    {
        m_str += psz ? psz : "";
        return *this;
    }
    friend CString operator+(CString lhs, const CString& rhs) { return lhs += rhs; }
    friend CString operator+(CString lhs, const char* rhs) { return lhs += rhs; }
    friend CString operator+(const char* lhs, const CString& rhs) { return CString(lhs) += rhs; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_str != b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }

    // printf-style; the result replaces the contents.
    void Format(const char* pszFormat, ...) KOVNA_PRINTF_FORMAT(2, 3);

#ifdef _WIN32
    // Loads a string resource from the program's module; empty when missing.
    BOOL LoadString(UINT nID);
#endif

private:
    std::string m_str;
};
