// The framework's lock: a critical section and the scope guard that holds it.
// On Windows it is the system's CRITICAL_SECTION, which every Windows since
// NT 4 exports, so the program needs no thread runtime of its own; the
// window-free logic built natively for the sanitizer tests takes a std::mutex.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

class CCriticalSection {
public:
#ifdef _WIN32
    CCriticalSection() { ::InitializeCriticalSection(&m_cs); }
    ~CCriticalSection() { ::DeleteCriticalSection(&m_cs); }
    void Lock() { ::EnterCriticalSection(&m_cs); }
    void Unlock() { ::LeaveCriticalSection(&m_cs); }
#else
    CCriticalSection() = default;
    void Lock() { m_mutex.lock(); }
    void Unlock() { m_mutex.unlock(); }
#endif
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

private:
#ifdef _WIN32
    CRITICAL_SECTION m_cs;
#else
    std::mutex m_mutex;
#endif
};

// Holds the lock from construction to the end of the scope.
class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection& cs) : m_cs(cs) { m_cs.Lock(); }
    ~CSingleLock() { m_cs.Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

private:
    CCriticalSection& m_cs;
};
