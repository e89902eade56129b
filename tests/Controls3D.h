#pragma once
// The 3D dialog's controls as a user meets them, found by their object
// names: tests click, type and read them as the user would.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <array>

template <class T>
T* NamedChild(const QWidget& parent, const QString& name) {
  T* child = parent.findChild<T*>(name);
  if (!child) {
    ADD_FAILURE() << "no control named " << name.toStdString();
  }
  return child;
}

struct Controls3D {
  explicit Controls3D(const QWidget& dlg)
      : time(NamedChild<QSlider>(dlg, QStringLiteral("time"))),
        timeLabel(NamedChild<QLabel>(dlg, QStringLiteral("timeLabel"))),
        status(NamedChild<QLabel>(dlg, QStringLiteral("status"))),
        progress(NamedChild<QProgressBar>(dlg, QStringLiteral("progress"))),
        startStop(NamedChild<QPushButton>(dlg, QStringLiteral("startStop"))),
        speed(NamedChild<QComboBox>(dlg, QStringLiteral("speed"))),
        layers(NamedChild<QListWidget>(dlg, QStringLiteral("layers"))),
        outlinedLabels(NamedChild<QCheckBox>(dlg, QStringLiteral("outlinedLabels"))),
        crossSection(NamedChild<QCheckBox>(dlg, QStringLiteral("crossSection"))),
        displayMode{NamedChild<QRadioButton>(dlg, QStringLiteral("solid")),
                    NamedChild<QRadioButton>(dlg, QStringLiteral("wire"))},
        probePanel(NamedChild<QFrame>(dlg, QStringLiteral("probe"))),
        probeTitle(NamedChild<QLabel>(dlg, QStringLiteral("probeTitle"))),
        probe(NamedChild<QTableWidget>(dlg, QStringLiteral("probeTable"))),
        probeCopy(NamedChild<QPushButton>(dlg, QStringLiteral("probeCopy"))) {
    for (std::size_t i = 0; i < content.size(); ++i) {
      content[i] = NamedChild<QRadioButton>(dlg, QStringLiteral("content%1").arg(i));
    }
    for (std::size_t i = 0; i < sectionParts.size(); ++i) {
      sectionParts[i] = NamedChild<QRadioButton>(dlg, QStringLiteral("section%1").arg(i));
    }
  }

  QSlider* time;
  QLabel* timeLabel;
  QLabel* status;
  QProgressBar* progress;
  QPushButton* startStop;
  QComboBox* speed;
  QListWidget* layers;
  QCheckBox* outlinedLabels;
  QCheckBox* crossSection;
  std::array<QRadioButton*, 2> displayMode;
  QFrame* probePanel;
  QLabel* probeTitle;
  QTableWidget* probe;
  QPushButton* probeCopy;
  std::array<QRadioButton*, 3> content{};       // Temperature, Humidity, Sweating Rate
  std::array<QRadioButton*, 6> sectionParts{};  // HEAD ... FOOT
};
