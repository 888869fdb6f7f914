#pragma once

#include "ReportDocument.h"
#include "ReportTemplate.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class TReportDataSource;

// Runs a template over data sources and variables and lays it out into pages.
//
// Names in expressions: "d0.Code" is field Code of data source d0 (field names regardless of
// case); "u_Company" or "u.u_Company" a variable (an unknown variable yields its name, an
// unknown bare name too); Page, TotalPages, Date, Time, Now and Line are built in. Aggregates
// Sum, Count, Avg, Min and Max run over the rows of the band they are printed in: the group in
// a group header or footer, the data band's rows in its header and footer, a master row's
// details in the master band, the page's rows in the page footer, all rows elsewhere.
class TReportEngine
{
public:
    TReportEngine();
    ~TReportEngine();
    TReportEngine(const TReportEngine&) = delete;
    TReportEngine& operator=(const TReportEngine&) = delete;

    void setTemplate(const TReportTemplate& report) { m_template = report; }
    const TReportTemplate& reportTemplate() const { return m_template; }
    TReportTemplate& reportTemplate() { return m_template; }

    // Registers a data source under its name (a source of the same name is replaced). The
    // engine does not own it; it must live until the engine is done with it.
    void addDataSource(const TReportDataSource* source);
    void clearDataSources() { m_sources.clear(); }
    const QList<const TReportDataSource*>& dataSources() const { return m_sources; }
    const TReportDataSource* dataSource(const QString& name) const;

    // An empty name is ignored; an empty value is kept as one space; setting a name again
    // replaces its value.
    void setVariable(const QString& name, const QString& value);
    void clearVariables();
    QStringList variableNames() const { return m_variableNames; }
    // A known variable's value, otherwise the name itself.
    QString variable(const QString& name) const;

    // The clock for Date, Time and Now; an invalid value means the system clock.
    void setNow(const QDateTime& now) { m_now = now; }

    // Lays the report out. Problems that do not stop it (unknown names, missing data sets,
    // expressions that do not parse) are listed in warnings().
    TReportDocument prepare();
    QStringList warnings() const { return m_warnings; }

private:
    friend class TReportRun;
    TReportTemplate m_template;
    QList<const TReportDataSource*> m_sources;
    QStringList m_variableNames;
    QStringList m_variableValues;
    QDateTime m_now;
    QStringList m_warnings;
};
