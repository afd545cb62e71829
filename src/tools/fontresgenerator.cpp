#include "fontresgenerator.h"

#include "skin/atomicfile.h"
#include "skin/imagelimits.h"
#include "skin/syncbatch.h"
#include "skin/valuetext.h"
#include "tilesheet.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <cmath>
#include <memory>
#include <vector>

namespace {

const char *boolText(bool value)
{
    return value ? "true" : "false";
}

} // namespace

FontResGenerator::FontResGenerator(QObject *parent)
    : QObject(parent)
    , mSystemFontFamilies(QFontDatabase().families())
{ }

FontResGenerator *FontResGenerator::instance()
{
    static FontResGenerator generator;
    return &generator;
}

void FontResGenerator::setCustomFontFamilies(const QStringList &families)
{
    if (families == mCustomFontFamilies)
        return;
    mCustomFontFamilies = families;
    emit customFontFamiliesChanged();
}

void FontResGenerator::setResNumers(const QStringList &numbers)
{
    if (numbers == mResNumers)
        return;
    mResNumers = numbers;
    emit resNumersChanged();
}

bool FontResGenerator::addCustomFont(const QString &fontFile)
{
    const int id = QFontDatabase::addApplicationFont(fontFile);
    const QString file = QFileInfo(fontFile).absoluteFilePath();
    if (id < 0) {
        qInfo() << "can not add default font: " << id << "!";
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "%1 is not a font file that can be loaded.").arg(file),
            { file }));
        return false;
    }
    mFontIds.append(id);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    mCustomFontFamilies.append(families);
    mCustomFontFamilies.removeDuplicates();
    emit customFontFamiliesChanged();
    emit reported(OperationResult::success(QCoreApplication::translate("Tools", "Loaded %1 from %2.")
                                               .arg(families.join(QStringLiteral(", ")), file),
        { file }));
    return true;
}

void FontResGenerator::clear()
{
    for (int id : qAsConst(mFontIds))
        QFontDatabase::removeApplicationFont(id);
    mFontIds.clear();
    mCustomFontFamilies.clear();
    emit customFontFamiliesChanged();
    mResNumers.clear();
    emit resNumersChanged();
    mImages.clear();
}

QStringList FontResGenerator::styles(const QString &family) const
{
    return QFontDatabase().styles(family);
}

QFont FontResGenerator::font() const
{
    QFont font;
    font.setFamily(mFamily);
    // Qt ignores a size of 0 or below with a warning of its own.
    if (mSize > 0)
        font.setPixelSize(mSize);
    font.setStyleName(mStyle);
    // Bold is a weight on top of the chosen style, not a style by name.
    font.setWeight(mBold ? 75 : 50);
    font.setItalic(mItalic);
    font.setUnderline(mUnderLine);
    return font;
}

QImage FontResGenerator::render(const QString &line, const QFont &font) const
{
    const QString text = ValueText::unescapeUnicode(line);
    const QFontMetricsF metrics(font);
    const QRectF rect = mTightMode ? metrics.tightBoundingRect(text) : metrics.boundingRect(text);
    qDebug() << "tight mode: " << boolText(mTightMode);
    qDebug() << "bounding rect: " << rect;

    const double width = std::ceil(rect.width());
    const double height = std::ceil(rect.height());
    if (width <= 0 || height <= 0)
        return QImage();
    // An absurd size from the dialog costs a log line, not the memory.
    if (width > ImageLimits::maxSide || height > ImageLimits::maxSide) {
        qInfo() << "text " << text << " would be " << width << "x" << height
                << " pixels, over the image size bound; no image!";
        return QImage();
    }
    QImage image = ImageLimits::create(
        QSize(int(width), int(height)), QImage::Format_ARGB32_Premultiplied, "font resource");
    if (image.isNull())
        return image;
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QPen(mColor));
    painter.drawText(QPointF((image.width() - rect.width()) * 0.5 - rect.x(),
                         (image.height() - rect.height()) * 0.5 - rect.y()),
        text);
    return image;
}

int FontResGenerator::generate(const QString &text)
{
    qDebug() << "family: " << mFamily;
    qDebug() << "size: " << mSize;
    qDebug() << "style: " << mStyle;
    qDebug() << "color: " << mColor;
    qDebug() << "bold: " << boolText(mBold);
    qDebug() << "italic: " << boolText(mItalic);
    qDebug() << "underLine: " << boolText(mUnderLine);

    mResNumers.clear();
    emit resNumersChanged();
    mImages.clear();

    const QFont textFont = font();
    const QStringList lines = text.split(QLatin1Char('\n'));
    int number = 1;
    for (const QString &line : lines) {
        mImages.insert(number, render(line, textFont));
        mResNumers.append(QString::number(number));
        ++number;
    }
    emit resNumersChanged();
    emit reported(OperationResult::success(
        QCoreApplication::translate("Tools", "Generated %1 images.").arg(mImages.size())));
    return mImages.size();
}

bool FontResGenerator::syncWritten(SyncBatch &batch)
{
    QStringList failed;
    if (batch.sync(&failed))
        return true;
    qInfo() << batch.errorString();
    emit reported(OperationResult::failure(batch.problem(), failed));
    return false;
}

int FontResGenerator::save(const QString &dirName)
{
    qDebug() << "saving: " << dirName;
    const QFileInfo dir(dirName);
    if (!dir.isDir()) {
        qInfo() << dir.absoluteFilePath() << " is not a directory!";
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "%1 is not a directory; no image was saved.")
                .arg(dir.absoluteFilePath())));
        return 0;
    }
    const QString path = dir.absoluteFilePath();
    int images = 0;
    SyncBatch batch;
    // Every image is made complete before any is put in place, so a run
    // that cannot write them all changes nothing.
    std::vector<std::unique_ptr<AtomicFile>> prepared;
    QVector<AtomicFile *> files;
    for (auto it = mImages.cbegin(); it != mImages.cend(); ++it) {
        if (it.value().isNull())
            continue;
        ++images;
        const QString file = QStringLiteral("%1/%2.png").arg(path).arg(it.key(), 3, 10, QLatin1Char('0'));
        auto output = std::make_unique<AtomicFile>(file);
        if (!TileSheet::encodeImage(*output, it.value(), "PNG"))
            return 0;
        files.append(output.get());
        prepared.push_back(std::move(output));
    }
    if (images == 0) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "There is no generated image to save; nothing was saved.")));
        return 0;
    }
    QString error;
    if (!AtomicFile::commitAll(files, &error)) {
        qInfo() << error;
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "No image was saved into %1: %2").arg(path, error),
            { path }));
        return 0;
    }
    if (!syncWritten(batch))
        return 0;
    emit reported(OperationResult::success(QCoreApplication::translate("Tools", "Saved %1 images into %2.")
                                               .arg(QString::number(files.size()), path),
        { path }));
    return files.size();
}

bool FontResGenerator::saveAsTil(const QString &tilFileName)
{
    SyncBatch batch;
    QVector<TileSheet::Entry> entries;
    entries.reserve(mImages.size());
    for (auto it = mImages.cbegin(); it != mImages.cend(); ++it)
        entries.append({ it.key(), it.value() });
    const QString target = QFileInfo(tilFileName).absoluteFilePath();
    QString why;
    if (!TileSheet::pack(entries, mVerticalOrder, tilFileName, &why)) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "%1 was not written: %2").arg(target, why), { target }));
        return false;
    }
    if (!syncWritten(batch))
        return false;
    emit reported(
        OperationResult::success(QCoreApplication::translate("Tools", "Saved %1 images as %2 with its sheet.")
                                     .arg(QString::number(entries.size()), target),
            { target }));
    return true;
}
