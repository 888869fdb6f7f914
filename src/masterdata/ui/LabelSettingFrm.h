#pragma once

#include "masterdata/Captions.h"
#include "shell/ui/ADlgFrm.h"

class QTableWidget;

// "标签自定义": a two-column list "项目" / "名称" of the field captions one label group lets the
// user rename. Descendants fill the rows and store them in SaveLabels.
class TLabelSettingFrm : public TADlgFrm
{
    Q_OBJECT

public:
    explicit TLabelSettingFrm(QWidget* parent = nullptr);

    void SetRows(const QList<RLabelRow>& rows);
    // The rows with the values as edited.
    QList<RLabelRow> Rows() const;
    QTableWidget* Labels() const { return m_table; }

    // Stores the rows' values under their option keys; raises on failure.
    virtual bool SaveLabels() = 0;
    // The loop: show; on OK SaveLabels, "部份更改将在下次启动时生效.", true; an error is shown
    // and the dialog shows again; Cancel stores nothing.
    bool Execute();

private:
    QTableWidget* m_table = nullptr;
    QList<RLabelRow> m_rows;
};

// The "标签" buttons of the material, product and bill-of-materials editors: right 13, then
// the dialog. True when closed with OK.
bool EditMaterialLabels(QWidget* parent = nullptr);
bool EditProductLabels(QWidget* parent = nullptr);
bool EditBomLabels(QWidget* parent = nullptr);
