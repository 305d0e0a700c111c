#pragma once
// One-page PDF 1.4 files showing bitmaps: the page export of a rendered voucher. The file is
// built in memory object by object, uncompressed, with CR LF line ends, and saved in one piece
// by EndDoc. Calling order: settings, BeginDoc, one or more DrawBitmap, EndDoc.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Graphics.h"

namespace nv {

// Font setting of the writer; held only, since the writer writes no text.
class TPDFFont {
 public:
  std::uint8_t FontIndex() const { return fontIndex_; }
  void SetFontIndex(std::uint8_t index) { fontIndex_ = index; }
  int FontSize() const { return fontSize_; }
  void SetFontSize(int size) { fontSize_ = size; }

 private:
  std::uint8_t fontIndex_ = 4;
  int fontSize_ = 12;
};

class TPrintPDF {
 public:
  // Producer, Author and Creator of a new writer.
  static constexpr std::string_view kDefaultInfoText = "Voucher page export";

  TPrintPDF();
  TPrintPDF(const TPrintPDF&) = delete;
  TPrintPDF& operator=(const TPrintPDF&) = delete;
  ~TPrintPDF();

  // Published settings. Info texts are system (ANSI) texts, written byte for byte.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string value) { fileName_ = std::move(value); }
  const std::string& TITLE() const { return title_; }
  void SetTITLE(std::string value) { title_ = std::move(value); }
  int PageNumber() const { return pageNumber_; }
  int PageWidth() const { return pageWidth_; }
  void SetPageWidth(int value) { pageWidth_ = value; }
  int PageHeight() const { return pageHeight_; }
  void SetPageHeight(int value) { pageHeight_ = value; }
  int LineWidth() const { return lineWidth_; }
  void SetLineWidth(int value) { lineWidth_ = value; }
  const std::string& Author() const { return author_; }
  void SetAuthor(std::string value) { author_ = std::move(value); }
  const std::string& Creator() const { return creator_; }
  void SetCreator(std::string value) { creator_ = std::move(value); }
  const std::string& Keywords() const { return keywords_; }
  void SetKeywords(std::string value) { keywords_ = std::move(value); }
  const std::string& Subject() const { return subject_; }
  void SetSubject(std::string value) { subject_ = std::move(value); }
  const std::string& Producer() const { return producer_; }
  void SetProducer(std::string value) { producer_ = std::move(value); }
  TPDFFont& Font() { return font_; }
  const TPDFFont& Font() const { return font_; }
  void SetFont(const TPDFFont& value) { font_ = value; }
  // Held only: no stream is ever compressed.
  bool Compress() const { return compress_; }
  void SetCompress(bool value) { compress_ = value; }

  // Dots per inch of the screen, which the scale rule of DrawBitmap uses; 96 x 96 until the
  // host says otherwise. Values below 1 raise.
  void SetScreenResolution(int dotsPerInchX, int dotsPerInchY);
  int ScreenDotsPerInchX() const { return dpiX_; }
  int ScreenDotsPerInchY() const { return dpiY_; }

  // Starts a new document; anything begun before is discarded.
  void BeginDoc();
  // Places the bitmap with its top-left corner x units from the left and y from the top.
  // A bitmap of exactly the page's size fills the page; any other is scaled by the screen
  // rule: width x PageWidth / (8 x dpiX), height x PageHeight / (10.625 x dpiY).
  void DrawBitmap(int x, int y, const TBitmap& bitmap);
  // Completes the file and writes it to FileName; the document is closed afterwards, also
  // when writing fails (the error reaches the caller and no partial file stays behind).
  void EndDoc();

 private:
  void AppendObject(const std::string& object);
  int NextObject(std::string& buffer);
  void RequireOpen(const char* operation) const;

  std::string fileName_;
  std::string title_;
  int pageNumber_ = 0;
  int pageWidth_ = 612;
  int pageHeight_ = 792;
  int lineWidth_ = 1;
  std::string author_{kDefaultInfoText};
  std::string creator_{kDefaultInfoText};
  std::string keywords_;
  std::string subject_;
  std::string producer_{kDefaultInfoText};
  TPDFFont font_;
  bool compress_ = false;
  int dpiX_ = 96;
  int dpiY_ = 96;

  bool open_ = false;
  // An image object's body: its dictionary up to "stream" and its pixel bytes.
  struct ImageBody {
    std::string head;
    std::unique_ptr<char[]> pixels;
    std::size_t size = 0;
  };

  // The whole file: text pieces with the images' pixel bytes between them, so that the
  // pixels are converted once and never copied again.
  std::string output_;               // the piece being written
  std::vector<std::string> pieces_;  // finished pieces, each followed by one image's pixels
  std::string object_;               // the content stream object, pending until EndDoc
  std::string content_;              // the page's drawing operators
  std::vector<ImageBody> images_;    // kept in memory until EndDoc
  int objectCount_ = 0;
  std::size_t total_ = 0;             // bytes appended to output_ so far
  std::vector<std::size_t> offsets_;  // start of each object in number order, then of "xref"
  std::vector<int> contentObjects_;   // content stream object per page
  std::vector<int> fontObjects_;
  std::size_t streamMark_ = 0;  // size of object_ before its "stream" line
};

// A text as the body of a PDF literal string: backslash, both parentheses and carriage
// return escaped, every other byte as it is.
std::string PdfLiteralText(std::string_view text);

}  // namespace nv
