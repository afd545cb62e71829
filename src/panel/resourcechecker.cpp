#include "resourcechecker.h"

#include "checkeddocument.h"
#include "panel.h"
#include "skin/imagelimits.h"
#include "skin/tile.h"
#include "skin/valuetext.h"
#include "styles/style.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

bool isStyleSection(const QString &name)
{
    return name.startsWith(QLatin1String("STYLE"));
}

const char *const soundKeys[] = {
    "PRESS_SOUND_PATH",
    "PANEL_SHOW_SOUND_PATH",
    "PANEL_ACG_SHOW_SOUND_PATH",
    "PANEL_HIDE_SOUND_PATH",
};

// A path relative to a res directory, as it would lie in the first of them
// that has it; the first candidate when none has it.
QString findUnder(const QStringList &directories, const QString &relative, bool *found)
{
    *found = false;
    for (const QString &directory : directories) {
        const QString path = directory + QLatin1Char('/') + relative;
        if (QFileInfo(path).isFile()) {
            *found = true;
            return path;
        }
    }
    return directories.isEmpty() ? relative : directories.first() + QLatin1Char('/') + relative;
}

} // namespace

QSet<QString> ResourceChecker::check(const QString &styleTable, const QStringList &resourceDirectories,
    QVector<SkinProblem> &problems, QSet<QString> &inputs)
{
    const QString id = styleTable + QLatin1Char('\n') + resourceDirectories.join(QLatin1Char('\n'));
    const auto known = mStyleTables.constFind(id);
    if (known != mStyleTables.constEnd())
        return known.value();

    Resources resources;
    const QVector<Panel::ResourceFile> files = Panel::listResourceFiles(resourceDirectories);
    for (const QString &directory : resourceDirectories)
        inputs.insert(directory);
    for (const Panel::ResourceFile &file : files) {
        inputs.insert(QFileInfo(file.path).absolutePath());
        if (file.path.endsWith(QLatin1String(".ttf"))) {
            resources.fonts.insert(file.path.mid(file.root.length() + 1));
            continue;
        }
        const TileFile &tiles = checkTileFile(file.path, problems, inputs);
        for (const QString &key : tiles.keys) {
            // A later tile file of the same name replaces the tile in the store.
            if (tiles.loadable) {
                resources.tiles.insert(key);
                resources.unloadedTiles.remove(key);
            } else if (!resources.tiles.contains(key)) {
                resources.unloadedTiles.insert(key);
            }
        }
    }

    const CheckedDocument table(styleTable);
    inputs.insert(styleTable);
    QSet<QString> styles;
    for (int i = 0; i < table.sectionCount(); ++i) {
        if (isStyleSection(table.sectionName(i)))
            styles.insert(table.sectionName(i));
    }
    checkStyleTable(table, resourceDirectories, resources, problems, inputs);
    mStyleTables.insert(id, styles);
    return styles;
}

const ResourceChecker::TileFile &ResourceChecker::checkTileFile(
    const QString &path, QVector<SkinProblem> &problems, QSet<QString> &inputs)
{
    const auto known = mTileFiles.constFind(path);
    if (known != mTileFiles.constEnd())
        return known.value();

    TileFile result;
    const QString sheetPath = tileImagePath(path);
    inputs.insert(path);
    inputs.insert(sheetPath);
    const CheckedDocument tiles(path);
    tiles.reportText(problems);

    QSize sheetSize;
    const QString sheetName = QFileInfo(sheetPath).fileName();
    if (!QFileInfo::exists(sheetPath)) {
        problems.append(SkinProblem { path, 0, SkinProblem::Error, QStringLiteral("missing-sheet"),
            tr("The sheet %1 of this tile file does not exist: none of its tiles are loaded, and styles that "
               "use them draw no image.")
                .arg(sheetName),
            {} });
    } else {
        const QSize declared = QImageReader(sheetPath).size();
        if (declared.isValid() && !ImageLimits::allows(declared)) {
            problems.append(SkinProblem { sheetPath, 0, SkinProblem::Error, QStringLiteral("sheet-too-large"),
                tr("This sheet is %1x%2 pixels, over the image size bound of %3 pixels a side and %4 pixels: "
                   "none of the tiles of %5 are loaded.")
                    .arg(declared.width())
                    .arg(declared.height())
                    .arg(ImageLimits::maxSide)
                    .arg(ImageLimits::maxPixels)
                    .arg(QFileInfo(path).fileName()),
                {} });
        } else {
            sheetSize = ImageLimits::load(sheetPath).size();
            if (sheetSize.isEmpty())
                problems.append(SkinProblem { sheetPath, 0, SkinProblem::Error, QStringLiteral("bad-sheet"),
                    tr("This sheet cannot be decoded as an image: none of the tiles of %1 are loaded, and "
                       "styles that use them draw no image.")
                        .arg(QFileInfo(path).fileName()),
                    {} });
        }
    }
    result.loadable = !sheetSize.isEmpty();

    const QString name = QFileInfo(path).baseName();
    for (int i = 0; i < tiles.sectionCount(); ++i) {
        const QString section = tiles.sectionName(i);
        if (section.startsWith(QLatin1String("IMG")) && tiles.firstIndex(section) == i)
            result.keys.append(Tile::keyFor(name, section.mid(3).toInt()));
    }
    if (result.loadable)
        checkTiles(tiles, sheetSize, problems);
    return *mTileFiles.insert(path, result);
}

void ResourceChecker::checkTiles(
    const CheckedDocument &tiles, const QSize &sheet, QVector<SkinProblem> &problems) const
{
    using Form = CheckedDocument::Form;
    const QRect sheetRect(QPoint(0, 0), sheet);
    for (int i = 0; i < tiles.sectionCount(); ++i) {
        const QString section = tiles.sectionName(i);
        // Every repeat of a section reads the first one's values.
        if (!section.startsWith(QLatin1String("IMG")) || tiles.firstIndex(section) != i)
            continue;
        const CheckedDocument::Value sourceValue = tiles.valueAt(i, QStringLiteral("SOURCE_RECT"));
        const QRect source = ValueText::parseRect(sourceValue.text);
        const bool wholeSheet = source.width() == 0 && source.height() == 0;
        const QString what = section + QLatin1String("/SOURCE_RECT");
        QString consequence;
        if (wholeSheet)
            consequence = tr("The tile is the whole sheet.");
        else if (source.width() <= 0 || source.height() <= 0)
            consequence = tr("The tile is empty and draws nothing.");
        if (!tiles.checkForm(sourceValue, what, Form::Rect, problems, consequence))
            continue;
        if (!wholeSheet && (source.width() <= 0 || source.height() <= 0)) {
            problems.append(SkinProblem { tiles.path(), sourceValue.line, SkinProblem::Warning,
                QStringLiteral("bad-geometry"),
                tr("%1 %2 has a width or height of 0 or less: the tile is empty and draws nothing.")
                    .arg(what, sourceValue.text),
                {} });
            continue;
        }
        if (!wholeSheet && !sheetRect.contains(source))
            problems.append(SkinProblem { tiles.path(), sourceValue.line, SkinProblem::Warning,
                QStringLiteral("source-rect-outside-sheet"),
                tr("%1 %2 reaches outside the %3x%4 sheet: the part outside is transparent.")
                    .arg(what, sourceValue.text)
                    .arg(sheet.width())
                    .arg(sheet.height()),
                {} });

        const CheckedDocument::Value innerValue = tiles.valueAt(i, QStringLiteral("INNER_RECT"));
        const QString innerWhat = section + QLatin1String("/INNER_RECT");
        const QString plain = tr("The tile scales plainly, without fixed borders.");
        if (!innerValue.found || !tiles.checkForm(innerValue, innerWhat, Form::Rect, problems, plain))
            continue;
        const QRect inner = ValueText::parseRect(innerValue.text);
        if (inner.width() <= 0 || inner.height() <= 0) {
            problems.append(SkinProblem { tiles.path(), innerValue.line, SkinProblem::Warning,
                QStringLiteral("bad-geometry"),
                tr("%1 %2 has a width or height of 0 or less.").arg(innerWhat, innerValue.text)
                    + QLatin1Char(' ') + plain,
                {} });
            continue;
        }
        // The inner rectangle is in sheet pixels, its tile where SOURCE_RECT says.
        const QRect tile = wholeSheet ? sheetRect : source;
        if (!tile.contains(inner))
            problems.append(SkinProblem { tiles.path(), innerValue.line, SkinProblem::Warning,
                QStringLiteral("inner-rect-outside-tile"),
                tr("%1 %2 is not inside its tile %3 (in sheet pixels): the borders around it come out wrong "
                   "when the tile is stretched.")
                    .arg(innerWhat, innerValue.text, ValueText::formatRect(tile)),
                {} });
    }
}

void ResourceChecker::checkStyleTable(const CheckedDocument &table, const QStringList &resourceDirectories,
    const Resources &resources, QVector<SkinProblem> &problems, QSet<QString> &inputs) const
{
    using Form = CheckedDocument::Form;
    table.reportText(problems, &isStyleSection);
    checkFont(
        table, table.firstIndex(QStringLiteral("GLOBAL")), resourceDirectories, resources, problems, inputs);

    QStringList soundDirectories = resourceDirectories;
    for (const QString &directory : resourceDirectories) {
        const QString parent = QFileInfo(directory).absolutePath();
        if (!soundDirectories.contains(parent))
            soundDirectories.append(parent);
    }

    for (int i = 0; i < table.sectionCount(); ++i) {
        const QString section = table.sectionName(i);
        // The store keeps the last STYLE section of a name.
        if (!isStyleSection(section) || table.lastIndex(section) != i)
            continue;
        auto value = [&](const char *key) { return table.valueAt(i, QLatin1String(key)); };
        auto what = [&](const char *key) { return section + QLatin1Char('/') + QLatin1String(key); };

        for (const char *key : { "NM_COLOR", "HL_COLOR", "BORDER_COLOR" }) {
            const CheckedDocument::Value colour = value(key);
            if (!colour.found || Style::parseColor(colour.text).isValid())
                continue;
            const bool border = qstrcmp(key, "BORDER_COLOR") == 0;
            problems.append(SkinProblem { table.path(), colour.line, SkinProblem::Warning,
                QStringLiteral("bad-colour"),
                tr("%1 \"%2\" is not a colour (3, 6, 9 or 12 hexadecimal digits, or 8 with the alpha first, "
                   "without \"#\"): %3")
                    .arg(what(key), colour.text,
                        border ? tr("the label is drawn without its shadow.")
                               : tr("the style's label or colour is drawn opaque black.")),
                {} });
        }
        table.checkForm(value("FONT_SIZE"), what("FONT_SIZE"), Form::Integer, problems);
        table.checkForm(value("BORDER_SIZE"), what("BORDER_SIZE"), Form::Integer, problems);

        for (const char *key : { "NM_IMG", "HL_IMG" }) {
            const CheckedDocument::Value image = value(key);
            // A tile of a file whose sheet is at fault is reported there.
            if (image.text.isEmpty() || resources.tiles.contains(image.text)
                || resources.unloadedTiles.contains(image.text))
                continue;
            problems.append(SkinProblem { table.path(), image.line, SkinProblem::Error,
                QStringLiteral("unknown-tile"),
                tr("%1 names the tile \"%2\", which no tile file in the res directories has: the style draws "
                   "its label or colour instead of an image.")
                    .arg(what(key), image.text),
                {} });
        }

        checkFont(table, i, resourceDirectories, resources, problems, inputs);
        for (const char *key : soundKeys) {
            const CheckedDocument::Value sound = value(key);
            if (sound.text.isEmpty())
                continue;
            // Where a sound path starts is the input method's business: a
            // res directory or the skin directory holding it will both do.
            bool found = false;
            inputs.insert(findUnder(soundDirectories, sound.text, &found));
            if (!found)
                problems.append(SkinProblem { table.path(), sound.line, SkinProblem::Warning,
                    QStringLiteral("missing-sound"),
                    tr("%1 names %2, which is neither in the res directories nor in the directories holding "
                       "them: the sound cannot be played.")
                        .arg(what(key), sound.text),
                    {} });
        }
    }
}

void ResourceChecker::checkFont(const CheckedDocument &table, int index,
    const QStringList &resourceDirectories, const Resources &resources, QVector<SkinProblem> &problems,
    QSet<QString> &inputs) const
{
    const CheckedDocument::Value font = table.valueAt(index, QStringLiteral("FONT_PATH"));
    if (font.text.isEmpty() || resources.fonts.contains(font.text))
        return;
    bool found = false;
    inputs.insert(findUnder(resourceDirectories, font.text, &found));
    const QString what = table.sectionName(index) + QLatin1String("/FONT_PATH");
    const QString message = found
        ? tr("%1 names %2, which is not a .ttf file: only .ttf fonts are loaded, so labels use the built-in "
             "font instead.")
        : tr("%1 names %2, which is not in the res directories: labels use the built-in font instead.");
    problems.append(SkinProblem { table.path(), font.line, SkinProblem::Warning,
        QStringLiteral("missing-font"), message.arg(what, font.text), {} });
}
