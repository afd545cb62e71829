#include "keyeditor.h"

#include "skin/skinconfig.h"
#include "skin/valuetext.h"

#include <QDebug>
#include <QFileInfo>
#include <QMetaEnum>
#include <QRect>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString viewRectKey()
{
    return QStringLiteral("/VIEW_RECT");
}

const QString touchRectKey()
{
    return QStringLiteral("/TOUCH_RECT");
}

// A rectangle in 64-bit arithmetic, so that absurd offsets cannot overflow
// on the way to the value text.
struct Box
{
    qint64 x = 0;
    qint64 y = 0;
    qint64 width = 0;
    qint64 height = 0;

    static Box fromText(const QString &text)
    {
        const QRect rect = ValueText::parseRect(text);
        return Box { rect.x(), rect.y(), rect.width(), rect.height() };
    }

    // Width and height at least 1; what an absent or malformed value gives is
    // not valid.
    bool isValid() const { return width >= 1 && height >= 1; }

    bool fitsInt() const
    {
        auto fits = [](qint64 v) {
            return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
        };
        return fits(x) && fits(y) && fits(width) && fits(height) && fits(x + width) && fits(y + height);
    }

    QString toText() const { return ValueText::formatRect(QRect(int(x), int(y), int(width), int(height))); }
};

// Adds path -> box to the map when the box can be written; an out-of-range
// result is logged and left out (false), so that the key keeps its old
// rectangle.
bool put(Panel::ChangeMap &map, const QString &path, const Box &box)
{
    if (!box.fitsInt()) {
        qInfo() << path << " would leave the coordinate range, not changed!";
        return false;
    }
    map.insert(path, box.toText());
    return true;
}

} // namespace

KeyEditor::KeyEditor(SkinConfig *config, UndoHistory &history)
    : mConfig(config)
    , mHistory(history)
{ }

QString KeyEditor::getNewKey() const
{
    if (!mConfig)
        return QStringLiteral("KEY1");
    bool found = false;
    int largest = 0;
    const QStringList sections = mConfig->childGroups();
    for (const QString &section : sections) {
        if (!section.startsWith(QLatin1String("KEY")))
            continue;
        const int number = Panel::keyNumber(section);
        largest = found ? std::max(largest, number) : number;
        found = true;
    }
    return QStringLiteral("KEY%1").arg(qint64(largest) + 1);
}

KeyEditor::Outcome KeyEditor::edit(const ChangeMap &kv)
{
    return apply(kv, false, QStringList(), QString());
}

KeyEditor::Outcome KeyEditor::recordAndEdit(const ChangeMap &kv)
{
    if (!mConfig)
        return Outcome();
    const QStringList groupsBefore = mConfig->childGroups();
    const QSet<QString> sectionsBefore(groupsBefore.cbegin(), groupsBefore.cend());
    // A property that is absent gets a null old value (still the empty text
    // to any reader): undo then removes it instead of leaving an empty
    // property behind, and the file returns to its bytes before the step.
    ChangeMap oldValues;
    for (auto it = kv.cbegin(); it != kv.cend(); ++it) {
        QString old;
        if (mConfig->contains(it.key())) {
            old = mConfig->value(it.key());
            if (old.isNull())
                old = QLatin1String("");
        }
        oldValues.insert(it.key(), old);
    }
    const Outcome outcome = edit(kv);
    if (!outcome.saved)
        return outcome;

    // Undo drops only the sections this step created; a section that stood
    // in the file before, even an empty one, stays.
    QStringList createdSections;
    QSet<QString> seen;
    const QStringList sectionsAfter = mConfig->childGroups();
    for (const QString &section : sectionsAfter) {
        if (!sectionsBefore.contains(section) && !seen.contains(section)) {
            seen.insert(section);
            createdSections.append(section);
        }
    }
    mHistory.record(UndoRecord { oldValues, kv, createdSections });
    return outcome;
}

KeyEditor::Outcome KeyEditor::editSection(const QString &section, const QStringList &properties)
{
    if (!mConfig)
        return Outcome();
    ChangeMap kv;
    for (const QString &property : properties) {
        const int equals = property.indexOf(QLatin1Char('='));
        if (equals < 1)
            continue;
        kv.insert(section + QLatin1Char('/') + property.left(equals), property.mid(equals + 1));
    }
    return recordAndEdit(kv);
}

KeyEditor::Outcome KeyEditor::exchangeKeys(const QString &key1, const QString &key2)
{
    if (!mConfig)
        return Outcome();
    const QString view1 = value(key1 + viewRectKey());
    const QString touch1 = value(key1 + touchRectKey());
    const QString view2 = value(key2 + viewRectKey());
    const QString touch2 = value(key2 + touchRectKey());
    ChangeMap kv;
    if (!view1.isEmpty())
        kv.insert(key2 + viewRectKey(), view1);
    if (!touch1.isEmpty())
        kv.insert(key2 + touchRectKey(), touch1);
    if (!view2.isEmpty())
        kv.insert(key1 + viewRectKey(), view2);
    if (!touch2.isEmpty())
        kv.insert(key1 + touchRectKey(), touch2);
    return recordAndEdit(kv);
}

KeyEditor::Outcome KeyEditor::moveKeys(const QStringList &keys, int x, int y)
{
    if (!mConfig)
        return Outcome();
    qDebug() << "move: " << keys;
    ChangeMap kv;
    for (const QString &key : selectedKeys(keys)) {
        for (const QString &rectKey : { viewRectKey(), touchRectKey() }) {
            Box box = Box::fromText(value(key + rectKey));
            if (!box.isValid())
                continue;
            box.x += x;
            box.y += y;
            put(kv, key + rectKey, box);
        }
    }
    return recordAndEdit(kv);
}

KeyEditor::Outcome KeyEditor::adjustKeys(
    const QStringList &keys, int x, int y, int w, int h, int ax, int ay, int aw, int ah)
{
    if (!mConfig)
        return Outcome();
    ChangeMap kv;
    for (const QString &key : selectedKeys(keys)) {
        const Box view = Box::fromText(value(key + viewRectKey()));
        if (!view.isValid())
            continue;
        // Negative absolute values keep the key's own value.
        const Box adjusted { ax + (x < 0 ? view.x : x), ay + (y < 0 ? view.y : y),
            aw + (w < 0 ? view.width : w), ah + (h < 0 ? view.height : h) };
        if (!put(kv, key + viewRectKey(), adjusted))
            continue;

        // The touch area keeps its margins around the view rectangle.
        const Box touch = Box::fromText(value(key + touchRectKey()));
        if (!touch.isValid())
            continue;
        put(kv, key + touchRectKey(),
            Box { adjusted.x + touch.x - view.x, adjusted.y + touch.y - view.y,
                adjusted.width + touch.width - view.width, adjusted.height + touch.height - view.height });
    }
    return recordAndEdit(kv);
}

KeyEditor::Outcome KeyEditor::alignKeys(const QStringList &keys, Panel::KeyAlignType alignType)
{
    if (!mConfig)
        return Outcome();
    const char *typeName = QMetaEnum::fromType<Panel::KeyAlignType>().valueToKey(alignType);
    if (!typeName) {
        qInfo() << "AlignType: " << int(alignType) << " is invalid!";
        return Outcome();
    }
    qDebug() << "AlignType: " << typeName;

    struct Record
    {
        QString key;
        Box view;
    };
    QVector<Record> records;
    for (const QString &key : selectedKeys(keys))
        records.append({ key, Box::fromText(value(key + viewRectKey())) });
    const qint64 n = records.size();

    ChangeMap kv;
    if (n > 0) {
        qint64 left = std::numeric_limits<qint64>::max();
        qint64 top = std::numeric_limits<qint64>::max();
        qint64 right = std::numeric_limits<qint64>::min();
        qint64 bottom = std::numeric_limits<qint64>::min();
        qint64 sumWidths = 0;
        qint64 sumHeights = 0;
        qint64 sumCentreX = 0;
        qint64 sumCentreY = 0;
        for (const Record &r : qAsConst(records)) {
            const Box &b = r.view;
            left = std::min(left, b.x);
            top = std::min(top, b.y);
            // Inclusive edges: right = x + width - 1; R and B are one past them.
            right = std::max(right, b.x + b.width);
            bottom = std::max(bottom, b.y + b.height);
            sumWidths += b.width;
            sumHeights += b.height;
            sumCentreX += (b.x + b.x + b.width - 1) / 2;
            sumCentreY += (b.y + b.y + b.height - 1) / 2;
        }
        const qint64 centreX = sumCentreX / n;
        const qint64 centreY = sumCentreY / n;
        const qint64 freeH = right - left - sumWidths;
        const qint64 freeV = bottom - top - sumHeights;

        if (alignType == Panel::AlignVDistrubution)
            std::stable_sort(records.begin(), records.end(),
                [](const Record &a, const Record &b) { return a.view.y < b.view.y; });
        else if (alignType == Panel::AlignHDistrubution)
            std::stable_sort(records.begin(), records.end(),
                [](const Record &a, const Record &b) { return a.view.x < b.view.x; });

        // Equal gaps between the keys: the first stays, each next starts one
        // gap after the end of the previous one. A single key has no gap and
        // stays where it is.
        const double gapV = n > 1 ? double(freeV) / double(n - 1) : 0.0;
        const double gapH = n > 1 ? double(freeH) / double(n - 1) : 0.0;
        double cursor = alignType == Panel::AlignVDistrubution ? double(records.first().view.y)
                                                               : double(records.first().view.x);

        for (const Record &r : qAsConst(records)) {
            const Box &b = r.view;
            qint64 newX = b.x;
            qint64 newY = b.y;
            switch (alignType) {
            case Panel::AlignLeft:
                newX = left;
                break;
            case Panel::AlignTop:
                newY = top;
                break;
            case Panel::AlignRight:
                newX = right - b.width;
                break;
            case Panel::AlignBottom:
                newY = bottom - b.height;
                break;
            case Panel::AlignVCenter:
                newY = centreY - b.height / 2;
                break;
            case Panel::AlignHCenter:
                newX = centreX - b.width / 2;
                break;
            case Panel::AlignVDistrubution:
                newY = qint64(cursor);
                cursor = std::trunc(double(b.height) + gapV + cursor);
                break;
            case Panel::AlignHDistrubution:
                newX = qint64(cursor);
                cursor = std::trunc(double(b.width) + gapH + cursor);
                break;
            }
            const Box moved { newX, newY, b.width, b.height };
            if (!put(kv, r.key + viewRectKey(), moved))
                continue;

            Box touch = Box::fromText(value(r.key + touchRectKey()));
            if (!touch.isValid())
                continue;
            touch.x += newX - b.x;
            touch.y += newY - b.y;
            put(kv, r.key + touchRectKey(), touch);
        }
    }
    return recordAndEdit(kv);
}

KeyEditor::Outcome KeyEditor::removeKeys(const QStringList &keys)
{
    if (!mConfig)
        return Outcome();
    // The sections stay, every property emptied: the key draws nothing, and
    // its number is still taken.
    ChangeMap kv;
    const QStringList names = keys.isEmpty() ? Panel::keyOrder(mConfig) : keys;
    for (const QString &key : names) {
        const auto properties = mConfig->sectionProperties(key);
        for (const SkinConfig::Property &property : properties)
            kv.insert(key + QLatin1Char('/') + property.first, QLatin1String(""));
    }
    return recordAndEdit(kv);
}

KeyEditor::Outcome KeyEditor::undo()
{
    if (!mConfig || !mHistory.canUndo())
        return Outcome();
    qDebug() << "undo!";
    const UndoRecord record = mHistory.nextUndo();
    Outcome outcome
        = refusedAsChanged(record, Panel::tr("Cannot undo: %1 changed in the file since that edit."));
    if (outcome.attempted)
        return outcome;
    outcome = apply(record.oldValues, true, record.createdSections, Panel::tr("Undone: saved %1"));
    if (outcome.saved)
        mHistory.undone();
    return outcome;
}

KeyEditor::Outcome KeyEditor::redo()
{
    if (!mConfig || !mHistory.canRedo())
        return Outcome();
    qDebug() << "redo!";
    const UndoRecord record = mHistory.nextRedo();
    Outcome outcome
        = refusedAsChanged(record, Panel::tr("Cannot redo: %1 changed in the file since that edit."));
    if (outcome.attempted)
        return outcome;
    outcome = apply(record.newValues, false, QStringList(), Panel::tr("Redone: saved %1"));
    if (outcome.saved)
        mHistory.redone();
    return outcome;
}

KeyEditor::Outcome KeyEditor::refusedAsChanged(const UndoRecord &record, const QString &message) const
{
    const QStringList changed = changedSince(record);
    if (changed.isEmpty())
        return Outcome();
    qInfo() << "undo or redo refused, changed since the step:" << changed;
    return Outcome { true, false,
        OperationResult::failure(message.arg(changed.join(QLatin1String(", "))), { mConfig->fileName() }) };
}

QStringList KeyEditor::changedSince(const UndoRecord &record) const
{
    // Null stands for a property that is absent.
    auto same = [](const QString &a, const QString &b) { return a.isNull() == b.isNull() && a == b; };
    QStringList changed;
    for (auto it = record.newValues.cbegin(); it != record.newValues.cend(); ++it) {
        QString current;
        if (mConfig->contains(it.key())) {
            current = mConfig->value(it.key());
            if (current.isNull())
                current = QLatin1String("");
        }
        const QString written = it.value().isNull() ? QLatin1String("") : it.value();
        if (!same(current, written) && !same(current, record.oldValues.value(it.key())))
            changed.append(it.key());
    }
    return changed;
}

QStringList KeyEditor::selectedKeys(const QStringList &keys) const
{
    const QStringList names = keys.isEmpty() ? Panel::keyOrder(mConfig) : keys;
    QStringList distinct;
    QSet<QString> seen;
    for (const QString &name : names) {
        if (!seen.contains(name)) {
            seen.insert(name);
            distinct.append(name);
        }
    }
    return distinct;
}

QString KeyEditor::value(const QString &path) const
{
    return mConfig->value(path, QString());
}

KeyEditor::Outcome KeyEditor::apply(
    const ChangeMap &kv, bool undoing, const QStringList &createdSections, const QString &done)
{
    if (!mConfig)
        return Outcome();
    for (auto it = kv.cbegin(); it != kv.cend(); ++it) {
        if (undoing && it.value().isNull())
            mConfig->remove(it.key(), SkinConfig::EmptySection::Keep);
        else
            mConfig->setValue(it.key(), it.value());
    }
    // A created section left without properties goes; removing from a
    // section that has none drops it.
    for (const QString &section : createdSections) {
        if (mConfig->sectionProperties(section).isEmpty())
            mConfig->remove(section + QLatin1Char('/'));
    }
    const QString file = mConfig->fileName();
    const QString name = QFileInfo(file).fileName();
    if (!mConfig->save()) {
        // Nothing is edited in memory only: the document goes back to what
        // the file holds, and the preview keeps showing that.
        const QString reason = mConfig->errorString();
        mConfig->revert();
        return Outcome { true, false,
            OperationResult::failure(
                Panel::tr("Could not save %1 (%2): the edit was not made.").arg(name, reason), { file }) };
    }
    return Outcome { true, true,
        OperationResult::success((done.isEmpty() ? Panel::tr("Saved %1") : done).arg(name), { file }) };
}
