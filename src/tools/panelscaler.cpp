#include "panelscaler.h"

#include "skin/atomicfile.h"
#include "skin/skinconfig.h"
#include "skin/syncbatch.h"
#include "skin/valuetext.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

// A resolution change: values are multiplied by `to` and divided by `from`.
struct Ratio
{
    int to;
    int from;
};

// value × to / from, computed exactly in 64 bits and truncated toward zero.
// Huge resolution ratios could push the result past the int range; such
// values are clamped.
int scaled(int value, Ratio ratio)
{
    const qint64 product = qint64(value) * ratio.to / ratio.from;
    return int(qBound<qint64>(std::numeric_limits<int>::min(), product, std::numeric_limits<int>::max()));
}

QString scaledPair(int x, int y, Ratio h, Ratio v)
{
    return QStringLiteral("%1,%2").arg(scaled(x, h)).arg(scaled(y, v));
}

QString scaledQuad(int a, int b, int c, int d, Ratio h, Ratio v)
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
void scaleSection(const SkinConfig &source, SkinConfig &target, Ratio h, Ratio v)
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
    mFailed.clear();
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

    const Ratio h { hTargetResolution, hSourceResolution };
    const Ratio v { vTargetResolution, vSourceResolution };

    int attempted = 0;
    // Every file is scaled completely into a temporary file first; only when
    // all are ready are they renamed into place, back to back, so a failed
    // run changes nothing and an interrupted one can leave the panel and its
    // candidate files at different resolutions only between two renames.
    SyncBatch batch;
    std::vector<std::unique_ptr<AtomicFile>> prepared;
    QVector<AtomicFile *> files;
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

        // An existing file of that name in the target is kept and edited;
        // a new one starts as a copy of the source.
        const QString newFile = target + QLatin1Char('/') + entry.fileName();
        const bool existed = QFileInfo(newFile).isFile();
        SkinConfig targetConfig(existed ? newFile : entry.absoluteFilePath());
        SkinConfig sourceConfig(entry.absoluteFilePath());
        const QStringList sections = sourceConfig.childGroups();
        for (const QString &section : sections) {
            sourceConfig.beginGroup(section);
            targetConfig.beginGroup(section);
            scaleSection(sourceConfig, targetConfig, h, v);
            targetConfig.endGroup();
            sourceConfig.endGroup();
        }
        const QByteArray text = targetConfig.toBytes();
        // Written below, and never into the source.
        targetConfig.markSaved();
        auto file = std::make_unique<AtomicFile>(newFile);
        if (!file->open() || !file->write(text) || !file->finish()) {
            qInfo() << file->errorString();
            mFailed.append(newFile);
            continue;
        }
        files.append(file.get());
        prepared.push_back(std::move(file));
    }
    if (attempted == 0) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "%1 holds no panel or candidate file; nothing was scaled.")
                .arg(source)));
        return 0;
    }
    bool complete = mFailed.isEmpty();
    QString error;
    if (complete && !AtomicFile::commitAll(files, &error)) {
        // Nothing replaced stays replaced.
        qInfo() << error;
        for (AtomicFile *file : qAsConst(files))
            mFailed.append(file->fileName());
        complete = false;
    }
    if (complete && !batch.sync(&mFailed)) {
        // In place, but the disk did not take every one of them.
        qInfo() << batch.errorString();
        emit reported(OperationResult::failure(batch.problem(), mFailed));
        return -1;
    }
    if (!complete) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "Nothing was scaled into %1: %2 could not be written.")
                .arg(target, mFailed.join(QLatin1String(", "))),
            mFailed));
        return -1;
    }
    const int written = files.size();
    emit reported(OperationResult::success(
        QCoreApplication::translate("Tools", "Scaled %1 panel and candidate files into %2.")
            .arg(QString::number(written), target),
        { target }));
    return written;
}
