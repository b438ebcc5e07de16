#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A triangle mesh and its binary STL bytes. Files are written elsewhere.
namespace vortalis::buildkit {

struct Vertex {
  long double x;
  long double y;
  long double z;
};

struct Mesh {
  std::vector<Vertex> vertices;
  // Counter-clockwise seen from outside the solid.
  std::vector<std::array<std::uint32_t, 3>> triangles;

  std::uint32_t Add(const Vertex& v);
  // a, b, c in the order whose normal points along `outward` (roughly).
  void AddFacing(std::uint32_t a, std::uint32_t b, std::uint32_t c, const Vertex& outward);
};

// The enclosed volume (divergence theorem); negative for a mesh turned inside out.
long double MeshVolume(const Mesh& mesh);

// Binary STL: an 80-byte header (`header`, cut or padded with spaces; not
// beginning "solid", which some readers take for a text STL), the
// triangle count and each facet's normal and corners as little-endian 32-bit
// floats, in the mesh's coordinates.
std::string BinaryStl(const Mesh& mesh, std::string_view header);
// The same bytes handed to `write` in parts of about a megabyte, so that a
// large file is never held whole in memory beside its mesh.
void StreamBinaryStl(const Mesh& mesh, std::string_view header,
                     const std::function<void(std::string_view)>& write);

}  // namespace vortalis::buildkit
