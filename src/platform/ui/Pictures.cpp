// Only this unit sees the graphics layer's bitmaps (see Pictures.h).
#include "platform/ui/Pictures.h"

#include <algorithm>

#include "platform/graphics/Graphics.h"

namespace nv {

TRawImage RawImage(const TBitmap& bitmap, int x, int width, bool transparent) {
  TRawImage raw;
  x = std::clamp(x, 0, bitmap.Width());
  raw.Width = std::clamp(width, 0, bitmap.Width() - x);
  raw.Height = bitmap.Height();
  raw.Argb.resize(static_cast<std::size_t>(raw.Width) * static_cast<std::size_t>(raw.Height));
  std::int64_t clear =
      transparent ? static_cast<std::int64_t>(ColorToRGB(bitmap.TransparentColor()) & 0xFFFFFF)
                  : -1;
  for (int y = 0; y < raw.Height; ++y)
    for (int i = 0; i < raw.Width; ++i) {
      auto c = static_cast<std::uint32_t>(ColorToRGB(bitmap.Pixel(x + i, y))) & 0xFFFFFF;
      std::uint32_t argb = 0;
      // $00BBGGRR to opaque ARGB
      if (static_cast<std::int64_t>(c) != clear)
        argb = 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
      raw.Argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(raw.Width) +
               static_cast<std::size_t>(i)] = argb;
    }
  return raw;
}

NV_PUBLISH(TGlyph) {}

TGlyph::TGlyph() : bitmap_(std::make_unique<TBitmap>()) {}
TGlyph::~TGlyph() = default;

bool TGlyph::Empty() const {
  return bitmap_->Empty();
}
int TGlyph::Width() const {
  return bitmap_->Width();
}
int TGlyph::Height() const {
  return bitmap_->Height();
}

void TGlyph::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TGlyph*>(&source)) {
    bitmap_->Assign(*other->bitmap_);
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TGlyph::DefineProperties(TFiler& filer) {
  bool differs = !bitmap_->Empty();
  if (auto* ancestor = dynamic_cast<const TGlyph*>(filer.Ancestor()))
    differs = ancestor->bitmap_->SaveToBytes() !=
              (bitmap_->Empty() ? std::string() : bitmap_->SaveToBytes());
  filer.DefineProperty(
      "Data",
      [this](const TFormValue& v) {
        bitmap_->LoadFromBytes(v.Text.data(), v.Text.size());
        Changed();
      },
      [this] { return TFormValue::OfBinary(bitmap_->SaveToBytes()); }, differs);
}

NV_PUBLISH(TImageList) {
  b.Prop("Height", &TImageList::Height, &TImageList::SetHeight).Default(16);
  b.Prop("Width", &TImageList::Width, &TImageList::SetWidth).Default(16);
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}
TImageList::~TImageList() = default;

void TImageList::SetWidth(int v) {
  if (v == width_) return;
  width_ = v;
  images_.clear();  // a new size empties the list, as the platform's does
}

void TImageList::SetHeight(int v) {
  if (v == height_) return;
  height_ = v;
  images_.clear();
}

int TImageList::Add(const TBitmap& image) {
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(image);
  images_.push_back(std::move(copy));
  return Count() - 1;
}

void TImageList::Clear() {
  images_.clear();
}

void TImageList::Delete(int index) {
  if (index >= 0 && index < Count()) images_.erase(images_.begin() + index);
}

const TBitmap* TImageList::Image(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return images_[static_cast<std::size_t>(index)].get();
}

void TImageList::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  // images travel as a list of BMP pictures
  filer.DefineProperty(
      "Bitmaps",
      [this](const TFormValue& v) {
        images_.clear();
        for (const TFormValue& item : v.List) {
          auto bmp = std::make_unique<TBitmap>();
          bmp->LoadFromBytes(item.Text.data(), item.Text.size());
          images_.push_back(std::move(bmp));
        }
      },
      [this] {
        TFormValue list;
        list.Type = vaList;
        for (const auto& bmp : images_)
          list.List.push_back(TFormValue::OfBinary(bmp->SaveToBytes()));
        return list;
      },
      !images_.empty());
}

}  // namespace nv
