#include "FrmBackup.h"

#include "DirPickerFrm.h"

#include "data/Exceptions.h"
#include "data/MessageService.h"
#include "data/qdLib.h"
#include "maintenance/Backup.h"
#include "services/EditLoop.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kFilter = QStringLiteral("备份文件(*.bak)|*.bak|所有文件(*.*)|*.*");

void infoBox(const QString& text)
{
    MessageService().Message(text, gMessageCaption, TMessageService::Information, TMessageService::Ok);
}

} // namespace

TFrmBackup::TFrmBackup(QWidget* parent) : TADlgFrm(parent)
{
    setObjectName(QStringLiteral("FrmBackup"));
    setWindowTitle(QStringLiteral("备份设置与恢复"));

    auto* layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);

    auto* planBox = new QGroupBox(QStringLiteral("备份计划"), ClientArea());
    planBox->setObjectName(QStringLiteral("rgPlan"));
    auto* planLayout = new QVBoxLayout(planBox);
    m_plan = new QButtonGroup(this);
    const QStringList plans{QStringLiteral("不备份"), QStringLiteral("每次系统退出时备份"),
                            QStringLiteral("每周星期一备份"), QStringLiteral("每月一号备份")};
    for (int i = 0; i < plans.size(); ++i) {
        auto* rb = new QRadioButton(plans[i], planBox);
        rb->setObjectName(QStringLiteral("rbPlan%1").arg(i));
        m_plan->addButton(rb, i);
        planLayout->addWidget(rb);
    }
    layout->addWidget(planBox);

    auto* dirBox = new QGroupBox(QStringLiteral("备份目录"), ClientArea());
    auto* dirLayout = new QVBoxLayout(dirBox);
    dirLayout->addWidget(new QLabel(QStringLiteral("注意：这里指的是数据库所在机器的目录."), dirBox));
    auto* dirRow = new QHBoxLayout;
    m_dir = new QLineEdit(dirBox);
    m_dir->setObjectName(QStringLiteral("edtDir"));
    m_dir->setMinimumWidth(280);
    auto* pick = new QPushButton(QStringLiteral("..."), dirBox);
    pick->setObjectName(QStringLiteral("btnPickDir"));
    pick->setAutoDefault(false);
    pick->setFixedWidth(pick->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    dirRow->addWidget(m_dir, 1);
    dirRow->addWidget(pick);
    dirLayout->addLayout(dirRow);
    layout->addWidget(dirBox);

    auto* actions = new QHBoxLayout;
    m_backup = new QPushButton(QStringLiteral("备份"), ClientArea());
    m_backup->setObjectName(QStringLiteral("btnBackup"));
    m_restore = new QPushButton(QStringLiteral("恢复"), ClientArea());
    m_restore->setObjectName(QStringLiteral("btnRestore"));
    for (QPushButton* b : {m_backup, m_restore}) {
        b->setAutoDefault(false);
        actions->addWidget(b);
    }
    actions->addStretch(1);
    layout->addLayout(actions);

    connect(pick, &QPushButton::clicked, this, &TFrmBackup::PickDir);
    connect(m_backup, &QPushButton::clicked, this, &TFrmBackup::Backup);
    connect(m_restore, &QPushButton::clicked, this, &TFrmBackup::Restore);
}

int TFrmBackup::PlanIndex() const
{
    return m_plan->checkedId();
}

void TFrmBackup::SetPlanIndex(int typeId)
{
    if (QAbstractButton* b = m_plan->button(typeId))
        b->setChecked(true);
}

QString TFrmBackup::Directory() const
{
    return m_dir->text();
}

void TFrmBackup::SetDirectory(const QString& dir)
{
    m_dir->setText(dir);
}

void TFrmBackup::PickDir()
{
    m_dir->setText(PickDirectory(m_dir->text(), this));
}

void TFrmBackup::Backup()
{
    QString file = MessageService().SaveFileName(QStringLiteral("备份"), kFilter, m_dir->text());
    if (file.isEmpty())
        return;
    // The default extension of the dialog.
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".bak");
    try {
        if (BackupDatabase(file))
            infoBox(QStringLiteral("\r\n备份操作执行成功!"));
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& e) {
        infoBox(QStringLiteral("\r\n") + e.Message());
    }
}

void TFrmBackup::Restore()
{
    const QString file = MessageService().OpenFileName(QStringLiteral("恢复"), kFilter, m_dir->text());
    if (file.isEmpty())
        return;
    if (MessageService().Message(QStringLiteral("\r\n您确定要进行数据恢复操作吗?\t"), gMessageCaption,
                                 TMessageService::Warning,
                                 TMessageService::OkCancel) != TMessageService::AnswerOk)
        return;
    try {
        RestoreDatabase(file);
        infoBox(QStringLiteral("\r\n恢复操作执行成功!"));
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& e) {
        infoBox(QStringLiteral("\r\n") + e.Message());
    }
}

void EditBackupSettings()
{
    TFrmBackup dlg(TaFrm::MainForm());
    const RBackupSettings s = ReadBackupSettings();
    dlg.SetPlanIndex(s.TypeId);
    dlg.SetDirectory(s.BackDir);
    RunEditLoop(
        [&] { return dlg.exec() == QDialog::Accepted; },
        [&] { WriteBackupSettings(dlg.PlanIndex() < 0 ? bpNone : dlg.PlanIndex(), dlg.Directory()); });
}
