#pragma once
// An OBJ model in memory: plain records. Vertex, normal, texture-coordinate
// and facet-normal arrays are 1-based as in the OBJ format (entry 0 exists and
// is unused); triangles, group triangle lists and materials are 0-based.

#include <cstdint>
#include <string>
#include <vector>

struct ObjTriangle {
  std::uint32_t vertexIndex[3] = {0, 0, 0};
  std::uint32_t normalIndex[3] = {0, 0, 0};
  std::uint32_t texCoordIndex[3] = {0, 0, 0};
  std::uint32_t facetNormalIndex = 0;
};

struct ObjMaterial {
  std::string name;
  float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
  float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float emissive[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float shininess = 65.0f;
};

struct ObjGroup {
  std::string name;  // as found after the keyword, leading blank included
  std::uint32_t triangleCount = 0;
  std::vector<std::uint32_t> triangleIndices;  // into ObjModel::triangles, file order
  std::uint32_t material = 0;                  // into ObjModel::materials
};

struct ObjModel {
  std::string path;
  std::string materialLibrary;  // empty when the file names none
  bool hasMaterialLibrary = false;

  std::uint32_t vertexCount = 0;
  std::vector<float> vertices;  // 3 * (vertexCount + 1)
  std::uint32_t normalCount = 0;
  std::vector<float> normals;  // 3 * (normalCount + 1), empty when there are none
  std::uint32_t texCoordCount = 0;
  std::vector<float> texCoords;  // 2 * (texCoordCount + 1), empty when there are none
  std::uint32_t facetNormalCount = 0;
  std::vector<float> facetNormals;  // 3 * (facetNormalCount + 1)

  std::uint32_t triangleCount = 0;
  std::vector<ObjTriangle> triangles;

  std::uint32_t materialCount = 0;
  std::vector<ObjMaterial> materials;  // empty when no material library was read

  std::uint32_t groupCount = 0;
  std::vector<ObjGroup> groups;  // newest group first

  bool HasNormals() const { return !normals.empty(); }
  bool HasTexCoords() const { return !texCoords.empty(); }
};
