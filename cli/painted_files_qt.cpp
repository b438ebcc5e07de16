#include <QGuiApplication>

#include "cli/painted_files.h"
#include "cli/painting.h"
#include "export/full_size_template.h"
#include "export/kit_files.h"
#include "export/profile_export.h"

namespace vortalis::cli {

namespace {

class QtPaintedFiles final : public PaintedFiles {
 public:
  QtPaintedFiles() : app_(StartPainting()) {}

  void ProfileSvg(const report::HornProfile& profile, const std::string& path) override {
    exports::ExportProfile(profile, report::ExportFormat::Svg, path);
  }
  int Template(const report::HornProfile& profile, const std::string& path, Paper paper,
               const geometry::Separators& separators) override {
    return exports::WriteTemplatePdf(profile, path, PageSizeOf(paper), separators);
  }
  int KitFile(const buildkit::FlatKit& kit, const std::string& path, Paper paper) override {
    return exports::WriteKitFile(kit, FileName(path), PageSizeOf(paper));
  }

 private:
  std::unique_ptr<QGuiApplication> app_;  // none when one runs already
};

}  // namespace

std::unique_ptr<PaintedFiles> StartPaintedFiles() { return std::make_unique<QtPaintedFiles>(); }

std::string_view NoPaintingReason() { return {}; }

}  // namespace vortalis::cli
