// Drives a running kovna.exe from outside, as a user would: selects the
// shutdown radio, sets the pickers to a target two seconds ahead and presses
// the absolute row's Set button. Meant only for a throwaway Wine prefix.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <initializer_list>

namespace {

HWND FindKovna(DWORD nTimeoutMs)
{
    const DWORD dwStart = ::GetTickCount();
    while (::GetTickCount() - dwStart < nTimeoutMs) {
        const HWND hDlg = ::FindWindowA(nullptr, "Kovna");
        if (hDlg && ::GetDlgItem(hDlg, 1902))
            return hDlg;
        ::Sleep(100);
    }
    return nullptr;
}

SYSTEMTIME LocalTimeIn(int nSeconds)
{
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    FILETIME ft;
    ::SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER n;
    n.LowPart = ft.dwLowDateTime;
    n.HighPart = ft.dwHighDateTime;
    n.QuadPart += static_cast<ULONGLONG>(nSeconds) * 10000000ULL;
    ft.dwLowDateTime = n.LowPart;
    ft.dwHighDateTime = n.HighPart;
    ::FileTimeToSystemTime(&ft, &st);
    return st;
}

// A picker message carries a pointer, so the value must live in kovna's memory.
bool SetPicker(HANDLE hProcess, HWND hPicker, const SYSTEMTIME& st)
{
    void* pRemote = ::VirtualAllocEx(hProcess, nullptr, sizeof st, MEM_COMMIT, PAGE_READWRITE);
    if (!pRemote || !::WriteProcessMemory(hProcess, pRemote, &st, sizeof st, nullptr))
        return false;
    const LRESULT lResult =
        ::SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(pRemote));
    ::VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    return lResult != 0;
}

} // namespace

int main()
{
    const HWND hDlg = FindKovna(30000);
    if (!hDlg) {
        std::printf("driver: no Kovna window\n");
        return 2;
    }
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hDlg, &dwProcessId);
    const HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | SYNCHRONIZE, FALSE, dwProcessId);
    if (!hProcess) {
        std::printf("driver: cannot open kovna\n");
        return 2;
    }

    for (const int nID : {1003, 1004, 1005})
        ::SendDlgItemMessageA(hDlg, nID, BM_SETCHECK, nID == 1003 ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, 1003)));

    const SYSTEMTIME target = LocalTimeIn(2);
    if (!SetPicker(hProcess, ::GetDlgItem(hDlg, 1013), target) ||
        !SetPicker(hProcess, ::GetDlgItem(hDlg, 1014), target)) {
        std::printf("driver: cannot set the pickers\n");
        return 2;
    }
    std::printf("driver: target %02u:%02u:%02u\n", target.wHour, target.wMinute, target.wSecond);
    std::fflush(stdout);
    // Posted: a refused target would hold a sent message in its warning box.
    ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(1902, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, 1902)));

    for (int i = 0; i < 40; ++i) {
        char line[64] = {};
        ::GetDlgItemTextA(hDlg, 1018, line, sizeof line);
        std::printf("driver: line [");
        for (const char* p = line; *p; ++p)
            std::printf("%02x", static_cast<unsigned char>(*p));
        std::printf("]\n");
        std::fflush(stdout);
        if (::WaitForSingleObject(hProcess, 250) == WAIT_OBJECT_0) {
            std::printf("driver: kovna ended\n");
            return 0;
        }
    }
    std::printf("driver: kovna still running\n");
    return 1;
}
