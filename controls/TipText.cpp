// Cutting a tooltip text to its field without splitting a character.
#include "controls/TipText.h"

#include <cstring>

namespace {

// Lead bytes of code page 936; 0x80 stands alone.
bool IsLeadByte936(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

} // namespace

size_t TipTextLength(const char* psz, size_t nMaxBytes)
{
    if (!psz)
        return 0;
    // Characters can only be told apart from the start of the text.
    size_t nKept = 0;
    while (psz[nKept] != '\0') {
        const size_t nStep = IsLeadByte936(static_cast<unsigned char>(psz[nKept])) && psz[nKept + 1] != '\0' ? 2 : 1;
        if (nKept + nStep > nMaxBytes)
            break;
        nKept += nStep;
    }
    return nKept;
}

void CopyTipText(char* pDest, size_t cbDest, const char* psz)
{
    if (cbDest == 0)
        return;
    const size_t nLength = TipTextLength(psz, cbDest - 1);
    if (nLength)
        std::memcpy(pDest, psz, nLength);
    pDest[nLength] = '\0';
}
