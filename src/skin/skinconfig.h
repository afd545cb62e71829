#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// The INI document through which every skin text file is read and written.
//
// The dialect keeps the order of sections and properties exactly as the file
// has them and keeps duplicates, because tile files, key sections and the
// style table are walked in document order. Look-ups take the first match.
// Files are written with CR LF line ends, UTF-8 without byte-order mark, and
// always through a temporary file and an atomic rename, so that a failed
// write never leaves a truncated skin file behind.
class SkinConfig : public QObject
{
    Q_OBJECT

public:
    using Property = QPair<QString, QString>;
    using Section = QVector<Property>;

    explicit SkinConfig(const QString &fileName, QObject *parent = nullptr);
    ~SkinConfig() override;

    QString fileName() const { return mFileName; }

    QString group() const { return mGroup; }
    void beginGroup(const QString &section);
    void endGroup();

    QStringList childGroups() const;
    QStringList childKeys() const;

    bool contains(const QString &path) const;
    QString value(const QString &path, const QString &defaultValue = QString()) const;
    void setValue(const QString &path, const QString &value);

    // What `remove` does with a section that has no properties, or is left
    // without any: drop it (the default), or keep it with its header, for a
    // caller that restores a section's earlier contents.
    enum class EmptySection { Drop, Keep };
    void remove(const QString &path, EmptySection emptySection = EmptySection::Drop);

    void addGroup(const QString &section);
    void clear();

    // A failed save leaves the document modified and says why in
    // errorString(); the file on disk keeps its old bytes.
    bool isModified() const { return mModified; }
    bool save();
    QString errorString() const { return mErrorString; }

    // Whether the file on disk still holds the bytes this document last read
    // or wrote; false once anybody else wrote it (or removed it).
    bool matchesDisk() const;
    // Reads the file again, dropping unsaved changes.
    void revert();

    // The document as save() writes it, for callers that write several files
    // together and then mark it saved; and why the last save failed.
    QByteArray toBytes() const;
    void markSaved();
    QString lastError() const { return mErrorString; }

    // The pairs of the first section of that name, in document order (empty
    // if there is none); for readers that look at many keys of one section.
    QVector<Property> sectionProperties(const QString &section) const;
    // The pairs of the section at `index` of childGroups(), also of a
    // repeated one; empty for an index out of range.
    QVector<Property> sectionAt(int index) const;

    // Where the read found each section and property, and the lines it could
    // not take as written, so that a checker can point the author at a line.
    // Lines count from 1 as in the file. Recorded by the read only: edits do
    // not move them.
    enum class LineFault {
        UnclosedHeader, // "[NAME" without "]": opens NAME all the same
        TextAfterHeader, // "[NAME] text": the text is ignored
        EmptySectionName, // "[]": the line is ignored
        NoEquals, // neither a header nor a property: ignored
        EmptyKey, // "=value": ignored
    };
    struct FaultyLine
    {
        int line = 0;
        LineFault fault = LineFault::NoEquals;
        QString text;
    };
    struct ReadLines
    {
        // The header line of each section as read (for "GENERAL", the line of
        // its first property), parallel to childGroups() after the read.
        QVector<int> sections;
        // The line of each property, parallel to the pairs of each section.
        QVector<QVector<int>> properties;
        QVector<FaultyLine> faults;
    };
    const ReadLines &readLines() const { return mReadLines; }

    // A number that changes whenever the contents may have changed (a read,
    // a write through setValue, remove, addGroup or clear) and that no other
    // document of the process ever had: a cache of something drawn from the
    // document holds on to it and compares.
    quint64 revision() const { return mRevision; }

private:
    void splitKey(const QString &path, QString &section, QString &key) const;
    int indexOfSection(const QString &section) const;
    void appendSection(const QString &name, const Section &properties);
    void removeSectionAt(int index);
    void read();
    bool write();
    void touch();

    QStringList mSectionNames;
    QVector<Section> mSections;
    // Where the first section of each name stands: look-ups by name stay
    // constant-time on panels with tens of thousands of keys. Rebuilt from
    // the names when stale (after a read, a removal or a clear).
    mutable QHash<QString, int> mFirstSection;
    mutable bool mIndexStale = true;
    QString mFileName;
    QString mGroup;
    QString mErrorString;
    QByteArray mDiskHash; // of the bytes last read or written; empty when none
    bool mModified = false;
    ReadLines mReadLines;
    quint64 mRevision = 0;
};
