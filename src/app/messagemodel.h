#pragma once

#include "skin/operationresult.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QString>
#include <QVector>

// The one list of what the author should know: failed and successful saves,
// exports and imports, tool runs, refused input. Published to the scene as
// "messages"; the window shows the latest entry (errors until dismissed,
// the rest briefly) and the history on request. The core reports through
// OperationResult values and `reported` signals that start-up connects here;
// the scene adds what only it knows through `post`. The log is separate.
class MessageModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(QString latestText READ latestText NOTIFY latestChanged)
    Q_PROPERTY(int latestSeverity READ latestSeverity NOTIFY latestChanged)
    Q_PROPERTY(QString latestFile READ latestFile NOTIFY latestChanged)

public:
    enum Severity { Info = 0, Success = 1, Warning = 2, Error = 3 };
    Q_ENUM(Severity)

    enum Role { SeverityRole = Qt::UserRole + 1, TextRole, FileRole, TimeRole };

    struct Message
    {
        Severity severity = Info;
        QString text;
        QString file;
        QDateTime time;
    };

    // How many messages the history keeps; older ones fall off.
    static constexpr int MaximumCount = 200;

    explicit MessageModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return mMessages.size(); }
    QString latestText() const;
    int latestSeverity() const;
    QString latestFile() const;
    // Newest first, as the history shows them.
    Message at(int row) const { return mMessages.at(row); }

    // Connects every `reported(OperationResult)` signal of `object` here.
    void watch(QObject *object);

public slots:
    void post(int severity, const QString &text, const QString &file = QString());
    // A success becomes a Success message, a failure an Error.
    void addResult(const OperationResult &result);
    void clear();

signals:
    void countChanged();
    void latestChanged();
    // Every new message, for the bar that shows it.
    void posted(int severity, const QString &text, const QString &file);

private:
    QVector<Message> mMessages; // newest first
};
