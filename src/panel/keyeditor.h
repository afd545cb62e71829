#pragma once

#include "panel.h"
#include "skin/operationresult.h"
#include "undohistory.h"

#include <QString>
#include <QStringList>

class SkinConfig;

// What a key editing operation came to.
struct EditOutcome
{
    // False when there was nothing to do (no document, nothing to undo):
    // nothing to show either.
    bool attempted = false;
    // The panel file was written: the document and the file agree again and
    // the preview is out of date.
    bool saved = false;
    OperationResult result;
};

// The key editing operations of the panel and their undo and redo.
//
// Every operation turns its arguments into a change map (property path to
// value text) computed from the panel document, and hands it to
// `recordAndEdit`, which remembers the old values in the undo history,
// writes the changes into the panel document and saves the panel file at
// once. It touches only the document and the history and returns what came
// of it; the panel shows that. A short-lived helper: `Panel`'s editing slots
// make one per call.
class KeyEditor
{
public:
    using ChangeMap = Panel::ChangeMap;

    using Outcome = EditOutcome;

    KeyEditor(SkinConfig *config, UndoHistory &history);

    QString getNewKey() const;

    // Not saved when the panel file could not be written: then the document
    // is as the file is, nothing is recorded, and the result says why.
    Outcome edit(const ChangeMap &kv);
    Outcome recordAndEdit(const ChangeMap &kv);

    Outcome editSection(const QString &section, const QStringList &properties);
    Outcome exchangeKeys(const QString &key1, const QString &key2);
    Outcome moveKeys(const QStringList &keys, int x, int y);
    Outcome adjustKeys(const QStringList &keys, int x, int y, int w, int h, int ax, int ay, int aw, int ah);
    Outcome alignKeys(const QStringList &keys, Panel::KeyAlignType alignType);
    Outcome removeKeys(const QStringList &keys);

    Outcome undo();
    Outcome redo();

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
    Outcome apply(const ChangeMap &kv, bool undoing, const QStringList &createdSections, const QString &done);
    // The paths of a record whose values are neither what the step wrote nor
    // what it replaced: somebody else changed them since.
    QStringList changedSince(const UndoRecord &record) const;
    // A refusal saying `message` (with %1 for the changed paths) when the
    // record cannot be replayed; not attempted when it can.
    Outcome refusedAsChanged(const UndoRecord &record, const QString &message) const;

    SkinConfig *mConfig;
    UndoHistory &mHistory;
};
