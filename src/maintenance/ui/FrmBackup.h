#pragma once

#include "shell/ui/ADlgFrm.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;

// The backup dialog "备份设置与恢复": the backup plan, the directory of the automatic backups,
// and the buttons that back up and restore at once (independent of OK).
class TFrmBackup : public TADlgFrm
{
    Q_OBJECT

public:
    explicit TFrmBackup(QWidget* parent = nullptr);

    // The checked plan (TBackupPlan), -1 when none.
    int PlanIndex() const;
    void SetPlanIndex(int typeId);
    QString Directory() const;
    void SetDirectory(const QString& dir);

    // "备份": a file to save, BackupDatabase, the result.
    void Backup();
    // "恢复": a file to open, the warning, RestoreDatabase, the result.
    void Restore();
    // "...": PickDirectory with the field's text.
    void PickDir();

private:
    QButtonGroup* m_plan;
    QLineEdit* m_dir;
    QPushButton* m_backup;
    QPushButton* m_restore;
};

// The settings flow of the menu item "备份设置与恢复": the stored plan and directory in the
// dialog; on OK they are saved (an error is shown and the dialog shows again).
void EditBackupSettings();
