#include "../ReportTestData.h"
#include "TestSupport.h"

#include "reports/DefaultReports.h"
#include "reports/ReportEngine.h"
#include "reports/ui/ReportDesignView.h"
#include "reports/ui/ReportDesigner.h"
#include "reports/ui/ReportFieldList.h"
#include "reports/ui/ReportPreview.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace reporttest;

namespace {

class ReportUi : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto scripted = std::make_unique<TScriptedMessages>();
        messages = scripted.get();
        m_previous = SetMessageService(std::move(scripted));
    }
    void TearDown() override { SetMessageService(std::move(m_previous)); }

    TScriptedMessages* messages = nullptr;

private:
    std::unique_ptr<TMessageService> m_previous;
};

TReportDocument materialsDocument(int rows)
{
    static std::unique_ptr<TReportMemoryData> data;
    data = materials(QStringLiteral("d0"), rows);
    TReportTemplate t;
    t.load(TDefaultReports::forGroup(5));
    TReportEngine engine;
    engine.addDataSource(data.get());
    engine.setTemplate(t);
    return engine.prepare();
}

// With CZ_REPORT_OUT set, windows are saved as pictures there for a look by eye.
void snapshot(QWidget* w, const char* name)
{
    const QString out = qEnvironmentVariable("CZ_REPORT_OUT");
    if (!out.isEmpty())
        w->grab().save(out + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

void trigger(QWidget* w, const char* name)
{
    QAction* a = w->findChild<QAction*>(QLatin1String(name));
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
}

} // namespace

TEST_F(ReportUi, PreviewPagesZoomsPrintsAndExports)
{
    TReportPreview preview;
    preview.resize(800, 600);
    preview.show();
    preview.setDocument(materialsDocument(100));
    ASSERT_EQ(preview.document().pageCount(), 3);
    auto* pageBox = preview.findChild<QSpinBox*>(QStringLiteral("spnPage"));
    auto* count = preview.findChild<QLabel*>(QStringLiteral("lblPageCount"));
    ASSERT_TRUE(pageBox && count);
    EXPECT_TRUE(count->text().contains(QStringLiteral("3")));

    trigger(&preview, "actNext");
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_EQ(pageBox->value(), 2);
    trigger(&preview, "actLast");
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_FALSE(preview.findChild<QAction*>(QStringLiteral("actNext"))->isEnabled());
    QTest::keyClick(&preview, Qt::Key_PageUp);
    EXPECT_EQ(preview.currentPage(), 1);
    pageBox->setValue(1);
    EXPECT_EQ(preview.currentPage(), 0);
    snapshot(&preview, "preview");

    preview.setZoom(1.0);
    trigger(&preview, "actZoomIn");
    EXPECT_NEAR(preview.zoom(), 1.25, 1e-9);
    preview.fitPage();
    const double whole = preview.zoom();
    preview.fitWidth();
    EXPECT_GT(preview.zoom(), whole);

    // Printing goes to the printer the dialog chose: here a PDF file, pages 2 to 3.
    QTemporaryDir dir;
    const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
    preview.setPrintDialog([&](QPrinter* printer, int pages, int* first, int* last) {
        EXPECT_EQ(pages, 3);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(printed);
        *first = 2;
        *last = 3;
        return true;
    });
    ASSERT_TRUE(preview.print());
    QFile pdf(printed);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(4) == "%PDF");
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {printed, QStringLiteral("-")});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_FALSE(text.contains(QStringLiteral("第 1 页 共 3 页")));
        EXPECT_TRUE(text.contains(QStringLiteral("第 2 页 共 3 页")));
        EXPECT_TRUE(text.contains(QStringLiteral("第 3 页 共 3 页")));
    }
    preview.setPrintDialog([](QPrinter*, int, int*, int*) { return false; });
    EXPECT_FALSE(preview.print()) << "a cancelled dialog prints nothing";

    const QString xlsx = dir.filePath(QStringLiteral("list"));
    messages->fileNames.push_back(xlsx);
    ASSERT_TRUE(preview.exportTo(TReportExporter::TFormat::Xlsx));
    EXPECT_TRUE(QFile::exists(xlsx + QStringLiteral(".xlsx"))) << "the extension is added";
    EXPECT_FALSE(preview.exportTo(TReportExporter::TFormat::Pdf)) << "no file chosen: nothing written";
    messages->fileNames.push_back(QStringLiteral("/nonexistent/dir/a.pdf"));
    EXPECT_FALSE(preview.exportTo(TReportExporter::TFormat::Pdf));
    EXPECT_TRUE(messages->lastText().contains(QStringLiteral("无法写入")));
}

TEST_F(ReportUi, DesignerInsertsMovesAndUndoes)
{
    auto d0 = materials(QStringLiteral("d0"), 3);
    TReportDesigner designer;
    TReportTemplate t;
    ASSERT_TRUE(t.load(TDefaultReports::forGroup(5)));
    t.id = 12;
    designer.setTemplate(t);
    designer.setDataSources({d0.get()});
    designer.setVariables({QStringLiteral("u_Company")}, {QStringLiteral("澄舟机械厂")});
    designer.show();
    TReportDesignView* view = designer.view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));

    // The summary band is the last but one; insert a text by clicking into it.
    const RReportPage& page = designer.reportTemplate().pages.first();
    int summary = -1;
    for (int i = 0; i < page.bands.size(); ++i) {
        if (page.bands.at(i).kind == TBandKind::ReportSummary)
            summary = i;
    }
    ASSERT_GE(summary, 0);
    const int before = int(page.bands.at(summary).objects.size());
    trigger(&designer, "actInsertText");
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier,
                      view->fromBandMm(summary, QPointF(120.3, 1.1)).toPoint());
    const RReportBand& band = designer.reportTemplate().pages.first().bands.at(summary);
    ASSERT_EQ(band.objects.size(), before + 1);
    const RReportObject& inserted = band.objects.last();
    EXPECT_EQ(inserted.geometry.topLeft(), QPointF(120, 2)) << "snapped to the 2 mm grid";
    EXPECT_TRUE(designer.isModified());
    ASSERT_EQ(view->selection().size(), 1);
    QApplication::processEvents();
    snapshot(&designer, "designer");

    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(designer.reportTemplate().pages.first().bands.at(summary).objects.last().geometry,
              QRectF(122, 2, 30, 8));

    // The property panel edits the selected object.
    QApplication::processEvents();
    auto* x = designer.findChild<QDoubleSpinBox*>(QStringLiteral("propX"));
    ASSERT_NE(x, nullptr);
    x->setValue(50);
    EXPECT_EQ(designer.reportTemplate().pages.first().bands.at(summary).objects.last().geometry.x(), 50);

    designer.undo();
    EXPECT_EQ(designer.reportTemplate().pages.first().bands.at(summary).objects.last().geometry.x(), 122);
    designer.undo();
    designer.undo();
    designer.undo();
    EXPECT_EQ(designer.reportTemplate().pages.first().bands.at(summary).objects.size(), before);
    designer.redo();
    EXPECT_EQ(designer.reportTemplate().pages.first().bands.at(summary).objects.size(), before + 1);

    // Deleting with the keyboard.
    view->setSelection({{summary, before}});
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(designer.reportTemplate().pages.first().bands.at(summary).objects.size(), before);
}

TEST_F(ReportUi, DesignerDropsFieldsAndMovesWithTheMouse)
{
    auto d0 = materials(QStringLiteral("d0"), 3);
    TReportDesigner designer;
    designer.setTemplate(report({band(TBandKind::MasterData, 20, {}, QStringLiteral("M1"))}));
    designer.setDataSources({d0.get()});
    designer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));
    TReportDesignView* view = designer.view();

    // The field list offers fields by their captions with their expressions.
    TReportFieldList* fields = designer.fieldList();
    QTreeWidgetItem* code = nullptr;
    for (QTreeWidgetItem* item :
         fields->findItems(QStringLiteral("货号"), Qt::MatchStartsWith | Qt::MatchRecursive))
        code = item;
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(TReportFieldList::expression(code), QStringLiteral("[d0.Code]"));

    QMimeData mime;
    mime.setData(QString::fromLatin1(TReportFieldList::kMimeType), QByteArrayLiteral("[d0.Code]"));
    const QPointF at = view->fromBandMm(0, QPointF(10, 4));
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &drop);
    ASSERT_EQ(designer.reportTemplate().pages.first().bands.first().objects.size(), 1);
    const RReportObject& o = designer.reportTemplate().pages.first().bands.first().objects.first();
    EXPECT_EQ(o.text, QStringLiteral("[d0.Code]"));
    EXPECT_EQ(o.geometry.topLeft(), QPointF(10, 4));

    // Drag it 20 mm to the right and 4 mm down.
    const QPoint from = view->fromBandMm(0, QPointF(12, 6)).toPoint();
    const QPoint to = view->fromBandMm(0, QPointF(32, 10)).toPoint();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(view, from + QPoint(5, 0));
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(designer.reportTemplate().pages.first().bands.first().objects.first().geometry.topLeft(),
              QPointF(30, 8));

    // The band's bottom edge changes its height.
    const QRectF r = view->bandRect(0);
    const QPoint edge(int(r.center().x()), int(r.bottom()));
    const QPoint lower = edge + QPoint(0, int(10 * view->pxPerMm()));
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, edge);
    QTest::mouseMove(view, edge + QPoint(0, 5));
    QTest::mouseMove(view, lower);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, lower);
    EXPECT_NEAR(designer.reportTemplate().pages.first().bands.first().height, 30, 2.01);

    // Alignment of two objects to the first selected.
    view->insertObject(0, TObjectKind::Text, QPointF(60, 14));
    view->setSelection({{0, 0}, {0, 1}});
    view->alignSelection(TReportDesignView::TAlign::Left);
    EXPECT_EQ(designer.reportTemplate().pages.first().bands.first().objects.at(1).geometry.x(), 30);
}

TEST_F(ReportUi, DesignerOpensSavesAndAsksBeforeClosing)
{
    QTemporaryDir dir;
    TReportDesigner designer;
    TReportTemplate t = report({band(TBandKind::ReportTitle, 10, {text(QStringLiteral("旧标题"))})});
    t.id = 7;
    designer.setTemplate(t);
    QList<TReportTemplate> saved;
    designer.setSaveCallback([&](const TReportTemplate& r, QString*) {
        saved.append(r);
        return true;
    });

    // A file that is no template of ours leaves the template as it was.
    const QString junk = dir.filePath(QStringLiteral("old.fr3"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\"?><OtherReport Version=\"4.9\"/>");
    f.close();
    messages->fileNames.push_back(junk);
    EXPECT_FALSE(designer.openFile());
    EXPECT_TRUE(messages->lastText().contains(QStringLiteral("不是本系统的报表模板")));
    EXPECT_TRUE(designer.reportTemplate() == t);

    // Save as writes the file; opening it again keeps the catalogue number.
    const QString copy = dir.filePath(QStringLiteral("copy"));
    messages->fileNames.push_back(copy);
    ASSERT_TRUE(designer.saveAs());
    const QString written = copy + QStringLiteral(".fr3");
    ASSERT_TRUE(QFile::exists(written));
    designer.setTemplate(TReportTemplate::emptyReport());
    messages->fileNames.push_back(written);
    ASSERT_TRUE(designer.openFile());
    EXPECT_TRUE(designer.reportTemplate() == t);
    EXPECT_EQ(designer.reportTemplate().id, 0) << "the template being edited had no number";
    ASSERT_TRUE(designer.save());
    ASSERT_EQ(saved.size(), 1);
    EXPECT_TRUE(saved.first() == t);
    EXPECT_FALSE(designer.isModified());

    // Preview runs the engine over the template.
    TReportDocument shown;
    designer.setPreviewHandler([&](const TReportDocument& doc) { shown = doc; });
    designer.preview();
    EXPECT_EQ(shown.pageText(0), QStringLiteral("旧标题"));

    // Closing a modified template asks; Cancel keeps the designer open, Yes saves.
    designer.show();
    designer.view()->addBand(TBandKind::PageFooter);
    ASSERT_TRUE(designer.isModified());
    messages->setNextAnswer(TMessageService::AnswerCancel);
    designer.reject();
    EXPECT_TRUE(designer.isVisible());
    messages->setNextAnswer(TMessageService::AnswerYes);
    designer.reject();
    EXPECT_FALSE(designer.isVisible());
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved.last().pages.first().bands.last().kind, TBandKind::PageFooter);
}
