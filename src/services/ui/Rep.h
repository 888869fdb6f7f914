#pragma once

#include "reports/DataSetReportSource.h"
#include "reports/ReportEngine.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QWidget;
class TDataSet;
class TReportDesigner;
class TReportDocument;

// A report engine with the handed-over data sets ("d0", "d1", …) and the user variables, bound
// to the template catalogue: loads a template by Id, previews it, designs it and saves it back.
class TRep
{
public:
    TRep();
    virtual ~TRep();
    TRep(const TRep&) = delete;
    TRep& operator=(const TRep&) = delete;

    // Ignored for an empty name; an empty value is stored as one space.
    void SetVariable(const QString& name, const QString& value);
    QStringList VariableNames() const { return m_engine.variableNames(); }
    QString Variable(const QString& name) const { return m_engine.variable(name); }

    void AddDataSet(const QString& name, TDataSet* ds);
    // AddDataSet with "d0", "d1", … in list order.
    void AddDataSets(const QList<TDataSet*>& sets);
    void ClearDataSets();
    QList<const TReportDataSource*> DataSources() const { return m_engine.dataSources(); }

    // Clears the report, reads the template of Id from the catalogue and remembers the Id. A blob
    // that is not a template of this engine opens as an empty report after an information box.
    void LoadTemplate(int id);
    virtual void Preview(int id);
    virtual void Design(int id);
    // Stores the current report into the catalogue under the remembered Id.
    void SaveTemplate();

    static int AddReport(const QString& title, int groupId);
    static void DeleteReport(int id);
    static void RenameReport(int id, const QString& title);

    TReportEngine& Engine() { return m_engine; }
    int TemplateId() const { return m_engine.reportTemplate().id; }

    // The parent of the preview and designer windows.
    void SetParentWidget(QWidget* parent) { m_parent = parent; }

protected:
    // Shows the prepared report (the preview window); tests replace it.
    virtual void ShowPreview(const TReportDocument& doc);
    // Runs the prepared designer modally; tests replace it.
    virtual void RunDesigner(TReportDesigner& designer);

private:
    TReportEngine m_engine;
    std::vector<std::unique_ptr<TDataSetReportSource>> m_sources;
    QWidget* m_parent = nullptr;
};
