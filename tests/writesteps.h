#pragma once

#include "skin/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QVector>

#include <sys/stat.h>

// Records the steps of every atomic write while alive, to check how a run
// put its files in place: all of them complete before the first rename,
// nothing but renames from the first to the last, and no rename that has
// to free the file it replaces (which makes the rename itself slow and the
// moment between two renames long).
class WriteSteps
{
public:
    using Step = AtomicFile::Step;

    WriteSteps()
    {
        sCurrent = this;
        AtomicFile::setStepObserver(&record);
    }
    ~WriteSteps()
    {
        AtomicFile::setStepObserver(nullptr);
        sCurrent = nullptr;
    }
    WriteSteps(const WriteSteps &) = delete;
    WriteSteps &operator=(const WriteSteps &) = delete;

    // The names of the files renamed into place, in order.
    QStringList renamed() const
    {
        QStringList names;
        for (const Entry &entry : mEntries) {
            if (entry.step == Step::Rename)
                names.append(QFileInfo(entry.path).fileName());
        }
        return names;
    }

    // Empty when the run kept the order, else what broke it.
    QString problem() const
    {
        int first = -1;
        int last = -1;
        for (int i = 0; i < mEntries.size(); ++i) {
            if (mEntries.at(i).step == Step::Rename) {
                if (first < 0)
                    first = i;
                last = i;
            }
        }
        if (first < 0)
            return QStringLiteral("nothing was renamed");
        for (int i = first; i <= last; ++i) {
            if (mEntries.at(i).step != Step::Rename)
                return QStringLiteral("%1 of %2 between the renames")
                    .arg(name(mEntries.at(i).step), mEntries.at(i).path);
        }
        for (int i = last + 1; i < mEntries.size(); ++i) {
            const Step step = mEntries.at(i).step;
            if (step == Step::Write || step == Step::Finish || step == Step::Reserve)
                return QStringLiteral("%1 of %2 after the renames").arg(name(step), mEntries.at(i).path);
        }
        if (!mFreeing.isEmpty())
            return QStringLiteral("renaming over %1 frees the old file")
                .arg(mFreeing.join(QLatin1String(", ")));
        return QString();
    }

private:
    struct Entry
    {
        Step step;
        QString path;
    };

    static QString name(Step step)
    {
        static const char *const names[] = { "write", "finish", "sync", "reserve", "rename", "release",
            "directory sync", "deferred sync" };
        return QString::fromLatin1(names[int(step)]);
    }

    static void record(Step step, const QString &path)
    {
        if (!sCurrent)
            return;
        // Seen just before the rename: a replaced file with no other link
        // is freed by the rename itself.
        struct stat info;
        if (step == Step::Rename && ::stat(QFile::encodeName(path).constData(), &info) == 0
            && info.st_nlink < 2)
            sCurrent->mFreeing.append(QFileInfo(path).fileName());
        sCurrent->mEntries.append({ step, path });
    }

    inline static WriteSteps *sCurrent = nullptr;
    QVector<Entry> mEntries;
    QStringList mFreeing;
};
