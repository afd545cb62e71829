#include "skinchecker.h"

#include "checkeddocument.h"
#include "panel.h"
#include "skin/imagelimits.h"
#include "skin/skinconfig.h"
#include "skin/valuetext.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <queue>
#include <set>
#include <vector>

using Form = CheckedDocument::Form;
using Value = CheckedDocument::Value;

namespace {

QString absolutePath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool isKeySection(const QString &name)
{
    return name.startsWith(QLatin1String("KEY"));
}

// A section the editor removed keeps its header with every value emptied.
bool isRemoved(const QVector<SkinConfig::Property> &properties)
{
    for (const SkinConfig::Property &property : properties) {
        if (!property.second.isEmpty())
            return false;
    }
    return true;
}

// A PANEL, CAND, LIST or INPUT value as the renderer looks it up: the panel
// document, else gen.ini.
struct Lookup
{
    const CheckedDocument *document = nullptr;
    Value value;
    int section = -1;
};

Lookup lookUp(
    const CheckedDocument &panel, const CheckedDocument *gen, const QString &section, const char *key)
{
    const QString path = section + QLatin1Char('/') + QLatin1String(key);
    const SkinConfig *source = Panel::valueSource(&panel.config(), gen ? &gen->config() : nullptr, path);
    Lookup lookup;
    lookup.document = source == &panel.config() ? &panel : (source ? gen : nullptr);
    if (lookup.document) {
        lookup.section = lookup.document->firstIndex(section);
        lookup.value = lookup.document->valueAt(lookup.section, QLatin1String(key));
    }
    return lookup;
}

} // namespace

void SkinChecker::add(const QVector<SkinProblem> &problems)
{
    for (const SkinProblem &problem : problems) {
        const QString id = problem.file + QLatin1Char('\n') + QString::number(problem.line)
            + QLatin1Char('\n') + problem.kind + QLatin1Char('\n') + problem.message;
        if (mListed.contains(id))
            continue;
        mListed.insert(id);
        mProblems.append(problem);
    }
}

QVector<SkinProblem> SkinChecker::problems() const
{
    QVector<SkinProblem> sorted = mProblems;
    std::stable_sort(sorted.begin(), sorted.end(), [](const SkinProblem &a, const SkinProblem &b) {
        if (a.file != b.file)
            return a.file < b.file;
        return a.line < b.line;
    });
    return sorted;
}

int SkinChecker::count(SkinProblem::Severity severity) const
{
    return int(std::count_if(mProblems.cbegin(), mProblems.cend(),
        [severity](const SkinProblem &problem) { return problem.severity == severity; }));
}

QStringList SkinChecker::inputs() const
{
    QStringList list = mInputs.values();
    list.sort();
    return list;
}

QStringList SkinChecker::panelFilesUnder(const QString &directory)
{
    QStringList files;
    QDirIterator it(directory, { QStringLiteral("*.ini") }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = absolutePath(it.next());
        if (QFileInfo(path).fileName() == QLatin1String("gen.ini"))
            continue;
        const QStringList sections = SkinConfig(path).childGroups();
        if (sections.contains(QStringLiteral("PANEL"))
            || std::any_of(sections.cbegin(), sections.cend(), &isKeySection))
            files.append(path);
    }
    files.sort();
    return files;
}

int SkinChecker::checkSkinDirectory(const QString &directory)
{
    const QStringList files = panelFilesUnder(directory);
    for (const QString &file : files)
        checkPanelFile(file);
    return files.size();
}

void SkinChecker::checkPanelFile(const QString &path)
{
    const QString file = absolutePath(path);
    const QString directory = QFileInfo(file).absolutePath();
    mInputs.insert(file);
    QVector<SkinProblem> out;
    const CheckedDocument panel(file);
    panel.reportText(out);

    const QString genPath = directory + QLatin1String("/gen.ini");
    mInputs.insert(genPath);
    std::unique_ptr<CheckedDocument> gen;
    if (QFileInfo(genPath).isFile()) {
        gen = std::make_unique<CheckedDocument>(genPath);
        if (!mChecked.contains(genPath)) {
            mChecked.insert(genPath);
            gen->reportText(out);
            checkOffsets(*gen, out);
        }
    } else {
        out.append(SkinProblem { file, 0, SkinProblem::Warning, QStringLiteral("missing-gen-ini"),
            tr("There is no gen.ini beside this panel file: values this file does not give are empty, and "
               "keys "
               "have no position offsets."),
            {} });
    }

    const Panel::ResourceSearch search = Panel::findStyleTableAndResources(directory, mResolution);
    for (const QString &candidate : search.tableCandidates)
        mInputs.insert(absolutePath(candidate));
    mStyleTable = search.styleTable;
    mHaveStyles = !mStyleTable.isEmpty();
    mStyles.clear();
    if (mHaveStyles) {
        mStyles = mResources.check(mStyleTable, search.resourceDirectories, out, mInputs);
    } else {
        QStringList tried;
        for (const QString &candidate : search.tableCandidates)
            tried.append(QDir(directory).relativeFilePath(absolutePath(candidate)));
        out.append(SkinProblem { file, 0, SkinProblem::Warning, QStringLiteral("missing-style-table"),
            tr("No style table was found (looked for %1): every style number draws nothing.")
                .arg(tried.join(QLatin1String(", "))),
            {} });
    }

    checkPanelSize(panel, gen.get(), out);
    checkAreas(panel, gen.get(), out);
    checkKeys(panel, out);
    add(out);
}

void SkinChecker::checkOffsets(const CheckedDocument &gen, QVector<SkinProblem> &out) const
{
    for (int i = 0; i < gen.sectionCount(); ++i) {
        const QString section = gen.sectionName(i);
        if (section.startsWith(QLatin1String("OFFSET")) && gen.firstIndex(section) == i)
            gen.checkForm(
                gen.valueAt(i, QStringLiteral("POS")), section + QLatin1String("/POS"), Form::Point, out);
    }
}

void SkinChecker::checkPanelSize(
    const CheckedDocument &panel, const CheckedDocument *gen, QVector<SkinProblem> &out)
{
    mPanelDrawable = false;
    mPanelSize = QSize();
    const Lookup size = lookUp(panel, gen, QStringLiteral("PANEL"), "SIZE");
    const QString notDrawn = tr("The panel is not drawn.");
    if (!size.value.found) {
        const int section = panel.firstIndex(QStringLiteral("PANEL"));
        out.append(SkinProblem { panel.path(), section < 0 ? 0 : panel.sectionLine(section),
            SkinProblem::Error, QStringLiteral("bad-geometry"),
            tr("The panel has no PANEL/SIZE, neither here nor in gen.ini.") + QLatin1Char(' ') + notDrawn,
            {} });
        return;
    }
    const CheckedDocument &document = *size.document;
    if (!document.checkForm(size.value, QStringLiteral("PANEL/SIZE"), Form::Size, out, notDrawn, QString(),
            SkinProblem::Error))
        return;
    const QSize panelSize = ValueText::parseSize(size.value.text);
    auto refuse = [&](const QString &message) {
        out.append(SkinProblem { document.path(), size.value.line, SkinProblem::Error,
            QStringLiteral("bad-geometry"), message + QLatin1Char(' ') + notDrawn, {} });
    };
    if (panelSize.width() < 1 || panelSize.height() < 1) {
        refuse(tr("PANEL/SIZE %1 has a width or height of 0 or less.").arg(size.value.text));
        return;
    }

    // The composite outside candidate status: the panel, a candidate area
    // shown above it and a list with a strip of its own.
    qint64 height = panelSize.height();
    const int candType = ValueText::parseInt(lookUp(panel, gen, QStringLiteral("CAND"), "TYPE").value.text);
    if (candType == 2 || candType == 4)
        height += ValueText::parseRect(lookUp(panel, gen, QStringLiteral("CAND"), "VIEW_RECT").value.text)
                      .height();
    if (panel.firstIndex(QStringLiteral("LIST")) >= 0
        && ValueText::parseInt(lookUp(panel, gen, QStringLiteral("LIST"), "TYPE").value.text) == 2) {
        const QList<int> padding
            = ValueText::parseIntList(lookUp(panel, gen, QStringLiteral("LIST"), "PADDING").value.text);
        height
            += qint64(ValueText::parseSize(lookUp(panel, gen, QStringLiteral("LIST"), "CELL_SIZE").value.text)
                          .height())
            + padding.value(1) + padding.value(3);
    }
    const double scale = mDeviceResolution < 1 ? 1.0 : double(mDeviceResolution) / panelSize.width();
    const double width = std::round(panelSize.width() * scale);
    const double scaledHeight = std::round(double(height) * scale);
    if (width > ImageLimits::maxSide || scaledHeight > ImageLimits::maxSide
        || width * scaledHeight > double(ImageLimits::maxPixels)) {
        refuse(
            tr("PANEL/SIZE %1 makes a preview of %2x%3 pixels, over the image size bound of %4 pixels a side "
               "and %5 pixels.")
                .arg(size.value.text)
                .arg(qint64(width))
                .arg(qint64(scaledHeight))
                .arg(ImageLimits::maxSide)
                .arg(ImageLimits::maxPixels));
        return;
    }
    mPanelDrawable = true;
    mPanelSize = panelSize;
}

void SkinChecker::checkAreas(
    const CheckedDocument &panel, const CheckedDocument *gen, QVector<SkinProblem> &out)
{
    auto integer = [&](const QString &section, const char *key, bool style) {
        const Lookup found = lookUp(panel, gen, section, key);
        if (!found.document)
            return;
        const QString what = section + QLatin1Char('/') + QLatin1String(key);
        if (found.document->checkForm(found.value, what, Form::Integer, out) && style)
            checkStyles(*found.document, found.section, key, out);
    };
    auto form
        = [&](const QString &section, const char *key, Form kind, const QString &consequence = QString()) {
              const Lookup found = lookUp(panel, gen, section, key);
              if (found.document)
                  found.document->checkForm(
                      found.value, section + QLatin1Char('/') + QLatin1String(key), kind, out, consequence);
              return found;
          };

    const QString panelSection = QStringLiteral("PANEL");
    integer(panelSection, "BACK_STYLE", true);
    const QString input = QStringLiteral("INPUT");
    integer(input, "FORE_STYLE", true);
    integer(input, "BACK_STYLE", true);

    const QString cand = QStringLiteral("CAND");
    integer(cand, "TYPE", false);
    const Lookup candRect = form(cand, "VIEW_RECT", Form::Rect);
    if (candRect.document && ValueText::isIntList(candRect.value.text, 4)) {
        const QRect rect = ValueText::parseRect(candRect.value.text);
        if (rect.width() <= 0 || rect.height() <= 0)
            out.append(SkinProblem { candRect.document->path(), candRect.value.line, SkinProblem::Warning,
                QStringLiteral("bad-geometry"),
                tr("CAND/VIEW_RECT %1 has a width or height of 0 or less: the candidate area is empty.")
                    .arg(candRect.value.text),
                {} });
    }
    const Lookup layout = lookUp(panel, gen, cand, "LAYOUT_NAME");
    if (layout.document && !layout.value.text.isEmpty()) {
        const QString path = QFileInfo(panel.path()).absolutePath() + QLatin1Char('/') + layout.value.text
            + QLatin1String(".cnd");
        mInputs.insert(path);
        if (QFileInfo(path).isFile())
            checkLayout(path, out);
        else
            out.append(SkinProblem { layout.document->path(), layout.value.line, SkinProblem::Warning,
                QStringLiteral("missing-layout"),
                tr("CAND/LAYOUT_NAME %1 names the layout file %2, which does not exist: the candidate area "
                   "is "
                   "drawn without its background, icons and candidates.")
                    .arg(layout.value.text, QFileInfo(path).fileName()),
                {} });
    }

    // The renderer draws a list only for a panel file with a LIST section.
    if (panel.firstIndex(QStringLiteral("LIST")) < 0)
        return;
    const QString list = QStringLiteral("LIST");
    integer(list, "TYPE", false);
    integer(list, "BACK_STYLE", true);
    integer(list, "FORE_STYLE", true);
    integer(list, "CELL_STYLE", true);
    integer(list, "LIST_NUM", false);
    integer(list, "LIST_ORDER", false);
    form(list, "CELL_SIZE", Form::Size);
    form(list, "POS", Form::Point);
    const Lookup padding = form(list, "PADDING", Form::IntegerList);
    if (padding.value.found && padding.value.text.split(QLatin1Char(',')).size() != 4)
        out.append(SkinProblem { padding.document->path(), padding.value.line, SkinProblem::Warning,
            QStringLiteral("bad-geometry"),
            tr("LIST/PADDING \"%1\" is not four numbers \"left,top,right,bottom\": the list is drawn without "
               "padding.")
                .arg(padding.value.text),
            {} });
}

void SkinChecker::checkLayout(const QString &path, QVector<SkinProblem> &out)
{
    if (mChecked.contains(path))
        return;
    mChecked.insert(path);
    const CheckedDocument layout(path);
    layout.reportText(out);

    for (int i = 0; i < layout.sectionCount(); ++i) {
        const QString section = layout.sectionName(i);
        if (layout.firstIndex(section) != i)
            continue;
        auto value = [&](const char *key) { return layout.valueAt(i, QLatin1String(key)); };
        auto what = [&](const char *key) { return section + QLatin1Char('/') + QLatin1String(key); };
        auto integer = [&](const char *key, bool style) {
            if (layout.checkForm(value(key), what(key), Form::Integer, out) && style)
                checkStyles(layout, i, key, out);
        };

        if (section == QLatin1String("CAND")) {
            for (const char *key : { "BACK_STYLE", "FORE_STYLE", "FIRST_FORE", "CELL_STYLE" })
                integer(key, true);
            for (const char *key : { "FIRST_GAP", "CELL_W", "MORE_W" })
                integer(key, false);
            const Value padding = value("PADDING");
            if (layout.checkForm(padding, what("PADDING"), Form::IntegerList, out) && padding.found
                && padding.text.split(QLatin1Char(',')).size() < 4)
                out.append(
                    SkinProblem { path, padding.line, SkinProblem::Warning, QStringLiteral("bad-geometry"),
                        tr("CAND/PADDING \"%1\" has fewer than four numbers \"left,top,right,bottom\": the "
                           "candidates are drawn without padding.")
                            .arg(padding.text),
                        {} });
        } else if (section.startsWith(QLatin1String("ICON"))) {
            integer("BACK_STYLE", true);
            integer("FORE_STYLE", true);
            integer("PERSIST", false);
            layout.checkForm(value("SIZE"), what("SIZE"), Form::Size, out);
            layout.checkForm(value("POS"), what("POS"), Form::Point, out);
            const Value anchor = value("ANCHOR_TYPE");
            const int anchorType = ValueText::parseInt(anchor.text);
            if (layout.checkForm(anchor, what("ANCHOR_TYPE"), Form::Integer, out)
                && (anchorType < 0 || anchorType > 9))
                out.append(
                    SkinProblem { path, anchor.line, SkinProblem::Warning, QStringLiteral("bad-geometry"),
                        tr("%1 %2 is not an anchor from 0 to 9: the icon is not drawn.")
                            .arg(what("ANCHOR_TYPE"), anchor.text),
                        {} });
        } else if (section.startsWith(QLatin1String("TIP"))) {
            integer("BACK_STYLE", true);
            integer("FORE_STYLE", true);
        }
    }
}

void SkinChecker::checkKeys(const CheckedDocument &panel, QVector<SkinProblem> &out)
{
    const QRect panelRect(QPoint(0, 0), mPanelSize);
    QVector<KeyRect> drawn;
    for (int i = 0; i < panel.sectionCount(); ++i) {
        const QString section = panel.sectionName(i);
        // Every repeat of a section reads the first one's values.
        if (panel.firstIndex(section) != i)
            continue;
        auto value = [&](const char *key) { return panel.valueAt(i, QLatin1String(key)); };
        auto what = [&](const char *key) { return section + QLatin1Char('/') + QLatin1String(key); };

        if (section.startsWith(QLatin1String("TIP"))) {
            if (panel.checkForm(value("BACK_STYLE"), what("BACK_STYLE"), Form::Integer, out))
                checkStyles(panel, i, "BACK_STYLE", out);
            if (panel.checkForm(value("FORE_STYLE"), what("FORE_STYLE"), Form::IntegerList, out))
                checkStyles(panel, i, "FORE_STYLE", out);
            panel.checkForm(value("POS_TYPE"), what("POS_TYPE"), Form::IntegerList, out);
            continue;
        }
        if (!isKeySection(section) || isRemoved(panel.properties(i)))
            continue;

        if (panel.checkForm(value("BACK_STYLE"), what("BACK_STYLE"), Form::Integer, out, QString(), section))
            checkStyles(panel, i, "BACK_STYLE", out, section);
        if (panel.checkForm(
                value("FORE_STYLE"), what("FORE_STYLE"), Form::IntegerList, out, QString(), section))
            checkStyles(panel, i, "FORE_STYLE", out, section);
        panel.checkForm(value("POS_TYPE"), what("POS_TYPE"), Form::IntegerList, out, QString(), section);

        const QString unusable = tr("The key is not drawn and cannot be clicked.");
        const Value view = value("VIEW_RECT");
        QRect viewRect;
        if (!view.found) {
            out.append(SkinProblem { panel.path(), panel.sectionLine(i), SkinProblem::Warning,
                QStringLiteral("bad-geometry"),
                tr("%1 has no VIEW_RECT.").arg(section) + QLatin1Char(' ') + unusable, section });
        } else if (panel.checkForm(view, what("VIEW_RECT"), Form::Rect, out,
                       ValueText::parseRect(view.text).isEmpty() ? unusable : QString(), section)) {
            viewRect = ValueText::parseRect(view.text);
            if (viewRect.width() <= 0 || viewRect.height() <= 0) {
                out.append(SkinProblem { panel.path(), view.line, SkinProblem::Warning,
                    QStringLiteral("bad-geometry"),
                    tr("%1 %2 has a width or height of 0 or less.").arg(what("VIEW_RECT"), view.text)
                        + QLatin1Char(' ') + unusable,
                    section });
                viewRect = QRect();
            } else if (!panelRect.isEmpty() && !panelRect.contains(viewRect)) {
                out.append(SkinProblem { panel.path(), view.line, SkinProblem::Warning,
                    QStringLiteral("key-outside-panel"),
                    tr("%1 %2 reaches outside the panel (%3x%4): the part outside is cut off.")
                        .arg(what("VIEW_RECT"), view.text)
                        .arg(mPanelSize.width())
                        .arg(mPanelSize.height()),
                    section });
            }
            if (!viewRect.isEmpty())
                drawn.append(KeyRect { section, viewRect, view.line, i });
        }

        const Value touch = value("TOUCH_RECT");
        const QString untouchable = tr("A touch on the key is not taken by it.");
        if (!panel.checkForm(touch, what("TOUCH_RECT"), Form::Rect, out,
                ValueText::parseRect(touch.text).isEmpty() ? untouchable : QString(), section)
            || !touch.found)
            continue;
        const QRect touchRect = ValueText::parseRect(touch.text);
        if (touchRect.width() <= 0 || touchRect.height() <= 0)
            out.append(
                SkinProblem { panel.path(), touch.line, SkinProblem::Warning, QStringLiteral("bad-geometry"),
                    tr("%1 %2 has a width or height of 0 or less.").arg(what("TOUCH_RECT"), touch.text)
                        + QLatin1Char(' ') + untouchable,
                    section });
        else if (!viewRect.isEmpty() && !touchRect.contains(viewRect))
            out.append(SkinProblem { panel.path(), touch.line, SkinProblem::Info,
                QStringLiteral("touch-rect-misses-view-rect"),
                tr("%1 %2 does not contain the VIEW_RECT %3: a touch on the part of the key outside it is "
                   "not "
                   "taken by the key.")
                    .arg(what("TOUCH_RECT"), touch.text, view.text),
                section });
    }
    checkOverlaps(panel.path(), drawn, out);
}

void SkinChecker::checkOverlaps(const QString &file, QVector<KeyRect> keys, QVector<SkinProblem> &out) const
{
    // A sweep from left to right: the keys whose columns the sweep is in are
    // kept by their top edge, so that each key is compared only with those
    // near it. Each key is reported once, at the later of the pair in the
    // file.
    std::stable_sort(keys.begin(), keys.end(),
        [](const KeyRect &a, const KeyRect &b) { return a.rect.left() < b.rect.left(); });
    int tallest = 0;
    for (const KeyRect &key : qAsConst(keys))
        tallest = qMax(tallest, key.rect.height());

    std::set<std::pair<int, int>> active; // (top, index)
    using Expiry = std::pair<int, int>; // (right, index)
    std::priority_queue<Expiry, std::vector<Expiry>, std::greater<Expiry>> expiries;
    QVector<bool> reported(keys.size(), false);
    for (int i = 0; i < keys.size(); ++i) {
        const QRect &rect = keys.at(i).rect;
        while (!expiries.empty() && expiries.top().first < rect.left()) {
            const int gone = expiries.top().second;
            active.erase(std::make_pair(keys.at(gone).rect.top(), gone));
            expiries.pop();
        }
        const qint64 from = qMax<qint64>(qint64(rect.top()) - tallest + 1, std::numeric_limits<int>::min());
        for (auto it = active.lower_bound({ int(from), std::numeric_limits<int>::min() });
             it != active.end() && it->first <= rect.bottom(); ++it) {
            const KeyRect &other = keys.at(it->second);
            if (!other.rect.intersects(rect))
                continue;
            const bool currentIsLater = keys.at(i).order > other.order;
            const int later = currentIsLater ? i : it->second;
            if (reported.at(later))
                continue;
            reported[later] = true;
            const KeyRect &a = keys.at(later);
            const KeyRect &b = currentIsLater ? other : keys.at(i);
            out.append(SkinProblem { file, a.line, SkinProblem::Warning, QStringLiteral("keys-overlap"),
                tr("%1 overlaps %2 (VIEW_RECT %3 and %4): a click there selects both, and the key drawn "
                   "later "
                   "covers the other.")
                    .arg(a.name, b.name, ValueText::formatRect(a.rect), ValueText::formatRect(b.rect)),
                a.name });
            if (later == i)
                break;
        }
        active.insert({ rect.top(), i });
        expiries.push({ rect.right(), i });
    }
}

void SkinChecker::checkStyles(const CheckedDocument &document, int section, const char *key,
    QVector<SkinProblem> &out, const QString &keySection) const
{
    if (!mHaveStyles)
        return;
    const Value value = document.valueAt(section, QLatin1String(key));
    if (value.text.isEmpty())
        return;
    const QString what = document.sectionName(section) + QLatin1Char('/') + QLatin1String(key);
    for (const int number : ValueText::parseIntList(value.text)) {
        // Style 0 is no style: an absent style number reads as 0.
        if (number == 0 || mStyles.contains(QStringLiteral("STYLE%1").arg(number)))
            continue;
        QString message
            = tr("%1 names style %2, which the style table %3 does not have: nothing is drawn for it.")
                  .arg(what)
                  .arg(number)
                  .arg(QFileInfo(mStyleTable).fileName());
        for (const QString &name : mStyles) {
            if (name.mid(5).toInt() == number) {
                message += QLatin1Char(' ')
                    + tr("(The table's section %1 is not style %2: look-ups use the number as written, "
                         "without leading zeros.)")
                          .arg(name)
                          .arg(number);
                break;
            }
        }
        out.append(SkinProblem { document.path(), value.line, SkinProblem::Error,
            QStringLiteral("unknown-style"), message, keySection });
    }
}
