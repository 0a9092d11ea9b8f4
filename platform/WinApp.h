// The application object: one per process, its InitInstance is the
// program's start.
#pragma once

#include "platform/Wnd.h"

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // FALSE ends the process once it returns.
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // The message loop of an application that stays after InitInstance.
    virtual int Run();

    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The module that holds a resource of this name and type (ours, or null).
HINSTANCE AfxFindResourceHandle(LPCSTR pszName, LPCSTR pszType);

// The system's own words for an error code, without the line end; the code
// in figures where the system has none.
CString AfxFormatSystemError(DWORD dwError);

// The framework's start: InitInstance, then Run unless it returned FALSE.
int AfxWinMain();

// Registers the common control classes that templates may hold: the
// Windows 95 set and the date and time picker. FALSE when comctl32 could
// not do it.
BOOL AfxInitCommonControls();
