#pragma once
// A picture of a form as a person would see it on the desktop: the window frame and caption,
// and every visible control with its frame, caption, text, list rows, tabs, check marks and
// colours. For looking at a form without a desktop (PNG through Cairo and Pango).
#include <string>

#include "platform/ui/Forms.h"
#include "platform/ui/Pictures.h"

namespace nv {

struct TPictureOptions {
  double Scale = 1.0;
  bool WindowFrame = true;  // the caption bar and border around the client area
  // fontconfig configuration to use (empty: FONTCONFIG_FILE, else data/fonts/fonts.conf
  // below the working folder when present, else the system's)
  std::string FontsConf;
};

// Writes the picture; raises EInOutError when the file cannot be written.
void SaveFormPicture(TForm& form, const std::string& pngFile, const TPictureOptions& options = {});
// The PNG bytes of the picture.
std::string FormPicturePng(TForm& form, const TPictureOptions& options = {});
// The picture's pixels (ARGB, rows top-down), for checks without decoding a file.
TRawImage FormPictureImage(TForm& form, const TPictureOptions& options = {});

// The font families a control font name stands for ("宋体" → AR PL UMing, "Tahoma" →
// DejaVu Sans), as a Pango family list.
std::string PictureFontFamilies(const std::string& ansiFontName, int codePage);

}  // namespace nv
