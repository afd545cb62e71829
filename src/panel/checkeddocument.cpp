#include "checkeddocument.h"

#include "skin/valuetext.h"

#include <QFileInfo>

CheckedDocument::CheckedDocument(const QString &path)
    : mPath(path)
    , mExists(QFileInfo(path).isFile())
    , mConfig(path)
    , mNames(mConfig.childGroups())
{
    for (int i = 0; i < mNames.size(); ++i) {
        if (!mFirst.contains(mNames.at(i)))
            mFirst.insert(mNames.at(i), i);
        mLast.insert(mNames.at(i), i);
    }
}

int CheckedDocument::sectionLine(int index) const
{
    const QVector<int> &lines = mConfig.readLines().sections;
    return index >= 0 && index < lines.size() ? lines.at(index) : 0;
}

CheckedDocument::Value CheckedDocument::valueAt(int index, const QString &key) const
{
    Value value;
    if (index < 0 || index >= mNames.size())
        return value;
    const QVector<SkinConfig::Property> pairs = mConfig.sectionAt(index);
    for (int i = 0; i < pairs.size(); ++i) {
        if (pairs.at(i).first != key)
            continue;
        value.found = true;
        value.text = pairs.at(i).second;
        const QVector<QVector<int>> &lines = mConfig.readLines().properties;
        if (index < lines.size() && i < lines.at(index).size())
            value.line = lines.at(index).at(i);
        break;
    }
    return value;
}

CheckedDocument::Value CheckedDocument::value(const QString &section, const QString &key) const
{
    return valueAt(firstIndex(section), key);
}

void CheckedDocument::reportText(QVector<SkinProblem> &problems, bool (*laterCounts)(const QString &)) const
{
    const SkinConfig::ReadLines &lines = mConfig.readLines();
    auto add = [&](int line, const char *kind, const QString &message) {
        problems.append(SkinProblem { mPath, line, SkinProblem::Warning, QLatin1String(kind), message, {} });
    };

    for (const SkinConfig::FaultyLine &faulty : lines.faults) {
        const QString text = faulty.text.trimmed();
        switch (faulty.fault) {
        case SkinConfig::LineFault::NoEquals:
            add(faulty.line, "unreadable-line",
                tr("\"%1\" is neither a section header nor a property: it is ignored, and dropped when the "
                   "editor next writes this file.")
                    .arg(text));
            break;
        case SkinConfig::LineFault::EmptyKey:
            add(faulty.line, "unreadable-line",
                tr("\"%1\" has no key before \"=\": it is ignored, and dropped when the editor next writes "
                   "this file.")
                    .arg(text));
            break;
        case SkinConfig::LineFault::EmptySectionName:
            add(faulty.line, "unreadable-line",
                tr("\"%1\" is a section header without a name: it is ignored (the lines after it stay in the "
                   "section before), and dropped when the editor next writes this file.")
                    .arg(text));
            break;
        case SkinConfig::LineFault::UnclosedHeader:
            add(faulty.line, "bad-section-header",
                tr("\"%1\" has no closing \"]\": it is read as the section [%2].")
                    .arg(text, text.mid(1).trimmed()));
            break;
        case SkinConfig::LineFault::TextAfterHeader:
            add(faulty.line, "bad-section-header",
                tr("The text after \"]\" in \"%1\" is ignored, and dropped when the editor next writes this "
                   "file.")
                    .arg(text));
            break;
        }
    }

    for (int i = 0; i < mNames.size(); ++i) {
        const QString &name = mNames.at(i);
        const int first = firstIndex(name);
        if (i != first) {
            if (laterCounts && laterCounts(name))
                add(sectionLine(i), "duplicate-section",
                    tr("Section [%1] is repeated (first at line %2): the last one counts and the earlier "
                       "ones "
                       "are ignored.")
                        .arg(name)
                        .arg(sectionLine(first)));
            else
                add(sectionLine(i), "duplicate-section",
                    tr("Section [%1] is repeated (first at line %2): the first one counts and this one is "
                       "ignored.")
                        .arg(name)
                        .arg(sectionLine(first)));
        }

        const QVector<SkinConfig::Property> pairs = mConfig.sectionAt(i);
        if (pairs.size() < 2)
            continue;
        const QVector<int> propertyLines
            = i < lines.properties.size() ? lines.properties.at(i) : QVector<int>();
        QHash<QString, int> firstLine;
        for (int j = 0; j < pairs.size(); ++j) {
            const int line = propertyLines.value(j);
            const auto first = firstLine.constFind(pairs.at(j).first);
            if (first == firstLine.constEnd()) {
                firstLine.insert(pairs.at(j).first, line);
                continue;
            }
            add(line, "duplicate-key",
                tr("%1 is given again in [%2] (first at line %3): the first value counts and this line is "
                   "ignored.")
                    .arg(pairs.at(j).first, name)
                    .arg(first.value()));
        }
    }
}

bool CheckedDocument::checkForm(const Value &value, const QString &what, Form form,
    QVector<SkinProblem> &problems, const QString &consequence, const QString &key,
    SkinProblem::Severity severity) const
{
    if (!value.found)
        return true;
    const QString &text = value.text;
    QString message;
    const char *kind = "bad-geometry";
    switch (form) {
    case Form::Integer:
        if (ValueText::isIntList(text, 1) || text.isEmpty())
            return true;
        kind = "bad-number";
        message = tr("%1 \"%2\" is not a whole number: it is read as 0.").arg(what, text);
        break;
    case Form::IntegerList:
        if (ValueText::isIntList(text) || text.isEmpty())
            return true;
        kind = "bad-number";
        message = tr("%1 \"%2\" has parts that are not whole numbers: they are read as 0.").arg(what, text);
        break;
    case Form::Point:
        if (ValueText::isIntList(text, 2))
            return true;
        message = tr("%1 \"%2\" is not two whole numbers \"x,y\": it is read as %3.")
                      .arg(what, text, ValueText::formatPoint(ValueText::parsePoint(text)));
        break;
    case Form::Size:
        if (ValueText::isIntList(text, 2))
            return true;
        message = tr("%1 \"%2\" is not two whole numbers \"width,height\": it is read as %3.")
                      .arg(what, text, ValueText::formatSize(ValueText::parseSize(text)));
        break;
    case Form::Rect:
        if (ValueText::isIntList(text, 4))
            return true;
        message = tr("%1 \"%2\" is not four whole numbers \"x,y,width,height\": it is read as %3.")
                      .arg(what, text, ValueText::formatRect(ValueText::parseRect(text)));
        break;
    }
    if (!consequence.isEmpty())
        message += QLatin1Char(' ') + consequence;
    problems.append(SkinProblem { mPath, value.line, severity, QLatin1String(kind), message, key });
    return false;
}
