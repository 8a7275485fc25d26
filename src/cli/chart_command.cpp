// tork-tool chart KIND --out FILE.png [--size WxH] [--variant N] [MEASUREMENT.json]

#include "commands.h"

#include "core/analysis/analysisjson.h"
#include "core/app/programstate.h"
#include "drawing/charts/bodyenergy.h"
#include "drawing/charts/chart.h"
#include "drawing/charts/chartcanvas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRegularExpression>

namespace tork::cli {
namespace {

constexpr int kSmallestSide = 100;
constexpr int kLargestSide = 10000;

QString kindList()
{
    QStringList names;
    for (charts::ChartKind kind : charts::kAllChartKinds) names << charts::chartKindName(kind);
    return names.join(QStringLiteral(", "));
}

bool readInput(const QString& path, QByteArray* text)
{
    if (path.isEmpty() || path == "-") {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly)) {
            err() << "tork-tool: standard input cannot be read." << Qt::endl;
            return false;
        }
        *text = input.readAll();
        return true;
    }
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        err() << "tork-tool: " << path << " cannot be read: " << input.errorString() << Qt::endl;
        return false;
    }
    *text = input.readAll();
    return true;
}

// The program folder's pictures, or the delivered ones while the folder has none yet.
QString pictureFolder(const ProgramFolder& folder)
{
    if (QFileInfo::exists(folder.dataFilePath(charts::kBodyEnergyPicture))) return folder.dataPath();
    return QDir(deliveredDataPath()).filePath(QStringLiteral("Data"));
}

int runChart(const QStringList& words)
{
    CommandParser cmd(QStringLiteral("chart KIND --out FILE.png [--size 965x554] [--variant N] [FILE] [--program-folder DIR]"),
                      QStringLiteral("Draws one chart of a measurement into a PNG, in the meridian order and with the "
                                     "settings of the program folder, and prints its title line.\nThe measurement is the "
                                     "JSON that analyze reads, from FILE or standard input; its measuredAt places the time "
                                     "cycle.\nKIND is one of: ") +
                          kindList() + QStringLiteral(". --variant chooses the five-elements form 1 to 3."));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("PNG file to write."), QStringLiteral("FILE"));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Canvas size in pixels (default 965x554)."),
                                        QStringLiteral("WxH"), QStringLiteral("965x554"));
    const QCommandLineOption variantOption(QStringLiteral("variant"), QStringLiteral("Form of the five-elements chart, 1 to 3."),
                                           QStringLiteral("N"), QStringLiteral("1"));
    cmd.parser().addOptions({outOption, sizeOption, variantOption});
    int code = 0;
    if (!cmd.parse(words, &code)) return code;

    const QStringList pos = cmd.positional();
    if (pos.isEmpty() || pos.size() > 2) {
        cmd.printUsageError(QStringLiteral("give the chart kind and at most one measurement file"));
        return 2;
    }
    const auto kind = charts::chartKindFromName(pos[0]);
    if (!kind) {
        err() << "tork-tool: \"" << pos[0] << "\" is not a chart; say one of " << kindList() << "." << Qt::endl;
        return 2;
    }
    const QString outPath = cmd.parser().value(outOption);
    if (outPath.isEmpty()) {
        cmd.printUsageError(QStringLiteral("--out FILE.png is required"));
        return 2;
    }
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(cmd.parser().value(sizeOption));
    const int width = size.hasMatch() ? size.captured(1).toInt() : 0;
    const int height = size.hasMatch() ? size.captured(2).toInt() : 0;
    if (width < kSmallestSide || height < kSmallestSide || width > kLargestSide || height > kLargestSide) {
        err() << "tork-tool: --size must be WIDTHxHEIGHT in pixels, each from " << kSmallestSide << " to " << kLargestSide
              << " (for example 965x554)." << Qt::endl;
        return 2;
    }
    bool variantOk = false;
    const int variant = cmd.parser().value(variantOption).toInt(&variantOk);
    const int variants = *kind == charts::ChartKind::FiveElements ? 3 : 1;
    if (!variantOk || variant < 1 || variant > variants) {
        if (variants == 1)
            err() << "tork-tool: the chart " << pos[0] << " has no variants; only five-elements takes --variant 1 to 3." << Qt::endl;
        else
            err() << "tork-tool: --variant of five-elements must be 1, 2 or 3." << Qt::endl;
        return 2;
    }

    QByteArray text;
    if (!readInput(pos.size() == 2 ? pos[1] : QString(), &text)) return 1;
    const MeasurementInputParse parsed = parseMeasurementJson(text);
    if (!parsed.input) {
        err() << "tork-tool: " << parsed.error << Qt::endl;
        return 1;
    }
    const MeasurementInput& measurement = *parsed.input;

    ProgramState state(cmd.programFolder());
    const QString settingsPath = state.folder.settingsFilePath();
    if (QFileInfo::exists(settingsPath)) {
        const SettingsLoadResult loaded = state.settings.load(settingsPath);
        if (!loaded.ok) {
            err() << "tork-tool: " << loaded.message << Qt::endl;
            return 1;
        }
    }
    state.rebuildTables();

    const AnalysisRecord& record = measurement.record;
    const AnalysisResult result =
        computeAnalysis(record, measurement.compensationFactors.value_or(state.tables.compensationFactors()));

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(charts::colour::canvasFace);
    QString title;
    {
        QPainter painter(&image);
        title = charts::drawChart(painter, QRectF(0, 0, width, height), *kind, variant,
                                  charts::ChartData{record, result, state.tables, pictureFolder(state.folder)});
    }
    QImageWriter writer(outPath, "png");
    if (!writer.write(image)) {
        err() << "tork-tool: cannot write " << outPath << ": " << writer.errorString() << Qt::endl;
        return 1;
    }
    out() << title << Qt::endl;
    return 0;
}

const RegisterCommand registration{
    {QStringLiteral("chart"), QStringLiteral("draw one chart of a measurement into a PNG"), runChart}};

}  // namespace
}  // namespace tork::cli
