#include "RepPrint.h"

#include "ProjRep.h"
#include "ReporterFrm.h"

#include "reports/DefaultReports.h"
#include "services/Operator.h"
#include "services/RepCatalog.h"

bool EnsureDefaultReports(int groupId)
{
    for (const TDefaultReports::RDefaultReport& report : TDefaultReports::all()) {
        if (report.groupId == groupId)
            return TRepCatalog::EnsureDefaultReport(groupId, report.title, report.xml);
    }
    return false;
}

void PrintReports(const QList<TDataSet*>& sets, int groupId, QWidget* parent)
{
    gOperator->RequireRight(10002, true);
    EnsureDefaultReports(groupId);
    TProjRep rep;
    rep.SetParentWidget(parent);
    TReporterFrm frm(parent);
    frm.SetCanDesign(gOperator->HasRight(10003));
    rep.AddDataSets(sets);
    frm.SetGroupId(groupId);
    frm.SetReper(&rep);
    frm.Execute();
}
