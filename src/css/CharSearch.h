#pragma once

#include <QStringView>
#include <QtAlgorithms>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The first of the given characters in text from on, or its size: eight
// characters are tried at once.
template<typename... Chars>
qsizetype FindAnyOf(QStringView text, qsizetype from, Chars... chars)
{
    const char16_t *const begin = text.utf16();
    const char16_t *const end = begin + text.size();
    const char16_t *p = begin + from;
#if defined(__SSE2__)
    for (; end - p >= 8; p += 8) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        __m128i hit = _mm_setzero_si128();
        ((hit = _mm_or_si128(hit, _mm_cmpeq_epi16(c, _mm_set1_epi16(short(chars))))), ...);
        if (const uint mask = uint(_mm_movemask_epi8(hit)))
            return p - begin + qCountTrailingZeroBits(mask) / 2;
    }
#endif
    for (; p < end; ++p) {
        if (((*p == chars) || ...))
            return p - begin;
    }
    return text.size();
}
