#include "tiletool.h"

#include "app/valuetext.h"
#include "skin/atomicfile.h"
#include "skin/imagelimits.h"
#include "skin/skinconfig.h"
#include "skin/syncbatch.h"
#include "skin/tile.h"
#include "tools/tilesheet.h"

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

int TileTool::split(const QString &tilPath, const QString &targetDir)
{
    mFailed.clear();
    // The tiles are synced together once the run is over.
    SyncBatch batch;
    const QFileInfo tilInfo(tilPath);
    if (!tilInfo.exists()) {
        qInfo() << "til file: " << tilInfo.absoluteFilePath() << "not exists!";
        return -1;
    }
    const QString sheetPath = tileImagePath(tilPath);
    if (!QFileInfo::exists(sheetPath)) {
        qInfo() << "png file: " << sheetPath << "not exists!";
        return -1;
    }
    const QFileInfo targetInfo(targetDir);
    if (!targetInfo.isDir()) {
        qInfo() << "target dir: " << targetInfo.absoluteFilePath() << "not exists!";
        return -1;
    }

    SkinConfig config(tilPath);
    // The tiles are copies of the sheet's pixels: no conversion, which would
    // change colours under low alpha and the format of the files.
    const QImage sheet = ImageLimits::loadAsIs(sheetPath);
    if (sheet.isNull()) {
        qInfo() << sheetPath << " is invalid!";
        return -1;
    }

    const QString target = targetInfo.absoluteFilePath();
    // Every tile is made complete before any is put in place, so a run that
    // cannot write them all changes nothing.
    std::vector<std::unique_ptr<AtomicFile>> prepared;
    QVector<AtomicFile *> files;
    QSet<QString> written; // two sections of one number write one file
    const QStringList sections = config.childGroups();
    for (const QString &section : sections) {
        if (!section.startsWith(QLatin1String("IMG")))
            continue;
        const int number = section.mid(3).toInt();
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
    return written.size();
}

int TileTool::join(const QString &sourceDir, const QString &tilPath, bool verticalOrder, int startingNumber)
{
    mFailed.clear();
    SyncBatch batch;
    const QFileInfo sourceInfo(sourceDir);
    if (!sourceInfo.isDir()) {
        qInfo() << "source dir: " << sourceInfo.absoluteFilePath() << "not exists!";
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
        return -1;
    }

    QVector<TileSheet::Entry> entries;
    for (const QString &path : qAsConst(paths)) {
        // An unreadable image still takes its place, as a 0 x 0 tile.
        TileSheet::Entry entry;
        entry.image = ImageLimits::load(path);
        if (entry.image.isNull())
            qInfo() << path << " is invalid!";
        entries.append(entry);
    }
    if (startingNumber > std::numeric_limits<int>::max() - entries.size()) {
        qInfo() << "starting number " << startingNumber << " is too large for " << entries.size()
                << " images; nothing written!";
        return -1;
    }
    for (int i = 0; i < entries.size(); ++i)
        entries[i].number = startingNumber + i;

    if (!TileSheet::pack(entries, verticalOrder, tilPath)) {
        mFailed.append(tilPath);
        return -1;
    }
    return entries.size();
}
