#pragma once
// The language library the module loads by name ("Nvlanguage.dll"): GB (code page 936) and
// Big5 (code page 950) texts converted into each other, simplified characters mapped to
// traditional ones of the Taiwan standard and back.
//
// Both functions take a NUL-terminated text and write the NUL-terminated result into dst,
// returning its length in bytes. When dstSize cannot hold the result and its NUL, nothing is
// written and the size needed (length + 1) is returned, so a caller retries with that size.
// A character the target code page cannot hold becomes "?".
#ifdef __cplusplus
extern "C" {
#endif

int GBtoBIG5(const char* src, char* dst, int dstSize);
int BIG5toGB(const char* src, char* dst, int dstSize);

#ifdef __cplusplus
}
#endif
