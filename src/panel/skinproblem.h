#pragma once

#include <QMetaType>
#include <QString>

// One thing wrong with a skin, where it is and what the preview makes of it.
// The line counts from 1 as in the file; 0 means the file as a whole. `kind`
// is a stable name for scripts ("bad-geometry", "unknown-style", ...);
// `message` is for the author, in the interface language. `key` names the
// key section the problem is about, so that the window can select it.
struct SkinProblem
{
    enum Severity { Info = 0, Warning = 1, Error = 2 };

    QString file;
    int line = 0;
    Severity severity = Warning;
    QString kind;
    QString message;
    QString key;

    // "info", "warning" or "error", as the command line prints it.
    static QString severityName(Severity severity)
    {
        switch (severity) {
        case Info:
            return QStringLiteral("info");
        case Warning:
            return QStringLiteral("warning");
        case Error:
            break;
        }
        return QStringLiteral("error");
    }
};

Q_DECLARE_METATYPE(SkinProblem)
