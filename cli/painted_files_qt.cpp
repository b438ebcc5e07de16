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

  void ProfileSvg(const report::HornProfile& profile, output::OutputFile& file) override {
    exports::WriteProfile(profile, report::ExportFormat::Svg, file);
  }
  int Template(const report::HornProfile& profile, output::OutputFile& file, Paper paper,
               const geometry::Separators& separators) override {
    return exports::WriteTemplatePdf(profile, file, PageSizeOf(paper), separators);
  }
  int KitFile(const buildkit::FlatKit& kit, std::string_view extension, output::OutputFile& file,
              Paper paper) override {
    return exports::WritePaintedKit(kit, extension, file, PageSizeOf(paper));
  }

 private:
  std::unique_ptr<QGuiApplication> app_;  // none when one runs already
};

}  // namespace

std::unique_ptr<PaintedFiles> StartPaintedFiles() { return std::make_unique<QtPaintedFiles>(); }

std::string_view NoPaintingReason() { return {}; }

}  // namespace vortalis::cli
