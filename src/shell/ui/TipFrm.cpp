#include "TipFrm.h"

#include "services/KeyValue2.h"
#include "shell/ui/Application.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace {
constexpr int kShowTipsKey = 1;
}

QStringList TTipFrm::Tips()
{
    return {QStringLiteral("在所有录入和编辑界面中,敲回车可将焦点移到下一个框内"),
            QStringLiteral("在所有录入和编辑界面中,“Ctrl+回车”相当于按“确定”按纽"),
            QStringLiteral("在所有模式窗体中,按ESC键相当于按“取消”按纽退出该窗体"),
            QStringLiteral("双击列表中的某记录可自动弹出相应的编辑界面或其详情界面"),
            QStringLiteral("所有打印都是可以自定义的，请点开“打印设计”来操作"),
            QStringLiteral("数据都可以选择特定列来导出到文本文件、Excel、网页和CSV文件格式"),
            QStringLiteral("在所有窗体上按F1键可打开相应的帮助")};
}

TTipFrm::TTipFrm(QWidget* parent) : TAInfoDlgFrm(parent), m_tips(Tips())
{
    setObjectName(QStringLiteral("TipFrm"));
    setWindowTitle(QStringLiteral("每日一贴"));

    auto* layout = new QVBoxLayout(ClientArea());
    auto* header = new QLabel(QStringLiteral("您知道吗？"), ClientArea());
    QFont big = header->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    header->setFont(big);
    layout->addWidget(header);
    m_tip = new QLabel(ClientArea());
    m_tip->setObjectName(QStringLiteral("lblTip"));
    m_tip->setWordWrap(true);
    m_tip->setMinimumSize(360, 90);
    m_tip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_tip->setFrameShape(QFrame::StyledPanel);
    m_tip->setMargin(10);
    m_tip->setAutoFillBackground(true);
    QPalette pal = m_tip->palette();
    pal.setColor(QPalette::Window, QColor(0xff, 0xfb, 0xe6));
    m_tip->setPalette(pal);
    layout->addWidget(m_tip, 1);

    m_showAtStart = new QCheckBox(QStringLiteral("启动时显示每日一贴"), ClientArea());
    m_showAtStart->setObjectName(QStringLiteral("chkShowAtStart"));
    m_showAtStart->setChecked(gKeyValues->GetBool(kShowTipsKey));
    connect(m_showAtStart, &QCheckBox::toggled, this,
            [this](bool on) { RunGuarded(this, [on] { gKeyValues->SetBool(kShowTipsKey, on); }); });
    layout->addWidget(m_showAtStart);

    auto* previous = new QPushButton(QStringLiteral("前一贴"), this);
    previous->setObjectName(QStringLiteral("btnPrevious"));
    auto* next = new QPushButton(QStringLiteral("后一贴"), this);
    next->setObjectName(QStringLiteral("btnNext"));
    for (QPushButton* b : {next, previous}) {
        b->setAutoDefault(false);
        ButtonRow()->insertWidget(1, b);
        connect(b, &QPushButton::clicked, this, [this] { showRandomTip(); });
    }
    showRandomTip();
}

QString TTipFrm::CurrentTip() const
{
    return m_tip->text();
}

void TTipFrm::showRandomTip()
{
    // A press always shows another tip than the one on screen.
    int next = int(QRandomGenerator::global()->bounded(qsizetype(m_tips.size())));
    if (m_tips.size() > 1 && next == m_current)
        next = (next + 1 + int(QRandomGenerator::global()->bounded(qsizetype(m_tips.size() - 1)))) %
               int(m_tips.size());
    m_current = next;
    m_tip->setText(m_tips[m_current]);
}
