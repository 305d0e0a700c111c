#pragma once
// The banded report: a report with its page settings, bands of the types the layouts use,
// and generation into rendered pages. Bands and printables are components owned by the form
// that holds the report, and nest by parent (report → band → printable), so the form text
// of a voucher layout describes them all. Layout positions are layout pixels at zoom 100
// (15 twips each); paper sizes and margins are millimetres.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/report/QRCanvas.h"
#include "platform/report/QRPrinter.h"
#include "platform/rtti/Classes.h"
#include "platform/rtti/Font.h"
#include "platform/rtti/StringList.h"
#include "platform/rtti/TypInfo.h"

namespace nv {

class TDataSet;
class TQuickRep;
class TQRCustomBand;
class TQRPrintable;

NV_ENUM(TQRBandType, rbTitle, rbPageHeader, rbDetail, rbPageFooter, rbSummary, rbGroupHeader,
        rbGroupFooter, rbSubDetail, rbColumnHeader, rbOverlay, rbChild)
// Half page: two voucher pages on one printed sheet.
NV_ENUM(TQRPageStyle, qrNone, qrFullPage, qrHalfPage)
NV_ENUM(TPrinterOrientation, poPortrait, poLandscape)
NV_ENUM(TQROption, FirstPageHeader, LastPageFooter, Compression)
using TQROptions = TSet<TQROption>;

// Names the other layers also need (controls' alignment) live apart, so the two can meet in
// one unit.
namespace qr {
NV_ENUM(TQRUnit, MM, Inches, Pixels, Characters, Native)
// In the order the option and preview windows list them.
NV_ENUM(TQRPaperSize, Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive,
        A3, A4, A4Small, A5, B4, B5, Folio, Quarto, qr10X14, qr11X17, Note, Env9, Env10, Env11,
        Env12, Env14, CSheet, DSheet, ESheet, Custom)
NV_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
}  // namespace qr
using qr::TQRPaperSize;
using qr::TQRUnit;

// The names of the paper sizes and units in their ordinal order ("Default" ... "Custom";
// "MM" ... "Native").
const std::vector<std::string>& PaperSizeNames();
const std::vector<std::string>& UnitNames();

NV_EVENT_TYPE(TQRBandBeforePrintEvent, TQRCustomBand* /*Sender*/, bool& /*PrintBand*/);
NV_EVENT_TYPE(TQRBandAfterPrintEvent, TQRCustomBand* /*Sender*/, bool /*BandPrinted*/);
NV_EVENT_TYPE(TQRReportBeforePrintEvent, TQuickRep* /*Sender*/, bool& /*PrintReport*/);
NV_EVENT_TYPE(TQRNotifyEvent, TQuickRep* /*Sender*/);
NV_EVENT_TYPE(TQRLabelOnPrintEvent, TObject* /*Sender*/, std::string& /*Value*/);

constexpr int kTwipsPerLayoutPx = 15;
int MillimetresToTwips(double mm);
// Colour of a page record; system colours fall back (window text black, window white).
std::int32_t PageColorOf(TColor color, std::int32_t systemFallback);
TQRFontSpec FontSpecOf(const TFont& font);

// Lines drawn around a band or printable.
class TQRFrame : public TPersistent {
  NV_CLASS(TQRFrame, TPersistent)
 public:
  bool DrawTop = false;
  bool DrawBottom = false;
  bool DrawLeft = false;
  bool DrawRight = false;
  TColor Color = clBlack;
  int Width = 1;  // layout pixels
  bool AnyDrawn() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
  void Assign(const TPersistent& source) override;
  void Draw(TQRCanvas& canvas, const TQRBox& box) const;
};

// The paper: sizes and margins in millimetres whatever Units shows. Choosing a paper size
// other than Default or Custom sets the width and length; other sizes keep them.
class TQRPage : public TPersistent {
  NV_CLASS(TQRPage, TPersistent)
 public:
  TQRPaperSize PaperSize() const { return paperSize_; }
  void SetPaperSize(TQRPaperSize size);
  double PaperWidth = 215.9;  // Letter
  double PaperLength = 279.4;
  TPrinterOrientation Orientation = poPortrait;
  double LeftMargin = 10;
  double RightMargin = 10;
  double TopMargin = 10;
  double BottomMargin = 10;
  double ColumnSpace = 0;
  int Columns = 1;
  TQRUnit Units = qr::MM;
  void Assign(const TPersistent& source) override;
  int WidthTwips() const;  // of the sheet as printed, orientation applied
  int HeightTwips() const;
  // The page's figures in Units, by index: 0 BottomMargin, 1 PaperLength, 2 LeftMargin,
  // 3 PaperWidth, 4 RightMargin, 5 TopMargin, 6 ColumnSpace; other indexes give 0.
  double Value(int index) const;

 private:
  TQRPaperSize paperSize_ = qr::Letter;
};

// Which printer a report goes to and how often.
class TQRPrinterSettings : public TPersistent {
  NV_CLASS(TQRPrinterSettings, TPersistent)
 public:
  int PrinterIndex = -1;  // -1: the default printer
  int Copies = 1;
  void Assign(const TPersistent& source) override;
};

// A picture kept with a layout: an enhanced metafile or a BMP, stored in the form text as its
// file bytes. A damaged picture is kept as bytes but not drawn; Error() says why.
class TQRPicture : public TPersistent {
  NV_CLASS(TQRPicture, TPersistent)
 public:
  TQRPicture();
  ~TQRPicture() override;
  void LoadFromBytes(std::string bytes);
  void LoadFromFile(const std::string& path);  // raises EFOpenError for a missing file
  void Clear();
  bool Empty() const { return bytes_.empty(); }
  const std::string& Bytes() const { return bytes_; }
  const std::string& Error() const { return error_; }
  // The drawable picture, shared by every page that shows it; nullptr when empty or damaged.
  const std::shared_ptr<const TPageImage>& Image() const { return image_; }
  // Its own size in twips (a metafile's frame, a bitmap at 96 dots an inch).
  int WidthTwips() const;
  int HeightTwips() const;
  void Assign(const TPersistent& source) override;
  void DefineProperties(TFiler& filer) override;

 private:
  std::string bytes_;
  std::string error_;
  std::shared_ptr<const TPageImage> image_;
};

// Where the next band goes on the page being generated. Pure arithmetic in twips: the
// detail area ends above the page footer.
struct TQRPageSpace {
  int Top = 0;
  int Bottom = 0;
  int Cursor = 0;
  bool Fits(int height) const { return Cursor + height <= Bottom; }
  bool Fresh() const { return Cursor == Top; }
  int Take(int height) {
    int at = Cursor;
    Cursor += height;
    return at;
  }
};

// What printables see while a band prints.
struct TQRPrintContext {
  TQuickRep& Report;
  TQRCanvas& Canvas;
  int BandLeft = 0;  // twips
  int BandTop = 0;
};

class TQRCustomBand : public TComponent {
  NV_CLASS(TQRCustomBand, TComponent)
 public:
  explicit TQRCustomBand(TComponent* owner);
  ~TQRCustomBand() override;

  TQRBandType BandType() const { return bandType_; }
  void SetBandType(TQRBandType v) { bandType_ = v; }
  int Height() const { return height_; }  // layout pixels
  // May go below 0 while a voucher page's rows use up the attach-detail band; such a band
  // prints with no height.
  void SetHeight(int v) { height_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* v) { font_->Assign(*v); }
  TQRFrame* Frame() const { return frame_.get(); }
  void SetFrame(TQRFrame* v) { frame_->Assign(*v); }
  std::string Hint;
  // How much taller than Height the band came out the last time it printed, because
  // stretching printables grew it (layout pixels).
  int ExtraHeight() const { return extraHeight_; }
  // A child band prints right after this one; set from the child's side.
  TQRCustomBand* ChildBand() const { return childBand_; }

  TQuickRep* ParentReport() const { return report_; }
  const std::vector<TQRPrintable*>& Printables() const { return printables_; }

  TQRBandBeforePrintEvent BeforePrint;
  TQRBandAfterPrintEvent AfterPrint;

  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  bool HasParent() const override { return true; }
  void Notification(TComponent* component, TOperation operation) override;

  // Fixes the printables' texts for this print (print events run here) and gives the
  // height the band needs in twips, Height plus what stretching printables add.
  int Prepare(TQuickRep& report, TQRCanvas& canvas);
  // Draws the prepared band with its top at top (twips).
  void Render(TQuickRep& report, TQRCanvas& canvas, int left, int top, int width);

 protected:
  friend class TQRPrintable;
  friend class TQRChildBand;
  friend class TQuickRep;
  void AddPrintable(TQRPrintable* p);
  void RemovePrintable(TQRPrintable* p);

  TQRBandType bandType_ = rbTitle;
  int height_ = 40;
  int extraHeight_ = 0;
  int preparedHeight_ = 0;  // twips
  bool enabled_ = true;
  TColor color_ = clWhite;
  bool transparent_ = false;
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
  std::unique_ptr<TQRFrame> frame_ = std::make_unique<TQRFrame>();
  TQuickRep* report_ = nullptr;
  TQRCustomBand* childBand_ = nullptr;
  std::vector<TQRPrintable*> printables_;
};

class TQRBand : public TQRCustomBand {
  NV_CLASS(TQRBand, TQRCustomBand)
 public:
  using TQRCustomBand::TQRCustomBand;
};

// Prints after its parent band whenever the parent printed.
class TQRChildBand : public TQRCustomBand {
  NV_CLASS(TQRChildBand, TQRCustomBand)
 public:
  explicit TQRChildBand(TComponent* owner);
  ~TQRChildBand() override;
  TQRCustomBand* ParentBand() const { return parentBand_; }
  void SetParentBand(TQRCustomBand* band);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TQRCustomBand* parentBand_ = nullptr;
};

// Heads the records that share the value of Expression; FooterBand prints after the last of
// them. Groups nest in creation order, the first outermost.
class TQRGroup : public TQRCustomBand {
  NV_CLASS(TQRGroup, TQRCustomBand)
 public:
  explicit TQRGroup(TComponent* owner);
  ~TQRGroup() override;
  std::string Expression;
  bool ReprintOnNewPage = false;
  TQRCustomBand* FooterBand() const { return footerBand_; }
  void SetFooterBand(TQRCustomBand* band);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TQRCustomBand* footerBand_ = nullptr;
};

class TQRPrintable : public TComponent {
  NV_CLASS(TQRPrintable, TComponent)
 public:
  explicit TQRPrintable(TComponent* owner);
  ~TQRPrintable() override;

  int Left = 0;  // layout pixels within the band
  int Top = 0;
  int Width = 100;
  int Height = 17;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  TColor Color = clWhite;
  bool Transparent = true;
  qr::TAlignment Alignment = qr::taLeftJustify;
  bool AutoSize = false;
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* v) { font_->Assign(*v); }
  TQRFrame* Frame() const { return frame_.get(); }
  void SetFrame(TQRFrame* v) { frame_->Assign(*v); }

  TQRCustomBand* ParentBand() const { return band_; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  bool HasParent() const override { return true; }

  // The box in twips for a band whose top-left corner is at (left, top).
  TQRBox BoxAt(int left, int top) const;
  // Runs before the band is placed: fixes what will print and gives the height (layout
  // pixels) the printable needs; more than Height only for stretching printables.
  virtual int Prepare(TQRPrintContext& context);
  virtual void Print(TQRPrintContext& context);

 private:
  friend class TQRCustomBand;
  bool enabled_ = true;
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
  std::unique_ptr<TQRFrame> frame_ = std::make_unique<TQRFrame>();
  TQRCustomBand* band_ = nullptr;
};

class TQuickRep : public TComponent {
  NV_CLASS(TQuickRep, TComponent)
 public:
  explicit TQuickRep(TComponent* owner);
  ~TQuickRep() override;

  TQRPage* Page() const { return page_.get(); }
  void SetPage(TQRPage* v) { page_->Assign(*v); }
  int Zoom() const { return zoom_; }
  void SetZoom(int v);
  std::string ReportTitle;
  TQRPageStyle PageStyle = qrNone;
  TQROptions Options{FirstPageHeader, LastPageFooter};
  bool PrintIfEmpty = true;
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* v) { font_->Assign(*v); }
  // Drawn at its own size at the top-left corner of every voucher page's printable area when
  // PrintBackground.
  TQRPicture* Background() const { return background_.get(); }
  void SetBackground(TQRPicture* v) { background_->Assign(*v); }
  bool PrintBackground = true;
  bool SnapToGrid = true;
  TStringList* Functions() const { return functions_.get(); }
  void SetFunctions(TStringList* v);
  TQRPrinterSettings* PrinterSettings() const { return printerSettings_.get(); }
  void SetPrinterSettings(TQRPrinterSettings* v) { printerSettings_->Assign(*v); }

  // The page bands: with a page detail band the report prints voucher pages (see
  // docs/report-engine.md): the start band heads each, detail rows use up the attach-detail
  // band's height, and the attach-detail and end bands close each.
  TQRCustomBand* PageStartBand() const { return pageStart_; }
  void SetPageStartBand(TQRCustomBand* v) { SetBandRef(pageStart_, v); }
  TQRCustomBand* PageDetailBand() const { return pageDetail_; }
  void SetPageDetailBand(TQRCustomBand* v) { SetBandRef(pageDetail_, v); }
  TQRCustomBand* PageAttachDetailBand() const { return pageAttach_; }
  void SetPageAttachDetailBand(TQRCustomBand* v) { SetBandRef(pageAttach_, v); }
  TQRCustomBand* PageEndBand() const { return pageEnd_; }
  void SetPageEndBand(TQRCustomBand* v) { SetBandRef(pageEnd_, v); }

  // The data set whose records the detail bands print, and further data sets that
  // expressions reach by name ("ClientDataSet1.TD001"). The report does not own them.
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* v) { dataSet_ = v; }
  void AddDataSet(TDataSet* v);
  TDataSet* FindDataSet(std::string_view name) const;

  TQRReportBeforePrintEvent BeforePrint;
  TQRNotifyEvent OnStartPage;
  // Raised by Preview before generation starts, so a handler can show the pages as they
  // arrive instead of the default preview (none, headless).
  TQRNotifyEvent OnPreview;

  // Bands in creation order.
  const std::vector<TQRCustomBand*>& Bands() const { return bands_; }
  void Notification(TComponent* component, TOperation operation) override;

  // Generates the pages into the printer object; afterwards Pages() holds them.
  void Prepare();
  // OnPreview, then generation; the printer's page-available listeners see every sheet.
  void Preview();
  // Generates and prints on PrinterSettings' printer.
  TPrintResult Print();
  TQRPrinter* QRPrinter() const { return printer_.get(); }
  const TQRCanvas& Pages() const { return printer_->Pages(); }
  int PageCount() const { return printer_->PageCount(); }  // printed sheets
  // While generating: the voucher page being made (a half sheet in half-page style).
  int PageNumber() const { return pageNumber_; }
  // Called after each finished page; setting cancel stops generation.
  std::function<void(int pageNumber, bool& cancel)> OnProgress;
  bool Cancelled() const { return cancelled_; }

 private:
  friend class TQRCustomBand;
  void AddBand(TQRCustomBand* band);
  void RemoveBand(TQRCustomBand* band);

  void SetBandRef(TQRCustomBand*& ref, TQRCustomBand* band);
  std::vector<TQRCustomBand*> BandsOf(TQRBandType type) const;
  int FooterHeight() const;
  void Generate();
  void StartPage();
  void EndPage(bool last);
  void DrawBackground();
  bool PrintBand(TQRCustomBand& band);
  void PlaceBand(TQRCustomBand& band, int top, int height);
  void PrintDetail();
  std::vector<std::string> GroupKeys() const;
  void PrintRecords();
  // Voucher pages (page bands).
  std::string PageKey() const;
  void PrintVoucherPages();
  bool PrintVoucherRows(const std::string& key);
  enum class TPageRow { Printed, Refused, NoRoom };
  TPageRow PrintPageRow(bool pageHasRows);
  void CloseVoucherPage(bool voucherEnds);

  std::vector<TQRGroup*> groups_;  // while generating
  bool inRecords_ = false;

  std::unique_ptr<TQRPage> page_ = std::make_unique<TQRPage>();
  int zoom_ = 100;
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
  std::unique_ptr<TQRPicture> background_ = std::make_unique<TQRPicture>();
  std::unique_ptr<TStringList> functions_;
  std::unique_ptr<TQRPrinterSettings> printerSettings_ = std::make_unique<TQRPrinterSettings>();
  TQRCustomBand* pageStart_ = nullptr;
  TQRCustomBand* pageDetail_ = nullptr;
  TQRCustomBand* pageAttach_ = nullptr;
  TQRCustomBand* pageEnd_ = nullptr;
  int attachHeight_ = 0;  // the attach-detail band's own height while generating
  TDataSet* dataSet_ = nullptr;
  std::vector<TDataSet*> dataSets_;
  std::vector<TQRCustomBand*> bands_;
  std::unique_ptr<TQRPrinter> printer_;
  TQRCanvas& canvas_;
  TQRPageSpace space_;
  int pageNumber_ = 0;
  int sheetTop_ = 0;  // twips: where the voucher page being made begins on its sheet
  bool generating_ = false;
  bool cancelled_ = false;
  bool vouchers_ = false;  // printing voucher pages: the page bands decide the breaks
};

// Registers the report classes for form texts.
void RegisterReportClasses();

}  // namespace nv
