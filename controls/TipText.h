// Tooltip text of the notification area: a fixed field of 64 bytes.
#pragma once

#include <cstddef>

// Bytes of psz (code page 936) that fit into nMaxBytes without cutting a
// double-byte character in half. A null pointer counts as empty.
size_t TipTextLength(const char* psz, size_t nMaxBytes);

// Copies as much of psz as fits into pDest (cbDest bytes, terminator
// included), cut at a character boundary, and terminates it.
void CopyTipText(char* pDest, size_t cbDest, const char* psz);
