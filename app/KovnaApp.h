#pragma once

#include "platform/Afx.h"

class CKovnaApp : public CWinApp {
public:
    // Runs the main dialog and returns FALSE, so the process ends with it.
    BOOL InitInstance() override;
};
