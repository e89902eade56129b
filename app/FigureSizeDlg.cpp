#include "FigureSizeDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
const char kKey[] = "figureSize";
}  // namespace

std::optional<FigureSize> FigureSizeOf(const FigureSizeChoice& c) {
  if (c.millimetres) {
    return FigureSizeFromMillimetres(c.widthMm, c.dpi);
  }
  if (c.pixels.width() < 16 || c.pixels.height() < 16 || c.pixels.width() > 20000 || c.pixels.height() > 20000) {
    return std::nullopt;
  }
  FigureSize size;
  size.pixels = c.pixels;
  return size;
}

FigureSizeChoice LoadFigureSizeChoice(QSize shown) {
  FigureSizeChoice c;
  c.pixels = shown.isEmpty() ? c.pixels : shown;
  QSettings settings;
  settings.beginGroup(QLatin1String(kKey));
  if (settings.contains(QStringLiteral("millimetres"))) {
    FigureSizeChoice saved;
    saved.millimetres = settings.value(QStringLiteral("millimetres")).toBool();
    saved.pixels = settings.value(QStringLiteral("pixels"), c.pixels).toSize();
    saved.widthMm = settings.value(QStringLiteral("widthMm"), c.widthMm).toDouble();
    saved.dpi = settings.value(QStringLiteral("dpi"), c.dpi).toInt();
    // What the settings hold is taken only when it makes a figure.
    if (FigureSizeOf(saved)) {
      c = saved;
    }
  }
  return c;
}

void SaveFigureSizeChoice(const FigureSizeChoice& c) {
  QSettings settings;
  settings.beginGroup(QLatin1String(kKey));
  settings.setValue(QStringLiteral("millimetres"), c.millimetres);
  settings.setValue(QStringLiteral("pixels"), c.pixels);
  settings.setValue(QStringLiteral("widthMm"), c.widthMm);
  settings.setValue(QStringLiteral("dpi"), c.dpi);
}

CFigureSizeDlg::CFigureSizeDlg(const FigureSizeChoice& initial, QWidget* parent)
    : QDialog(parent),
      m_pPixels(new QRadioButton(QStringLiteral("Pixels at 96 dpi, text at the screen's sizes"), this)),
      m_pMillimetres(new QRadioButton(QStringLiteral("Millimetres at a resolution, text at a journal's sizes"), this)),
      m_pWidth(new QSpinBox(this)),
      m_pHeight(new QSpinBox(this)),
      m_pWidthMm(new QDoubleSpinBox(this)),
      m_pDpi(new QSpinBox(this)) {
  setWindowTitle(QStringLiteral("Figure Size"));
  auto* group = new QButtonGroup(this);
  group->addButton(m_pPixels);
  group->addButton(m_pMillimetres);
  m_pWidth->setRange(16, 20000);
  m_pHeight->setRange(16, 20000);
  m_pWidth->setSuffix(QStringLiteral(" px"));
  m_pHeight->setSuffix(QStringLiteral(" px"));
  m_pWidthMm->setRange(10, 1000);
  m_pWidthMm->setDecimals(1);
  m_pWidthMm->setSuffix(QStringLiteral(" mm"));
  m_pDpi->setRange(50, 2400);
  m_pDpi->setSuffix(QStringLiteral(" dpi"));

  auto* pixels = new QHBoxLayout;
  pixels->addWidget(m_pWidth);
  pixels->addWidget(new QLabel(QStringLiteral("\u00D7"), this));
  pixels->addWidget(m_pHeight);
  auto* presets = new QHBoxLayout;
  presets->addWidget(m_pWidthMm);
  for (const double mm : {85.0, 170.0}) {
    auto* preset =
        new QPushButton(mm < 100 ? QStringLiteral("85 mm (one column)") : QStringLiteral("170 mm (two columns)"), this);
    preset->setAutoDefault(false);
    connect(preset, &QPushButton::clicked, this, [this, mm] { UsePreset(mm); });
    presets->addWidget(preset);
  }
  auto* form = new QFormLayout;
  form->addRow(m_pPixels);
  form->addRow(QStringLiteral("Size:"), pixels);
  form->addRow(m_pMillimetres);
  form->addRow(QStringLiteral("Width:"), presets);
  form->addRow(QStringLiteral("Resolution:"), m_pDpi);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);

  // Each way's boxes answer only while it is chosen.
  auto enable = [this] {
    const bool mm = m_pMillimetres->isChecked();
    m_pWidth->setEnabled(!mm);
    m_pHeight->setEnabled(!mm);
    m_pWidthMm->setEnabled(mm);
    m_pDpi->setEnabled(mm);
  };
  connect(m_pMillimetres, &QRadioButton::toggled, this, enable);
  m_pWidth->setValue(initial.pixels.width());
  m_pHeight->setValue(initial.pixels.height());
  m_pWidthMm->setValue(initial.widthMm);
  m_pDpi->setValue(initial.dpi);
  (initial.millimetres ? m_pMillimetres : m_pPixels)->setChecked(true);
  enable();
}

FigureSizeChoice CFigureSizeDlg::Choice() const {
  FigureSizeChoice c;
  c.millimetres = m_pMillimetres->isChecked();
  c.pixels = QSize(m_pWidth->value(), m_pHeight->value());
  c.widthMm = m_pWidthMm->value();
  c.dpi = m_pDpi->value();
  return c;
}

void CFigureSizeDlg::UsePreset(double widthMm) {
  m_pMillimetres->setChecked(true);
  m_pWidthMm->setValue(widthMm);
}

void CFigureSizeDlg::UsePixels(QSize pixels) {
  m_pPixels->setChecked(true);
  m_pWidth->setValue(pixels.width());
  m_pHeight->setValue(pixels.height());
}
