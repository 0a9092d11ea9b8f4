// The About box, opened from the main dialog's system menu.
#pragma once

#include "platform/Afx.h"
#include "res/resource.h"

class CAboutBox : public CDialog {
public:
    // No parent: the framework makes the main window the owner, so the box
    // opens centred over it and the main window waits behind it.
    CAboutBox() : CDialog(IDD_INFO_BOX) {}

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
