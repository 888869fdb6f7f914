#pragma once

#include <QList>

class QWidget;
class TDataSet;

// The entry point of every print button: right 10002, then the template chooser of the group
// with the data sets handed over as d0, d1, …; the design tools need right 10003. A group that
// has no template yet first gets the program's shipped template of that group.
void PrintReports(const QList<TDataSet*>& sets, int groupId, QWidget* parent = nullptr);

// Inserts the shipped template of the group when the catalogue holds none for it; true when
// one was inserted.
bool EnsureDefaultReports(int groupId);
