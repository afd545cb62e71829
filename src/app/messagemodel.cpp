#include "messagemodel.h"

#include <QMetaMethod>

MessageModel::MessageModel(QObject *parent)
    : QAbstractListModel(parent)
{
    qRegisterMetaType<OperationResult>();
}

int MessageModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mMessages.size();
}

QVariant MessageModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= mMessages.size())
        return {};
    const Message &m = mMessages.at(index.row());
    switch (role) {
    case SeverityRole:
        return int(m.severity);
    case Qt::DisplayRole:
    case TextRole:
        return m.text;
    case FileRole:
        return m.file;
    case TimeRole:
        return m.time;
    default:
        return {};
    }
}

QHash<int, QByteArray> MessageModel::roleNames() const
{
    return {
        { SeverityRole, "severity" },
        { TextRole, "text" },
        { FileRole, "file" },
        { TimeRole, "time" },
    };
}

QString MessageModel::latestText() const
{
    return mMessages.isEmpty() ? QString() : mMessages.first().text;
}

int MessageModel::latestSeverity() const
{
    return mMessages.isEmpty() ? int(Info) : int(mMessages.first().severity);
}

QString MessageModel::latestFile() const
{
    return mMessages.isEmpty() ? QString() : mMessages.first().file;
}

void MessageModel::watch(QObject *object)
{
    const QMetaObject *meta = object->metaObject();
    const int index = meta->indexOfSignal("reported(OperationResult)");
    if (index < 0)
        return;
    const QMetaMethod signal = meta->method(index);
    const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("addResult(OperationResult)"));
    connect(object, signal, this, slot);
}

void MessageModel::post(int severity, const QString &text, const QString &file)
{
    if (text.isEmpty())
        return;
    const Severity s = severity < Info || severity > Error ? Info : Severity(severity);
    if (mMessages.size() >= MaximumCount) {
        beginRemoveRows(QModelIndex(), mMessages.size() - 1, mMessages.size() - 1);
        mMessages.removeLast();
        endRemoveRows();
    }
    beginInsertRows(QModelIndex(), 0, 0);
    mMessages.prepend(Message { s, text, file, QDateTime::currentDateTime() });
    endInsertRows();
    emit countChanged();
    emit latestChanged();
    emit posted(s, text, file);
}

void MessageModel::addResult(const OperationResult &result)
{
    post(result.ok ? Success : Error, result.message, result.file());
}

void MessageModel::clear()
{
    if (mMessages.isEmpty())
        return;
    beginResetModel();
    mMessages.clear();
    endResetModel();
    emit countChanged();
    emit latestChanged();
}
