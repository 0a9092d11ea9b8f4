// The rule for the text of the interval field, judged at every change.
#pragma once

#include "platform/CString.h"

// A longer text is too long; bytes are counted, a Chinese character as two.
constexpr int kMaxCountBytes = 10;

// Digits and at most one full stop; the empty text passes. Every byte of a
// double-byte character is refused, full-width digits included.
bool IsNumeric(CString strText);

enum class CountCheck {
    Accepted,
    TooLong,
    IllegalCharacter,
};

// The verdict on one text of the field: the length first, then the characters.
CountCheck CheckCount(const CString& strCount);
