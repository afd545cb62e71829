#pragma once

#include "skin/operationresult.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Lays out a new panel file from a few numbers: the panel's size, its
// paddings, the gap between rows and one description per row of keys. The
// result is a starting point the author refines in the preview.
//
// Layout arithmetic is 32-bit and truncating, and stays so even for absurd
// input: sums and products wrap instead of being undefined.
class PanelCreator : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int width READ width WRITE setWidth)
    Q_PROPERTY(int height READ height WRITE setHeight)
    Q_PROPERTY(int leftPadding READ leftPadding WRITE setLeftPadding)
    Q_PROPERTY(int topPadding READ topPadding WRITE setTopPadding)
    Q_PROPERTY(int rightPadding READ rightPadding WRITE setRightPadding)
    Q_PROPERTY(int bottomPadding READ bottomPadding WRITE setBottomPadding)
    Q_PROPERTY(int rowSpacing READ rowSpacing WRITE setRowSpacing)
    Q_PROPERTY(bool includeTouchRect READ includeTouchRect WRITE setIncludeTouchRect)
    Q_PROPERTY(int touchRectLeftPadding READ touchRectLeftPadding WRITE setTouchRectLeftPadding)
    Q_PROPERTY(int touchRectTopPadding READ touchRectTopPadding WRITE setTouchRectTopPadding)
    Q_PROPERTY(int touchRectRightPadding READ touchRectRightPadding WRITE setTouchRectRightPadding)
    Q_PROPERTY(int touchRectBottomPadding READ touchRectBottomPadding WRITE setTouchRectBottomPadding)
    // Write-only: the dialog hands the rows over and never reads them back.
    Q_PROPERTY(QVariantList rowPropertiesList WRITE setRowPropertiesList)
    Q_PROPERTY(QStringList extraProperties READ extraProperties WRITE setExtraProperties)

public:
    // One row of keys. Negative values: -1 automatic (height, width,
    // spacing), -2 for the width means "same as the last laid-out row".
    struct RowProperties
    {
        int keysNumber = 0;
        int rowHeight = 0;
        int keyWidth = 0;
        int keySpacing = 0;
        int alignment = 0; // 0 left, 1 centre, 2 right; anything else is left
    };

    explicit PanelCreator(QObject *parent = nullptr);
    static PanelCreator *instance();

    int width() const { return mWidth; }
    void setWidth(int value) { mWidth = value; }
    int height() const { return mHeight; }
    void setHeight(int value) { mHeight = value; }
    int leftPadding() const { return mLeftPadding; }
    void setLeftPadding(int value) { mLeftPadding = value; }
    int topPadding() const { return mTopPadding; }
    void setTopPadding(int value) { mTopPadding = value; }
    int rightPadding() const { return mRightPadding; }
    void setRightPadding(int value) { mRightPadding = value; }
    int bottomPadding() const { return mBottomPadding; }
    void setBottomPadding(int value) { mBottomPadding = value; }
    int rowSpacing() const { return mRowSpacing; }
    void setRowSpacing(int value) { mRowSpacing = value; }
    bool includeTouchRect() const { return mIncludeTouchRect; }
    void setIncludeTouchRect(bool value) { mIncludeTouchRect = value; }
    int touchRectLeftPadding() const { return mTouchRectLeftPadding; }
    void setTouchRectLeftPadding(int value) { mTouchRectLeftPadding = value; }
    int touchRectTopPadding() const { return mTouchRectTopPadding; }
    void setTouchRectTopPadding(int value) { mTouchRectTopPadding = value; }
    int touchRectRightPadding() const { return mTouchRectRightPadding; }
    void setTouchRectRightPadding(int value) { mTouchRectRightPadding = value; }
    int touchRectBottomPadding() const { return mTouchRectBottomPadding; }
    void setTouchRectBottomPadding(int value) { mTouchRectBottomPadding = value; }
    QStringList extraProperties() const { return mExtraProperties; }
    void setExtraProperties(const QStringList &value) { mExtraProperties = value; }

    // Replaces the rows: each element is a map with "keysNumber",
    // "rowHeight", "keyWidth", "keySpacing" and "alignment"; a missing or
    // non-numeric entry counts as 0.
    void setRowPropertiesList(const QVariantList &list);
    QList<RowProperties> rows() const { return mRows; }

    // Computes keyRects from the properties and rows. False (with a log
    // line, and no keys) when the rows ask for more than maxKeys keys.
    bool layoutKeys();
    static constexpr int maxKeys = 100000;
    QList<QRect> keyRects() const { return mKeyRects; }

    // Writes the panel file, replacing whatever the file held. Returns
    // whether the file was written (QML ignores the result); the window
    // learns it from `reported`.
    Q_INVOKABLE bool create(const QString &iniFile);

signals:
    void reported(const OperationResult &result);

private:
    int mWidth = 1080;
    int mHeight = 680;
    int mLeftPadding = 0;
    int mTopPadding = 0;
    int mRightPadding = 0;
    int mBottomPadding = 0;
    int mRowSpacing = 0;
    bool mIncludeTouchRect = false;
    int mTouchRectLeftPadding = 0;
    int mTouchRectTopPadding = 0;
    int mTouchRectRightPadding = 0;
    int mTouchRectBottomPadding = 0;
    QList<RowProperties> mRows;
    QStringList mExtraProperties { QStringLiteral("UP="), QStringLiteral("DOWN="), QStringLiteral("LEFT=") };
    QList<QRect> mKeyRects;
};
