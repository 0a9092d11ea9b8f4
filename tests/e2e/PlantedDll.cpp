// A stand-in planted beside kovna.exe under a system DLL's name: whoever
// loads it leaves "<its own path>.loaded" behind.
#include <windows.h>

#include <cstdio>
#include <cstring>

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        char szMarker[MAX_PATH + sizeof ".loaded"] = {};
        const DWORD nLength = ::GetModuleFileNameA(hInstance, szMarker, MAX_PATH);
        if (nLength > 0 && nLength < MAX_PATH) {
            std::strcat(szMarker, ".loaded");
            if (std::FILE* pFile = std::fopen(szMarker, "w"))
                std::fclose(pFile);
        }
    }
    return TRUE;
}

// For rundll32, which the test uses to see that a load leaves the marker.
extern "C" __declspec(dllexport) void CALLBACK Touch(HWND, HINSTANCE, LPSTR, int) {}
