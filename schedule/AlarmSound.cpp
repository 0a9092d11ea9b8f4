// Choosing and starting the alarm's sound.
#include "schedule/AlarmSound.h"

#include <mmsystem.h>

#include "platform/Afx.h"
#include "res/resource.h"

namespace {

// Without SND_NODEFAULT a sound that cannot be found plays the short default
// sound once and reports success, and the alarm would fall silent.
constexpr DWORD kLooping = SND_ASYNC | SND_LOOP | SND_NODEFAULT;

bool IsFile(const CString& strPath)
{
    const DWORD dwAttributes = ::GetFileAttributesA(strPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

CString AlarmSoundFile()
{
    // The system's folder, not the user's own Windows folder of a terminal
    // server session; any drive, any name (C:\WINNT after an upgrade).
    char szFolder[MAX_PATH];
    const UINT nFolder = ::GetSystemWindowsDirectoryA(szFolder, MAX_PATH);
    if (nFolder == 0 || nFolder >= MAX_PATH)
        return CString();
    CString strPath(szFolder, static_cast<int>(nFolder));
    // Only a drive's root ends in a backslash.
    if (szFolder[nFolder - 1] != '\\')
        strPath += "\\";
    strPath += "Media\\ringin.wav";
    return strPath;
}

bool StartAlarmSound()
{
    const CString strFile = AlarmSoundFile();
    // A play of a file says nothing of whether it is there: a missing one
    // still starts as far as the call can tell.
    if (!strFile.IsEmpty() && IsFile(strFile) &&
        AfxSystemApi().PlaySoundA(strFile, nullptr, SND_FILENAME | kLooping))
        return true;
    // A Windows without the file (a server without the Media folder) rings
    // with the program's own wave.
    return AfxSystemApi().PlaySoundA(MAKEINTRESOURCEA(IDR_ALARM_RING), AfxGetResourceHandle(),
                                     SND_RESOURCE | kLooping) != FALSE;
}
