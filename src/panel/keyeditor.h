#pragma once

#include "panel.h"

#include <QString>
#include <QStringList>

class SkinConfig;

// The key editing operations of the panel and their undo and redo.
//
// Every operation turns its arguments into a change map (property path to
// value text) computed from the panel document, and hands it to
// `recordAndEdit`, which remembers the old values on the panel's undo stack,
// writes the changes into the panel document and saves the panel file at
// once. A short-lived helper: `Panel`'s editing slots make one per call.
class KeyEditor
{
public:
    using ChangeMap = Panel::ChangeMap;

    explicit KeyEditor(Panel *panel);

    QString getNewKey() const;

    // False when the panel file could not be written: then the document is
    // as the file is, nothing is recorded, and the panel reports why.
    bool edit(const ChangeMap &kv);
    bool recordAndEdit(const ChangeMap &kv);

    void editSection(const QString &section, const QStringList &properties);
    void exchangeKeys(const QString &key1, const QString &key2);
    void moveKeys(const QStringList &keys, int x, int y);
    void adjustKeys(const QStringList &keys, int x, int y, int w, int h, int ax, int ay, int aw, int ah);
    void alignKeys(const QStringList &keys, Panel::KeyAlignType alignType);
    void removeKeys(const QStringList &keys);

    void undo();
    void redo();

private:
    // The keys an operation works on: the distinct names of the list in
    // their first order, or every key in key order when the list is empty.
    QStringList selectedKeys(const QStringList &keys) const;
    QString value(const QString &path) const;
    // Writes the map, saves and reloads. When undoing, a path whose value is
    // null (a property that was absent before the step) is removed while its
    // section stays, and then the sections the step created are dropped once
    // they are empty.
    // `done` is the success message, with %1 for the file name (empty: "Saved").
    bool apply(const ChangeMap &kv, bool undoing, const QStringList &createdSections,
        const QString &done);
    // The paths of a record whose values are neither what the step wrote nor
    // what it replaced: somebody else changed them since.
    QStringList changedSince(const Panel::UndoRecord &record) const;
    // Reports `message` (with %1 for the changed paths) when the record
    // cannot be replayed.
    bool refusedAsChanged(const Panel::UndoRecord &record, const QString &message) const;

    Panel *mPanel;
    SkinConfig *mConfig;
};
