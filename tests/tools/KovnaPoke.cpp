// Posts one message to the running kovna.exe's main window, for the
// end-to-end script: kovna_poke <message> <wParam> [lParam], numbers in any
// C notation. Exit code 0 when the window was found and the message posted.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: kovna_poke <message> <wParam> [lParam]\n");
        return 2;
    }
    // The dialog class and the title "Kovna" name our main window only.
    const HWND hWnd = ::FindWindowA("#32770", "Kovna");
    if (!hWnd) {
        std::fprintf(stderr, "kovna_poke: no Kovna window\n");
        return 1;
    }
    const auto nMsg = static_cast<UINT>(std::strtoul(argv[1], nullptr, 0));
    const auto wParam = static_cast<WPARAM>(std::strtoull(argv[2], nullptr, 0));
    const auto lParam = static_cast<LPARAM>(argc > 3 ? std::strtoll(argv[3], nullptr, 0) : 0);
    return ::PostMessageA(hWnd, nMsg, wParam, lParam) ? 0 : 1;
}
