#pragma once
// The names of the quantities that can be charted, per content kind: button
// captions of the property panel and titles of the charts. The text in
// parentheses is the quantity's unit.

#include <QString>

extern const char* const g_strBodyPropertyNames[9];
extern const char* const g_strComfortNames[3];
extern const char* const g_strFabricPropertyNames[6];
extern const char* const g_strFiberPropertyNames[3];

// Content kinds of the property panel: 0 body properties, 1 comfort ratings,
// 2 fabric-layer properties, 3 fibre properties. The number of quantities
// of a kind (0 for another value).
int PropertyCount(int kind);
// The name of quantity `index` of `kind` as the whole table entry.
QString PropertyName(int kind, int index);
// The name of a quantity's column in an exported table: its name with its
// unit; the comfort ratings, which have none, with their scale "(0-100)".
QString ColumnName(int kind, int index);
// The caption of its button: a body property without its unit, the others whole.
QString PropertyCaption(int kind, int index);
