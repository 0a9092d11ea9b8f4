// Random texts for the interval field: mostly digits and full stops, with
// any other byte (NUL, signs, letters, GBK lead and trail bytes) mixed in,
// so that a good share passes the field's check; one in ten is long, up to
// 45 bytes, for the conversion's sake.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "platform/CString.h"

inline void ForEachRandomCountText(uint32_t nSeed, int nCount, const std::function<void(const CString&)>& fn)
{
    std::mt19937 rng(nSeed);
    std::uniform_int_distribution<int> length(0, 14);
    std::uniform_int_distribution<int> longLength(15, 45);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> digit('0', '9');
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int n = 0; n < nCount; ++n) {
        const int nLength = n % 10 == 9 ? longLength(rng) : length(rng);
        std::string bytes(static_cast<size_t>(nLength), '\0');
        for (char& ch : bytes) {
            const int k = kind(rng);
            ch = static_cast<char>(k < 7 ? digit(rng) : k == 7 ? '.' : anyByte(rng));
        }
        fn(CString(bytes.data(), static_cast<int>(bytes.size())));
    }
}
