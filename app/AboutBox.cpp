// The About box.
#include "app/AboutBox.h"

// Nothing to bind: the box only shows its template.
void CAboutBox::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
