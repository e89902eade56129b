#pragma once
// Gives an open surface a thickness: an inner copy set back along the
// vertex normals with its faces turned the other way, and a rim joining the
// two along every open edge, so that the result is one closed surface, as a
// fabric of some thickness is.

#include <vector>

#include "SurfaceNets.h"

namespace assets {

// `source` receives, for every triangle of the result, the triangle of
// `open` it comes from.
Mesh Thicken(const Mesh& open, double thickness, std::vector<int>& source);

// Only the triangles for which `keep` is true, with the vertices they use.
Mesh SubMesh(const Mesh& mesh, const std::vector<bool>& keep, std::vector<int>& source);

}  // namespace assets
