// Choosing and starting the alarm's sound.
#include "schedule/AlarmSound.h"

#include <mmsystem.h>

#include <cstring>
#include <iterator>

#include "platform/Afx.h"
#include "res/resource.h"

namespace {

// Without SND_NODEFAULT a sound that cannot be found plays the short default
// sound once and reports success, and the alarm would fall silent.
constexpr DWORD kLooping = SND_ASYNC | SND_LOOP | SND_NODEFAULT;

bool IsFile(const wchar_t* pszPath)
{
    const DWORD dwAttributes = ::GetFileAttributesW(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool AlarmSoundFile(wchar_t (&szPath)[MAX_PATH])
{
    static const wchar_t kName[] = L"\\Media\\ringin.wav";
    // The system's folder, not the user's own Windows folder of a terminal
    // server session; any drive, any name (C:\WINNT after an upgrade).
    UINT nFolder = ::GetSystemWindowsDirectoryW(szPath, MAX_PATH);
    // Only a drive's root ends in a backslash.
    if (nFolder > 0 && nFolder < MAX_PATH && szPath[nFolder - 1] == L'\\')
        --nFolder;
    if (nFolder == 0 || nFolder + std::size(kName) > MAX_PATH)
        return false;
    std::memcpy(szPath + nFolder, kName, sizeof kName);
    return true;
}

bool StartAlarmSound()
{
    wchar_t szFile[MAX_PATH];
    // A play of a file says nothing of whether it is there: a missing one
    // still starts as far as the call can tell.
    if (AlarmSoundFile(szFile) && IsFile(szFile) &&
        AfxSystemApi().PlaySoundW(szFile, nullptr, SND_FILENAME | kLooping))
        return true;
    // A Windows without the file (a server without the Media folder) rings
    // with the program's own wave.
    return AfxSystemApi().PlaySoundW(MAKEINTRESOURCEW(IDR_ALARM_RING), AfxGetResourceHandle(),
                                     SND_RESOURCE | kLooping) != FALSE;
}
