#include "resolutionconverter.h"

#include "skin/atomicfile.h"
#include "skin/imagelimits.h"
#include "skin/skinconfig.h"
#include "skin/syncbatch.h"
#include "skin/tile.h"
#include "skin/valuetext.h"
#include "tilesheet.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <memory>

namespace {

const QString sourceRectKey = QStringLiteral("SOURCE_RECT");
const QString innerRectKey = QStringLiteral("INNER_RECT");

bool isTileSection(const QString &section)
{
    return section.startsWith(QLatin1String("IMG"));
}

// x × to / from in 64 bits: exact, and truncated toward zero as C++ division
// does.
qint64 scaledValue(qint64 x, int to, int from)
{
    return x * to / from;
}

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

qint64 ceilDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) == (b < 0)) ? q + 1 : q;
}

// Source rectangles truncate every field toward zero.
QString scaleSourceRect(const QRect &r, int to, int from)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(scaledValue(r.x(), to, from))
        .arg(scaledValue(r.y(), to, from))
        .arg(scaledValue(r.width(), to, from))
        .arg(scaledValue(r.height(), to, from));
}

// Inner rectangles round their origin up and their size down, so the
// stretchable part never grows past the scaled border.
QString scaleInnerRect(const QRect &r, int to, int from)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(ceilDiv(qint64(r.x()) * to, from))
        .arg(ceilDiv(qint64(r.y()) * to, from))
        .arg(floorDiv(qint64(r.width()) * to, from))
        .arg(floorDiv(qint64(r.height()) * to, from));
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

    // Every pair is prepared completely before any file is put in place;
    // then the pairs are renamed back to back, so an interrupted run leaves
    // a tile file and its sheet disagreeing only between two renames.
    QVector<Prepared> prepared;
    SyncBatch batch;
    const QFileInfoList entries
        = QDir(sourceDir).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        if (entry.suffix() != QLatin1String("til"))
            continue;
        const Outcome outcome = convertTileFile(
            entry.absoluteFilePath(), targetDir, targetResolution, sourceResolution, onlyInnerRect, prepared);
        if (outcome == Outcome::PassedOver)
            continue;
        ++result.attempted;
        if (outcome != Outcome::Converted)
            result.failed.append(entry.fileName());
    }
    // One run of renames for all pairs, pair after pair: a failed rename
    // puts back what the run replaced, so then no pair is converted.
    QVector<AtomicFile *> files;
    for (const Prepared &pair : qAsConst(prepared)) {
        for (const auto &file : pair.files)
            files.append(file.get());
    }
    QString error;
    if (AtomicFile::commitAll(files, &error) && batch.sync()) {
        result.converted = prepared.size();
    } else if (!batch.problem().isEmpty()) {
        // In place, but the disk did not take every one of them.
        qInfo() << batch.errorString();
        result.problem = batch.problem();
        for (const Prepared &pair : qAsConst(prepared))
            result.failed.append(pair.name);
    } else {
        qInfo() << error;
        for (const Prepared &pair : qAsConst(prepared))
            result.failed.append(pair.name);
    }
    return result;
}

ResolutionConverter::Outcome ResolutionConverter::convertTileFile(const QString &tilPath,
    const QString &targetDir, int to, int from, bool onlyInnerRect, QVector<Prepared> &prepared)
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
    const qint64 width = scaledValue(image.width(), to, from);
    const qint64 height = scaledValue(image.height(), to, from);
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
    // An existing target is kept and edited: whatever else it holds
    // survives. A new one starts as a copy of the source.
    const bool existed = QFileInfo(newTil).isFile();
    Prepared pair;
    pair.name = tilInfo.fileName();
    if (!sections.isEmpty() || !existed) {
        QByteArray text;
        if (!sections.isEmpty()) {
            SkinConfig target(existed ? newTil : tilPath);
            for (const Rects &rects : sections) {
                target.beginGroup(rects.section);
                if (rects.hasSource)
                    target.setValue(sourceRectKey, scaleSourceRect(rects.source, to, from));
                if (rects.hasInner)
                    target.setValue(innerRectKey, scaleInnerRect(rects.inner, to, from));
                target.endGroup();
            }
            text = target.toBytes();
            // The text is written below; the source must never be.
            target.markSaved();
        } else {
            QFile file(tilPath);
            if (!file.open(QIODevice::ReadOnly)) {
                qInfo() << "can not open file: " << tilPath;
                return Outcome::Failed;
            }
            text = file.readAll();
        }
        auto file = std::make_shared<AtomicFile>(newTil);
        if (!file->open() || !file->write(text) || !file->finish()) {
            qInfo() << file->errorString();
            return Outcome::WriteFailed;
        }
        pair.files.append(file);
    }

    qDebug() << "new png: " << newPng;
    auto sheetFile = std::make_shared<AtomicFile>(newPng);
    if (!TileSheet::encodeImage(*sheetFile, scaled, "PNG")) {
        if (existed)
            qInfo() << newTil << " kept as it was: its sheet could not be written";
        return Outcome::WriteFailed;
    }
    pair.files.append(sheetFile);
    prepared.append(pair);
    return Outcome::Converted;
}
