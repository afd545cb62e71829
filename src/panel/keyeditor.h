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

    void edit(const ChangeMap &kv);
    void recordAndEdit(const ChangeMap &kv);

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
    void apply(const ChangeMap &kv, bool undoing, const QStringList &createdSections);

    Panel *mPanel;
    SkinConfig *mConfig;
};
