// The owner of one kernel handle (a thread, an event, a token): closed in the
// destructor, handed on only by moving or by a Detach you can read. The
// closer is a parameter so that a token opened through the system seam is
// closed through it too.
#pragma once

#include <windows.h>

#include <utility>

inline BOOL WINAPI AfxCloseKernelHandle(HANDLE hObject) { return ::CloseHandle(hObject); }

template <BOOL(WINAPI* pfnClose)(HANDLE)>
class CHandleT {
public:
    CHandleT() = default;
    explicit CHandleT(HANDLE hObject) : m_h(hObject) {}
    CHandleT(CHandleT&& other) noexcept : m_h(other.Detach()) {}
    CHandleT& operator=(CHandleT&& other) noexcept
    {
        Attach(other.Detach());
        return *this;
    }
    CHandleT(const CHandleT&) = delete;
    CHandleT& operator=(const CHandleT&) = delete;
    ~CHandleT() { Close(); }

    operator HANDLE() const { return m_h; }

    void Attach(HANDLE hObject)
    {
        Close();
        m_h = hObject;
    }
    HANDLE Detach() { return std::exchange(m_h, nullptr); }
    void Close()
    {
        if (m_h)
            pfnClose(std::exchange(m_h, nullptr));
    }

private:
    HANDLE m_h = nullptr;
};

using CHandle = CHandleT<AfxCloseKernelHandle>;
