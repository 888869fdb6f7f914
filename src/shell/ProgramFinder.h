#pragma once

#include <QString>
#include <QStringList>

// The desktop programs that the tools menu starts, found on PATH.

// The text editors and calculators tried, in this order.
QStringList TextEditorCandidates();
QStringList CalculatorCandidates();
// The full path of the first of the programs that is on PATH, empty when none is.
QString FindFirstProgram(const QStringList& names);
