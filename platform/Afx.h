// The framework in one include.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "platform/CString.h"
#include "platform/CTime.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/Gdi.h"
#include "platform/Menu.h"
#include "platform/Object.h"
#include "platform/StringConvert.h"
#include "platform/SystemApi.h"
#include "platform/Thread.h"
#include "platform/WinApp.h"
#include "platform/Wnd.h"
