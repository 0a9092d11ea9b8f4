// The framework's event: a manual-reset signal that wakes whoever waits on it
// at once. A Windows event object on Windows, so a worker can wait on it
// together with other handles; natively a mutex and a condition variable.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <condition_variable>
#include <mutex>
#endif

class CEvent {
public:
#ifdef _WIN32
    CEvent() : m_hEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~CEvent()
    {
        if (m_hEvent)
            ::CloseHandle(m_hEvent);
    }
    void Set() { ::SetEvent(m_hEvent); }
    // True when the event was set before nMilliseconds passed.
    bool Wait(unsigned nMilliseconds) { return ::WaitForSingleObject(m_hEvent, nMilliseconds) == WAIT_OBJECT_0; }
    HANDLE Handle() const { return m_hEvent; }
#else
    CEvent() = default;
    void Set()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_bSet = true;
        m_changed.notify_all();
    }
    bool Wait(unsigned nMilliseconds)
    {
        std::unique_lock<std::mutex> guard(m_mutex);
        return m_changed.wait_for(guard, std::chrono::milliseconds(nMilliseconds), [this] { return m_bSet; });
    }
#endif
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

private:
#ifdef _WIN32
    HANDLE m_hEvent;
#else
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bSet = false;
#endif
};
