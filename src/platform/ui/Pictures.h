#pragma once
// Pictures that controls hold: button glyphs (one or two pictures side by side: normal and
// disabled) and image lists. The bitmaps are the graphics layer's TBitmap; this header names
// them only, so control headers stay free of the graphics unit's colour definitions.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/rtti/Classes.h"

namespace nv {

class TBitmap;

// Pixels ready for painting: premultiplied ARGB, rows top-down, transparent parts cleared.
struct TRawImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Argb;
};
// The part [x, x + width) of a bitmap; with transparent, pixels of its transparent colour
// (the bottom-left pixel unless fixed) become clear.
TRawImage RawImage(const TBitmap& bitmap, int x, int width, bool transparent);

// A button's picture: stored in form text as BMP bytes ("Data").
class TGlyph : public TPersistent {
  NV_CLASS(TGlyph, TPersistent)
 public:
  TGlyph();
  ~TGlyph() override;
  TBitmap& Bitmap() { return *bitmap_; }
  const TBitmap& Bitmap() const { return *bitmap_; }
  bool Empty() const;
  int Width() const;
  int Height() const;
  void Assign(const TPersistent& source) override;
  void DefineProperties(TFiler& filer) override;
  TNotifyEvent OnChange;
  void Changed() { OnChange(this); }

 private:
  std::unique_ptr<TBitmap> bitmap_;
};

class TImageList : public TComponent {
  NV_CLASS(TImageList, TComponent)
 public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;
  int Width() const { return width_; }
  void SetWidth(int v);
  int Height() const { return height_; }
  void SetHeight(int v);
  int Count() const { return static_cast<int>(images_.size()); }
  // Copies the picture in; returns its index.
  int Add(const TBitmap& image);
  void Delete(int index);
  void Clear();
  const TBitmap* Image(int index) const;  // nullptr when out of range
  void DefineProperties(TFiler& filer) override;

 private:
  int width_ = 16;
  int height_ = 16;
  std::vector<std::unique_ptr<TBitmap>> images_;
};

}  // namespace nv
