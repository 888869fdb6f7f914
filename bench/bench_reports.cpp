// Report engine speed: a materials list through the default template into a PDF.
#include "reports/DefaultReports.h"
#include "reports/ReportEngine.h"
#include "reports/ReportExporter.h"
#include "reports/ReportMemoryData.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<TReportMemoryData> materials(int rows)
{
    auto d = std::make_unique<TReportMemoryData>(QStringLiteral("d0"));
    const char* fields[] = {"Id", "ClassId", "CataCode", "CataName", "Code", "Name",  "LookId",
                            "S1", "S2",      "S3",       "S4",       "S5",   "Price", "F2",
                            "F3", "F4",      "F5",       "Notes",    "Stock"};
    for (const char* f : fields)
        d->addField(QString::fromLatin1(f));
    for (int i = 1; i <= rows; ++i) {
        d->addRow({i, 3, QStringLiteral("3."), QStringLiteral("钢材"),
                   QStringLiteral("M%1").arg(i, 5, 10, QLatin1Char('0')),
                   QStringLiteral("舟生钢板%1号").arg(i), QStringLiteral("ZSGB"),
                   QStringLiteral("1.5mm×1000mm"), QStringLiteral("Q235"), QString(), QString(),
                   QStringLiteral("张"), 12.5 + i, QVariant(), 10.0, 500.0, QVariant(), QString(),
                   double(i * 10)});
    }
    return d;
}

struct RRun
{
    double seconds = 0;
    int pages = 0;
};

// Lays the list out and writes the PDF into memory.
RRun renderPdf(const TReportDataSource& data, const TReportTemplate& report)
{
    QElapsedTimer timer;
    timer.start();
    TReportEngine engine;
    engine.addDataSource(&data);
    engine.setVariable(QStringLiteral("u_Company"), QStringLiteral("澄舟机械厂"));
    engine.setTemplate(report);
    const TReportDocument doc = engine.prepare();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString error;
    if (!TReportExporter::exportPdf(doc, &out, &error))
        throw std::runtime_error(error.toStdString());
    return {timer.nsecsElapsed() / 1e9, doc.pageCount()};
}

TReportTemplate materialsTemplate()
{
    TReportTemplate t;
    t.load(TDefaultReports::forGroup(5));
    return t;
}

void BM_ListToPdf(benchmark::State& state)
{
    const auto data = materials(int(state.range(0)));
    const TReportTemplate report = materialsTemplate();
    int pages = 0;
    double seconds = 0;
    for (auto _ : state) {
        const RRun r = renderPdf(*data, report);
        pages = r.pages;
        seconds += r.seconds;
    }
    state.counters["pages"] = pages;
    state.counters["ms_per_page"] = seconds * 1000 / (double(pages) * double(state.iterations()));
}
BENCHMARK(BM_ListToPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);

// The time must grow with the rows, not faster: 10,000 rows at most 11 times 1,000 rows.
void BM_ListToPdfLinearity(benchmark::State& state)
{
    const auto small = materials(1000);
    const auto large = materials(10000);
    const TReportTemplate report = materialsTemplate();
    double ratio = 0;
    for (auto _ : state) {
        const double a = renderPdf(*small, report).seconds;
        const double b = renderPdf(*large, report).seconds;
        ratio = b / a;
    }
    state.counters["ratio_10k_to_1k"] = ratio;
}
BENCHMARK(BM_ListToPdfLinearity)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
