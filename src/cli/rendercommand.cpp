#include "rendercommand.h"

#include "clitool.h"
#include "panel/panel.h"

#include <QColor>
#include <QFileInfo>
#include <QImage>
#include <QLoggingCategory>
#include <QPointF>

namespace {

int usage(QTextStream &err, const QString &reason)
{
    err << "quillmark-cli render: " << reason << '\n'
        << "usage: quillmark-cli " << RenderCommand::synopsis << '\n';
    return CliTool::UsageError;
}

bool readInt(const QString &text, int minimum, int *value)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < minimum)
        return false;
    *value = number;
    return true;
}

// "X,Y" with both parts between 0 and 1: a point relative to the image.
bool readRelativePoint(const QString &text, QPointF *point)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        return false;
    bool okX = false;
    bool okY = false;
    const double x = parts.at(0).trimmed().toDouble(&okX);
    const double y = parts.at(1).trimmed().toDouble(&okY);
    if (!okX || !okY || x < 0 || x > 1 || y < 0 || y > 1)
        return false;
    *point = QPointF(x, y);
    return true;
}

// A colour name as the editor's settings keep it ("#aarrggbb"), or any other
// that QColor reads ("#rrggbb", "red").
bool readColour(const QString &text, QColor *colour)
{
    if (!QColor::isValidColor(text))
        return false;
    *colour = QColor(text);
    return true;
}

} // namespace

int RenderCommand::render(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString panelFile;
    QString outFile;
    int status = 0;
    int resolution = 0;
    int deviceResolution = 0;
    bool highlight = false;
    QPointF highlightPoint;
    // The outlines the editor draws before anyone changes its settings; the
    // editor's settings file is not read here.
    QColor viewRectColor = QColor::fromRgba(Panel::DefaultViewRectColor);
    QColor touchRectColor = QColor::fromRgba(Panel::DefaultTouchRectColor);
    bool outlines = true;

    for (int i = 0; i < args.size(); ++i) {
        const QString arg = args.at(i);
        const bool takesValue = arg == QLatin1String("-o") || arg == QLatin1String("--status")
            || arg == QLatin1String("--resolution") || arg == QLatin1String("--device-resolution")
            || arg == QLatin1String("--highlight") || arg == QLatin1String("--view-rect-color")
            || arg == QLatin1String("--touch-rect-color");
        if (takesValue) {
            if (i + 1 >= args.size())
                return usage(err, QStringLiteral("%1 needs a value").arg(arg));
            const QString value = args.at(++i);
            if (arg == QLatin1String("-o")) {
                outFile = value;
            } else if (arg == QLatin1String("--status")) {
                if (!readInt(value, 0, &status))
                    return usage(err,
                        QStringLiteral("--status takes a status number of 0 or more, not '%1'").arg(value));
            } else if (arg == QLatin1String("--resolution")) {
                if (!readInt(value, 0, &resolution))
                    return usage(
                        err, QStringLiteral("--resolution takes a number of 0 or more, not '%1'").arg(value));
            } else if (arg == QLatin1String("--device-resolution")) {
                if (!readInt(value, 0, &deviceResolution))
                    return usage(err,
                        QStringLiteral("--device-resolution takes a number of 0 or more, not '%1'")
                            .arg(value));
            } else if (arg == QLatin1String("--view-rect-color")
                || arg == QLatin1String("--touch-rect-color")) {
                QColor *colour = arg == QLatin1String("--view-rect-color") ? &viewRectColor : &touchRectColor;
                if (!readColour(value, colour))
                    return usage(err,
                        QStringLiteral("%1 takes a colour such as #ffd62728 or #1f77b4, not '%2'")
                            .arg(arg, value));
            } else {
                if (!readRelativePoint(value, &highlightPoint))
                    return usage(
                        err, QStringLiteral("--highlight takes X,Y between 0 and 1, not '%1'").arg(value));
                highlight = true;
            }
        } else if (arg == QLatin1String("--no-outlines")) {
            outlines = false;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return usage(err, QStringLiteral("unknown option '%1'").arg(arg));
        } else if (panelFile.isEmpty()) {
            panelFile = arg;
        } else {
            return usage(err, QStringLiteral("more than one panel file given"));
        }
    }
    if (panelFile.isEmpty())
        return usage(err, QStringLiteral("no panel file given"));
    if (outFile.isEmpty())
        return usage(err, QStringLiteral("no output file given (-o OUT.png)"));

    const QFileInfo panelInfo(panelFile);
    if (!panelInfo.isFile()) {
        err << "quillmark-cli render: panel file " << panelInfo.absoluteFilePath() << " does not exist\n";
        return CliTool::Failure;
    }

    Panel *panel = Panel::instance();
    // Outlines and key names are drawn with these pens: a transparent pen
    // draws nothing.
    panel->setViewRectColor(outlines ? viewRectColor : QColor(Qt::transparent));
    panel->setTouchRectColor(outlines ? touchRectColor : QColor(Qt::transparent));
    // The resolutions decide where the resources are found and how the
    // panel is scaled: set before the panel file, the file is read once.
    panel->setResolution(resolution);
    panel->setDeviceResolution(deviceResolution);
    panel->setPanelFile(panelInfo.absoluteFilePath());
    panel->setCurrentStatus(status);
    if (highlight)
        panel->setHighlightPointF(highlightPoint);

    const QImage image = panel->renderPreview();
    if (panel->loadFailed() || panel->currentPanelFile().isEmpty()) {
        err << "quillmark-cli render: panel file " << panelInfo.absoluteFilePath()
            << " could not be loaded\n";
        return CliTool::Failure;
    }
    // Nothing drawn at all: the renderer gives one transparent pixel for a
    // panel size that is invalid or over the image size bound.
    if (image.size() == QSize(1, 1) && qAlpha(image.pixel(0, 0)) == 0) {
        const QSize size = panel->panelSize();
        err << "quillmark-cli render: the panel size " << size.width() << "x" << size.height() << " of "
            << panelInfo.absoluteFilePath() << " is invalid or over the image size bound; nothing rendered\n";
        return CliTool::Failure;
    }
    if (!Panel::writeImage(image, outFile)) {
        err << "quillmark-cli render: could not write " << QFileInfo(outFile).absoluteFilePath()
            << " (is the directory writable and the suffix an image format?)\n";
        return CliTool::Failure;
    }
    out << QFileInfo(outFile).absoluteFilePath() << ": " << image.width() << "x" << image.height() << '\n';
    if (highlight)
        out << "highlighted keys: " << panel->highlightedKeys().join(QLatin1Char(' ')) << '\n';
    return CliTool::Success;
}
