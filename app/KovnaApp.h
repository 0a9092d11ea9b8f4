// The application object, whose InitInstance runs the main dialog.
#pragma once

#include "platform/Afx.h"

class CKovnaApp : public CWinApp {
public:
    // Runs the main dialog and returns FALSE, so the process ends with it.
    BOOL InitInstance() override;
};
