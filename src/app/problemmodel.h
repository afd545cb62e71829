#pragma once

#include "panel/skinproblem.h"

#include <QAbstractListModel>
#include <QHash>
#include <QPair>
#include <QString>
#include <QVector>

class Panel;

// The problems of the open panel and of the files it reaches, as the skin
// checker finds them, for the window's Problems pane (published to the scene
// as "problems"): errors first, then warnings, then notes, each in file and
// line order. Refreshed when the panel is loaded, reloaded or edited; a
// refresh that would read the same files as the last one is skipped, since
// the panel also announces every click on the preview.
class ProblemModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY problemsChanged)
    Q_PROPERTY(int errorCount READ errorCount NOTIFY problemsChanged)
    Q_PROPERTY(int warningCount READ warningCount NOTIFY problemsChanged)
    Q_PROPERTY(int infoCount READ infoCount NOTIFY problemsChanged)
    Q_PROPERTY(bool panelDrawable READ panelDrawable NOTIFY problemsChanged)

public:
    enum Role {
        FileRole = Qt::UserRole + 1,
        FileNameRole,
        LineRole,
        SeverityRole,
        KindRole,
        MessageRole,
        KeyRole,
    };

    explicit ProblemModel(QObject *parent = nullptr);

    // The panel whose problems are listed; its loads, reloads and edits
    // schedule a refresh.
    void setPanel(Panel *panel);
    // While held, the refreshes the panel asks for wait; letting go runs
    // the one that waited, if any.
    void setHeld(bool held);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return mProblems.size(); }
    int errorCount() const { return mCounts[SkinProblem::Error]; }
    int warningCount() const { return mCounts[SkinProblem::Warning]; }
    int infoCount() const { return mCounts[SkinProblem::Info]; }
    // False when the panel's size keeps the preview from drawing it.
    bool panelDrawable() const { return mPanelDrawable; }
    SkinProblem at(int row) const { return mProblems.at(row); }

public slots:
    // Checks the panel again, unless no file it read has changed since.
    void refresh();

signals:
    void problemsChanged();

private:
    using Stamp = QPair<qint64, qint64>; // modification time in ms, size; -1 when absent
    QHash<QString, Stamp> stamps(const QStringList &paths) const;
    void scheduleRefresh();

    Panel *mPanel = nullptr;
    bool mScheduled = false;
    bool mHeld = false;
    QString mCheckedFile;
    QPair<int, int> mCheckedResolutions;
    QHash<QString, Stamp> mInputs;
    QVector<SkinProblem> mProblems;
    int mCounts[3] = { 0, 0, 0 };
    bool mPanelDrawable = true;
};
