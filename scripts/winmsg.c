/*
 * Drives a running kovna.exe from outside for scripts/screenshots.sh: finds
 * its windows, sets control texts and posts the messages a user's clicks
 * would produce. Built and run under Wine by that script.
 *
 *   winmsg wait              wait until the main dialog is on screen
 *   winmsg filled ID         wait until control ID of the main dialog has a text
 *   winmsg gone              wait until no box of the main dialog is open
 *   winmsg rect main|popup|tray|menu
 *                            print "x y width height" of the main dialog, of
 *                            the box it owns that is open now (About, Help, a
 *                            warning), of the virtual desktop's taskbar or of
 *                            the pop-up menu shown now; exit status 1 if there
 *                            is none
 *   winmsg hidden            wait until the main dialog is hidden
 *   winmsg has ID            exit status 0 if the main dialog has control ID
 *   winmsg enabled ID        exit status 0 if control ID is enabled
 *   winmsg settext ID TEXT   set the text of control ID of the main dialog
 *   winmsg setyear ID YEAR   set the year of date picker ID, keeping the rest
 *   winmsg command ID        post the click of control ID
 *   winmsg syscommand HEX    post a system-menu command
 *   winmsg close-popup       end the box the main dialog owns
 *   winmsg quit              end the program (the Exit command)
 */
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static HWND FindMain(void)
{
    return FindWindowA("#32770", "Kovna");
}

struct PopupSearch {
    HWND hMain;
    HWND hFound;
};

static BOOL CALLBACK FindOwnedPopup(HWND hWnd, LPARAM lParam)
{
    struct PopupSearch* pSearch = (struct PopupSearch*)lParam;
    if (hWnd != pSearch->hMain && IsWindowVisible(hWnd) && GetWindow(hWnd, GW_OWNER) == pSearch->hMain) {
        pSearch->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

static HWND FindPopup(HWND hMain)
{
    struct PopupSearch search = {hMain, NULL};
    EnumWindows(FindOwnedPopup, (LPARAM)&search);
    return search.hFound;
}

/* The picker's messages carry a pointer, so the record lives in its process. */
static int SetYear(HWND hPicker, int nYear)
{
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hPicker, &dwProcessId);
    HANDLE hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwProcessId);
    if (!hProcess)
        return 1;
    int nResult = 1;
    SYSTEMTIME* pRemote = VirtualAllocEx(hProcess, NULL, sizeof(SYSTEMTIME), MEM_COMMIT, PAGE_READWRITE);
    SYSTEMTIME st;
    DWORD_PTR dwResult = 0;
    if (pRemote && SendMessageTimeoutA(hPicker, DTM_GETSYSTEMTIME, 0, (LPARAM)pRemote, SMTO_ABORTIFHUNG, 5000, &dwResult) &&
        ReadProcessMemory(hProcess, pRemote, &st, sizeof st, NULL)) {
        st.wYear = (WORD)nYear;
        if (WriteProcessMemory(hProcess, pRemote, &st, sizeof st, NULL) &&
            SendMessageTimeoutA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)pRemote, SMTO_ABORTIFHUNG, 5000,
                                &dwResult))
            nResult = 0;
    }
    if (pRemote)
        VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    CloseHandle(hProcess);
    return nResult;
}

static int Usage(void)
{
    fputs("usage: winmsg wait | filled ID | gone | hidden | rect main|popup|tray|menu | has ID | enabled ID | settext ID TEXT | setyear ID YEAR | command ID"
          " | syscommand HEX | close-popup | quit\n",
          stderr);
    return 2;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const char* pszVerb = argv[1];

    if (strcmp(pszVerb, "wait") == 0) {
        for (int i = 0; i < 300; ++i) {
            HWND hMain = FindMain();
            if (hMain && IsWindowVisible(hMain))
                return 0;
            Sleep(100);
        }
        fputs("winmsg: no Kovna window\n", stderr);
        return 1;
    }

    HWND hMain = FindMain();
    if (!hMain) {
        fputs("winmsg: no Kovna window\n", stderr);
        return 1;
    }

    /* Waits poll: the program posts nothing a separate process could wait on. */
    if (strcmp(pszVerb, "filled") == 0 && argc == 3) {
        for (int i = 0; i < 100; ++i) {
            if (GetWindowTextLengthA(GetDlgItem(hMain, atoi(argv[2]))) > 0)
                return 0;
            Sleep(100);
        }
        return 1;
    }
    if (strcmp(pszVerb, "gone") == 0) {
        for (int i = 0; i < 100; ++i) {
            if (!FindPopup(hMain))
                return 0;
            Sleep(100);
        }
        return 1;
    }
    if (strcmp(pszVerb, "hidden") == 0) {
        for (int i = 0; i < 100; ++i) {
            if (!IsWindowVisible(hMain))
                return 0;
            Sleep(100);
        }
        return 1;
    }
    if (strcmp(pszVerb, "rect") == 0 && argc == 3) {
        HWND hWnd = strcmp(argv[2], "main") == 0   ? hMain
                    : strcmp(argv[2], "tray") == 0 ? FindWindowA("Shell_TrayWnd", NULL)
                    : strcmp(argv[2], "menu") == 0 ? FindWindowA("#32768", NULL)
                                                   : FindPopup(hMain);
        RECT rc;
        if (!hWnd || !IsWindowVisible(hWnd) || !GetWindowRect(hWnd, &rc))
            return 1;
        printf("%ld %ld %ld %ld\n", (long)rc.left, (long)rc.top, (long)(rc.right - rc.left),
               (long)(rc.bottom - rc.top));
        return 0;
    }
    if (strcmp(pszVerb, "has") == 0 && argc == 3)
        return GetDlgItem(hMain, atoi(argv[2])) ? 0 : 1;
    if (strcmp(pszVerb, "enabled") == 0 && argc == 3) {
        HWND hItem = GetDlgItem(hMain, atoi(argv[2]));
        return hItem && IsWindowEnabled(hItem) ? 0 : 1;
    }
    if (strcmp(pszVerb, "settext") == 0 && argc == 4) {
        HWND hItem = GetDlgItem(hMain, atoi(argv[2]));
        /* Sent, so that the dialog has judged the text before the next step. */
        DWORD_PTR dwResult = 0;
        return hItem && SendMessageTimeoutA(hItem, WM_SETTEXT, 0, (LPARAM)argv[3], SMTO_ABORTIFHUNG, 5000, &dwResult)
                   ? 0
                   : 1;
    }
    if (strcmp(pszVerb, "setyear") == 0 && argc == 4)
        return SetYear(GetDlgItem(hMain, atoi(argv[2])), atoi(argv[3]));
    if (strcmp(pszVerb, "command") == 0 && argc == 3) {
        const int nID = atoi(argv[2]);
        return PostMessageA(hMain, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)GetDlgItem(hMain, nID)) ? 0 : 1;
    }
    if (strcmp(pszVerb, "syscommand") == 0 && argc == 3)
        return PostMessageA(hMain, WM_SYSCOMMAND, strtoul(argv[2], NULL, 16), 0) ? 0 : 1;
    if (strcmp(pszVerb, "close-popup") == 0) {
        HWND hPopup = FindPopup(hMain);
        return hPopup && PostMessageA(hPopup, WM_COMMAND, IDOK, 0) ? 0 : 1;
    }
    if (strcmp(pszVerb, "quit") == 0)
        return PostMessageA(hMain, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0) ? 0 : 1;
    return Usage();
}
