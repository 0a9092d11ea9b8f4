// The alarm's sound: the ring of the system's own Windows folder where it has
// one, else the program's own, either played over and over until a stop
// (PlaySoundA with no sound) silences it.
#pragma once

#include "platform/CString.h"

// The full name of ringin.wav in the system's Media folder, whether or not
// the file is there; empty when the folder's name is not to be had.
CString AlarmSoundFile();

// Starts the ring looping; false when neither sound could start.
bool StartAlarmSound();
