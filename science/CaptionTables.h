#pragma once
// The names of the quantities that can be charted, per content kind: button
// captions of the property panel and titles of the charts. The text in
// parentheses is the quantity's unit.

#include <QString>

#include "OptionKind.h"

extern const char* const g_strBodyPropertyNames[9];
extern const char* const g_strComfortNames[3];
extern const char* const g_strFabricPropertyNames[6];
extern const char* const g_strFiberPropertyNames[3];

// The number of quantities of a kind (0 for a value that is none of them).
int PropertyCount(OptionKind kind);
// The name of quantity `index` of `kind` as the whole table entry.
QString PropertyName(OptionKind kind, int index);
// The name of a quantity's column in an exported table: its name with its
// unit; the comfort ratings, which have none, with their scale "(0-100)".
QString ColumnName(OptionKind kind, int index);
// The caption of its button: a body property without its unit, the others whole.
QString PropertyCaption(OptionKind kind, int index);
