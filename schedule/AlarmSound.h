// The alarm's sound: the ring of the system's own Windows folder where it has
// one, else the program's own, either played over and over until a stop
// (PlaySoundW with no sound) silences it.
#pragma once

#include <windows.h>

// The full name of ringin.wav in the system's Media folder, whether or not
// the file is there; false when the folder's name is not to be had.
bool AlarmSoundFile(wchar_t (&szPath)[MAX_PATH]);

// Starts the ring looping; false when neither sound could start.
bool StartAlarmSound();
