// Files of the build tree as the Windows side names them.
#pragma once

#include <string>

// Wine maps the Unix root to drive Z:.
std::string WinePath(std::string unixPath);
