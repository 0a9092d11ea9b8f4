// Files of the build tree as the Windows side names them.
#include "Paths.h"

std::string WinePath(std::string unixPath)
{
    for (char& c : unixPath) {
        if (c == '/')
            c = '\\';
    }
    return "Z:" + unixPath;
}
