#pragma once
// The OBJ/MTL reader and the normal generation: a small module of free
// functions over ObjModel records. No windowing and no GL; safe on any thread.
// Failure is a null result. The reader prints nothing: what it has to say
// about a file (an unknown keyword, a missing material) it appends to the
// caller's diagnostics, when the caller passes a list for them.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ObjModel.h"

// Messages about a file being read, one line each, in the order found.
using ObjDiagnostics = std::vector<std::string>;

// The viewer's conventions for every model it draws: models are authored in
// units of 1/0.06 of the scene's, and edges sharper than this crease angle
// (degrees) keep separate normals on their two sides.
inline constexpr float kModelScale = 0.06f;
inline constexpr float kCreaseAngle = 90.0f;

// Reads an OBJ file and the material library it names. Null when the file
// cannot be opened or refers to vertices, normals or texture coordinates
// that do not exist.
ObjModel* glmReadOBJ(const char* path, ObjDiagnostics* diagnostics = nullptr);
// The same from the first `size` bytes of `fd`, a file opened as `path`. A
// file that turns out shorter (another process cut it meanwhile) is no model,
// and said so.
ObjModel* glmReadOBJFromFile(const char* path, int fd, std::size_t size, ObjDiagnostics* diagnostics = nullptr);
// The same from text in memory; `path` only locates the material library.
// With `libraryText`, that text stands for whatever library the model names
// and no file is read.
ObjModel* glmReadOBJFromMemory(const char* path, const char* text, std::size_t size,
                               ObjDiagnostics* diagnostics = nullptr, const std::string_view* libraryText = nullptr);
// Reads material library `name` (looked up beside model.path) into the model;
// false (and the model unchanged) when it cannot be opened.
bool glmReadMTL(ObjModel* model, const char* name, ObjDiagnostics* diagnostics = nullptr);
// The same from MTL text in memory.
void glmReadMTLFromMemory(ObjModel* model, const char* text, std::size_t size);
std::uint32_t glmFindMaterial(const ObjModel* model, const char* name, ObjDiagnostics* diagnostics = nullptr);
void glmComputeFacetNormals(ObjModel* model);
void glmVertexNormals(ObjModel* model, float angle, ObjDiagnostics* diagnostics = nullptr);
void glmScaleModel(ObjModel* model, float factor);
void glmFreeModel(ObjModel* model);

// An ObjModel that frees itself.
struct ObjModelDeleter {
  void operator()(ObjModel* m) const { glmFreeModel(m); }
};
using ObjModelPtr = std::unique_ptr<ObjModel, ObjModelDeleter>;

// Words and names longer than this are cut to this length.
inline constexpr std::size_t kObjMaxWord = 127;

// A file is read this many bytes at a time, never whole: its text would take
// more memory than the model made of it.
inline constexpr std::size_t kObjChunkBytes = std::size_t{1} << 20;
