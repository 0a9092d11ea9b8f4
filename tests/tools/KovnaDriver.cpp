// Drives a running kovna.exe from outside for the scripts and end-to-end tests,
// in the names of res/resource.h: kovna_driver <verb> [argument...].
//
// The verbs, their arguments and what each does are the table kVerbs below.
//
// A number may stand wherever a name does. Waits give up after KOVNA_DRIVER_WAIT
// seconds (default 10; 30 for "wait shown", which covers the program's start).
// Instants print as seconds since 1970 UTC with microseconds: a script can
// compare them with its own clock, unlike the start of this process, which
// may take seconds on a busy machine.
#include "res/resource.h"

#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

struct Name {
    const char* pszName;
    unsigned long nValue;
};

#define KOVNA_NAME(x) {#x, static_cast<unsigned long>(x)}
const Name kNames[] = {
    KOVNA_NAME(IDC_EDIT_COUNT), KOVNA_NAME(IDC_RADIO_SHUTDOWN), KOVNA_NAME(IDC_RADIO_REBOOT),
    KOVNA_NAME(IDC_RADIO_ALARM), KOVNA_NAME(IDC_STATIC_CLOCK), KOVNA_NAME(IDC_STATIC_SECONDS),
    KOVNA_NAME(IDC_DATE), KOVNA_NAME(IDC_TIME), KOVNA_NAME(IDC_COMBO_UNIT),
    KOVNA_NAME(IDC_STATIC_COUNTDOWN), KOVNA_NAME(IDC_BTN_EXIT), KOVNA_NAME(IDC_BTN_HIDE),
    KOVNA_NAME(IDC_BTN_SET_AFTER), KOVNA_NAME(IDC_BTN_SET_AT), KOVNA_NAME(IDC_BTN_HELP),
    KOVNA_NAME(ID_ICONMENU_OPEN), KOVNA_NAME(ID_ICONMENU_EXIT), KOVNA_NAME(IDM_INFO_ENTRY),
    KOVNA_NAME(WM_ICON_NOTIFY), KOVNA_NAME(IDOK), KOVNA_NAME(IDCANCEL),
    KOVNA_NAME(WM_COMMAND), KOVNA_NAME(WM_SYSCOMMAND), KOVNA_NAME(WM_CLOSE), KOVNA_NAME(WM_NULL),
    KOVNA_NAME(SC_CLOSE), KOVNA_NAME(SC_MINIMIZE), KOVNA_NAME(SC_RESTORE),
    KOVNA_NAME(WM_LBUTTONDBLCLK), KOVNA_NAME(WM_RBUTTONUP), KOVNA_NAME(WM_LBUTTONUP),
};
#undef KOVNA_NAME

[[noreturn]] void Fail(const char* pszWhat, const char* pszDetail = "")
{
    std::fprintf(stderr, "kovna_driver: %s%s\n", pszWhat, pszDetail);
    std::exit(1);
}

int Usage();

// A name of the table or a number in any C notation; anything else ends the run.
unsigned long Value(const char* psz)
{
    for (const Name& name : kNames)
        if (std::strcmp(name.pszName, psz) == 0)
            return name.nValue;
    char* pEnd = nullptr;
    const unsigned long n = std::strtoul(psz, &pEnd, 0);
    if (!*psz || *pEnd)
        Fail("unknown name ", psz);
    return n;
}

HWND FindMain()
{
    // The dialog class and the title "Kovna" name our main window only.
    return ::FindWindowA("#32770", "Kovna");
}

struct PopupSearch {
    HWND hMain;
    HWND hFound;
};

BOOL CALLBACK FindOwnedPopup(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<PopupSearch*>(lParam);
    if (hWnd != pSearch->hMain && ::IsWindowVisible(hWnd) && ::GetWindow(hWnd, GW_OWNER) == pSearch->hMain) {
        pSearch->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The visible box (About, Help, a warning) that the main dialog owns.
HWND FindPopup(HWND hMain)
{
    PopupSearch search{hMain, nullptr};
    ::EnumWindows(FindOwnedPopup, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

HWND FindMenu()
{
    const HWND hMenu = ::FindWindowA("#32768", nullptr);
    return hMenu && ::IsWindowVisible(hMenu) ? hMenu : nullptr;
}

BOOL CALLBACK FindShownTip(HWND hWnd, LPARAM lParam)
{
    char szClass[32] = {};
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    if (::lstrcmpiA(szClass, TOOLTIPS_CLASSA) != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    *reinterpret_cast<bool*>(lParam) = true;
    return FALSE;
}

bool TipShown()
{
    bool bShown = false;
    ::EnumWindows(FindShownTip, reinterpret_cast<LPARAM>(&bShown));
    return bShown;
}

DWORD WaitSeconds(DWORD nDefault)
{
    const char* psz = std::getenv("KOVNA_DRIVER_WAIT");
    return psz && *psz ? static_cast<DWORD>(std::strtoul(psz, nullptr, 10)) : nDefault;
}

// Waits poll: the program posts nothing a separate process could wait on.
bool WaitFor(DWORD nSeconds, const std::function<bool()>& condition)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - dwStart >= nSeconds * 1000)
            return false;
        ::Sleep(50);
    }
}

HWND Item(HWND hMain, const char* pszID)
{
    const HWND hItem = ::GetDlgItem(hMain, static_cast<int>(Value(pszID)));
    if (!hItem)
        Fail("no control ", pszID);
    return hItem;
}

HWND FocusOf(HWND hWnd)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(hWnd, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool Wait(HWND hMain, int argc, char** argv)
{
    const char* pszWhat = argv[2];
    const DWORD nSeconds = WaitSeconds(10);
    if (argc == 3) {
        if (std::strcmp(pszWhat, "hidden") == 0)
            return WaitFor(nSeconds, [&] { return !::IsWindowVisible(hMain); });
        if (std::strcmp(pszWhat, "popup") == 0)
            return WaitFor(nSeconds, [&] { return FindPopup(hMain) != nullptr; });
        if (std::strcmp(pszWhat, "no-popup") == 0)
            return WaitFor(nSeconds, [&] { return FindPopup(hMain) == nullptr; });
        if (std::strcmp(pszWhat, "menu") == 0)
            return WaitFor(nSeconds, [] { return FindMenu() != nullptr; });
        if (std::strcmp(pszWhat, "tip") == 0)
            return WaitFor(nSeconds, TipShown);
        if (std::strcmp(pszWhat, "no-tip") == 0)
            return WaitFor(nSeconds, [] { return !TipShown(); });
    } else if (argc == 4) {
        const HWND hItem = Item(hMain, argv[3]);
        if (std::strcmp(pszWhat, "filled") == 0)
            return WaitFor(nSeconds, [&] { return ::GetWindowTextLengthA(hItem) > 0; });
        if (std::strcmp(pszWhat, "empty") == 0)
            return WaitFor(nSeconds, [&] { return ::GetWindowTextLengthA(hItem) == 0; });
        if (std::strcmp(pszWhat, "enabled") == 0)
            return WaitFor(nSeconds, [&] { return ::IsWindowEnabled(hItem) != FALSE; });
        if (std::strcmp(pszWhat, "disabled") == 0)
            return WaitFor(nSeconds, [&] { return !::IsWindowEnabled(hItem); });
        if (std::strcmp(pszWhat, "focus") == 0)
            return WaitFor(nSeconds, [&] { return FocusOf(hMain) == hItem; });
    }
    std::exit(Usage());
}

void PrintRect(HWND hWnd)
{
    RECT rc;
    if (!hWnd || !::IsWindowVisible(hWnd) || !::GetWindowRect(hWnd, &rc))
        std::exit(1);
    std::printf("%ld %ld %ld %ld\n", static_cast<long>(rc.left), static_cast<long>(rc.top),
                static_cast<long>(rc.right - rc.left), static_cast<long>(rc.bottom - rc.top));
}

// The pickers' messages carry a pointer, so the record lives in kovna's memory.
class RemoteTime {
public:
    explicit RemoteTime(HWND hWnd)
    {
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hWnd, &dwProcessId);
        m_hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwProcessId);
        if (m_hProcess)
            m_pRemote = ::VirtualAllocEx(m_hProcess, nullptr, sizeof(SYSTEMTIME), MEM_COMMIT, PAGE_READWRITE);
        if (!m_pRemote)
            Fail("cannot reach kovna's memory");
    }
    ~RemoteTime()
    {
        ::VirtualFreeEx(m_hProcess, m_pRemote, 0, MEM_RELEASE);
        ::CloseHandle(m_hProcess);
    }
    RemoteTime(const RemoteTime&) = delete;
    RemoteTime& operator=(const RemoteTime&) = delete;

    bool Get(HWND hPicker, SYSTEMTIME& st) const
    {
        return Send(hPicker, DTM_GETSYSTEMTIME, 0) && ::ReadProcessMemory(m_hProcess, m_pRemote, &st, sizeof st, nullptr);
    }
    bool Set(HWND hPicker, const SYSTEMTIME& st) const
    {
        return ::WriteProcessMemory(m_hProcess, m_pRemote, &st, sizeof st, nullptr) &&
               Send(hPicker, DTM_SETSYSTEMTIME, GDT_VALID);
    }

private:
    bool Send(HWND hPicker, UINT nMsg, WPARAM wParam) const
    {
        DWORD_PTR dwResult = 0;
        return ::SendMessageTimeoutA(hPicker, nMsg, wParam, reinterpret_cast<LPARAM>(m_pRemote), SMTO_ABORTIFHUNG,
                                     5000, &dwResult) != 0 &&
               (nMsg != DTM_GETSYSTEMTIME || dwResult == GDT_VALID) && (nMsg != DTM_SETSYSTEMTIME || dwResult != 0);
    }

    HANDLE m_hProcess = nullptr;
    void* m_pRemote = nullptr;
};

// FILETIME counts 100 ns steps from 1601; these are the ones up to 1970.
constexpr ULONGLONG kFileTimeTo1970 = 116444736000000000ULL;

ULONGLONG FileTimeNow()
{
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER n;
    n.LowPart = ft.dwLowDateTime;
    n.HighPart = ft.dwHighDateTime;
    return n.QuadPart;
}

// " at <seconds since 1970>.<microseconds>", for the end of a line.
void PrintInstant(ULONGLONG nFileTime)
{
    const ULONGLONG nSince1970 = nFileTime - kFileTimeTo1970;
    std::printf(" at %llu.%06llu", nSince1970 / 10000000ULL, nSince1970 % 10000000ULL / 10ULL);
}

// The local time nSeconds from now, and the same moment in whole seconds since 1970 UTC.
SYSTEMTIME LocalTimeIn(int nSeconds, long long* pnEpoch)
{
    ULARGE_INTEGER n;
    n.QuadPart = FileTimeNow() + static_cast<ULONGLONG>(nSeconds) * 10000000ULL;
    *pnEpoch = static_cast<long long>((n.QuadPart - kFileTimeTo1970) / 10000000ULL);
    FILETIME ft;
    ft.dwLowDateTime = n.LowPart;
    ft.dwHighDateTime = n.HighPart;
    FILETIME local;
    ::FileTimeToLocalFileTime(&ft, &local);
    SYSTEMTIME st;
    ::FileTimeToSystemTime(&local, &st);
    return st;
}

bool Post(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(hWnd, nMsg, wParam, lParam) != FALSE;
}

// The click of control nID (or a menu command), posted.
bool PostClick(HWND hMain, int nID)
{
    return Post(hMain, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hMain, nID)));
}

// Checks the radio button and clears the rest of its group, then tells the
// dialog as the button's click would.
bool Check(HWND hMain, HWND hRadio)
{
    HWND hItem = hRadio;
    do {
        ::SendMessageA(hItem, BM_SETCHECK, hItem == hRadio ? BST_CHECKED : BST_UNCHECKED, 0);
        hItem = ::GetNextDlgGroupItem(hMain, hItem, FALSE);
    } while (hItem && hItem != hRadio);
    ::SendMessageA(hMain, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hRadio), BN_CLICKED), reinterpret_cast<LPARAM>(hRadio));
    return true;
}

// Prints the text as hex: the console would mangle the code page 936 bytes.
void PrintText(const char* pszWhat, HWND hItem, bool bInstant = false)
{
    char line[128] = {};
    const ULONGLONG nRead = FileTimeNow();
    ::GetWindowTextA(hItem, line, sizeof line);
    std::printf("kovna_driver: %s [", pszWhat);
    for (const char* p = line; *p; ++p)
        std::printf("%02x", static_cast<unsigned char>(*p));
    std::printf("]");
    if (bInstant)
        PrintInstant(nRead);
    std::printf("\n");
    std::fflush(stdout);
}

// Sends the click and waits for kovna to have handled it.
int Press(HWND hMain, int nID)
{
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    const ULONGLONG nSent = FileTimeNow();
    ::QueryPerformanceCounter(&start);
    DWORD_PTR dwResult = 0;
    const LRESULT bSent = ::SendMessageTimeoutA(hMain, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                                                reinterpret_cast<LPARAM>(::GetDlgItem(hMain, nID)), 0, 10000,
                                                &dwResult);
    ::QueryPerformanceCounter(&end);
    std::printf("kovna_driver: press");
    PrintInstant(nSent);
    std::printf(" took %.1f ms\n",
                static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart));
    std::fflush(stdout);
    return bSent ? 0 : 1;
}

int Trace(HWND hMain, HWND hItem, DWORD nSeconds)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hMain, &dwProcessId);
    const HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, dwProcessId);
    if (!hProcess)
        Fail("cannot open kovna");
    for (DWORD i = 0; i < nSeconds * 4; ++i) {
        PrintText("line", hItem);
        if (::WaitForSingleObject(hProcess, 250) == WAIT_OBJECT_0) {
            std::printf("kovna_driver: kovna ended\n");
            return 0;
        }
    }
    std::printf("kovna_driver: kovna still running\n");
    return 1;
}

HWND Main()
{
    const HWND hMain = FindMain();
    if (!hMain)
        Fail("no Kovna window");
    return hMain;
}

// A verb, its usage, the counts of arguments it takes and what it does.
struct Verb {
    const char* pszName;
    const char* pszUsage;
    int nMinArgs;
    int nMaxArgs;
    // The main dialog is found, or the run fails, before the verb runs; a
    // verb that needs it only at times finds it itself.
    bool bMain;
    int (*pRun)(HWND hMain, int argc, char** argv);
};

constexpr int kAnyArgs = INT_MAX;

const Verb kVerbs[] = {
    // Waits for the main dialog, a box it owns, the pop-up menu, a tooltip on
    // the screen; "shown ID" then prints control ID's text (hex) as it was
    // when the dialog showed; the rest wait for a state of control ID.
    {"wait", "wait shown|hidden|popup|no-popup|menu|tip|no-tip | wait shown ID"
             " | wait filled|empty|enabled|disabled|focus ID",
     1, 2, false,
     [](HWND, int argc, char** argv) {
         if (std::strcmp(argv[2], "shown") != 0)
             return Wait(Main(), argc, argv) ? 0 : 1;
         HWND hMain = nullptr;
         if (!WaitFor(WaitSeconds(30), [&] {
                 hMain = FindMain();
                 return hMain && ::IsWindowVisible(hMain);
             }))
             Fail("no Kovna window");
         if (argc == 4)
             PrintText("text", ::GetDlgItem(hMain, static_cast<int>(Value(argv[3]))));
         return 0;
     }},
    // Exit status 0 if the control exists.
    {"has", "has ID", 1, 1, true,
     [](HWND hMain, int, char** argv) { return ::GetDlgItem(hMain, static_cast<int>(Value(argv[2]))) ? 0 : 1; }},
    // Exit status 0 if the control is enabled.
    {"enabled", "enabled ID", 1, 1, true,
     [](HWND hMain, int, char** argv) { return ::IsWindowEnabled(Item(hMain, argv[2])) ? 0 : 1; }},
    // Prints "x y width height" on the screen; exit status 1 if not shown.
    {"rect", "rect main|popup|tray|menu|ID", 1, 1, false,
     [](HWND, int, char** argv) {
         const char* pszWhich = argv[2];
         if (std::strcmp(pszWhich, "tray") == 0) {
             PrintRect(::FindWindowA("Shell_TrayWnd", nullptr));
             return 0;
         }
         const HWND hMain = Main();
         PrintRect(std::strcmp(pszWhich, "main") == 0    ? hMain
                   : std::strcmp(pszWhich, "menu") == 0  ? FindMenu()
                   : std::strcmp(pszWhich, "popup") == 0 ? FindPopup(hMain)
                                                         : Item(hMain, pszWhich));
         return 0;
     }},
    // Sets a control's text (sent: judged before the next step).
    {"settext", "settext ID TEXT", 2, 2, true,
     [](HWND hMain, int, char** argv) {
         DWORD_PTR dwResult = 0;
         if (::SendMessageTimeoutA(Item(hMain, argv[2]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]),
                                   SMTO_ABORTIFHUNG, 5000, &dwResult))
             return 0;
         // A refusal says why; a Wine process that dies before main says nothing.
         std::fprintf(stderr, "kovna_driver: cannot set the text of %s: error %lu\n", argv[2], ::GetLastError());
         return 1;
     }},
    // Sets the year of a date or time picker, keeping the rest.
    {"setyear", "setyear ID YEAR", 2, 2, true,
     [](HWND hMain, int, char** argv) {
         const HWND hPicker = Item(hMain, argv[2]);
         const RemoteTime remote(hPicker);
         SYSTEMTIME st;
         if (!remote.Get(hPicker, st))
             return 1;
         st.wYear = static_cast<WORD>(Value(argv[3]));
         return remote.Set(hPicker, st) ? 0 : 1;
     }},
    // Sets pickers to the local time SECONDS from now; prints it, and as
    // seconds since 1970 UTC; then presses (or posts the click of) ID, in the
    // same process.
    {"settime-in", "settime-in SECONDS ID... [press|command ID]", 2, kAnyArgs, true,
     [](HWND hMain, int argc, char** argv) {
         const int nSeconds = static_cast<int>(Value(argv[2]));
         // A press of its own would come after another process's start, which
         // may outlast the seconds given on a busy machine.
         const bool bPress = argc >= 6 && std::strcmp(argv[argc - 2], "press") == 0;
         const bool bPost = argc >= 6 && std::strcmp(argv[argc - 2], "command") == 0;
         const int nPickers = bPress || bPost ? argc - 2 : argc;
         long long nEpoch = 0;
         const SYSTEMTIME target = LocalTimeIn(nSeconds, &nEpoch);
         const RemoteTime remote(hMain);
         for (int i = 3; i < nPickers; ++i)
             if (!remote.Set(Item(hMain, argv[i]), target))
                 Fail("cannot set the picker ", argv[i]);
         std::printf("kovna_driver: target %02u:%02u:%02u epoch %lld\n", target.wHour, target.wMinute,
                     target.wSecond, nEpoch);
         const auto nID = static_cast<int>(Value(argv[argc - 1]));
         if (bPost)
             return PostClick(hMain, nID) ? 0 : 1;
         return bPress ? Press(hMain, nID) : 0;
     }},
    // Checks a radio button alone in its group, as a click would.
    {"check", "check ID", 1, 1, true,
     [](HWND hMain, int, char** argv) { return Check(hMain, Item(hMain, argv[2])) ? 0 : 1; }},
    // Posts the click of control ID (or a menu command).
    {"command", "command ID", 1, 1, true,
     [](HWND hMain, int, char** argv) { return PostClick(hMain, static_cast<int>(Value(argv[2]))) ? 0 : 1; }},
    // Sends the click of control ID; prints when it was sent and how long kovna took.
    {"press", "press ID", 1, 1, true,
     [](HWND hMain, int, char** argv) { return Press(hMain, static_cast<int>(Value(argv[2]))); }},
    // Prints control ID's text (hex) and when it was read.
    {"text", "text ID", 1, 1, true,
     [](HWND hMain, int, char** argv) {
         PrintText("text", Item(hMain, argv[2]), true);
         return 0;
     }},
    // Posts a system-menu command (IDM_INFO_ENTRY, SC_CLOSE...).
    {"syscommand", "syscommand ID", 1, 1, true,
     [](HWND hMain, int, char** argv) { return Post(hMain, WM_SYSCOMMAND, Value(argv[2]), 0) ? 0 : 1; }},
    // Posts any message to the main dialog.
    {"message", "message MSG [WPARAM [LPARAM]]", 1, 3, true,
     [](HWND hMain, int argc, char** argv) {
         return Post(hMain, static_cast<UINT>(Value(argv[2])), argc > 3 ? Value(argv[3]) : 0,
                     argc > 4 ? static_cast<LPARAM>(Value(argv[4])) : 0)
                    ? 0
                    : 1;
     }},
    // Ends the box the main dialog owns.
    {"close-popup", "close-popup", 0, 0, true,
     [](HWND hMain, int, char**) {
         const HWND hPopup = FindPopup(hMain);
         return hPopup && Post(hPopup, WM_COMMAND, IDOK, 0) ? 0 : 1;
     }},
    // Ends the program (its Exit button); prints when it was posted.
    {"quit", "quit", 0, 0, true,
     [](HWND hMain, int, char**) {
         const ULONGLONG nPosted = FileTimeNow();
         if (!Post(hMain, WM_COMMAND, MAKEWPARAM(IDC_BTN_EXIT, BN_CLICKED), 0))
             return 1;
         std::printf("kovna_driver: quit");
         PrintInstant(nPosted);
         std::printf("\n");
         return 0;
     }},
    // Prints control ID's text (hex) four times a second until the program
    // ends (exit status 0) or SECONDS pass (1).
    {"trace", "trace ID SECONDS", 2, 2, true,
     [](HWND hMain, int, char** argv) {
         return Trace(hMain, Item(hMain, argv[2]), static_cast<DWORD>(Value(argv[3])));
     }},
};

int Usage()
{
    std::fputs("usage: kovna_driver", stderr);
    const char* pszBetween = " ";
    for (const Verb& verb : kVerbs) {
        std::fprintf(stderr, "%s%s", pszBetween, verb.pszUsage);
        pszBetween = " | ";
    }
    std::fputs("\n", stderr);
    return 2;
}

int Run(int argc, char** argv)
{
    const int nArgs = argc - 2;
    for (const Verb& verb : kVerbs)
        if (std::strcmp(argv[1], verb.pszName) == 0 && nArgs >= verb.nMinArgs && nArgs <= verb.nMaxArgs)
            return verb.pRun(verb.bMain ? Main() : nullptr, argc, argv);
    // An unknown verb, as every verb of the main dialog, needs it first.
    Main();
    return Usage();
}

} // namespace

// Every run that fails says so: a failure with nothing on the output is a
// process Wine did not start, which the scripts run once more.
int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const int nStatus = Run(argc, argv);
    if (nStatus != 0)
        std::fprintf(stderr, "kovna_driver: %s did not succeed\n", argv[1]);
    return nStatus;
}
