#include "ReportDesigner.h"

#include "ReportDesignView.h"
#include "ReportFieldList.h"
#include "ReportPreviewFrm.h"
#include "ReportPropertyPanel.h"

#include "data/MessageService.h"
#include "reports/ReportDataSource.h"
#include "reports/ReportEngine.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QSaveFile>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kUndoLimit = 200;

} // namespace

TReportDesigner::TReportDesigner(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReportDesigner"));
    setWindowTitle(QStringLiteral("报表设计"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(1200, 800);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_view = new TReportDesignView(this);
    m_view->setTemplate(&m_template);
    m_view->setAboutToChange([this] { remember(); });

    auto* fileBar = new QToolBar(this);
    fileBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto action = [this](QToolBar* bar, const QString& text, const char* name, const QKeySequence& key,
                               const std::function<void()>& slot) {
        QAction* a = bar->addAction(text);
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WindowShortcut);
        }
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    action(fileBar, QStringLiteral("打开"), "actOpen", QKeySequence::Open, [this] { openFile(); });
    action(fileBar, QStringLiteral("保存"), "actSave", QKeySequence::Save, [this] { save(); });
    action(fileBar, QStringLiteral("另存为"), "actSaveAs", QKeySequence::SaveAs, [this] { saveAs(); });
    action(fileBar, QStringLiteral("预览"), "actPreview", QKeySequence(Qt::Key_F5), [this] { preview(); });
    fileBar->addSeparator();
    action(fileBar, QStringLiteral("撤销"), "actUndo", QKeySequence::Undo, [this] { undo(); });
    action(fileBar, QStringLiteral("重做"), "actRedo", QKeySequence::Redo, [this] { redo(); });
    action(fileBar, QStringLiteral("删除"), "actDelete", QKeySequence(),
           [this] { m_view->deleteSelection(); });
    fileBar->addSeparator();
    const struct
    {
        const char* text;
        const char* name;
        TObjectKind kind;
    } inserts[] = {{"文本", "actInsertText", TObjectKind::Text},
                   {"直线", "actInsertLine", TObjectKind::Line},
                   {"矩形", "actInsertRect", TObjectKind::Rect},
                   {"图片", "actInsertImage", TObjectKind::Image},
                   {"条码", "actInsertBarcode", TObjectKind::Barcode},
                   {"复选标记", "actInsertCheck", TObjectKind::CheckMark}};
    for (const auto& i : inserts) {
        const TObjectKind kind = i.kind;
        action(fileBar, QString::fromUtf8(i.text), i.name, QKeySequence(),
               [this, kind] { m_view->beginInsert(kind); });
    }
    auto* bandMenu = new QMenu(this);
    for (TBandKind k :
         {TBandKind::ReportTitle, TBandKind::PageHeader, TBandKind::ColumnHeader, TBandKind::DataHeader,
          TBandKind::MasterData, TBandKind::DetailData, TBandKind::GroupHeader, TBandKind::GroupFooter,
          TBandKind::DataFooter, TBandKind::ReportSummary, TBandKind::PageFooter}) {
        QAction* a = bandMenu->addAction(TReportTemplate::bandKindName(k));
        a->setObjectName(QStringLiteral("actBand%1").arg(int(k)));
        connect(a, &QAction::triggered, this, [this, k] { m_view->addBand(k); });
    }
    auto* bandButton = new QToolButton(this);
    bandButton->setObjectName(QStringLiteral("btnAddBand"));
    bandButton->setText(QStringLiteral("添加区域"));
    bandButton->setMenu(bandMenu);
    bandButton->setPopupMode(QToolButton::InstantPopup);
    fileBar->addWidget(bandButton);
    layout->addWidget(fileBar);

    auto* layoutBar = new QToolBar(this);
    layoutBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    using TAlign = TReportDesignView::TAlign;
    const struct
    {
        const char* text;
        const char* name;
        TAlign how;
    } aligns[] = {
        {"左对齐", "actAlignLeft", TAlign::Left},         {"右对齐", "actAlignRight", TAlign::Right},
        {"顶端对齐", "actAlignTop", TAlign::Top},         {"底端对齐", "actAlignBottom", TAlign::Bottom},
        {"水平居中", "actAlignHCenter", TAlign::HCenter}, {"垂直居中", "actAlignVCenter", TAlign::VCenter},
        {"同宽", "actSameWidth", TAlign::SameWidth},      {"同高", "actSameHeight", TAlign::SameHeight}};
    for (const auto& a : aligns) {
        const TAlign how = a.how;
        action(layoutBar, QString::fromUtf8(a.text), a.name, QKeySequence(),
               [this, how] { m_view->alignSelection(how); });
    }
    layoutBar->addSeparator();
    QAction* snap = layoutBar->addAction(QStringLiteral("对齐网格"));
    snap->setObjectName(QStringLiteral("actSnap"));
    snap->setCheckable(true);
    snap->setChecked(true);
    connect(snap, &QAction::toggled, this, [this](bool on) { m_view->setSnapToGrid(on); });
    layoutBar->addWidget(new QLabel(QStringLiteral(" 缩放 "), this));
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("cboZoom"));
    for (int z : {50, 75, 100, 125, 150, 200, 300})
        m_zoomBox->addItem(QStringLiteral("%1%").arg(z), z / 100.0);
    m_zoomBox->setCurrentIndex(2);
    connect(m_zoomBox, &QComboBox::activated, this,
            [this](int i) { m_view->setZoom(m_zoomBox->itemData(i).toDouble()); });
    layoutBar->addWidget(m_zoomBox);
    layoutBar->addSeparator();
    layoutBar->addWidget(new QLabel(QStringLiteral(" 页面 "), this));
    m_pageBox = new QComboBox(this);
    m_pageBox->setObjectName(QStringLiteral("cboPage"));
    connect(m_pageBox, &QComboBox::activated, this, [this](int i) { setCurrentPage(i); });
    layoutBar->addWidget(m_pageBox);
    action(layoutBar, QStringLiteral("添加页面"), "actAddPage", QKeySequence(), [this] { addPage(); });
    action(layoutBar, QStringLiteral("删除页面"), "actRemovePage", QKeySequence(), [this] { removePage(); });
    layout->addWidget(layoutBar);

    auto* splitter = new QSplitter(this);
    m_fields = new TReportFieldList(splitter);
    auto* scroll = new QScrollArea(splitter);
    scroll->setObjectName(QStringLiteral("scrDesign"));
    scroll->setBackgroundRole(QPalette::Dark);
    scroll->setWidget(m_view);
    m_properties = new TReportPropertyPanel(m_view, splitter);
    m_properties->setImagePicker([this] { return pickImage(); });
    splitter->addWidget(m_fields);
    splitter->addWidget(scroll);
    splitter->addWidget(m_properties);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 700, 280});
    layout->addWidget(splitter, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(m_status);

    connect(m_view, &TReportDesignView::templateChanged, this, &TReportDesigner::updateActions);
    connect(m_view, &TReportDesignView::selectionChanged, this, &TReportDesigner::updateActions);
    connect(m_view, &TReportDesignView::editText, this,
            [this](const RDesignRef& r) { editText(r.band, r.object); });
    connect(m_view, &TReportDesignView::objectInserted, this, [this](const RDesignRef& r) {
        RReportObject* o = m_view->object(r);
        if (!o || o->kind != TObjectKind::Image)
            return;
        const QByteArray data = pickImage();
        if (!data.isEmpty()) {
            o->imageData = data;
            m_view->update();
        }
    });

    m_preview = [this](const TReportDocument& doc) {
        TReportPreviewFrm frm(doc, this);
        frm.exec();
    };
    setTemplate(TReportTemplate::emptyReport());
}

TReportDesigner::~TReportDesigner() = default;

void TReportDesigner::setTemplate(const TReportTemplate& report)
{
    m_template = report;
    if (m_template.pages.isEmpty())
        m_template.pages.append(RReportPage());
    m_undo.clear();
    m_redo.clear();
    m_modified = false;
    templateReplaced();
}

void TReportDesigner::setDataSources(const QList<const TReportDataSource*>& sources)
{
    m_sources = sources;
    QStringList names;
    for (const TReportDataSource* s : sources)
        names.append(s->name());
    m_properties->setDataSetNames(names);
    m_fields->setContents(m_sources, m_variableNames);
}

void TReportDesigner::setVariables(const QStringList& names, const QStringList& values)
{
    m_variableNames = names;
    m_variableValues = values;
    m_fields->setContents(m_sources, m_variableNames);
}

void TReportDesigner::remember()
{
    m_modified = true;
    // The last step changed nothing (an editor set the value it had): one snapshot is enough.
    if (!m_undo.isEmpty() && m_undo.last() == m_template)
        return;
    m_undo.append(m_template);
    if (m_undo.size() > kUndoLimit)
        m_undo.removeFirst();
    m_redo.clear();
}

void TReportDesigner::templateReplaced()
{
    const int page = std::clamp(m_view->pageIndex(), 0, int(m_template.pages.size()) - 1);
    m_pageBox->clear();
    for (int i = 0; i < m_template.pages.size(); ++i)
        m_pageBox->addItem(QStringLiteral("第 %1 页").arg(i + 1));
    m_pageBox->setCurrentIndex(page);
    m_view->setPageIndex(page);
    m_properties->refresh();
    updateActions();
}

void TReportDesigner::updateActions()
{
    const auto enable = [this](const char* name, bool on) {
        if (QAction* a = findChild<QAction*>(QLatin1String(name)))
            a->setEnabled(on);
    };
    enable("actUndo", canUndo());
    enable("actRedo", canRedo());
    enable("actDelete", !m_view->selection().isEmpty());
    enable("actRemovePage", m_template.pages.size() > 1);
    const QString title = m_template.title.isEmpty() ? QStringLiteral("报表设计")
                                                     : QStringLiteral("报表设计 - %1").arg(m_template.title);
    setWindowTitle(m_modified ? title + QStringLiteral(" *") : title);
    m_status->setText(m_modified ? QStringLiteral("已修改") : QString());
}

void TReportDesigner::undo()
{
    if (m_undo.isEmpty())
        return;
    m_redo.append(m_template);
    m_template = m_undo.takeLast();
    m_modified = true;
    templateReplaced();
}

void TReportDesigner::redo()
{
    if (m_redo.isEmpty())
        return;
    m_undo.append(m_template);
    m_template = m_redo.takeLast();
    m_modified = true;
    templateReplaced();
}

void TReportDesigner::warn(const QString& text)
{
    MessageService().Message(QStringLiteral("\r\n%1\t").arg(text), QStringLiteral("报表设计"),
                             TMessageService::Warning, TMessageService::Ok);
}

bool TReportDesigner::openFile()
{
    const QString path =
        MessageService().OpenFileName(QStringLiteral("打开报表模板"), fileFilter(), QString());
    return path.isEmpty() ? false : openFile(path);
}

bool TReportDesigner::openFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        warn(QStringLiteral("无法打开文件 %1:%2").arg(path, file.errorString()));
        return false;
    }
    TReportTemplate loaded;
    loaded.id = m_template.id;
    QString error;
    if (!loaded.load(file.readAll(), &error)) {
        // The template being edited stays as it was.
        warn(error);
        return false;
    }
    remember();
    m_template = loaded;
    templateReplaced();
    return true;
}

bool TReportDesigner::save()
{
    if (!m_save)
        return saveAs();
    QString error;
    if (!m_save(m_template, &error)) {
        warn(error.isEmpty() ? QStringLiteral("报表保存失败。") : error);
        return false;
    }
    m_modified = false;
    updateActions();
    return true;
}

bool TReportDesigner::saveAs()
{
    QString path = MessageService().SaveFileName(QStringLiteral("另存为"), fileFilter(), QString());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".fr3");
    return saveAs(path);
}

bool TReportDesigner::saveAs(const QString& path)
{
    QSaveFile file(path);
    QString error;
    if (!file.open(QIODevice::WriteOnly) || !m_template.save(&file, &error) || !file.commit()) {
        warn(QStringLiteral("无法写入文件 %1:%2").arg(path, error.isEmpty() ? file.errorString() : error));
        return false;
    }
    return true;
}

void TReportDesigner::preview()
{
    TReportEngine engine;
    for (const TReportDataSource* s : m_sources)
        engine.addDataSource(s);
    for (int i = 0; i < m_variableNames.size(); ++i)
        engine.setVariable(m_variableNames.at(i), m_variableValues.value(i));
    engine.setTemplate(m_template);
    const TReportDocument doc = engine.prepare();
    m_status->setText(engine.warnings().isEmpty()
                          ? QString()
                          : QStringLiteral("提示:%1").arg(engine.warnings().join(QStringLiteral(";"))));
    if (m_preview)
        m_preview(doc);
}

void TReportDesigner::setCurrentPage(int page)
{
    if (page < 0 || page >= m_template.pages.size())
        return;
    m_pageBox->setCurrentIndex(page);
    m_view->setPageIndex(page);
}

void TReportDesigner::addPage()
{
    remember();
    RReportPage p;
    if (const RReportPage* current = m_view->page()) {
        p.paper = current->paper;
        p.paperWidth = current->paperWidth;
        p.paperHeight = current->paperHeight;
        p.landscape = current->landscape;
    }
    m_template.pages.append(p);
    templateReplaced();
    setCurrentPage(int(m_template.pages.size()) - 1);
}

void TReportDesigner::removePage()
{
    if (m_template.pages.size() <= 1)
        return;
    const int page = m_view->pageIndex();
    if (MessageService().Message(QStringLiteral("\r\n确定要删除第 %1 页吗?\t").arg(page + 1),
                                 QStringLiteral("报表设计"), TMessageService::Question,
                                 TMessageService::OkCancel) != TMessageService::AnswerOk)
        return;
    remember();
    m_template.pages.removeAt(page);
    templateReplaced();
}

void TReportDesigner::editText(int band, int object)
{
    const RReportObject* o = m_view->object({band, object});
    if (!o)
        return;
    QString value = o->text;
    if (!MessageService().InputBox(QStringLiteral("编辑文本"),
                                   QStringLiteral("内容(方括号内为表达式,如 [d0.Code]):"), value))
        return;
    if (value == o->text)
        return;
    m_view->beginChange();
    // Fetched again: the undo snapshot taken by beginChange shares the old data.
    if (RReportObject* target = m_view->object({band, object}))
        target->text = value;
    m_view->endChange();
}

QByteArray TReportDesigner::pickImage()
{
    const QString path = MessageService().OpenFileName(
        QStringLiteral("选择图片"), QStringLiteral("图片文件|*.png;*.jpg;*.jpeg;*.bmp|所有文件|*.*"),
        QString());
    if (path.isEmpty())
        return QByteArray();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        warn(QStringLiteral("无法打开文件 %1:%2").arg(path, file.errorString()));
        return QByteArray();
    }
    const QByteArray data = file.readAll();
    if (QImage::fromData(data).isNull()) {
        warn(QStringLiteral("文件 %1 不是可以显示的图片。").arg(path));
        return QByteArray();
    }
    return data;
}

bool TReportDesigner::confirmClose()
{
    if (!m_modified)
        return true;
    switch (MessageService().Message(QStringLiteral("\r\n报表已修改,是否保存?\t"), QStringLiteral("报表设计"),
                                     TMessageService::Question, TMessageService::YesNoCancel)) {
    case TMessageService::AnswerYes:
        return save();
    case TMessageService::AnswerNo:
        return true;
    default:
        return false;
    }
}

void TReportDesigner::closeEvent(QCloseEvent* event)
{
    if (m_closing || confirmClose()) {
        event->accept();
        return;
    }
    event->ignore();
}

void TReportDesigner::reject()
{
    if (!confirmClose())
        return;
    m_closing = true;
    QDialog::reject();
    m_closing = false;
}
