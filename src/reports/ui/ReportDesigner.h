#pragma once

#include "reports/ReportDocument.h"
#include "reports/ReportTemplate.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>

class QComboBox;
class QLabel;
class TReportDataSource;
class TReportDesignView;
class TReportFieldList;
class TReportPropertyPanel;

// The visual report designer (caption "报表设计"): a WYSIWYG page with bands, the field list of
// the handed-over data sets and variables, a property panel, undo and redo. It cannot create a
// new report: it edits the template it was given, opens a file into it, saves through the
// caller's callback and saves a copy to a file.
class TReportDesigner final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TReportDesigner)

public:
    // Stores the template (for the catalogue: into the report table); false with a message.
    using TSaveCallback = std::function<bool(const TReportTemplate& report, QString* error)>;
    using TPreviewHandler = std::function<void(const TReportDocument& doc)>;

    explicit TReportDesigner(QWidget* parent = nullptr);
    ~TReportDesigner() override;

    void setTemplate(const TReportTemplate& report);
    const TReportTemplate& reportTemplate() const { return m_template; }
    // The data sources shown in the field list and used by the preview (not owned).
    void setDataSources(const QList<const TReportDataSource*>& sources);
    void setVariables(const QStringList& names, const QStringList& values);
    void setSaveCallback(const TSaveCallback& callback) { m_save = callback; }
    // Replaces the preview window (tests look at the document instead).
    void setPreviewHandler(const TPreviewHandler& handler) { m_preview = handler; }

    bool isModified() const { return m_modified; }
    bool canUndo() const { return !m_undo.isEmpty(); }
    bool canRedo() const { return !m_redo.isEmpty(); }
    TReportDesignView* view() const { return m_view; }
    TReportFieldList* fieldList() const { return m_fields; }
    TReportPropertyPanel* propertyPanel() const { return m_properties; }

    void undo();
    void redo();
    // Asks for a file through the message service; the template keeps its catalogue number.
    bool openFile();
    bool openFile(const QString& path);
    bool save();
    bool saveAs();
    bool saveAs(const QString& path);
    void preview();
    void setCurrentPage(int page);
    void addPage();
    void removePage();

    static QString fileFilter() { return QStringLiteral("Fr3文件|*.Fr3|所有文件|*.*"); }

    // Closing asks to save a modified template first (Esc, the close button).
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void remember();
    void templateReplaced();
    void updateActions();
    bool confirmClose();
    void editText(int band, int object);
    QByteArray pickImage();
    void warn(const QString& text);

    TReportTemplate m_template;
    QList<TReportTemplate> m_undo;
    QList<TReportTemplate> m_redo;
    bool m_modified = false;
    bool m_closing = false;
    QList<const TReportDataSource*> m_sources;
    QStringList m_variableNames;
    QStringList m_variableValues;
    TSaveCallback m_save;
    TPreviewHandler m_preview;

    TReportDesignView* m_view = nullptr;
    TReportFieldList* m_fields = nullptr;
    TReportPropertyPanel* m_properties = nullptr;
    QComboBox* m_pageBox = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QLabel* m_status = nullptr;
};
