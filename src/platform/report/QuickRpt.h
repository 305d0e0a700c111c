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
#include "platform/rtti/Classes.h"
#include "platform/rtti/Font.h"
#include "platform/rtti/TypInfo.h"

namespace nv {

class TDataSet;
class TQuickRep;
class TQRCustomBand;
class TQRPrintable;

NV_DECLARE_EXCEPTION(EQuickReportError, Exception);

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
NV_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
}  // namespace qr
using qr::TQRUnit;

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

// The paper: sizes and margins in millimetres whatever Units shows.
class TQRPage : public TPersistent {
  NV_CLASS(TQRPage, TPersistent)
 public:
  double PaperWidth = 215.9;  // Letter
  double PaperLength = 279.4;
  TPrinterOrientation Orientation = poPortrait;
  double LeftMargin = 10;
  double RightMargin = 10;
  double TopMargin = 10;
  double BottomMargin = 10;
  int Columns = 1;
  TQRUnit Units = qr::MM;
  void Assign(const TPersistent& source) override;
  int WidthTwips() const;  // of the sheet as printed, orientation applied
  int HeightTwips() const;
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
  void SetHeight(int v) { height_ = v < 0 ? 0 : v; }
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

  // Draws the band's background, frame and printables with its top at top (twips).
  void Render(TQuickRep& report, TQRCanvas& canvas, int left, int top, int width);

 protected:
  friend class TQRPrintable;
  friend class TQRChildBand;
  friend class TQuickRep;
  void AddPrintable(TQRPrintable* p);
  void RemovePrintable(TQRPrintable* p);

  TQRBandType bandType_ = rbTitle;
  int height_ = 40;
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

  // The data set whose records the detail bands print, and further data sets that
  // expressions reach by name ("ClientDataSet1.TD001"). The report does not own them.
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* v) { dataSet_ = v; }
  void AddDataSet(TDataSet* v);
  TDataSet* FindDataSet(std::string_view name) const;

  TQRReportBeforePrintEvent BeforePrint;
  TQRNotifyEvent OnStartPage;

  // Bands in creation order.
  const std::vector<TQRCustomBand*>& Bands() const { return bands_; }
  void Notification(TComponent* component, TOperation operation) override;

  // Generates the pages; afterwards Pages() holds them.
  void Prepare();
  const TQRCanvas& Pages() const { return canvas_; }
  int PageCount() const { return canvas_.PageCount(); }
  int PageNumber() const { return pageNumber_; }  // while generating: the page being made
  // Called after each finished page; setting cancel stops generation.
  std::function<void(int pageNumber, bool& cancel)> OnProgress;
  bool Cancelled() const { return cancelled_; }

 private:
  friend class TQRCustomBand;
  void AddBand(TQRCustomBand* band);
  void RemoveBand(TQRCustomBand* band);

  std::vector<TQRCustomBand*> BandsOf(TQRBandType type) const;
  int FooterHeight() const;
  void StartPage();
  void EndPage(bool last);
  bool PrintBand(TQRCustomBand& band);
  void PlaceBand(TQRCustomBand& band, int top);
  void PrintDetail();
  std::vector<std::string> GroupKeys() const;
  void PrintRecords();

  std::vector<TQRGroup*> groups_;  // while generating
  bool inRecords_ = false;

  std::unique_ptr<TQRPage> page_ = std::make_unique<TQRPage>();
  int zoom_ = 100;
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
  TDataSet* dataSet_ = nullptr;
  std::vector<TDataSet*> dataSets_;
  std::vector<TQRCustomBand*> bands_;
  TQRCanvas canvas_;
  TQRPageSpace space_;
  int pageNumber_ = 0;
  bool cancelled_ = false;
  bool generating_ = false;
};

// Registers the report classes for form texts.
void RegisterReportClasses();

}  // namespace nv
