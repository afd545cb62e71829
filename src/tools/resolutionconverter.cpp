#include "resolutionconverter.h"

#include "skin/imagelimits.h"
#include "skin/skinconfig.h"
#include "skin/tile.h"
#include "skin/valuetext.h"
#include "tilesheet.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

// Undoes the tile file half of a pair whose other half failed: a target that
// was there before gets its old text back, a copy made for this conversion
// goes away.
void putBack(const QString &tilFile, bool existed, const QByteArray &before)
{
    if (!existed) {
        QFile::remove(tilFile);
        return;
    }
    QSaveFile file(tilFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(before) != before.size() || !file.commit())
        qInfo() << tilFile << " can not be put back: " << file.errorString();
    else
        qInfo() << tilFile << " put back as it was";
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
    const Result result
        = convertDirectory(sourceRes, targetRes, sourceResolution, targetResolution, onlyInnerRect);
    const QString target = QFileInfo(targetRes).absoluteFilePath();
    if (!result.problem.isEmpty()) {
        emit reported(OperationResult::failure(result.problem));
    } else if (result.attempted == 0) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "%1 holds no tile file to convert; nothing was converted.")
                .arg(QFileInfo(sourceRes).absoluteFilePath())));
    } else if (result.converted == result.attempted) {
        emit reported(OperationResult::success(
            QCoreApplication::translate("Tools", "Converted %1 tile files with their sheets into %2.")
                .arg(QString::number(result.converted), target),
            { target }));
    } else {
        emit reported(OperationResult::failure(
            QCoreApplication::translate(
                "Tools", "Converted %1 of %2 tile files into %3; the log says why the others were not.")
                .arg(QString::number(result.converted), QString::number(result.attempted), target),
            { target }));
    }
    return result.converted;
}

ResolutionConverter::Result ResolutionConverter::convertDirectory(const QString &sourceRes,
    const QString &targetRes, int sourceResolution, int targetResolution, bool onlyInnerRect)
{
    qDebug() << "sourceRes: " << sourceRes;
    qDebug() << "targetRes: " << targetRes;

    Result result;
    const QFileInfo sourceInfo(sourceRes);
    const QString sourceDir = sourceInfo.absoluteFilePath();
    if (!sourceInfo.isDir()) {
        qInfo() << "directory: " << sourceDir << "not exists!";
        result.problem = QCoreApplication::translate(
            "Tools", "The source directory %1 does not exist; nothing was converted.")
                             .arg(sourceDir);
        return result;
    }
    // A zero or negative source resolution would divide by zero or mirror
    // every rectangle; a non-positive target would ask for empty images.
    if (sourceResolution <= 0 || targetResolution <= 0) {
        qInfo() << "resolution: " << sourceResolution << " to " << targetResolution << " is invalid!";
        result.problem
            = QCoreApplication::translate("Tools", "The resolutions must be above 0; nothing was converted.");
        return result;
    }
    const QString targetDir = QFileInfo(targetRes).absoluteFilePath();
    if (!QDir().mkpath(targetDir)) {
        qInfo() << "directory: " << targetDir << "can not be created!";
        result.problem = QCoreApplication::translate(
            "Tools", "The target directory %1 can not be created; nothing was converted.")
                             .arg(targetDir);
        return result;
    }

    const double factor = double(targetResolution) / double(sourceResolution);

    const QFileInfoList entries
        = QDir(sourceDir).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        if (entry.suffix() != QLatin1String("til"))
            continue;
        const Outcome outcome = convertTileFile(entry.absoluteFilePath(), targetDir, factor, onlyInnerRect);
        if (outcome == Outcome::PassedOver)
            continue;
        ++result.attempted;
        if (outcome == Outcome::Converted)
            ++result.converted;
    }
    return result;
}

ResolutionConverter::Outcome ResolutionConverter::convertTileFile(
    const QString &tilPath, const QString &targetDir, double factor, bool onlyInnerRect)
{
    const QFileInfo tilInfo(tilPath);
    const QString imagePath = tileImagePath(tilPath);
    const QImage image = TileSheet::loadSheet(tilPath);

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
    if (tilInfo.exists()) {
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
        return Outcome::PassedOver;
    if (image.isNull())
        return Outcome::Failed;

    // The scaled sheet is made before anything is written: a sheet that
    // cannot be had leaves both files of the pair as they are, so a tile file
    // never describes a sheet that does not match it.
    const QString newTil = targetDir + QLatin1Char('/') + tilInfo.fileName();
    const QString newPng = targetDir + QLatin1Char('/') + QFileInfo(imagePath).fileName();
    const qint64 width = qint64(std::trunc(image.width() * factor));
    const qint64 height = qint64(std::trunc(image.height() * factor));
    if (width <= 0 || height <= 0) {
        qInfo() << newPng << " would be " << width << "x" << height << " pixels; " << tilInfo.fileName()
                << " and its sheet not written!";
        return Outcome::Failed;
    }
    if (width > ImageLimits::maxSide || height > ImageLimits::maxSide
        || !ImageLimits::allows(int(width), int(height))) {
        qInfo() << newPng << " would be " << width << "x" << height << " pixels, over the image size bound; "
                << tilInfo.fileName() << " and its sheet not written!";
        return Outcome::Failed;
    }
    const QImage scaled = ImageLimits::scaled(image, QSize(int(width), int(height)));
    if (scaled.isNull()) {
        qInfo() << newPng << " can not be scaled; " << tilInfo.fileName() << " and its sheet not written!";
        return Outcome::Failed;
    }

    qDebug() << "new til: " << newTil;
    // An existing target is kept and edited: whatever else it holds survives.
    // Its text is kept to put it back should the sheet fail to be written.
    const bool existed = QFileInfo(newTil).isFile();
    QByteArray before;
    if (existed) {
        QFile file(newTil);
        if (!file.open(QIODevice::ReadOnly)) {
            qInfo() << "can not open file: " << newTil;
            return Outcome::Failed;
        }
        before = file.readAll();
    } else if (!QFile::copy(tilPath, newTil)) {
        qInfo() << tilPath << " can not be copied to " << newTil << "!";
        return Outcome::Failed;
    }

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
        // A failed save leaves an existing target as it was; only a copy
        // made for this conversion is left to clear away.
        if (!target.save()) {
            if (!existed)
                QFile::remove(newTil);
            return Outcome::Failed;
        }
    }

    qDebug() << "new png: " << newPng;
    if (!TileSheet::savePng(scaled, newPng)) {
        putBack(newTil, existed, before);
        return Outcome::Failed;
    }
    return Outcome::Converted;
}
