// Nine-patch rendering of one tile, the operation behind every key
// background of the preview: a 100x60 tile stretched to 1080x200.

#include "skin/tile.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>

namespace {

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &)
{ }

Tile sampleTile()
{
    QImage image(100, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(40, 120, 200, 230));
    painter.setPen(QPen(QColor(10, 40, 80), 3));
    painter.drawRoundedRect(QRectF(2, 2, 96, 56), 12, 12);
    painter.end();
    return Tile(QStringLiteral("keys"), 1, QRect(15, 15, 70, 30), image);
}

void BM_NinePatch(benchmark::State &state)
{
    const Tile tile = sampleTile();
    const QSize size(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        const QImage image = tile.render(size, 1.0);
        if (image.isNull()) {
            state.SkipWithError("render gave a null image");
            break;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_NinePatch)
    ->Args({ 1080, 200 })
    ->Args({ 108, 60 })
    ->Args({ 30, 20 })
    ->Unit(benchmark::kMicrosecond);

void BM_NinePatchScaled(benchmark::State &state)
{
    const Tile tile = sampleTile();
    for (auto _ : state)
        benchmark::DoNotOptimize(tile.render(QSize(360, 66), 3.0).constBits());
}
BENCHMARK(BM_NinePatchScaled)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(dropMessages);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
