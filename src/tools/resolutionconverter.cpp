#include "resolutionconverter.h"

#include "app/valuetext.h"
#include "skin/imagelimits.h"
#include "skin/skinconfig.h"
#include "skin/tile.h"
#include "tilesheet.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {

const QString sourceRectKey = QStringLiteral("SOURCE_RECT");
const QString innerRectKey = QStringLiteral("INNER_RECT");

bool isTileSection(const QString &section)
{
    return section.startsWith(QLatin1String("IMG"));
}

// Source rectangles truncate every field toward zero.
QString scaleSourceRect(const QRect &r, double f)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(qint64(std::trunc(r.x() * f)))
        .arg(qint64(std::trunc(r.y() * f)))
        .arg(qint64(std::trunc(r.width() * f)))
        .arg(qint64(std::trunc(r.height() * f)));
}

// Inner rectangles round their origin up and their size down, so the
// stretchable part never grows past the scaled border.
QString scaleInnerRect(const QRect &r, double f)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(qint64(std::ceil(r.x() * f)))
        .arg(qint64(std::ceil(r.y() * f)))
        .arg(qint64(std::floor(r.width() * f)))
        .arg(qint64(std::floor(r.height() * f)));
}

} // namespace

ResolutionConverter::ResolutionConverter(QObject *parent)
    : QObject(parent)
{ }

ResolutionConverter *ResolutionConverter::instance()
{
    static ResolutionConverter converter;
    return &converter;
}

int ResolutionConverter::convert(const QString &sourceRes, const QString &targetRes, int sourceResolution,
    int targetResolution, bool onlyInnerRect)
{
    qDebug() << "sourceRes: " << sourceRes;
    qDebug() << "targetRes: " << targetRes;

    const QFileInfo sourceInfo(sourceRes);
    const QString sourceDir = sourceInfo.absoluteFilePath();
    if (!sourceInfo.isDir()) {
        qInfo() << "directory: " << sourceDir << "not exists!";
        return 0;
    }
    // A zero or negative source resolution would divide by zero or mirror
    // every rectangle; a non-positive target would ask for empty images.
    if (sourceResolution <= 0 || targetResolution <= 0) {
        qInfo() << "resolution: " << sourceResolution << " to " << targetResolution << " is invalid!";
        return 0;
    }
    const QString targetDir = QFileInfo(targetRes).absoluteFilePath();
    if (!QDir().mkpath(targetDir)) {
        qInfo() << "directory: " << targetDir << "can not be created!";
        return 0;
    }

    const double factor = double(targetResolution) / double(sourceResolution);

    const QFileInfoList entries
        = QDir(sourceDir).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    int converted = 0;
    for (const QFileInfo &entry : entries) {
        if (entry.suffix() != QLatin1String("til"))
            continue;
        if (convertTileFile(entry.absoluteFilePath(), targetDir, factor, onlyInnerRect))
            ++converted;
    }
    return converted;
}

bool ResolutionConverter::convertTileFile(
    const QString &tilPath, const QString &targetDir, double factor, bool onlyInnerRect)
{
    const QFileInfo tilInfo(tilPath);
    const QString imagePath = tileImagePath(tilPath);
    const QImage image = TileSheet::loadSheet(tilPath);
    if (image.isNull())
        return false;

    struct Rects
    {
        QString section;
        bool hasSource;
        QRect source;
        bool hasInner;
        QRect inner;
    };
    QVector<Rects> sections;
    bool anyInner = false;
    {
        const SkinConfig source(tilPath);
        const QStringList groups = source.childGroups();
        for (const QString &group : groups) {
            if (!isTileSection(group))
                continue;
            const QString sourcePath = group + QLatin1Char('/') + sourceRectKey;
            const QString innerPath = group + QLatin1Char('/') + innerRectKey;
            Rects rects { group, source.contains(sourcePath), ValueText::parseRect(source.value(sourcePath)),
                source.contains(innerPath), ValueText::parseRect(source.value(innerPath)) };
            anyInner = anyInner || rects.hasInner;
            sections.append(rects);
        }
    }
    if (onlyInnerRect && !anyInner)
        return false;

    const QString newTil = targetDir + QLatin1Char('/') + tilInfo.fileName();
    qDebug() << "new til: " << newTil;
    // An existing target is kept and edited: whatever else it holds survives.
    if (QFileInfo(newTil).absoluteFilePath() != tilInfo.absoluteFilePath())
        QFile::copy(tilPath, newTil);

    // Written once after all sections: the target is then either wholly
    // converted or left as it was.
    if (!sections.isEmpty()) {
        SkinConfig target(newTil);
        for (const Rects &rects : sections) {
            target.beginGroup(rects.section);
            if (rects.hasSource)
                target.setValue(sourceRectKey, scaleSourceRect(rects.source, factor));
            if (rects.hasInner)
                target.setValue(innerRectKey, scaleInnerRect(rects.inner, factor));
            target.endGroup();
        }
        target.save();
    }

    const QString newPng = targetDir + QLatin1Char('/') + QFileInfo(imagePath).fileName();
    qDebug() << "new png: " << newPng;
    const qint64 width = qint64(std::trunc(image.width() * factor));
    const qint64 height = qint64(std::trunc(image.height() * factor));
    if (width <= 0 || height <= 0) {
        qInfo() << newPng << " would be " << width << "x" << height << " pixels; not written!";
        return true;
    }
    if (width > ImageLimits::maxSide || height > ImageLimits::maxSide) {
        qInfo() << newPng << " would be " << width << "x" << height
                << " pixels, over the image size bound; not written!";
        return true;
    }
    const QImage scaled = ImageLimits::scaled(image, QSize(int(width), int(height)));
    if (scaled.isNull())
        return true;
    TileSheet::savePng(scaled, newPng);
    return true;
}
