#pragma once

#include "skin/skinconfig.h"
#include "skinproblem.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// A skin text file read for the skin checker: the document as every reader
// of the program sees it, and look-ups that also say on which line a value
// stands (from the lines the document's own reader recorded). It reports the
// problems of the text itself: lines the reader could not take as written,
// repeated sections and repeated keys.
class CheckedDocument
{
    Q_DECLARE_TR_FUNCTIONS(SkinChecker)

public:
    explicit CheckedDocument(const QString &path);

    QString path() const { return mPath; }
    bool exists() const { return mExists; }
    const SkinConfig &config() const { return mConfig; }

    int sectionCount() const { return mNames.size(); }
    QString sectionName(int index) const { return mNames.at(index); }
    int sectionLine(int index) const;
    QVector<SkinConfig::Property> properties(int index) const { return mConfig.sectionAt(index); }
    // The first or the last section of that name; -1 when there is none.
    int firstIndex(const QString &name) const { return mFirst.value(name, -1); }
    int lastIndex(const QString &name) const { return mLast.value(name, -1); }

    struct Value
    {
        bool found = false;
        QString text;
        int line = 0;
    };
    // The first pair with `key` in the section at `index`, as look-ups take it.
    Value valueAt(int index, const QString &key) const;
    // The same in the first section of that name.
    Value value(const QString &section, const QString &key) const;

    // The forms of value texts (the parsers of ValueText).
    enum class Form { Integer, IntegerList, Point, Size, Rect };
    // Appends a problem when a value that is present is not read as written:
    // "bad-number" for integers, "bad-geometry" for the rest, saying what it
    // is read as, followed by `consequence` when one is given. True when the
    // value is absent or read as written. `what` names the property for the
    // author (e.g. KEY3/VIEW_RECT); `key` is the key section it belongs to.
    bool checkForm(const Value &value, const QString &what, Form form, QVector<SkinProblem> &problems,
        const QString &consequence = QString(), const QString &key = QString(),
        SkinProblem::Severity severity = SkinProblem::Warning) const;

    // Appends the problems of the text. Of a repeated section the first one
    // counts, except for names that `laterCounts` accepts (the style table
    // keeps the last of a repeated STYLE section).
    void reportText(QVector<SkinProblem> &problems, bool (*laterCounts)(const QString &) = nullptr) const;

private:
    QString mPath;
    bool mExists = false;
    SkinConfig mConfig;
    QStringList mNames;
    QHash<QString, int> mFirst;
    QHash<QString, int> mLast;
};
