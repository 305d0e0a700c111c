#pragma once
// The suite's shared picture library, loaded by name ("VeVozO5.dll"): button pictures chosen
// by number. A picture is a strip of one or two square images side by side (normal, then
// disabled); its bottom-left pixel is the transparent colour.
#ifdef __cplusplus
extern "C" {
#endif

// The caller's bitmap: Pixels holds Capacity colours (0x00BBGGRR, rows top-down).
typedef struct VeBitmap {
  int Width;
  int Height;
  unsigned int* Pixels;
  int Capacity;
} VeBitmap;

// The highest picture number; numbers between 0 and it may still have no picture.
int GetMaxBmpID(void);
// Sets Width and Height of picture n and copies its pixels. Returns 1 when written, 0 when
// there is no picture n (or bitmap is null), -1 when Capacity is smaller than Width * Height
// (Width and Height are then set, so the caller can retry with room enough).
int LoadBmp(VeBitmap* bitmap, int n);

#ifdef __cplusplus
}
#endif
