#pragma once

#include "shell/ui/aFrm.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QAction;
class QListWidget;
class QPushButton;
class TRep;

// The print chooser (caption "打印"): the templates of one report group, previewed with "预览"
// or a double click; with the design right they are created, deleted, renamed and designed.
class TReporterFrm : public TaFrm
{
    Q_OBJECT

public:
    explicit TReporterFrm(QWidget* parent = nullptr);

    int GroupId() const { return m_groupId; }
    // Sets the group and fills the list with its templates (the first is selected).
    void SetGroupId(int groupId);
    TRep* Reper() const { return m_reper; }
    void SetReper(TRep* rep) { m_reper = rep; }
    bool CanDesign() const { return m_canDesign; }
    void SetCanDesign(bool canDesign);

    void ReloadList();
    // Id of the selected template, 0 with none selected.
    int SelectedId() const;
    QString SelectedTitle() const;
    void SelectRow(int row);
    QListWidget* List() const { return m_list; }
    QAction* NewAction() const { return m_new; }
    QAction* DeleteAction() const { return m_delete; }
    QAction* RenameAction() const { return m_rename; }
    QAction* DesignAction() const { return m_design; }

    void PreviewSelected();
    void NewReport();
    void DeleteSelected();
    void RenameSelected();
    void DesignSelected();

    // Shows the chooser modally (or runs the test hook instead).
    void Execute();
    using TExecHook = std::function<void(TReporterFrm&)>;
    static void SetExecHook(TExecHook hook);

    // Top-left corner of a window of that size: centred horizontally on the pointer and a quarter
    // of its height above it; centred on the screen when it would pass the right or bottom edge;
    // a negative left or top becomes 10.
    static QPoint Placement(const QSize& size, const QPoint& cursor, const QRect& screen);

    void setVisible(bool visible) override;

private:
    bool RequireSelection();
    void UpdateActions();

    QListWidget* m_list = nullptr;
    QPushButton* m_previewButton = nullptr;
    QAction* m_new = nullptr;
    QAction* m_delete = nullptr;
    QAction* m_rename = nullptr;
    QAction* m_design = nullptr;
    int m_groupId = 0;
    TRep* m_reper = nullptr;
    bool m_canDesign = false;
};
