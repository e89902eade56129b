#pragma once
// The "id.dat" reader: blocks of "model id:<id>", "the garment list:<n>" and n
// lines "garment id:<id>", read until the end or the first item that does not
// match; what was read until then is kept.

#include <QString>
#include <QStringList>
#include <string_view>

struct IdFileContent {
  bool hasModelId = false;
  QString modelId;
  QStringList garmentIds;
};

IdFileContent ParseIdFile(std::string_view text);
