#include "panelcreator.h"

#include "skin/skinconfig.h"
#include "skin/valuetext.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QVariantMap>

namespace {

// 32-bit two's-complement arithmetic without undefined behaviour: absurd
// paddings or counts wrap as the layout's integer rules say, instead of
// letting the optimiser assume they cannot happen.
int add(int a, int b)
{
    return int(quint32(a) + quint32(b));
}

int sub(int a, int b)
{
    return int(quint32(a) - quint32(b));
}

int mul(int a, int b)
{
    return int(quint32(a) * quint32(b));
}

int entry(const QVariantMap &map, const QString &key)
{
    // A missing entry is an invalid QVariant, which converts to 0 like a
    // value that is not a number.
    return map.value(key).toInt();
}

} // namespace

PanelCreator::PanelCreator(QObject *parent)
    : QObject(parent)
{ }

PanelCreator *PanelCreator::instance()
{
    static PanelCreator creator;
    return &creator;
}

void PanelCreator::setRowPropertiesList(const QVariantList &list)
{
    qDebug() << "rowPropertiesList: " << list;
    mRows.clear();
    for (const QVariant &element : list) {
        const QVariantMap map = element.toMap();
        RowProperties row;
        row.keysNumber = entry(map, QStringLiteral("keysNumber"));
        row.rowHeight = entry(map, QStringLiteral("rowHeight"));
        row.keyWidth = entry(map, QStringLiteral("keyWidth"));
        row.keySpacing = entry(map, QStringLiteral("keySpacing"));
        row.alignment = entry(map, QStringLiteral("alignment"));
        mRows.append(row);
    }
}

bool PanelCreator::layoutKeys()
{
    mKeyRects.clear();
    const int rowCount = mRows.size();
    if (rowCount == 0)
        return true;

    // A key count typed with a few digits too many would otherwise allocate
    // gigabytes of rectangles.
    qint64 total = 0;
    for (const RowProperties &row : qAsConst(mRows))
        total += qMax(row.keysNumber, 0);
    if (total > maxKeys) {
        qInfo() << "rows ask for " << total << " keys, more than " << maxKeys << "; no keys laid out!";
        return false;
    }

    // Room left for the automatic rows: fixed heights are taken off even for
    // rows that will be skipped for having no keys.
    int remaining = sub(sub(sub(mHeight, mTopPadding), mBottomPadding), mul(rowCount - 1, mRowSpacing));
    int automaticRows = 0;
    for (const RowProperties &row : qAsConst(mRows)) {
        if (row.rowHeight >= 0)
            remaining = sub(remaining, row.rowHeight);
        else
            ++automaticRows;
    }
    int autoHeight = 0;
    if (automaticRows > 0) {
        autoHeight = remaining / automaticRows;
        qDebug() << "autoHeight: " << autoHeight;
    }

    const int available = sub(sub(mWidth, mLeftPadding), mRightPadding);
    int keyWidth = 0; // carried from row to row for "same as last row"
    int y = 0;
    for (const RowProperties &row : qAsConst(mRows)) {
        const int keys = row.keysNumber;
        if (keys <= 0)
            continue;
        const int rowHeight = row.rowHeight < 0 ? autoHeight : row.rowHeight;

        int spacing = row.keySpacing;
        if (row.keyWidth == -1) {
            if (spacing == -1) {
                spacing = 0;
                keyWidth = available / keys;
            } else {
                keyWidth = sub(available, mul(spacing, keys - 1)) / keys;
            }
        } else {
            if (row.keyWidth != -2)
                keyWidth = row.keyWidth;
            // A single key has no gap to share out, and "same as last row"
            // shares the slack like a fixed width so that keys never overlap.
            if (spacing == -1)
                spacing = keys > 1 ? sub(available, mul(keys, keyWidth)) / (keys - 1) : 0;
        }

        const int slack = sub(sub(available, mul(keys, keyWidth)), mul(keys - 1, spacing));
        int x0 = 0;
        if (row.alignment == 1)
            x0 = slack / 2;
        else if (row.alignment == 2)
            x0 = slack;

        for (int j = 0; j < keys; ++j) {
            const QRect rect(add(add(mLeftPadding, x0), mul(j, add(keyWidth, spacing))), add(mTopPadding, y),
                keyWidth, rowHeight);
            qDebug() << rect;
            mKeyRects.append(rect);
        }
        y = add(y, add(rowHeight, mRowSpacing));
    }
    return true;
}

bool PanelCreator::create(const QString &iniFile)
{
    SkinConfig config(iniFile);
    config.clear();

    const QString target = QFileInfo(iniFile).absoluteFilePath();
    // A refused layout leaves the file as it was (the cleared document is
    // not saved).
    if (!layoutKeys()) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "The rows ask for more than %1 keys; %2 was not written.")
                .arg(QString::number(maxKeys), target),
            { target }));
        return false;
    }

    QList<QPair<QString, QString>> extras;
    for (const QString &line : qAsConst(mExtraProperties)) {
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            extras.append({ line, QString() });
        else
            extras.append({ line.left(equals), line.mid(equals + 1) });
    }
    qDebug() << "extraProperties: " << extras;

    config.setValue(QStringLiteral("PANEL/SIZE"), QStringLiteral("%1,%2").arg(mWidth).arg(mHeight));
    for (int i = 0; i < mKeyRects.size(); ++i) {
        const QRect &rect = mKeyRects.at(i);
        config.beginGroup(QStringLiteral("KEY%1").arg(i + 1));
        config.setValue(QStringLiteral("VIEW_RECT"), ValueText::formatRect(rect));
        if (mIncludeTouchRect) {
            const QString touch
                = QStringLiteral("%1,%2,%3,%4")
                      .arg(add(rect.x(), mTouchRectLeftPadding))
                      .arg(add(rect.y(), mTouchRectTopPadding))
                      .arg(sub(sub(rect.width(), mTouchRectLeftPadding), mTouchRectRightPadding))
                      .arg(sub(sub(rect.height(), mTouchRectTopPadding), mTouchRectBottomPadding));
            config.setValue(QStringLiteral("TOUCH_RECT"), touch);
        }
        for (const auto &pair : qAsConst(extras))
            config.setValue(pair.first, pair.second);
        config.endGroup();
    }
    if (!config.save()) {
        emit reported(OperationResult::failure(
            QCoreApplication::translate("Tools", "%1 can not be written; no panel file was created.")
                .arg(target),
            { target }));
        return false;
    }
    emit reported(OperationResult::success(QCoreApplication::translate("Tools", "Created %1 with %2 keys.")
                                               .arg(target, QString::number(mKeyRects.size())),
        { target }));
    return true;
}
