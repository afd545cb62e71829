#include "skinconfig.h"

#include "atomicfile.h"

#include <QAtomicInteger>
#include <QCryptographicHash>
#include <QDebug>
#include <QFile>
#include <QTextCodec>

namespace {

QString decode(const QByteArray &bytes)
{
    // A byte-order mark selects UTF-16 or UTF-32; without one the text is
    // UTF-8. The codec drops the mark itself.
    QTextCodec *utf8 = QTextCodec::codecForName("UTF-8");
    QTextCodec *codec = QTextCodec::codecForUtfText(bytes, utf8);
    QString text = codec->toUnicode(bytes);
    // A broken UTF-16 file leaves halves of surrogate pairs, which UTF-8
    // cannot hold: they become replacement characters now rather than on
    // the first save, so that the document reads back as it was written.
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

QAtomicInteger<quint64> lastRevision;

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

SkinConfig::SkinConfig(const QString &fileName, QObject *parent)
    : QObject(parent)
    , mFileName(fileName)
{
    read();
}

SkinConfig::~SkinConfig()
{
    // A safety net for callers that forgot to save; happens at most once.
    if (mModified) {
        write();
        mModified = false;
    }
}

void SkinConfig::beginGroup(const QString &section)
{
    mGroup = section;
}

void SkinConfig::endGroup()
{
    mGroup.clear();
}

QStringList SkinConfig::childGroups() const
{
    if (!mGroup.isEmpty())
        return {};
    return mSectionNames;
}

QStringList SkinConfig::childKeys() const
{
    QStringList keys;
    if (!mGroup.isEmpty()) {
        const int index = indexOfSection(mGroup);
        if (index < 0)
            return keys;
        for (const Property &p : mSections.at(index))
            keys.append(p.first);
        return keys;
    }
    for (int i = 0; i < mSectionNames.size(); ++i) {
        const QString prefix = mSectionNames.at(i) + QLatin1Char('/');
        for (const Property &p : mSections.at(i))
            keys.append(prefix + p.first);
    }
    return keys;
}

bool SkinConfig::contains(const QString &path) const
{
    QString section, key;
    splitKey(path, section, key);
    const int index = indexOfSection(section);
    if (index < 0)
        return false;
    for (const Property &p : mSections.at(index)) {
        if (p.first == key)
            return true;
    }
    return false;
}

QString SkinConfig::value(const QString &path, const QString &defaultValue) const
{
    QString section, key;
    splitKey(path, section, key);
    const int index = indexOfSection(section);
    if (index < 0)
        return defaultValue;
    for (const Property &p : mSections.at(index)) {
        if (p.first == key)
            return p.second;
    }
    return defaultValue;
}

void SkinConfig::touch()
{
    mRevision = ++lastRevision;
}

void SkinConfig::setValue(const QString &path, const QString &value)
{
    touch();
    QString section, key;
    splitKey(path, section, key);

    // Text that would not read back as written, or that would open a new
    // section when read, is refused rather than written.
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) || key.contains(QLatin1Char('='))
        || key.startsWith(QLatin1Char('[')) || section.trimmed().isEmpty()
        || section.contains(QLatin1Char(']'))) {
        qInfo() << "refusing to write" << path << "=" << value << "to" << mFileName
                << ": it would not read back as written!";
        return;
    }

    const int index = indexOfSection(section);
    if (index < 0) {
        appendSection(section, Section { Property(key, value) });
        mModified = true;
        return;
    }
    Section &properties = mSections[index];
    for (Property &p : properties) {
        if (p.first == key) {
            if (p.second != value) {
                p.second = value;
                mModified = true;
            }
            return;
        }
    }
    properties.append(Property(key, value));
    mModified = true;
}

void SkinConfig::remove(const QString &path, EmptySection emptySection)
{
    touch();
    QString section, key;
    splitKey(path, section, key);
    const int index = indexOfSection(section);
    if (index < 0)
        return;
    const bool drop = emptySection == EmptySection::Drop;
    Section &properties = mSections[index];
    if (properties.isEmpty()) {
        if (drop) {
            removeSectionAt(index);
            mModified = true;
        }
        return;
    }
    for (int i = 0; i < properties.size(); ++i) {
        if (properties.at(i).first == key) {
            properties.removeAt(i);
            if (drop && properties.isEmpty())
                removeSectionAt(index);
            mModified = true;
            return;
        }
    }
}

void SkinConfig::addGroup(const QString &section)
{
    touch();
    if (indexOfSection(section) >= 0)
        return;
    appendSection(section, Section());
}

void SkinConfig::clear()
{
    touch();
    mSectionNames.clear();
    mSections.clear();
    mIndexStale = true;
}

bool SkinConfig::save()
{
    const bool ok = write();
    if (ok)
        mModified = false;
    return ok;
}

void SkinConfig::markSaved()
{
    mModified = false;
    mErrorString.clear();
    mDiskHash = hashOf(toBytes());
}

bool SkinConfig::matchesDisk() const
{
    QFile file(mFileName);
    if (!file.open(QIODevice::ReadOnly))
        return mDiskHash.isEmpty() && !file.exists();
    return hashOf(file.readAll()) == mDiskHash;
}

void SkinConfig::revert()
{
    mSectionNames.clear();
    mSections.clear();
    mIndexStale = true;
    mDiskHash.clear();
    mModified = false;
    read();
}

QVector<SkinConfig::Property> SkinConfig::sectionProperties(const QString &section) const
{
    const int index = indexOfSection(section);
    return index < 0 ? Section() : mSections.at(index);
}

QVector<SkinConfig::Property> SkinConfig::sectionAt(int index) const
{
    return index >= 0 && index < mSections.size() ? mSections.at(index) : Section();
}

void SkinConfig::splitKey(const QString &path, QString &section, QString &key) const
{
    if (!mGroup.isEmpty()) {
        section = mGroup;
        key = path;
        return;
    }
    const int slash = path.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        section = path.left(slash);
        key = path.mid(slash + 1);
    } else {
        section = QStringLiteral("GENERAL");
        key = path;
    }
}

int SkinConfig::indexOfSection(const QString &section) const
{
    if (mIndexStale) {
        mFirstSection.clear();
        mFirstSection.reserve(mSectionNames.size());
        for (int i = 0; i < mSectionNames.size(); ++i) {
            if (!mFirstSection.contains(mSectionNames.at(i)))
                mFirstSection.insert(mSectionNames.at(i), i);
        }
        mIndexStale = false;
    }
    return mFirstSection.value(section, -1);
}

void SkinConfig::appendSection(const QString &name, const Section &properties)
{
    mSectionNames.append(name);
    mSections.append(properties);
    // An appended section is the first of its name only when none stood
    // before it.
    if (!mIndexStale && !mFirstSection.contains(name))
        mFirstSection.insert(name, mSectionNames.size() - 1);
}

// Every later section moves up by one, and a duplicate may become the first
// of its name: the index is rebuilt at the next look-up.
void SkinConfig::removeSectionAt(int index)
{
    mSectionNames.removeAt(index);
    mSections.removeAt(index);
    mIndexStale = true;
}

void SkinConfig::read()
{
    touch();
    qDebug() << "reading " << mFileName;

    QFile file(mFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qInfo() << "can not open file: " << mFileName;
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    mDiskHash = hashOf(bytes);
    const QString text = decode(bytes);

    QString currentName;
    int currentLine = 0;
    Section currentProperties;
    QVector<int> currentPropertyLines;
    auto closeSection = [&]() {
        if (!currentName.isEmpty()) {
            mSectionNames.append(currentName);
            mSections.append(currentProperties);
            mReadLines.sections.append(currentLine);
            mReadLines.properties.append(currentPropertyLines);
        } else if (!currentProperties.isEmpty()) {
            mSectionNames.append(QStringLiteral("GENERAL"));
            mSections.append(currentProperties);
            mReadLines.sections.append(currentPropertyLines.first());
            mReadLines.properties.append(currentPropertyLines);
        }
        currentProperties = Section();
        currentPropertyLines.clear();
    };
    auto fault = [&](int line, LineFault kind, const QString &lineText) {
        mReadLines.faults.append(FaultyLine { line, kind, lineText });
    };

    int lineNumber = 0;
    int pos = 0;
    const int length = text.size();
    while (pos < length) {
        int end = text.indexOf(QLatin1Char('\n'), pos);
        if (end < 0)
            end = length;
        int lineEnd = end;
        if (lineEnd > pos && text.at(lineEnd - 1) == QLatin1Char('\r'))
            --lineEnd;
        // Read in place; only names, keys and values are copied out.
        const QStringRef line = text.midRef(pos, lineEnd - pos);
        pos = end + 1;
        ++lineNumber;

        if (line.trimmed().isEmpty())
            continue;

        if (line.at(0) == QLatin1Char('[')) {
            const int close = line.indexOf(QLatin1Char(']'));
            QString name;
            if (close < 0) {
                qInfo() << "Loading " << mFileName << ":" << lineNumber << " " << line.toString()
                        << " invalid section name!";
                name = line.mid(1).trimmed().toString();
            } else {
                name = line.mid(1, close - 1).trimmed().toString();
            }
            if (name.isEmpty()) {
                if (close >= 0)
                    qInfo() << "Loading " << mFileName << ":" << lineNumber << " " << line.toString()
                            << " invalid section name!";
                fault(lineNumber, LineFault::EmptySectionName, line.toString());
                continue;
            }
            if (close < 0)
                fault(lineNumber, LineFault::UnclosedHeader, line.toString());
            else if (!line.mid(close + 1).trimmed().isEmpty())
                fault(lineNumber, LineFault::TextAfterHeader, line.toString());
            closeSection();
            currentName = name;
            currentLine = lineNumber;
            continue;
        }

        const int equals = line.indexOf(QLatin1Char('='));
        const QStringRef key = equals < 0 ? QStringRef() : line.left(equals).trimmed();
        if (key.isEmpty()) {
            qInfo() << "Loading " << mFileName << ":" << lineNumber << " " << line.toString()
                    << " invalid property!";
            fault(lineNumber, equals < 0 ? LineFault::NoEquals : LineFault::EmptyKey, line.toString());
            continue;
        }
        currentProperties.append(Property(key.toString(), line.mid(equals + 1).trimmed().toString()));
        currentPropertyLines.append(lineNumber);
    }
    closeSection();
}

QByteArray SkinConfig::toBytes() const
{
    QString text;
    for (int i = 0; i < mSectionNames.size(); ++i) {
        text += QLatin1Char('[') + mSectionNames.at(i) + QLatin1String("]\r\n");
        for (const Property &p : mSections.at(i)) {
            if (p.first.isEmpty())
                continue;
            // A key that starts with "[" would read back as a section
            // header; behind one blank it reads back as the same key.
            if (p.first.startsWith(QLatin1Char('[')))
                text += QLatin1Char(' ');
            text += p.first + QLatin1Char('=') + p.second + QLatin1String("\r\n");
        }
        text += QLatin1String("\r\n");
    }
    return text.toUtf8();
}

bool SkinConfig::write()
{
    qDebug() << "writing " << mFileName;

    // The new text goes to a temporary file beside the old one, which is
    // replaced only once every byte is written and flushed.
    const QByteArray bytes = toBytes();
    AtomicFile file(mFileName);
    if (!file.open()) {
        mErrorString = file.errorString();
        qInfo() << "can not open file: " << mFileName << mErrorString;
        return false;
    }
    if (!file.write(bytes) || !file.commit()) {
        mErrorString = file.errorString();
        qInfo() << QString(QStringLiteral("Write ") + mFileName + QStringLiteral(" error!")) << mErrorString;
        return false;
    }
    mErrorString.clear();
    mDiskHash = hashOf(bytes);
    return true;
}
