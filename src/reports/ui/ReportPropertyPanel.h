#pragma once

#include "ReportDesignView.h"

#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <functional>

class QFormLayout;
class QLabel;

// The designer's property editor for the selected object, band or (with nothing selected) page.
class TReportPropertyPanel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TReportPropertyPanel)

public:
    explicit TReportPropertyPanel(TReportDesignView* view, QWidget* parent = nullptr);
    // Names offered for a band's data set (the handed-over data sources).
    void setDataSetNames(const QStringList& names) { m_dataSets = names; }
    // Asks for an image file for image objects; returns the file's bytes or nothing.
    void setImagePicker(const std::function<QByteArray()>& picker) { m_pickImage = picker; }
    // Rebuilds the editors for the current selection (deferred, so an editor never deletes itself).
    void refresh();

private:
    struct RProp
    {
        enum TKind { Double, Text, Bool, Choice, EditableChoice, Color, Button };
        QString label;
        TKind kind = Text;
        std::function<QVariant()> get;
        std::function<void(const QVariant&)> set;
        QStringList choices;
        double min = -10000;
        double max = 10000;
        QString name;
    };
    void rebuild();
    void addEditor(const RProp& prop);
    void apply(const RProp& prop, const QVariant& value);
    QList<RProp> objectProps(const RDesignRef& ref);
    QList<RProp> bandProps(int band);
    QList<RProp> pageProps();

    TReportDesignView* m_view;
    QFormLayout* m_form = nullptr;
    QLabel* m_title = nullptr;
    QWidget* m_body = nullptr;
    QStringList m_dataSets;
    std::function<QByteArray()> m_pickImage;
    bool m_pending = false;
    bool m_applying = false;
};
