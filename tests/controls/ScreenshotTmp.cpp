#include "ControlsFixture.h"

#include "inventory/ui/ComboBox.h"
#include "inventory/ui/Edit.h"
#include "inventory/ui/qdComboBox.h"
#include "inventory/ui/qdDateTimePicker.h"
#include "inventory/ui/qdEdit.h"
#include "inventory/ui/qdPopupMenu.h"

#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QMenu>
#include <QContextMenuEvent>
#include <QTimer>

TEST(ScreenshotTmp, Grab)
{
    QWidget form;
    auto* fl = new QFormLayout(&form);
    auto* e1 = new TqdEdit; e1->setText(u"备注：钢材 规格 型号"_s);
    auto* e2 = new TqdEdit; e2->SetEditType(etNumber); e2->SetAsDouble(12.5); e2->SetAlignment(Qt::AlignRight);
    auto* e3 = new TqdEdit; e3->setText(u"只读"_s); e3->setReadOnly(true);
    auto* c1 = new TqdComboBox; c1->addItems({u"采购入库"_s, u"退料入库"_s});
    auto* c2 = new TComboBox; c2->LoadSigns(); c2->SetSign(1);
    auto* c3 = new TqdComboBox; c3->setEditable(true); c3->addItem(u"可编辑"_s);
    auto* p1 = new TqdDateTimePicker;
    auto* p2 = new TqdDateTimePicker; p2->SetShowCheckbox(true);
    auto* p3 = new TqdDateTimePicker; p3->SetShowCheckbox(true); p3->SetAsDate(QDate(2024, 3, 5));
    auto* l1 = new TEdit; struct R { int Id; QString Name; }; l1->HoldRecord(R{12, u"钢材"_s}, u"钢材"_s);
    auto* cream = new TqdEdit; cream->SetColor(QColor(0xFF, 0xFB, 0xF0)); cream->setText(u"奶油色"_s);
    fl->addRow(u"文本(聚焦)"_s, e1);
    fl->addRow(u"数量"_s, e2);
    fl->addRow(u"只读"_s, e3);
    fl->addRow(u"类别(聚焦)"_s, c1);
    fl->addRow(u"方向"_s, c2);
    fl->addRow(u"可编辑"_s, c3);
    fl->addRow(u"日期(聚焦)"_s, p1);
    fl->addRow(u"起始(未选)"_s, p2);
    fl->addRow(u"截止(已选)"_s, p3);
    fl->addRow(u"分类"_s, l1);
    fl->addRow(u"奶油色"_s, cream);
    form.resize(360, 420);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    QImage all(720, 900, QImage::Format_ARGB32);
    all.fill(Qt::gray);
    QPainter painter(&all);
    e1->setFocus(Qt::TabFocusReason);
    painter.drawPixmap(0, 0, form.grab());
    c1->setFocus(Qt::TabFocusReason);
    painter.drawPixmap(360, 0, form.grab());
    p1->setFocus(Qt::TabFocusReason);
    painter.drawPixmap(0, 430, form.grab());
    e3->setFocus(Qt::TabFocusReason);
    painter.drawPixmap(360, 430, form.grab());

    // combo popup keeps colour
    c1->setFocus(Qt::TabFocusReason);
    struct F : QObject { bool eventFilter(QObject*, QEvent* e) override { if (e->type()==QEvent::FocusOut || e->type()==QEvent::FocusIn) { auto* fw = QApplication::focusWidget(); std::cout << (e->type()==QEvent::FocusOut?"out":"in") << " reason " << static_cast<QFocusEvent*>(e)->reason() << " fw " << (fw? fw->metaObject()->className():"null") << " popup " << (QApplication::activePopupWidget()!=nullptr) << std::endl;} return false; } } filt;
    c1->installEventFilter(&filt);
    c1->showPopup();
    QTest::qWait(20);
    std::cout << "popup open, combo base " << c1->palette().color(QPalette::Base).name().toStdString() << std::endl;
    c1->hidePopup();
    QTest::qWait(20);
    std::cout << "popup closed, focus=" << (QApplication::focusWidget() == c1) << " base " << c1->palette().color(QPalette::Base).name().toStdString() << std::endl;

    // context menu paste action name
    QMenu* m = e2->createStandardContextMenu();
    for (QAction* act : m->actions()) std::cout << "[" << act->objectName().toStdString() << "|" << act->text().toStdString() << "]" << std::endl;
    std::cout << "paste action found: " << (m->findChild<QAction*>(u"edit-paste"_s) != nullptr) << std::endl;
    delete m;

    TqdPopupMenu menu;
    menu.AddItem(u"导出"_s, false, &form, [] {});
    menu.AddItem(u"排序"_s, false, &form, [] {});
    QAction a(u"添加明细"_s), d(u"删除明细"_s);
    menu.AddSeparator(0); menu.AddAction(&d, 0); menu.AddAction(&a, 0);
    menu.adjustSize();
    painter.drawPixmap(0, 860 - menu.sizeHint().height(), menu.grab());
    painter.end();
    all.save(u"/tmp/controls.png"_s);
    all.copy(0, 190, 360, 110).scaled(1080, 330).save(u"/tmp/crop.png"_s);
}
