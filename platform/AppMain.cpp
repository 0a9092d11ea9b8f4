// The program's entry: the application object takes over.
#include <cxxabi.h>

#include <cstdlib>

#include "platform/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return AfxWinMain(); }

// An uncaught exception ends the program as the library's own handler does,
// but without naming the exception on stderr, which a windowed program does
// not have. Defined here, in the exe's own object, it keeps the library's
// handler and its demangler (some 50 KB) out of the link.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
