#pragma once

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

    bool isModified() const { return mModified; }
    bool save();

    // The document as save() writes it, for callers that write several files
    // together and then mark it saved; and why the last save failed.
    QByteArray toBytes() const;
    void markSaved() { mModified = false; }
    QString lastError() const { return mLastError; }

    // The pairs of the first section of that name, in document order (empty
    // if there is none); for readers that look at many keys of one section.
    QVector<Property> sectionProperties(const QString &section) const;

private:
    void splitKey(const QString &path, QString &section, QString &key) const;
    int indexOfSection(const QString &section) const;
    void read();
    bool write();

    QStringList mSectionNames;
    QVector<Section> mSections;
    QString mFileName;
    QString mGroup;
    bool mModified = false;
    QString mLastError;
};
