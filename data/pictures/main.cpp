// Draws the pictures delivered with the program: the point pictures and chart backgrounds of
// the "Data" folder, the meridian charts of the reference database, and the program icons.
// Everything is drawn from code, so the same build always writes the same bytes.
//
//   tork-picture-generator --data DIR --charts DIR --icons DIR

#include "backgrounds.h"
#include "icons.h"
#include "meridiancharts.h"
#include "pointpictures.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the delivered pictures of the program."));
    parser.addHelpOption();
    const QCommandLineOption data(QStringLiteral("data"), QStringLiteral("Folder of the point pictures and chart backgrounds."), QStringLiteral("folder"));
    const QCommandLineOption charts(QStringLiteral("charts"), QStringLiteral("Folder of the meridian charts."), QStringLiteral("folder"));
    const QCommandLineOption icons(QStringLiteral("icons"), QStringLiteral("Folder of the icons and the logo."), QStringLiteral("folder"));
    parser.addOptions({data, charts, icons});
    parser.process(app);
    if (!parser.isSet(data) || !parser.isSet(charts) || !parser.isSet(icons)) {
        std::fputs("tork-picture-generator: --data, --charts and --icons are all needed\n", stderr);
        return 2;
    }
    picturegen::writePointPictures(parser.value(data));
    picturegen::writeChartBackgrounds(parser.value(data));
    picturegen::writeMeridianCharts(parser.value(charts));
    picturegen::writeIcons(parser.value(icons));
    return 0;
}
