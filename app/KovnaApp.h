// The application object, whose InitInstance runs the main dialog.
#pragma once

#include "platform/Afx.h"

class CKovnaApp : public CWinApp {
public:
    // Runs the main dialog, or says why it could not, and returns FALSE, so
    // the process ends with it.
    BOOL InitInstance() override;
};
