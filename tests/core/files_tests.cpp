#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "buildkit/kit_horn.h"
#include "buildkit/mesh.h"
#include "files/dxf_file.h"
#include "files/kit_files.h"
#include "files/profile_formats.h"
#include "output/output_error.h"

namespace {

using vortalis::files::StlPieceNames;

// The pieces' names beside the file named, the suffix kept (stl without one).
TEST(StlPieceNames, NumberThePiecesBesideTheFileNamed) {
  struct Case {
    std::string path;
    std::vector<std::string> names;
  };
  for (const Case& c : std::vector<Case>{
           {"horn.stl", {"horn-1.stl", "horn-2.stl"}},
           {"./horn.STL", {"./horn-1.STL", "./horn-2.STL"}},
           {"/horn.stl", {"/horn-1.stl", "/horn-2.stl"}},
           {"out.d/horn", {"out.d/horn-1.stl", "out.d/horn-2.stl"}},
           {"a/b/horn.v2.stl", {"a/b/horn.v2-1.stl", "a/b/horn.v2-2.stl"}},
       }) {
    EXPECT_EQ(StlPieceNames(c.path, 2), c.names) << c.path;
    EXPECT_EQ(StlPieceNames(c.path, 1), std::vector<std::string>{c.path}) << c.path;
  }
}

TEST(KitFileExtension, IsOneTheKitIsSavedAsWhateverItsCase) {
  const vortalis::buildkit::FlatKit rings = vortalis::buildkit::RingsKit{};
  const vortalis::buildkit::FlatKit sectors = vortalis::buildkit::SectorsKit{};
  EXPECT_EQ(vortalis::files::KitFileExtension(rings, "dir.svg/cut.CSV"), "csv");
  EXPECT_EQ(vortalis::files::KitFileExtension(sectors, "s.Pdf"), "pdf");
  try {
    vortalis::files::KitFileExtension(sectors, "cut.csv");
    ADD_FAILURE() << "sheet developments have no cutting list";
  } catch (const vortalis::output::OutputError& e) {
    EXPECT_STREQ(e.what(),
                 "Cannot write cut.csv: this kit is saved as DXF, SVG, PDF (the file's name ends "
                 "in one of them).");
  }
  EXPECT_THROW(vortalis::files::KitFileExtension(rings, "rings"), vortalis::output::OutputError);
}

// Each row's name finds the row again and is its filter's extension.
TEST(ProfileFormats, NameAndFilterAgree) {
  for (const vortalis::files::ProfileFormat& row : vortalis::files::kProfileFormats) {
    EXPECT_EQ(vortalis::files::FormatFromName(row.name), row.format);
    EXPECT_TRUE(row.filter.ends_with("(*." + std::string(row.name) + ")")) << row.filter;
  }
  EXPECT_FALSE(vortalis::files::FormatFromName("pdf"));
}

// The writers' last guard: a number that is not finite, or too large for the
// format's 32-bit floats, is an error, not a file holding "inf" or "nan".
TEST(FileNumbers, NonFiniteNumbersAreRefused) {
  for (const double value : {NAN, INFINITY, -INFINITY}) {
    EXPECT_THROW(vortalis::files::DxfBytes([value](DL_Dxf&, DL_WriterA& dw) { dw.dxfReal(10, value); }),
                 vortalis::output::OutputError)
        << value;
  }
  EXPECT_EQ(vortalis::files::DxfBytes([](DL_Dxf&, DL_WriterA& dw) { dw.dxfReal(10, 1.5); }),
            " 10\n1.5\n");
  vortalis::buildkit::Mesh mesh;
  mesh.Add({0.0L, 0.0L, 0.0L});
  mesh.Add({1.0L, 0.0L, 0.0L});
  mesh.Add({0.0L, 1e39L, 0.0L});  // beyond a float's 3.4e38
  mesh.triangles.push_back({0, 1, 2});
  EXPECT_THROW(vortalis::buildkit::BinaryStl(mesh, ""), vortalis::buildkit::KitError);
}

}  // namespace
