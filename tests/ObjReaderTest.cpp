// The OBJ/MTL reader and its normals.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

#include "LoadCancel.h"
#include "ObjIndexing.h"
#include "ObjReader.h"
#include "ObjTestFiles.h"
#include "ObjTopology.h"

namespace {

ObjModelPtr Read(const std::string& text, const char* mtlName = nullptr, const char* mtl = nullptr,
                 ObjDiagnostics* diagnostics = nullptr) {
  CObjFiles files;
  if (mtlName) {
    files.Write(mtlName, mtl);
  }
  return ObjModelPtr(glmReadOBJ(files.Write("m.obj", text).c_str(), diagnostics));
}

bool Says(const ObjDiagnostics& d, const std::string& text) {
  for (const std::string& line : d) {
    if (line.find(text) != std::string::npos) {
      return true;
    }
  }
  return false;
}

const ObjGroup* FindGroup(const ObjModel& m, const std::string& name) {
  for (const ObjGroup& g : m.groups) {
    if (g.name == name) {
      return &g;
    }
  }
  return nullptr;
}

std::vector<std::uint32_t> Corners(const ObjModel& m, std::size_t t) {
  const ObjTriangle& tri = m.triangles[t];
  return {tri.vertexIndex[0], tri.vertexIndex[1], tri.vertexIndex[2]};
}

// The corners of the unit cube, and its six faces turned outwards.
const std::string kCubeCorners = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n";
const std::string kCubeFaces = "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n";

const char* kSquare = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.5 1.5 0\n";
}  // namespace

TEST(ObjReader, GroupsAndTheDefaultGroup) {
  auto m = Read(std::string(kSquare) + "f 1 2 3\n");
  ASSERT_TRUE(m);
  ASSERT_EQ(m->groupCount, 1u);
  EXPECT_EQ(m->groups[0].name, "default");
  EXPECT_EQ(m->groups[0].triangleCount, 1u);

  m = Read(std::string(kSquare) + "g HEAD\nf 1 2 3\ng TRUNK\r\nf 1 3 4\ng HEAD\nf 2 3 4\n");
  ASSERT_TRUE(m);
  ASSERT_EQ(m->groupCount, 3u);
  EXPECT_EQ(m->groups[0].name, " TRUNK");  // newest first, no carriage return
  EXPECT_EQ(m->groups[1].name, " HEAD");
  EXPECT_EQ(m->groups[2].name, "default");
  EXPECT_EQ(m->groups[2].triangleCount, 0u);
  const ObjGroup* head = FindGroup(*m, " HEAD");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->triangleIndices, (std::vector<std::uint32_t>{0, 2}));
}

TEST(ObjReader, FanTriangulationAndFaceForms) {
  auto m = Read(std::string(kSquare) + "vn 0 0 1\nvt 0 0\nvt 1 1\nf 1 2 3 4 5\nf 1//1 2//1 3//1\nf 1/2 2/1 3/2\n");
  ASSERT_TRUE(m);
  ASSERT_EQ(m->triangleCount, 5u);
  EXPECT_EQ(Corners(*m, 0), (std::vector<std::uint32_t>{1, 2, 3}));
  EXPECT_EQ(Corners(*m, 1), (std::vector<std::uint32_t>{1, 3, 4}));
  EXPECT_EQ(Corners(*m, 2), (std::vector<std::uint32_t>{1, 4, 5}));
  EXPECT_EQ(m->triangles[3].normalIndex[2], 1u);
  EXPECT_EQ(m->triangles[3].texCoordIndex[0], 0u);
  EXPECT_EQ(m->triangles[4].texCoordIndex[0], 2u);
  EXPECT_EQ(m->triangles[4].normalIndex[0], 0u);
  EXPECT_EQ(m->normalCount, 1u);
  EXPECT_EQ(m->texCoordCount, 2u);
  EXPECT_EQ(m->texCoords[std::size_t{2} * 2], 1.0f);
}

TEST(ObjReader, NegativeIndicesCountBackFromTheLastRead) {
  auto m = Read("v 0 0 0\nv 1 0 0\nv 1 1 0\nf -3 -2 -1\nv 5 5 5\nf -4 -1 2\n");
  ASSERT_TRUE(m);
  EXPECT_EQ(Corners(*m, 0), (std::vector<std::uint32_t>{1, 2, 3}));
  EXPECT_EQ(Corners(*m, 1), (std::vector<std::uint32_t>{1, 4, 2}));
}

TEST(ObjReader, AMissingVertexRefusesTheFileAMissingNormalOrTexCoordIsDropped) {
  const std::string v = "v 0 0 0\nv 1 0 0\nv 1 1 0\nvn 0 0 1\nvt 0 0\n";
  for (const char* face : {"f 1 2 4\n", "f 0 1 2\n", "f -4 1 2\n", "f 1 2 9999999999999\n"}) {
    ObjDiagnostics d;
    EXPECT_FALSE(Read(v + face, nullptr, nullptr, &d)) << face;
    EXPECT_TRUE(Says(d, "glmReadOBJ() failed")) << face;
  }
  // The normals and texture coordinates the viewer can do without: the
  // geometry stays, with one diagnostic per file.
  for (const char* face :
       {"f 1//2 2//1 3//1\n", "f 1/2/1 2/1/1 3/1/1\n", "f 1/1/1 2/1/1 3/1/9999999999999\n", "f 1//-2 2//-2 3//1\n"}) {
    ObjDiagnostics d;
    auto m = Read(v + face, nullptr, nullptr, &d);
    ASSERT_TRUE(m) << face;
    ASSERT_EQ(m->triangleCount, 1u);
    const ObjTriangle& t = m->triangles[0];
    for (int c = 0; c < 3; ++c) {
      EXPECT_LE(t.normalIndex[c], m->normalCount) << face;
      EXPECT_LE(t.texCoordIndex[c], m->texCoordCount) << face;
    }
    EXPECT_EQ(d.size(), 1u) << face;
    EXPECT_TRUE(Says(d, "left out")) << face;
  }
  EXPECT_TRUE(Read(v + "f 1/1/1 2/1/1 3/1/-1\n"));
}

TEST(ObjReader, WhatIsNoModelIsRefused) {
  const std::string png = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + "v 1 2 3\n";
  for (const std::string& text : {std::string(), std::string("# only a comment\ng HEAD\n"), png,
                                  std::string("v 1 2 3\n") + std::string(1, '\0') + "v 4 5 6\n"}) {
    ObjDiagnostics d;
    EXPECT_FALSE(ObjModelPtr(glmReadOBJFromMemory("x.obj", text.data(), text.size(), &d))) << text.size();
    EXPECT_TRUE(Says(d, "glmReadOBJ() failed")) << text.size();
  }
}

TEST(ObjReader, QuotedFileTextCannotDriveTheTerminal) {
  ObjDiagnostics d;
  ASSERT_TRUE(Read(std::string(kSquare) + "x\x1b[2J\x07 1\nusemtl \x1b]0;owned\x07\nf 1 2 3\n", nullptr, nullptr, &d));
  ASSERT_FALSE(d.empty());
  for (const std::string& line : d) {
    for (char c : line) {
      EXPECT_GE(static_cast<unsigned char>(c), 0x20u) << line;
    }
  }
}

// Many materials and many library lines cost one lookup and one read each.
TEST(ObjReader, LibrariesAreReadOnceAndTheLastThatOpensHoldsTheMaterials) {
  CObjFiles files;
  files.Write("a.mtl", "newmtl red\nKd 1 0 0\n");
  files.Write("b.mtl", "newmtl blue\nKd 0 0 1\nnewmtl red\nKd 0.5 0 0\n");
  std::string text;
  for (int i = 0; i < 50; ++i) {
    text += "mtllib a.mtl\nmtllib b.mtl\n";
  }
  text += "mtllib missing.mtl\n" + std::string(kSquare) + "usemtl red\nf 1 2 3\n";
  ObjDiagnostics d;
  ObjModelPtr m(glmReadOBJ(files.Write("m.obj", text).c_str(), &d));
  ASSERT_TRUE(m);
  EXPECT_EQ(m->materialLibrary, "missing.mtl");  // named last
  ASSERT_EQ(m->materialCount, 3u);               // but b.mtl is the last that opens
  EXPECT_EQ(m->materials[m->groups[0].material].diffuse[0], 0.5f);
  EXPECT_EQ(d.size(), 1u);  // the missing library, once
}

TEST(ObjReader, FacesWithFewerThanThreeUsableVerticesAddNothing) {
  auto m = Read(std::string(kSquare) + "f 1 2\nf\nf 1 x 3\nf 1 2 3 junk 4\n");
  ASSERT_TRUE(m);
  ASSERT_EQ(m->triangleCount, 1u);  // the last face stops at its junk word
  EXPECT_EQ(Corners(*m, 0), (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST(ObjReader, ManyVerticesInOneFace) {
  std::string text, face = "f";
  for (int i = 0; i < 300; ++i) {
    text += "v ";
    text += std::to_string(std::cos(i * 0.02)) + ' ' + std::to_string(std::sin(i * 0.02)) + " 0\n";
    face += ' ';
    face += std::to_string(i + 1);
  }
  auto m = Read(text + face + "\n");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->triangleCount, 298u);
  EXPECT_EQ(Corners(*m, 297), (std::vector<std::uint32_t>{1, 299, 300}));
}

TEST(ObjReader, MaterialsAndTheShininessRule) {
  const char* mtl =
      "# library\nnewmtl skin\nKd 1 0.5 0.25\nKa 0.1 0.1 0.1\nKs 0.3 0.3 0.3\nNs 500\n"
      "newmtl glass\nNs 500\nNi 1.45\nKe 9 9 9\nmap_Kd x.png\n";
  auto m = Read(std::string("mtllib lib.mtl\n") + kSquare +
                    "g A\nusemtl skin\nf 1 2 3\ng B\nf 1 3 4\nusemtl glass\ng A\nf 2 3 4\nusemtl nothing\n",
                "lib.mtl", mtl);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->materialLibrary, "lib.mtl");
  ASSERT_EQ(m->materialCount, 3u);
  EXPECT_EQ(m->materials[0].name, "default");
  EXPECT_EQ(m->materials[0].shininess, 65.0f);
  EXPECT_EQ(m->materials[0].diffuse[0], 0.8f);
  EXPECT_EQ(m->materials[1].diffuse[1], 0.5f);
  EXPECT_EQ(m->materials[1].ambient[0], 0.1f);
  EXPECT_EQ(m->materials[1].specular[2], 0.3f);
  EXPECT_FLOAT_EQ(m->materials[1].shininess, 64.0f);
  EXPECT_FLOAT_EQ(m->materials[2].shininess, 0.1856f);
  // A group's material: the current one at its last g line or a later usemtl
  // while it is current, whichever is last.
  EXPECT_EQ(FindGroup(*m, " B")->material, 2u);  // the usemtl met while B was current
  EXPECT_EQ(FindGroup(*m, " A")->material, 0u);  // "nothing" is unknown: material 0
}

TEST(ObjReader, MaterialLibraryBesideTheModelWhateverTheSeparator) {
  CObjFiles files;
  files.Write("lib.mtl", "newmtl red\nKd 1 0 0\n");
  const std::string text = std::string("mtllib lib.mtl\n") + kSquare + "usemtl red\nf 1 2 3\n";
  const std::string slash = files.Write("a.obj", text);
  ObjModelPtr a(glmReadOBJ(slash.c_str()));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->materialCount, 2u);
  // A Windows-style path: the directory ends at the last backslash (here a
  // file name holds one, so the library is "sub\lib.mtl" in the folder).
  files.Write("sub\\lib.mtl", "newmtl red\nnewmtl blue\n");
  const std::string windows = files.Dir() + "sub\\a.obj";
  ObjModelPtr b(glmReadOBJFromMemory(windows.c_str(), text.data(), text.size()));
  ASSERT_TRUE(b);
  EXPECT_EQ(b->materialCount, 3u);
  ObjDiagnostics d;
  ObjModelPtr c(glmReadOBJFromMemory("a.obj", text.data(), text.size(), &d));
  EXPECT_TRUE(Says(d, "can't open material file \"lib.mtl\""));
  ASSERT_TRUE(c);
  EXPECT_TRUE(c->materials.empty());
  EXPECT_EQ(c->groups[0].material, 0u);
  // The library's text may come from memory: no file is looked for.
  const std::string_view library = "newmtl red\nKd 1 0 0\nnewmtl blue\n";
  ObjDiagnostics none;
  ObjModelPtr e(glmReadOBJFromMemory("/nowhere/a.obj", text.data(), text.size(), &none, &library));
  ASSERT_TRUE(e);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(e->materialCount, 3u);
  EXPECT_EQ(e->materials[e->groups[0].material].diffuse[1], 0.0f);
}

TEST(ObjReader, LongWordsAreCutAndCrLfReadsLikeLf) {
  const std::string longName(400, 'n');
  auto m = Read(std::string(kSquare) + "g " + longName + "\r\nf 1 2 3\r\nvx" + longName + " 1\r\n");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->groups[0].name.size(), kObjMaxWord);
  auto crlf = Read("v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\ng HEAD\r\nf 1 2 3\r\n");
  ASSERT_TRUE(crlf);
  EXPECT_EQ(crlf->groups[0].name, " HEAD");
  EXPECT_EQ(crlf->vertices[3 * 3 + 1], 1.0f);
}

TEST(ObjReader, TruncatedFilesReadWhatIsComplete) {
  const std::string full = std::string(kSquare) + "f 1 2 3\nusemtl";
  for (std::size_t n = 7; n <= full.size(); ++n) {                 // from the first whole vertex on
    ObjModelPtr m(glmReadOBJFromMemory("t.obj", full.data(), n));  // the buffer ends exactly there
    ASSERT_TRUE(m) << n;
    EXPECT_LE(m->triangleCount, 1u);
  }
  auto m = Read(std::string(kSquare) + "f 1 2 3");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->triangleCount, 1u);
}

// A file is read a piece of kObjChunkBytes at a time: wherever a piece ends
// (in a keyword, in a number, between CR and LF, in a line longer than a
// piece, or in a last line without a break) the model is the one the whole
// text gives.
TEST(ObjReader, APieceOfTheFileMayEndAnywhereInALine) {
  const std::string corners = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n";
  const std::string longBlank(kObjChunkBytes + 100, ' ');
  const struct {
    std::string line;                      // the line a piece ends in
    std::vector<float> vertex5;            // the vertex it adds, if any
    std::vector<std::uint32_t> triangles;  // the corners of all triangles
  } cases[] = {
      {"v 1.25 -2.5 3.125\nf 1 2 5\n", {1.25f, -2.5f, 3.125f}, {1, 2, 5}},
      {"v 0.1 20.000001 -300000.5\r\nf 5 2 3\r\n", {0.1f, 20.000001f, -300000.5f}, {5, 2, 3}},
      {"  vn 0 0 1\nf 3//1 2//1 1//1 4//1\n", {}, {3, 2, 1, 3, 1, 4}},
      {"f 1 2 3", {}, {1, 2, 3}},
      {"v 7" + longBlank + "8 9\nf 5 1 2\n", {7.0f, 8.0f, 9.0f}, {5, 1, 2}},
  };
  CObjFiles files;
  for (const auto& c : cases) {
    std::vector<std::size_t> ends;  // bytes of the line before a piece ends
    for (std::size_t k = 0; k <= c.line.size(); k += c.line.size() > 100 ? c.line.size() / 7 : 1) {
      ends.push_back(k);
    }
    for (std::size_t k : ends) {
      // A comment pads the text so that a piece ends k bytes into the line.
      const std::size_t end = (corners.size() + 2 + k + kObjChunkBytes - 1) / kObjChunkBytes * kObjChunkBytes;
      std::string text = corners + "#" + std::string(end - corners.size() - k - 2, ' ') + "\n" + c.line;
      ASSERT_EQ(text.find(c.line), end - k);
      ObjModelPtr m(glmReadOBJ(files.Write("piece.obj", text).c_str()));
      ASSERT_TRUE(m) << k;
      EXPECT_EQ(m->vertexCount, c.vertex5.empty() ? 4u : 5u) << k;
      if (!c.vertex5.empty()) {
        EXPECT_EQ(std::vector<float>(m->vertices.begin() + 15, m->vertices.end()), c.vertex5) << k;
      }
      std::vector<std::uint32_t> got;
      for (std::size_t t = 0; t < m->triangleCount; ++t) {
        const std::vector<std::uint32_t> tri = Corners(*m, t);
        got.insert(got.end(), tri.begin(), tri.end());
      }
      EXPECT_EQ(got, c.triangles) << k;
    }
  }
}

TEST(ObjNormals, FacetNormalsAndScaling) {
  auto m = Read("v 0 0 0\nv 2 0 0\nv 0 2 0\nv 1 0 0\nv 5 0 0\nv nan 0 0\nf 1 2 3\nf 1 4 5\nf 1 2 6\n");
  ASSERT_TRUE(m);
  EXPECT_FALSE(m->HasNormals());
  glmComputeFacetNormals(m.get());
  ASSERT_EQ(m->facetNormalCount, 3u);
  EXPECT_EQ(m->triangles[0].facetNormalIndex, 1u);
  EXPECT_EQ(m->facetNormals[3 + 2], 1.0f);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(m->facetNormals[6 + i], 0.0f);  // zero area
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(m->facetNormals[9 + i], 0.0f);  // not a number
  }
  glmVertexNormals(m.get(), kCreaseAngle);
  for (float f : m->normals) {
    EXPECT_TRUE(std::isfinite(f));
  }
  glmScaleModel(m.get(), kModelScale);
  EXPECT_FLOAT_EQ(m->vertices[std::size_t{3} * 2], 0.12f);
}

TEST(ObjNormals, FlatGridSharesOneNormalPerVertex) {
  std::string text;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      text += "v " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
    }
  }
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      const int a = y * 4 + x + 1;
      text += "f " + std::to_string(a) + " " + std::to_string(a + 1) + " " + std::to_string(a + 5) + " " +
              std::to_string(a + 4) + "\n";
    }
  }
  auto m = Read(text);
  ASSERT_TRUE(m);
  glmComputeFacetNormals(m.get());
  glmVertexNormals(m.get(), kCreaseAngle);
  EXPECT_EQ(m->normalCount, 16u);
  for (const ObjTriangle& t : m->triangles) {
    for (int c = 0; c < 3; ++c) {
      // Vertex k got the k-th normal, since vertices are handled in order.
      EXPECT_EQ(t.normalIndex[c], t.vertexIndex[c]);
      EXPECT_EQ(m->normals[3 * t.normalIndex[c] + 2], 1.0f);
    }
  }
}

TEST(ObjNormals, CubeCornersKeepTheirFaces) {
  auto m = Read(kCubeCorners + kCubeFaces);
  ASSERT_TRUE(m);
  glmComputeFacetNormals(m.get());
  glmVertexNormals(m.get(), kCreaseAngle);
  // Per vertex: one shared normal for the uses in the reference face, one
  // copy for each use on the two perpendicular faces.
  std::size_t expected = 0;
  for (std::uint32_t v = 1; v <= 8; ++v) {
    std::vector<std::uint32_t> uses;
    for (std::uint32_t i = 0; i < m->triangleCount; ++i) {
      for (const std::uint32_t corner : m->triangles[i].vertexIndex) {
        if (corner == v) {
          uses.push_back(i);
        }
      }
    }
    const std::uint32_t ref = uses.back();
    const float* rn = &m->facetNormals[3 * (std::size_t{ref} + 1)];
    std::size_t perpendicular = 0;
    for (std::uint32_t u : uses) {
      const float* n = &m->facetNormals[3 * (std::size_t{u} + 1)];
      if (n[0] * rn[0] + n[1] * rn[1] + n[2] * rn[2] < 0.5f) {
        ++perpendicular;
      }
    }
    expected += 1 + perpendicular;
  }
  EXPECT_EQ(m->normalCount, expected);
  for (const ObjTriangle& t : m->triangles) {
    for (const std::uint32_t n : t.normalIndex) {
      for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(m->normals[3 * std::size_t{n} + i], m->facetNormals[3 * std::size_t{t.facetNormalIndex} + i]);
      }
    }
  }
}

TEST(ObjNormals, DegenerateTriangleNamingAVertexTwiceGetsEveryCornerSet) {
  auto m =
      Read("vn 0 0 1\nvn 0 0 1\nvn 0 0 1\nvn 0 0 1\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1//4 2//4 1//4\nf 1//1 2//1 3//1\n");
  ASSERT_TRUE(m);
  glmComputeFacetNormals(m.get());
  glmVertexNormals(m.get(), kCreaseAngle);
  for (const ObjTriangle& t : m->triangles) {
    for (const std::uint32_t n : t.normalIndex) {
      EXPECT_GE(n, 1u);
      EXPECT_LE(n, m->normalCount);
    }
  }
}

TEST(ObjReader, DiagnosticsGoToTheCallerNeverToTheStreams) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  ObjDiagnostics d;
  EXPECT_EQ(glmReadOBJ("/nonexistent/x.obj", &d), nullptr);
  auto m = Read(std::string("mtllib none.mtl\n") + kSquare + "vp 1 2 3\nusemtl skin\nf 1 2 3\n", nullptr, nullptr, &d);
  ASSERT_TRUE(m);
  glmComputeFacetNormals(m.get());
  glmVertexNormals(m.get(), kCreaseAngle, &d);  // vertices 4 and 5 are in no triangle
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(Says(d, "can't open data file \"/nonexistent/x.obj\""));
  EXPECT_TRUE(Says(d, "can't open material file"));
  EXPECT_TRUE(Says(d, "Unknown token \"vp\""));
  EXPECT_TRUE(Says(d, "can't find material \"skin\""));
  EXPECT_TRUE(Says(d, "vertex w/o a triangle"));
  EXPECT_EQ(m->vertexCount, 5u);
}

// A model file cut short while it is read (another process rewrote it) says
// so, at every size the reader meets: one thread or two, the first piece or
// a later one; a file that cannot be read at all still says that.
TEST(ObjReader, AFileCutShortWhileReadSaysItChanged) {
  for (std::size_t vertices : {3u, 200000u}) {
    std::string text;
    for (std::size_t i = 0; i < vertices; ++i) {
      text += "v 1.000000 2.000000 3.000000\n";
    }
    text += "f 1 2 3\n";
    std::string path = (std::filesystem::temp_directory_path() / "corvane-shrunk-XXXXXX").string();
    const int fd = ::mkstemp(path.data());
    const char* name = path.c_str();
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    for (std::size_t claimed : {text.size() + 1, text.size() * 2}) {
      ObjDiagnostics d;
      EXPECT_EQ(glmReadOBJFromFile(name, fd, claimed, &d), nullptr) << vertices;
      EXPECT_TRUE(Says(d, std::string(1, '"') + name + "\" changed while it was read.")) << vertices << " " << claimed;
      EXPECT_FALSE(Says(d, "can't open data file")) << vertices;
    }
    const std::unique_ptr<ObjModel, void (*)(ObjModel*)> whole(glmReadOBJFromFile(name, fd, text.size()), glmFreeModel);
    EXPECT_TRUE(whole) << "the file as it stands reads";
    ::close(fd);
    ::unlink(name);
  }
}

TEST(ObjTopology, ClosedOutwardSurfaces) {
  auto m = Read(kCubeCorners + kCubeFaces);
  ASSERT_TRUE(m);
  EXPECT_TRUE(IsClosedOutward(*m));
  // Turned inside out: closed, but its faces look inwards.
  auto inverted = Read(kCubeCorners + "f 2 3 4 1\nf 8 7 6 5\nf 5 6 2 1\nf 6 7 3 2\nf 7 8 4 3\nf 8 5 1 4\n");
  ASSERT_TRUE(inverted);
  EXPECT_FALSE(IsClosedOutward(*inverted));
  // One face missing: open.
  auto open = Read(kCubeCorners + kCubeFaces.substr(0, kCubeFaces.rfind("f ")));
  ASSERT_TRUE(open);
  EXPECT_FALSE(IsClosedOutward(*open));
  // One face turned the wrong way: an edge is used twice in one direction.
  auto flipped = Read(kCubeCorners + "f 1 4 3 2\nf 8 7 6 5\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n");
  ASSERT_TRUE(flipped);
  EXPECT_FALSE(IsClosedOutward(*flipped));
  ObjModel empty;
  EXPECT_FALSE(IsClosedOutward(empty));
}

// Corners that differ in any index stay apart in the drawable arrays, also
// at index sizes where packing the three indices into one word would overlap.
TEST(ObjIndexing, EveryDistinctCornerKeepsItsOwnNormalAndTexCoord) {
  struct Corner {
    std::uint32_t v, n, uv;
  };
  const std::pair<Corner, Corner> cases[] = {
      {{1, 1, 1u << 20}, {1, 2, 1u << 21}},  // normal and texture ranges overlapping
      {{2, 1u << 20, 0}, {1, 1u << 21, 0}},  // normal and vertex ranges overlapping
      {{1, 1, 1}, {1, 1, 2}},
  };
  for (const auto& [a, b] : cases) {
    ObjModel m;
    m.vertexCount = 3;
    m.vertices = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3};
    m.normalCount = std::max({a.n, b.n});
    m.normals.assign(3 * (std::size_t{m.normalCount} + 1), 0.0f);
    m.texCoordCount = std::max({a.uv, b.uv, 1u});
    m.texCoords.assign(2 * (std::size_t{m.texCoordCount} + 1), 0.0f);
    for (const Corner& c : {a, b}) {
      m.normals[3 * std::size_t{c.n}] = static_cast<float>(c.n);
      m.texCoords[2 * std::size_t{c.uv}] = static_cast<float>(c.uv);
    }
    ObjTriangle t;
    const Corner corners[3] = {a, b, a};
    for (int c = 0; c < 3; ++c) {
      t.vertexIndex[c] = corners[c].v;
      t.normalIndex[c] = corners[c].n;
      t.texCoordIndex[c] = corners[c].uv;
    }
    m.triangles = {t};
    m.triangleCount = 1;
    m.groups = {ObjGroup{"g", 1, {0}, 0}};
    const ObjIndexedMesh mesh = glmIndexCorners(m, true);
    ASSERT_EQ(mesh.positions.size(), 6u) << a.n << " " << b.n;
    const std::vector<std::uint32_t>& idx = mesh.groups[0];
    EXPECT_EQ(idx[0], idx[2]);
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(mesh.positions[3 * std::size_t{idx[c]}], static_cast<float>(corners[c].v));
      EXPECT_EQ(mesh.normals[3 * std::size_t{idx[c]}], static_cast<float>(corners[c].n));
      EXPECT_EQ(mesh.texCoords[2 * std::size_t{idx[c]}], static_cast<float>(corners[c].uv));
    }
  }
}

// A big file is read in two halves at once: groups, materials and indices
// that count back are the same as one reader going through it would make.
TEST(ObjReader, HalvesOfABigFileJoinIntoOneModel) {
  std::string text = "mtllib lib.mtl\n";
  const int vertices = 1000;
  for (int i = 0; i < vertices; ++i) {
    text += "v " + std::to_string(i % 97) + " " + std::to_string(i % 89) + " 0.5\n";
  }
  auto faces = [&](int n) {
    for (int i = 0; i < n; ++i) {
      text += "f " + std::to_string(1 + i % 997) + " " + std::to_string(2 + i % 997) + " 3  \n";
    }
  };
  text += "g A\nusemtl red\n";
  faces(150000);
  text += "g B\n";
  faces(100000);  // the halves meet in here
  text += "usemtl blue\n";
  faces(50000);
  text += "g A\nusemtl green\n";
  faces(50000);
  text += "f -3 -2 -1\n";
  ObjDiagnostics d;
  auto m = Read(text, "lib.mtl", "newmtl red\nnewmtl blue\nnewmtl green\n", &d);
  ASSERT_GT(text.size(), std::size_t{4} << 20);
  ASSERT_TRUE(m);
  EXPECT_TRUE(d.empty());
  ASSERT_EQ(m->groupCount, 3u);
  const ObjGroup* a = FindGroup(*m, " A");
  const ObjGroup* b = FindGroup(*m, " B");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(m->groups[0].name, " B");  // newest first
  EXPECT_EQ(a->triangleCount, 200001u);
  EXPECT_EQ(b->triangleCount, 150000u);
  EXPECT_EQ(m->materials[a->material].name, "green");
  EXPECT_EQ(m->materials[b->material].name, "blue");
  EXPECT_EQ(a->triangleIndices.front(), 0u);
  EXPECT_EQ(a->triangleIndices[150000], 300000u);
  EXPECT_EQ(Corners(*m, m->triangleCount - 1),
            (std::vector<std::uint32_t>{vertices - 2, vertices - 1, static_cast<std::uint32_t>(vertices)}));
}

// A material library is read from the model's own folder only: a name that
// climbs out, or an absolute path elsewhere, is not opened, and the model
// loads with its default material.
TEST(ObjReader, MaterialLibrariesOutsideTheModelsFolderAreNotRead) {
  CObjFiles outside, files;
  const std::string secret = outside.Write("secret.mtl", "newmtl stolen\nKd 1 0 0\n");
  files.Write("ok.mtl", "newmtl red\nKd 1 0 0\n");
  const struct {
    std::string name;
    bool read;
  } cases[] = {
      {"../" + secret.substr(secret.rfind('/') + 1), false},
      {"sub/../../secret.mtl", false},
      {secret, false},
      {"ok.mtl", true},
      {files.Dir() + "ok.mtl", true},
  };
  for (const auto& c : cases) {
    ObjDiagnostics d;
    const std::string path = files.Write("m.obj", "mtllib " + c.name + "\n" + kSquare + "f 1 2 3\n");
    ObjModelPtr m(glmReadOBJ(path.c_str(), &d));
    ASSERT_TRUE(m) << c.name;
    EXPECT_EQ(m->materialCount, c.read ? 2u : 0u) << c.name;
    if (!c.read) {
      EXPECT_EQ(d, ObjDiagnostics{"glmReadMTL() failed: the material file \"" + c.name +
                                  "\" is not in the model's folder; it is not read."});
    }
  }
}

// A model no longer wanted stops being read: the flag of the thread that
// asks for it ends the read, also of a file big enough to be read in two.
TEST(ObjReader, ACancelledReadStopsAndSaysSo) {
  std::string big;
  for (int i = 0; i < 200000; ++i) {
    big += "v " + std::to_string(i) + " 0.5 0.25\n";
  }
  big += "f 1 2 3\n";
  CObjFiles files;
  for (const std::string& text : {std::string(kSquare) + "f 1 2 3\n", big}) {
    const std::string path = files.Write("m.obj", text);
    std::atomic<bool> cancel{false};
    const CLoadCancelScope scope(&cancel);
    ObjModelPtr whole(glmReadOBJ(path.c_str()));
    ASSERT_TRUE(whole) << text.size();
    cancel = true;
    ObjDiagnostics d;
    EXPECT_FALSE(ObjModelPtr(glmReadOBJ(path.c_str(), &d))) << text.size();
    EXPECT_EQ(d, ObjDiagnostics{"glmReadOBJ() stopped: the model is no longer wanted."});
  }
}

// A file that another process cuts short and writes again while it is read
// gives a whole model or a read error, never a signal: the reader holds a
// copy of what it read, not a mapping of pages that may go.
TEST(ObjReader, AFileCutShortWhileReadIsAReadErrorNotACrash) {
  std::string text;
  for (int i = 0; i < 60000; ++i) {
    text += "v " + std::to_string(i) + " 1 2\n";
  }
  text += "f 1 2 3\n";
  CObjFiles files;
  const std::string path = files.Write("m.obj", text);
  std::atomic<bool> done{false};
  std::thread cutter([&] {
    while (!done) {
      if (FILE* f = std::fopen(path.c_str(), "wb")) {  // cut to nothing, then written again
        std::fwrite(text.data(), 1, text.size() / 2, f);
        std::fflush(f);
        std::fwrite(text.data() + text.size() / 2, 1, text.size() - text.size() / 2, f);
        std::fclose(f);
      }
    }
  });
  // Each read gives the file as it stood (whole, half, or nothing: an error).
  for (int i = 0; i < 40; ++i) {
    ObjModelPtr m(glmReadOBJ(path.c_str()));
    if (m) {
      EXPECT_LE(m->vertexCount, 60000u);
    }
  }
  done = true;
  cutter.join();
  ObjModelPtr after(glmReadOBJ(path.c_str()));
  ASSERT_TRUE(after);
  EXPECT_EQ(after->vertexCount, 60000u);
}
