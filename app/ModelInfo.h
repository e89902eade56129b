#pragma once
// What `corvane --model-info` reports of one OBJ file.

#include <QJsonObject>

struct ObjModel;

// The summary of a model read and given its normals (before scaling); the
// bounds are those after the viewer's scale (kModelScale).
QJsonObject BuildModelInfo(const ObjModel& model);
QString FormatModelInfo(const QJsonObject& info);
