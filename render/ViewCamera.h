#pragma once
// Where the 3D views' camera stands: the scene moved along and turned about
// the three axes (degrees), and the zoom. A plain record: the view keeps
// one, a figure copies it, the mouse and ResetCamera change it.

struct ViewCamera {
  double m_dTransX = 0, m_dTransY = 0, m_dTransZ = 0;
  double m_dRotX = 0, m_dRotY = 0, m_dRotZ = 0;
  float m_fZoom = 1.0f;
};
