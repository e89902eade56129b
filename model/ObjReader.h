#pragma once
// The OBJ/MTL reader and the normal generation: a small module of free
// functions over ObjModel records. No windowing and no GL; safe on any thread.
// Diagnostics go to the standard streams; failure is a null result.

#include "ObjModel.h"

#include <cstdint>

// Reads an OBJ file and the material library it names. Null when the file
// cannot be opened or refers to vertices, normals or texture coordinates
// that do not exist.
ObjModel* glmReadOBJ(const char* path);
// The same from text in memory; `path` only locates the material library.
ObjModel* glmReadOBJFromMemory(const char* path, const char* text, std::size_t size);
// Reads material library `name` (looked up beside model.path) into the model.
void glmReadMTL(ObjModel* model, const char* name);
std::uint32_t glmFindMaterial(const ObjModel* model, const char* name);
void glmComputeFacetNormals(ObjModel* model);
void glmVertexNormals(ObjModel* model, float angle);
void glmScaleModel(ObjModel* model, float factor);
void glmFreeModel(ObjModel* model);

// Words and names longer than this are cut to this length.
inline constexpr std::size_t kObjMaxWord = 127;
