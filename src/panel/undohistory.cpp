#include "undohistory.h"

void UndoHistory::record(const UndoRecord &record)
{
    mRedo.clear();
    mUndo.append(record);
}

void UndoHistory::undone()
{
    if (mUndo.isEmpty())
        return;
    mRedo.append(mUndo.takeLast());
}

void UndoHistory::redone()
{
    if (mRedo.isEmpty())
        return;
    mUndo.append(mRedo.takeLast());
}

void UndoHistory::clear()
{
    mUndo.clear();
    mRedo.clear();
}
