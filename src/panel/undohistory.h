#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// One undoable step of key editing: the old values (null where the property
// was absent), the values applied, and the sections the step created. Undo
// drops only those sections; one that stood empty before the step stays.
struct UndoRecord
{
    QMap<QString, QString> oldValues;
    QMap<QString, QString> newValues;
    QStringList createdSections;
};

// The undo and redo stacks of the open panel file. A step moves from one
// stack to the other only once it was replayed and saved, so a refused or
// failed replay leaves both as they were.
class UndoHistory
{
public:
    bool canUndo() const { return !mUndo.isEmpty(); }
    bool canRedo() const { return !mRedo.isEmpty(); }
    int undoCount() const { return mUndo.size(); }
    int redoCount() const { return mRedo.size(); }

    // A new step: what was undone can no longer be redone.
    void record(const UndoRecord &record);
    // The step the next undo or redo replays; only valid when there is one.
    const UndoRecord &nextUndo() const { return mUndo.last(); }
    const UndoRecord &nextRedo() const { return mRedo.last(); }
    // The step was replayed: it moves to the other stack.
    void undone();
    void redone();
    void clear();

private:
    QVector<UndoRecord> mUndo;
    QVector<UndoRecord> mRedo;
};
