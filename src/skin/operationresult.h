#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>

// What one operation that the author asked for came to: done or not, a
// sentence saying so (or why not), and the files it wrote. The core returns
// these instead of showing anything; the window collects them in its message
// list and the command-line tool prints them. The log keeps its own lines.
struct OperationResult
{
    Q_GADGET
    Q_PROPERTY(bool ok MEMBER ok)
    Q_PROPERTY(QString message MEMBER message)
    Q_PROPERTY(QStringList files MEMBER files)
    Q_PROPERTY(QString file READ file)

public:
    bool ok = true;
    QString message;
    QStringList files;

    // The file the message is about: the first one named.
    QString file() const { return files.isEmpty() ? QString() : files.first(); }

    static OperationResult success(const QString &message, const QStringList &files = {})
    {
        return OperationResult { true, message, files };
    }
    static OperationResult failure(const QString &message, const QStringList &files = {})
    {
        return OperationResult { false, message, files };
    }
};

Q_DECLARE_METATYPE(OperationResult)
