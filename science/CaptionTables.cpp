#include "CaptionTables.h"

const char* const g_strBodyPropertyNames[9] = {"Temperature of Skin(Degree)",
                                               "Temperature of Core(Degree)",
                                               "Metabolism Rate of Human Body(W*m^2)",
                                               "Relative Humidity of Skin(%)",
                                               "Blood Flow Volume of Skin(l*hr^1*m^2)",
                                               "Sweating Rate(SWR)",
                                               "Sweat Volume Accumulated on Skin Surface(Esk:W*m^2)",
                                               "Evaporative Heat(W*m^2)",
                                               "Pressure of the Skin(Pa)"};
const char* const g_strComfortNames[3] = {"Thermal Sensation", "Dampness Sensation", "Comfort"};
const char* const g_strFabricPropertyNames[6] = {"Water Vapor Concentration(kg*m^3)",
                                                 "Mean Water Vapor Concentration(kg*m^3)",
                                                 "Evaporation/Condensation Rate(kg*m^3*s^1)",
                                                 "Relative Humidity(%)",
                                                 "Temperature(Degree)",
                                                 "Liquid Volume Fraction(%)"};
const char* const g_strFiberPropertyNames[3] = {"Mean Moisture Concentration(kg*m^3)",
                                                "Moisture Sorption Rate(kg*m^3*s^1)", "Moisture Content(kg*m^2)"};

namespace {
struct Table {
  const char* const* names;
  int count;
};
Table TableOf(OptionKind kind) {
  switch (kind) {
    case OptionKind::Body:
      return {g_strBodyPropertyNames, 9};
    case OptionKind::Comfort:
      return {g_strComfortNames, 3};
    case OptionKind::Fabric:
      return {g_strFabricPropertyNames, 6};
    case OptionKind::Fiber:
      return {g_strFiberPropertyNames, 3};
    default:
      return {nullptr, 0};
  }
}
}  // namespace

int PropertyCount(OptionKind kind) { return TableOf(kind).count; }

QString PropertyName(OptionKind kind, int index) {
  const Table t = TableOf(kind);
  return index >= 0 && index < t.count ? QString::fromLatin1(t.names[index]) : QString();
}

QString ColumnName(OptionKind kind, int index) {
  const QString name = PropertyName(kind, index);
  return kind == OptionKind::Comfort && !name.isEmpty() ? name + QStringLiteral("(0-100)") : name;
}

QString PropertyCaption(OptionKind kind, int index) {
  const QString name = PropertyName(kind, index);
  return kind == OptionKind::Body ? name.section(QLatin1Char('('), 0, 0) : name;
}
