// The framework's event: a signal that wakes whoever waits on it at once;
// manual reset unless asked otherwise (an auto-reset event lets one waiter
// through and is clear again). A Windows event object on Windows, so a worker
// can wait on it together with other handles; natively a mutex and a
// condition variable.
#pragma once

#ifdef _WIN32
#include "platform/Handle.h"
#else
#include <chrono>
#include <condition_variable>
#include <mutex>
#endif

class CEvent {
public:
#ifdef _WIN32
    explicit CEvent(bool bManualReset = true) : m_hEvent(::CreateEventA(nullptr, bManualReset, FALSE, nullptr)) {}
    void Set() { ::SetEvent(m_hEvent); }
    void Reset() { ::ResetEvent(m_hEvent); }
    // True when the event was set before nMilliseconds passed.
    bool Wait(unsigned nMilliseconds) { return ::WaitForSingleObject(m_hEvent, nMilliseconds) == WAIT_OBJECT_0; }
    HANDLE Handle() const { return m_hEvent; }
    // False when the system could not make the event: nothing can wait on it.
    bool IsValid() const { return m_hEvent != nullptr; }
#else
    explicit CEvent(bool bManualReset = true) : m_bManualReset(bManualReset) {}
    void Set()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_bSet = true;
        m_changed.notify_all();
    }
    void Reset()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_bSet = false;
    }
    bool Wait(unsigned nMilliseconds)
    {
        std::unique_lock<std::mutex> guard(m_mutex);
        const bool bSet =
            m_changed.wait_for(guard, std::chrono::milliseconds(nMilliseconds), [this] { return m_bSet; });
        if (!m_bManualReset)
            m_bSet = false;
        return bSet;
    }
    bool IsValid() const { return true; }
#endif
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

private:
#ifdef _WIN32
    CHandle m_hEvent;
#else
    const bool m_bManualReset;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bSet = false;
#endif
};
