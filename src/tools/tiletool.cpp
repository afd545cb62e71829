#include "tiletool.h"

#include "skin/atomicfile.h"
#include "skin/imagelimits.h"
#include "skin/skinconfig.h"
#include "skin/syncbatch.h"
#include "skin/tile.h"
#include "skin/valuetext.h"
#include "tools/tilesheet.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>

#include <limits>
#include <memory>
#include <vector>

TileTool::TileTool(QObject *parent)
    : QObject(parent)
{ }

TileTool *TileTool::instance()
{
    static TileTool tool;
    return &tool;
}

bool TileTool::syncWritten(SyncBatch &batch)
{
    if (batch.sync(&mFailed))
        return true;
    qInfo() << batch.errorString();
    emit reported(OperationResult::failure(batch.problem(), mFailed));
    return false;
}

int TileTool::split(const QString &tilPath, const QString &targetDir)
{
    mFailed.clear();
    // The tiles are synced together once the run is over.
    SyncBatch batch;
    const QFileInfo tilInfo(tilPath);
    if (!tilInfo.exists()) {
        qInfo() << "til file: " << tilInfo.absoluteFilePath() << "not exists!";
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "The tile file %1 does not exist; nothing was split.")
                .arg(tilInfo.absoluteFilePath())));
        return -1;
    }
    const QString sheetPath = tileImagePath(tilPath);
    if (!QFileInfo::exists(sheetPath)) {
        qInfo() << "png file: " << sheetPath << "not exists!";
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "The sheet %1 does not exist; nothing was split.")
                .arg(QFileInfo(sheetPath).absoluteFilePath())));
        return -1;
    }
    const QFileInfo targetInfo(targetDir);
    if (!targetInfo.isDir()) {
        qInfo() << "target dir: " << targetInfo.absoluteFilePath() << "not exists!";
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "The target directory %1 does not exist; nothing was split.")
                .arg(targetInfo.absoluteFilePath())));
        return -1;
    }

    SkinConfig config(tilPath);
    // The tiles are copies of the sheet's pixels: no conversion, which would
    // change colours under low alpha and the format of the files.
    const QImage sheet = ImageLimits::loadAsIs(sheetPath);
    if (sheet.isNull()) {
        qInfo() << sheetPath << " is invalid!";
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "The sheet %1 can not be read; nothing was split.")
                .arg(QFileInfo(sheetPath).absoluteFilePath())));
        return -1;
    }

    const QString target = targetInfo.absoluteFilePath();
    // Every tile is made complete before any is put in place, so a run that
    // cannot write them all changes nothing.
    std::vector<std::unique_ptr<AtomicFile>> prepared;
    QVector<AtomicFile *> files;
    QSet<QString> written; // two sections of one number write one file
    QSet<int> tiles;
    const QStringList sections = config.childGroups();
    for (const QString &section : sections) {
        if (!section.startsWith(QLatin1String("IMG")))
            continue;
        const int number = section.mid(3).toInt();
        tiles.insert(number);
        config.beginGroup(section);
        const QRect rect = ValueText::parseRect(config.value(QStringLiteral("SOURCE_RECT")));
        config.endGroup();

        const QString file = QStringLiteral("%1/%2.png").arg(target).arg(number, 3, 10, QLatin1Char('0'));
        // The rectangle comes from the file: an empty one has nothing to
        // save, and a huge one must not allocate beyond the image bound.
        if (!rect.isNull() && (rect.width() <= 0 || rect.height() <= 0)) {
            qInfo() << section << "/SOURCE_RECT of " << tilPath << " is empty; " << file << " not written!";
            continue;
        }
        if (!ImageLimits::allows(rect.size())) {
            qInfo() << section << "/SOURCE_RECT of " << tilPath << " is over the image size bound; " << file
                    << " not written!";
            continue;
        }
        // Splitting into the sheet's own directory must not replace the
        // sheet (named like a tile, e.g. 001.png) with one of its tiles.
        if (QFileInfo(file) == QFileInfo(sheetPath)) {
            qInfo() << file << " is the sheet itself; tile " << number << " not written!";
            continue;
        }
        // Parts outside the sheet come out as all-zero pixels.
        const QImage tile = rect.isNull() ? sheet : sheet.copy(rect);
        // Two sections of one number: both are written, the later last.
        auto output = std::make_unique<AtomicFile>(file);
        if (!TileSheet::encodeImage(*output, tile, "PNG")) {
            mFailed.append(file);
            continue;
        }
        written.insert(file);
        files.append(output.get());
        prepared.push_back(std::move(output));
    }
    if (!mFailed.isEmpty())
        return -1;
    QString error;
    if (!AtomicFile::commitAll(files, &error)) {
        qInfo() << error;
        mFailed.append(error);
        return -1;
    }
    if (!syncWritten(batch))
        return -1;

    if (tiles.isEmpty()) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "%1 lists no tile; nothing was split.")
                .arg(tilInfo.absoluteFilePath())));
    } else if (written.size() == tiles.size()) {
        emit reported(OperationResult::success(
            QCoreApplication::translate("Tools", "Split %1 tiles of %2 into %3.")
                .arg(QString::number(written.size()), tilInfo.absoluteFilePath(), target),
            { target }));
    } else {
        emit reported(OperationResult::failure(
            QCoreApplication::translate(
                "Tools", "Split %1 of %2 tiles into %3; the log says why the others were not.")
                .arg(QString::number(written.size()), QString::number(tiles.size()), target),
            { target }));
    }
    return written.size();
}

int TileTool::join(const QString &sourceDir, const QString &tilPath, bool verticalOrder, int startingNumber)
{
    mFailed.clear();
    SyncBatch batch;
    const QFileInfo sourceInfo(sourceDir);
    if (!sourceInfo.isDir()) {
        qInfo() << "source dir: " << sourceInfo.absoluteFilePath() << "not exists!";
        emit reported(OperationResult::failure(QCoreApplication::translate(
            "Tools", "The source directory %1 does not exist; nothing was joined.")
                                                   .arg(sourceInfo.absoluteFilePath())));
        return -1;
    }

    QStringList paths;
    const QFileInfoList files
        = QDir(sourceInfo.absoluteFilePath())
              .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &file : files) {
        if (file.isFile() && file.suffix() == QLatin1String("png"))
            paths.append(file.absoluteFilePath());
    }

    // The sizes the files declare, before any is decoded: a directory of
    // large images that could never fit on one sheet must not be loaded into
    // memory all at once only to be refused afterwards.
    qint64 width = 0;
    qint64 height = 0;
    for (const QString &path : qAsConst(paths)) {
        // Undecodable images load as 0 x 0 and take their place.
        const QSize size = QImageReader(path).size();
        if (!size.isValid())
            continue;
        // Recorded as an empty rectangle it would read as the whole sheet.
        if (!ImageLimits::allows(size)) {
            qInfo() << path << " is " << size.width() << "x" << size.height()
                    << ", over the image size bound; nothing written!";
            mFailed.append(path);
            return -1;
        }
        width = verticalOrder ? qMax<qint64>(width, size.width()) : width + size.width();
        height = verticalOrder ? height + size.height() : qMax<qint64>(height, size.height());
    }
    if (width > ImageLimits::maxSide || height > ImageLimits::maxSide
        || width * height > ImageLimits::maxPixels) {
        qInfo() << "sheet for " << tilPath << " would be " << width << "x" << height
                << ", over the image size bound; nothing written!";
        emit reported(OperationResult::failure(QCoreApplication::translate(
            "Tools", "The sheet would be %1 x %2 pixels, more than an image may have; nothing was joined.")
                                                   .arg(width)
                                                   .arg(height)));
        return -1;
    }

    QVector<TileSheet::Entry> entries;
    int unreadable = 0;
    for (const QString &path : qAsConst(paths)) {
        // An unreadable image still takes its place, as a 0 x 0 tile.
        TileSheet::Entry entry;
        entry.image = ImageLimits::load(path);
        if (entry.image.isNull()) {
            qInfo() << path << " is invalid!";
            ++unreadable;
        }
        entries.append(entry);
    }
    if (startingNumber > std::numeric_limits<int>::max() - entries.size()) {
        qInfo() << "starting number " << startingNumber << " is too large for " << entries.size()
                << " images; nothing written!";
        emit reported(OperationResult::failure(QCoreApplication::translate(
            "Tools", "The starting number %1 is too large for %2 images; nothing was joined.")
                                                   .arg(startingNumber)
                                                   .arg(entries.size())));
        return -1;
    }
    for (int i = 0; i < entries.size(); ++i)
        entries[i].number = startingNumber + i;

    const QString target = QFileInfo(tilPath).absoluteFilePath();
    QString why;
    if (!TileSheet::pack(entries, verticalOrder, tilPath, &why)) {
        mFailed.append(tilPath);
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "%1 was not written: %2").arg(target, why), { target }));
        return -1;
    }
    if (!syncWritten(batch))
        return -1;
    if (entries.isEmpty()) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "%1 holds no PNG image; %2 lists no tile.")
                .arg(sourceInfo.absoluteFilePath(), target),
            { target }));
    } else if (unreadable > 0) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate(
                "Tools", "Joined %1 images into %2, but %3 of them could not be read and are empty tiles.")
                .arg(QString::number(entries.size()), target, QString::number(unreadable)),
            { target }));
    } else {
        emit reported(OperationResult::success(
            QCoreApplication::translate("Tools", "Joined %1 images into %2 and its sheet.")
                .arg(QString::number(entries.size()), target),
            { target }));
    }
    return entries.size();
}
