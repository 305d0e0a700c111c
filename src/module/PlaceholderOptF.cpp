#include "module/PlaceholderOptF.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "platform/core/SysUtils.h"

namespace nv {

namespace {

constexpr double kA4WidthMm = 210.0;
constexpr double kA4HeightMm = 297.0;
constexpr int kMaxPictureDPI = 2400;  // a larger page would not fit in memory sensibly

void PutLE(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool WriteFile(const std::string& fileName, const std::string& content) {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  return static_cast<bool>(out);
}

}  // namespace

std::string ProgramCodeFromModuleFile(const std::string& fileName) {
  std::string base = fileName.substr(fileName.find_last_of("/\\") + 1);
  base = base.substr(0, base.find_last_of('.'));
  if (base.size() > 6) base.pop_back();
  return base;
}

bool WriteBlankPageBitmap(const std::string& fileName, int resolution) {
  if (resolution < 1 || resolution > kMaxPictureDPI) return false;
  auto width = static_cast<std::uint32_t>(std::lround(kA4WidthMm / 25.4 * resolution));
  auto height = static_cast<std::uint32_t>(std::lround(kA4HeightMm / 25.4 * resolution));
  std::uint32_t rowBytes = (width + 31) / 32 * 4;
  std::uint32_t pixelBytes = rowBytes * height;
  constexpr std::uint32_t kHeaderBytes = 14 + 40 + 8;  // file header, info header, 2 colours
  auto perMetre = static_cast<std::uint32_t>(std::lround(resolution / 0.0254));
  std::string bmp;
  bmp.reserve(kHeaderBytes + pixelBytes);
  bmp += "BM";
  PutLE(bmp, kHeaderBytes + pixelBytes, 4);
  PutLE(bmp, 0, 4);
  PutLE(bmp, kHeaderBytes, 4);
  PutLE(bmp, 40, 4);
  PutLE(bmp, width, 4);
  PutLE(bmp, height, 4);
  PutLE(bmp, 1, 2);  // planes
  PutLE(bmp, 1, 2);  // bits per pixel
  PutLE(bmp, 0, 4);  // no compression
  PutLE(bmp, pixelBytes, 4);
  PutLE(bmp, perMetre, 4);
  PutLE(bmp, perMetre, 4);
  PutLE(bmp, 2, 4);
  PutLE(bmp, 0, 4);
  PutLE(bmp, 0x000000, 4);  // colour 0 black
  PutLE(bmp, 0xFFFFFF, 4);  // colour 1 white: every pixel
  bmp.append(pixelBytes, static_cast<char>(0xFF));
  return WriteFile(fileName, bmp);
}

bool WriteBlankPagePdf(const std::string& fileName) {
  const char* objects[] = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R >>",
      "<< /Length 0 >>\nstream\n\nendstream",
  };
  std::string pdf = "%PDF-1.4\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < std::size(objects); ++i) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t offset : offsets) {
    std::string n = std::to_string(offset);
    pdf += std::string(10 - n.size(), '0') + n + " 00000 n \n";
  }
  pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return WriteFile(fileName, pdf);
}

// A form is created with no owner: the controller owns it.
TfrmPlaceholderOpt::TfrmPlaceholderOpt() : TForm(nullptr) {}

IVROptionForm* TfrmPlaceholderOpt::Create() {
  return nv::Create<TfrmPlaceholderOpt>();
}

void TfrmPlaceholderOpt::SetModulePath(const std::string& fileName) {
  modulePath_ = fileName;
  programCode_ = ProgramCodeFromModuleFile(fileName);
}

bool TfrmPlaceholderOpt::Initialize(const Variant& params) {
  if (initialized_) return false;
  // TODO(ui): message E;000038 and a posted close, as the real form does.
  if (!params.IsArray() || params.DimCount() != 1 || params.ElementCount() < 5) return false;
  int low = params.LowBound();
  userID_ = VarToStr(params[low]);
  companyCode_ = VarToStr(params[low + 1]);
  databaseName_ = VarToStr(params[low + 2]);
  programName_ = "GMP line-clearance record voucher";
  initialized_ = true;
  return true;
}

// The headless user answers with the scripted modal result, else cancels.
int TfrmPlaceholderOpt::ShowModal() {
  const char* scripted = std::getenv(kModalResultVariable);
  // a visible form refuses to run modally: no driver may stay behind for the next run
  if (scripted != nullptr && !TForm::Visible()) {
    int result = StrToIntDef(scripted, kModalResultCancel);
    Application()->PushModalDriver([result](TForm& form) { form.SetModalResult(result); });
  }
  return TForm::ShowModal();
}

void TfrmPlaceholderOpt::ApplyHostCommand(const Variant& request) {
  if (!request.IsArray() || request.ElementCount() < 2 ||
      !request[request.LowBound() + 1].IsArray()) {
    throw Exception("ApplyHostCommand: expected an array whose element 1 is the command array");
  }
}

bool TfrmPlaceholderOpt::PrintFromConditions(bool preview) {
  return initialized_;
}

bool TfrmPlaceholderOpt::PrintFromKeys(const Variant& keys, bool preview) {
  return initialized_ && keys.IsArray() && keys.ElementCount() >= 2;
}

bool TfrmPlaceholderOpt::ConvertFromKeys(const Variant& keys, int pictureType,
                                         const std::string& prefix, const std::string& extra,
                                         int resolution) {
  if (!PrintFromKeys(keys, false)) return false;
  // one page per document: the page number padded to the digits of the page count
  std::string name = prefix + "1";
  switch (pictureType) {
    case 0:
      return WriteBlankPageBitmap(name + ".bmp", resolution);
    case 3:
      return WriteBlankPagePdf(name + ".pdf");
    default:
      return false;
  }
}

}  // namespace nv
