// make_assets OUT_DIR: writes every model and picture Corvane ships.

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>

#include "Scenes.h"

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: make_assets OUT_DIR\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::string dir = argv[1];
  if (dir.back() != '/') {
    dir += '/';
  }
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  bool ok = true;
  ok = assets::WriteBodyModel(dir) && ok;
  ok = assets::WriteGarmentModel(dir) && ok;
  ok = assets::WriteCatalogue(dir) && ok;
  ok = assets::WriteSpaceSuit(dir) && ok;
  ok = assets::WriteMoon(dir) && ok;
  ok = assets::WriteAnimationModel(dir) && ok;
  ok = assets::WriteBackdrop(dir) && ok;
  ok = assets::WritePartPictures(dir) && ok;
  ok = assets::WriteIcon(dir) && ok;
  return ok ? 0 : 1;
}
