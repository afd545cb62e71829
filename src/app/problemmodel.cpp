#include "problemmodel.h"

#include "panel/panel.h"
#include "panel/skinchecker.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

ProblemModel::ProblemModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

void ProblemModel::setPanel(Panel *panel)
{
    if (mPanel)
        disconnect(mPanel, nullptr, this, nullptr);
    mPanel = panel;
    if (!mPanel)
        return;
    connect(mPanel, &Panel::panelReloaded, this, &ProblemModel::scheduleRefresh);
    connect(mPanel, &Panel::currentPanelFileChanged, this, &ProblemModel::scheduleRefresh);
}

void ProblemModel::scheduleRefresh()
{
    // A reload announces itself more than once; one check after it is enough.
    if (mScheduled)
        return;
    mScheduled = true;
    if (!mHeld)
        QTimer::singleShot(0, this, &ProblemModel::refresh);
}

void ProblemModel::setHeld(bool held)
{
    if (held == mHeld)
        return;
    mHeld = held;
    if (!mHeld && mScheduled)
        QTimer::singleShot(0, this, &ProblemModel::refresh);
}

QHash<QString, ProblemModel::Stamp> ProblemModel::stamps(const QStringList &paths) const
{
    QHash<QString, Stamp> result;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        result.insert(path,
            info.exists() ? Stamp(info.lastModified().toMSecsSinceEpoch(), info.size()) : Stamp(-1, -1));
    }
    return result;
}

void ProblemModel::refresh()
{
    mScheduled = false;
    const QString file = mPanel ? mPanel->currentPanelFile() : QString();
    const QPair<int, int> resolutions
        = mPanel ? qMakePair(mPanel->resolution(), mPanel->deviceResolution()) : qMakePair(0, 0);
    if (!file.isEmpty() && file == mCheckedFile && resolutions == mCheckedResolutions
        && stamps(mInputs.keys()) == mInputs)
        return;

    QVector<SkinProblem> problems;
    bool drawable = true;
    mInputs.clear();
    if (!file.isEmpty()) {
        SkinChecker checker;
        checker.setResolution(resolutions.first);
        checker.setDeviceResolution(resolutions.second);
        checker.checkPanelFile(file);
        problems = checker.problems();
        drawable = checker.panelDrawable();
        mInputs = stamps(checker.inputs());
    }
    std::stable_sort(problems.begin(), problems.end(),
        [](const SkinProblem &a, const SkinProblem &b) { return a.severity > b.severity; });
    mCheckedFile = file;
    mCheckedResolutions = resolutions;

    beginResetModel();
    mProblems = problems;
    endResetModel();
    std::fill(std::begin(mCounts), std::end(mCounts), 0);
    for (const SkinProblem &problem : qAsConst(mProblems))
        ++mCounts[problem.severity];
    mPanelDrawable = drawable;
    emit problemsChanged();
}

int ProblemModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mProblems.size();
}

QVariant ProblemModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= mProblems.size())
        return {};
    const SkinProblem &problem = mProblems.at(index.row());
    switch (role) {
    case FileRole:
        return problem.file;
    case FileNameRole:
        return QFileInfo(problem.file).fileName();
    case LineRole:
        return problem.line;
    case SeverityRole:
        return int(problem.severity);
    case KindRole:
        return problem.kind;
    case Qt::DisplayRole:
    case MessageRole:
        return problem.message;
    case KeyRole:
        return problem.key;
    default:
        return {};
    }
}

QHash<int, QByteArray> ProblemModel::roleNames() const
{
    return {
        { FileRole, "file" },
        { FileNameRole, "fileName" },
        { LineRole, "line" },
        { SeverityRole, "severity" },
        { KindRole, "kind" },
        { MessageRole, "message" },
        { KeyRole, "key" },
    };
}
