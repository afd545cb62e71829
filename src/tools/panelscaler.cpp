#include "panelscaler.h"

#include "skin/skinconfig.h"
#include "skin/valuetext.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

// value × factor truncated toward zero. Huge resolution ratios could push
// the product past the int range, where the conversion would be undefined;
// such values are clamped.
int scaled(int value, double factor)
{
    const double product = std::trunc(double(value) * factor);
    if (product >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (product <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(product);
}

QString scaledPair(int x, int y, double h, double v)
{
    return QStringLiteral("%1,%2").arg(scaled(x, h)).arg(scaled(y, v));
}

QString scaledQuad(int a, int b, int c, int d, double h, double v)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(scaled(a, h))
        .arg(scaled(b, v))
        .arg(scaled(c, h))
        .arg(scaled(d, v));
}

// The known geometry keys of the current section of `source`, scaled into
// the same section of `target`. A value that fails its check is left as the
// copy has it.
void scaleSection(const SkinConfig &source, SkinConfig &target, double h, double v)
{
    const QString geometryKeys[] = { QStringLiteral("SIZE"), QStringLiteral("VIEW_RECT"),
        QStringLiteral("TOUCH_RECT"), QStringLiteral("POS"), QStringLiteral("CELL_SIZE"),
        QStringLiteral("CELL_W"), QStringLiteral("MORE_W"), QStringLiteral("PADDING") };
    for (const QString &key : geometryKeys) {
        if (!source.contains(key))
            continue;
        const QString text = source.value(key);
        if (key == QLatin1String("SIZE") || key == QLatin1String("CELL_SIZE")) {
            const QSize size = ValueText::parseSize(text);
            if (size.width() >= 0 && size.height() >= 0)
                target.setValue(key, scaledPair(size.width(), size.height(), h, v));
        } else if (key == QLatin1String("VIEW_RECT") || key == QLatin1String("TOUCH_RECT")) {
            const QRect rect = ValueText::parseRect(text);
            if (rect.width() >= 1 && rect.height() >= 1)
                target.setValue(key, scaledQuad(rect.x(), rect.y(), rect.width(), rect.height(), h, v));
        } else if (key == QLatin1String("POS")) {
            const QPoint point = ValueText::parsePoint(text);
            target.setValue(key, scaledPair(point.x(), point.y(), h, v));
        } else if (key == QLatin1String("PADDING")) {
            const QList<int> values = ValueText::parseIntList(text);
            if (values.size() >= 4)
                target.setValue(
                    key, scaledQuad(values.at(0), values.at(1), values.at(2), values.at(3), h, v));
        } else {
            target.setValue(key, QString::number(scaled(ValueText::parseInt(text), h)));
        }
    }
}

} // namespace

PanelScaler::PanelScaler(QObject *parent)
    : QObject(parent)
{ }

PanelScaler *PanelScaler::instance()
{
    static PanelScaler scaler;
    return &scaler;
}

int PanelScaler::scale(
    const QString &sourceDir, const QString &targetDir, int sourceResolution, int targetResolution)
{
    return scale(
        sourceDir, targetDir, sourceResolution, targetResolution, sourceResolution, targetResolution);
}

int PanelScaler::scale(const QString &sourceDir, const QString &targetDir, int hSourceResolution,
    int hTargetResolution, int vSourceResolution, int vTargetResolution)
{
    qDebug() << "sourceDir" << sourceDir;
    qDebug() << "targetDir" << targetDir;

    if (hSourceResolution <= 0 || vSourceResolution <= 0) {
        qInfo() << "source resolution " << hSourceResolution << "," << vSourceResolution
                << " is invalid! it must be above 0; nothing scaled.";
        emit reported(OperationResult::failure(QCoreApplication::translate(
            "Tools", "The source resolutions must be above 0; nothing was scaled.")));
        return -1;
    }

    const QString source = QFileInfo(sourceDir).absoluteFilePath();
    const QString target = QFileInfo(targetDir).absoluteFilePath();
    if (!QFileInfo(source).isDir()) {
        qInfo() << "directory: " << source << "not exists!";
        emit reported(OperationResult::failure(QCoreApplication::translate(
            "Tools", "The source directory %1 does not exist; nothing was scaled.")
                                                   .arg(source)));
        return -1;
    }
    if (!QFileInfo::exists(target) && !QDir().mkpath(target)) {
        qInfo() << "directory: " << target << " can not be created!";
        emit reported(OperationResult::failure(QCoreApplication::translate(
            "Tools", "The target directory %1 can not be created; nothing was scaled.")
                                                   .arg(target)));
        return -1;
    }

    const double h = double(hTargetResolution) / hSourceResolution;
    const double v = double(vTargetResolution) / vSourceResolution;

    int written = 0;
    int attempted = 0;
    const QFileInfoList entries
        = QDir(source).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        if (!entry.isFile())
            continue;
        const QString suffix = entry.suffix();
        if (suffix != QLatin1String("ini") && suffix != QLatin1String("cnd"))
            continue;
        ++attempted;
        if (!entry.exists()) {
            qInfo() << entry.absoluteFilePath() << " not exists!";
            continue;
        }

        // An existing file of that name in the target is kept and edited.
        const QString newFile = target + QLatin1Char('/') + entry.fileName();
        QFile::copy(entry.absoluteFilePath(), newFile);
        if (!QFileInfo::exists(newFile)) {
            // Editing a file that is not there would write one holding only
            // the scaled keys.
            qInfo() << newFile << " can not be created!";
            continue;
        }

        SkinConfig targetConfig(newFile);
        SkinConfig sourceConfig(entry.absoluteFilePath());
        const QStringList sections = sourceConfig.childGroups();
        for (const QString &section : sections) {
            sourceConfig.beginGroup(section);
            targetConfig.beginGroup(section);
            scaleSection(sourceConfig, targetConfig, h, v);
            targetConfig.endGroup();
            sourceConfig.endGroup();
        }
        if (targetConfig.save())
            ++written;
    }

    if (attempted == 0) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "%1 holds no panel or candidate file; nothing was scaled.")
                .arg(source)));
    } else if (written == attempted) {
        emit reported(OperationResult::success(
            QCoreApplication::translate("Tools", "Scaled %1 panel and candidate files into %2.")
                .arg(QString::number(written), target),
            { target }));
    } else {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools",
                "Scaled %1 of %2 panel and candidate files into %3; the log says why the others were not.")
                .arg(QString::number(written), QString::number(attempted), target),
            { target }));
    }
    return written;
}
