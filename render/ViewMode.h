#pragma once
// What the OpenGL view shows: the 3D line plot, or one of the three body
// scenes. The numbers are those the command line and the tabs use.

enum class ViewMode : int { Plot = 0, Static = 1, Dynamic = 2, SpaceSuit = 3 };

// Whether `mode` is one of the body scenes.
constexpr bool IsBodyScene(ViewMode mode) { return mode != ViewMode::Plot; }
