#include "Rep.h"

#include "data/Exceptions.h"
#include "data/qdLib.h"
#include "reports/ReportDocument.h"
#include "reports/ui/ReportDesigner.h"
#include "reports/ui/ReportPreviewFrm.h"
#include "services/RepCatalog.h"

#include <QBuffer>

TRep::TRep() = default;

TRep::~TRep()
{
    ClearDataSets();
}

void TRep::SetVariable(const QString& name, const QString& value)
{
    if (name.isEmpty())
        return;
    m_engine.setVariable(name, value.isEmpty() ? QStringLiteral(" ") : value);
}

void TRep::AddDataSet(const QString& name, TDataSet* ds)
{
    auto source = std::make_unique<TDataSetReportSource>(name, ds);
    m_engine.addDataSource(source.get());
    m_sources.push_back(std::move(source));
}

void TRep::AddDataSets(const QList<TDataSet*>& sets)
{
    for (int i = 0; i < sets.size(); ++i)
        AddDataSet(QStringLiteral("d%1").arg(i), sets[i]);
}

void TRep::ClearDataSets()
{
    m_engine.clearDataSources();
    m_sources.clear();
}

void TRep::LoadTemplate(int id)
{
    TReportTemplate report = TReportTemplate::emptyReport();
    report.id = id;
    m_engine.setTemplate(report);
    const QByteArray blob = TRepCatalog::LoadTemplate(id);
    QString error;
    TReportTemplate& current = m_engine.reportTemplate();
    if (!current.load(blob, &error))
        ShowInfo(error);
    current.id = id;
}

void TRep::Preview(int id)
{
    LoadTemplate(id);
    ShowPreview(m_engine.prepare());
}

void TRep::Design(int id)
{
    LoadTemplate(id);
    TReportDesigner designer(m_parent);
    designer.setTemplate(m_engine.reportTemplate());
    designer.setDataSources(m_engine.dataSources());
    QStringList values;
    for (const QString& name : m_engine.variableNames())
        values << m_engine.variable(name);
    designer.setVariables(m_engine.variableNames(), values);
    designer.setSaveCallback([this](const TReportTemplate& report, QString* error) {
        const int keepId = m_engine.reportTemplate().id;
        m_engine.setTemplate(report);
        m_engine.reportTemplate().id = keepId;
        try {
            SaveTemplate();
        } catch (const Exception& e) {
            if (error)
                *error = e.Message();
            return false;
        }
        return true;
    });
    RunDesigner(designer);
}

void TRep::SaveTemplate()
{
    QBuffer stream;
    stream.open(QIODevice::WriteOnly);
    QString error;
    if (!m_engine.reportTemplate().save(&stream, &error))
        throw Exception(error);
    TRepCatalog::SaveTemplate(m_engine.reportTemplate().id, stream.data());
}

int TRep::AddReport(const QString& title, int groupId)
{
    return TRepCatalog::AddReport(title, groupId);
}

void TRep::DeleteReport(int id)
{
    TRepCatalog::DeleteReport(id);
}

void TRep::RenameReport(int id, const QString& title)
{
    TRepCatalog::RenameReport(id, title);
}

void TRep::ShowPreview(const TReportDocument& doc)
{
    TReportPreviewFrm frm(doc, m_parent);
    frm.exec();
}

void TRep::RunDesigner(TReportDesigner& designer)
{
    designer.exec();
}
