#pragma once
// The models Corvane ships, built from the figure and written as OBJ files
// with their material libraries into a folder.

#include <string>

namespace assets {

// File units per metre: after the viewer's scale of 0.06 a figure of 1.75 m
// stands about 2 scene units tall, feet on the floor of the scene's room.
inline constexpr double kUnitsPerMetre = 19.0;

bool WriteBodyModel(const std::string& dir);       // model.obj
bool WriteGarmentModel(const std::string& dir);    // cloth.obj
bool WriteAnimationModel(const std::string& dir);  // op.obj, frames 0 to 12
bool WriteSpaceSuit(const std::string& dir);       // space suit1.obj
bool WriteMoon(const std::string& dir);            // moon.obj
// The model service's catalogue, models/ID.obj: bodies M-1001 (the shipped
// model.obj) and M-1002, garments G-2001 (the shipped cloth.obj), G-2002 and
// G-2003 of other cuts. Needs model.obj and cloth.obj written first.
bool WriteCatalogue(const std::string& dir);

// How a garment is cut.
struct Cut {
  enum Sleeves { ToWrist, ToElbow, None } sleeves = ToWrist;
  enum Legs { ToAnkle, ToKnee } legs = ToAnkle;
};

// Pictures: the moon backdrop "1.bmp", the six body-part pictures and the
// application icon.
bool WriteBackdrop(const std::string& dir);
bool WritePartPictures(const std::string& dir);
bool WriteIcon(const std::string& dir);

}  // namespace assets
