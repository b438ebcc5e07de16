#include "buildkit/mesh.h"

#include <bit>
#include <cmath>

#include "buildkit/kit_horn.h"

namespace vortalis::buildkit {

namespace {

Vertex Minus(const Vertex& p, const Vertex& q) { return {p.x - q.x, p.y - q.y, p.z - q.z}; }

Vertex Cross(const Vertex& p, const Vertex& q) {
  return {p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x};
}

long double Dot(const Vertex& p, const Vertex& q) { return p.x * q.x + p.y * q.y + p.z * q.z; }

void AppendUint32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xffU);
}

void AppendFloat(std::string& out, long double value) {
  const auto single = static_cast<float>(value);
  // The last guard: the kits' limits keep every coordinate far inside a float.
  if (!std::isfinite(single))
    throw KitError("A coordinate of the solid is not a finite 32-bit number: no STL was written.");
  AppendUint32(out, std::bit_cast<std::uint32_t>(single));
}

}  // namespace

std::uint32_t Mesh::Add(const Vertex& v) {
  vertices.push_back(v);
  return static_cast<std::uint32_t>(vertices.size() - 1);
}

void Mesh::AddFacing(std::uint32_t a, std::uint32_t b, std::uint32_t c, const Vertex& outward) {
  const Vertex n = Cross(Minus(vertices[b], vertices[a]), Minus(vertices[c], vertices[a]));
  if (Dot(n, outward) < 0.0L)
    triangles.push_back({a, c, b});
  else
    triangles.push_back({a, b, c});
}

long double MeshVolume(const Mesh& mesh) {
  long double sixfold = 0.0L;
  for (const auto& t : mesh.triangles) {
    sixfold += Dot(mesh.vertices[t[0]], Cross(mesh.vertices[t[1]], mesh.vertices[t[2]]));
  }
  return sixfold / 6.0L;
}

void StreamBinaryStl(const Mesh& mesh, std::string_view header,
                     const std::function<void(std::string_view)>& write) {
  constexpr std::size_t kPart = 1U << 20;
  std::string out(header.substr(0, 80));
  out.resize(80, ' ');
  out.reserve(kPart + 50);
  AppendUint32(out, static_cast<std::uint32_t>(mesh.triangles.size()));
  for (const auto& t : mesh.triangles) {
    // The normal of the corners as written, so that it agrees with a reader's
    // own for a long, thin facet too.
    const auto written = [](const Vertex& v) -> Vertex {
      return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
    };
    const Vertex a = written(mesh.vertices[t[0]]);
    const Vertex b = written(mesh.vertices[t[1]]);
    const Vertex c = written(mesh.vertices[t[2]]);
    Vertex n = Cross(Minus(b, a), Minus(c, a));
    const long double length = std::sqrt(Dot(n, n));
    if (length > 0.0L) n = {n.x / length, n.y / length, n.z / length};
    for (const Vertex& v : {n, a, b, c}) {
      AppendFloat(out, v.x);
      AppendFloat(out, v.y);
      AppendFloat(out, v.z);
    }
    out += '\0';
    out += '\0';
    if (out.size() >= kPart) {
      write(out);
      out.clear();
    }
  }
  write(out);
}

std::string BinaryStl(const Mesh& mesh, std::string_view header) {
  std::string bytes;
  bytes.reserve(84 + mesh.triangles.size() * 50);
  StreamBinaryStl(mesh, header, [&bytes](std::string_view part) { bytes.append(part); });
  return bytes;
}

}  // namespace vortalis::buildkit
