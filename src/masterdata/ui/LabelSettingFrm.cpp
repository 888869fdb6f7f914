#include "LabelSettingFrm.h"

#include "BomlabelSettingFrm.h"
#include "MatlabelSettingFrm.h"
#include "ProlabelSettingFrm.h"

#include "services/EditLoop.h"
#include "services/Operator.h"
#include "services/Rights.h"

#include "data/qdLib.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

TLabelSettingFrm::TLabelSettingFrm(QWidget* parent) : TADlgFrm(parent)
{
    setObjectName(QStringLiteral("LabelSettingFrm"));
    setWindowTitle(QStringLiteral("标签自定义"));

    auto* layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    m_table = new QTableWidget(0, 2, ClientArea());
    m_table->setObjectName(QStringLiteral("vleLabels"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("项目"), QStringLiteral("名称")});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(0, 110);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_table->setMinimumSize(300, 200);
    layout->addWidget(m_table);
}

void TLabelSettingFrm::SetRows(const QList<RLabelRow>& rows)
{
    m_rows = rows;
    m_table->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        auto* title = new QTableWidgetItem(rows[i].Title);
        title->setFlags(Qt::ItemIsEnabled);
        auto* value = new QTableWidgetItem(rows[i].Value);
        value->setFlags(rows[i].ReadOnly ? Qt::ItemIsEnabled
                                         : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        if (rows[i].ReadOnly)
            value->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
        m_table->setItem(i, 0, title);
        m_table->setItem(i, 1, value);
    }
    // Tall enough for every row of the longest group without scrolling.
    m_table->setMinimumHeight(m_table->horizontalHeader()->height() + m_table->verticalHeader()->length() +
                              4);
    if (!rows.isEmpty())
        m_table->setCurrentCell(0, 1);
}

QList<RLabelRow> TLabelSettingFrm::Rows() const
{
    QList<RLabelRow> rows = m_rows;
    for (int i = 0; i < rows.size(); ++i)
        if (!rows[i].ReadOnly)
            rows[i].Value = m_table->item(i, 1)->text();
    return rows;
}

bool TLabelSettingFrm::Execute()
{
    return RunEditLoop(
        [this] {
            m_table->setFocus();
            return exec() == QDialog::Accepted;
        },
        [this] {
            SaveLabels();
            ShowInfo(QStringLiteral("部份更改将在下次启动时生效."));
        });
}

namespace {

template <class TFrm> bool editLabels(QWidget* parent)
{
    gOperator->RequireRight(rtOptions);
    TFrm dlg(parent);
    return dlg.Execute();
}

} // namespace

bool EditMaterialLabels(QWidget* parent)
{
    return editLabels<TMatlabelSettingFrm>(parent);
}

bool EditProductLabels(QWidget* parent)
{
    return editLabels<TProlabelSettingFrm>(parent);
}

bool EditBomLabels(QWidget* parent)
{
    return editLabels<TBomlabelSettingFrm>(parent);
}
