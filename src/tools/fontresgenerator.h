#pragma once

#include "skin/operationresult.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

class SyncBatch;

// Renders short texts, one per line, in a chosen font into small transparent
// images numbered from 1, and saves them as numbered PNG files or packed into
// one sheet with a tile file. Font files of the author's own stay registered
// until clear() or the end of the run.
class FontResGenerator : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList systemFontFamilies MEMBER mSystemFontFamilies)
    Q_PROPERTY(QStringList customFontFamilies READ customFontFamilies WRITE setCustomFontFamilies NOTIFY
            customFontFamiliesChanged)
    Q_PROPERTY(QStringList resNumers READ resNumers WRITE setResNumers NOTIFY resNumersChanged)
    Q_PROPERTY(QString family MEMBER mFamily)
    Q_PROPERTY(QString style MEMBER mStyle)
    Q_PROPERTY(QColor color MEMBER mColor)
    Q_PROPERTY(int size MEMBER mSize)
    Q_PROPERTY(bool bold MEMBER mBold)
    Q_PROPERTY(bool italic MEMBER mItalic)
    Q_PROPERTY(bool underLine MEMBER mUnderLine)
    Q_PROPERTY(bool verticalOrder MEMBER mVerticalOrder)
    Q_PROPERTY(bool tightMode MEMBER mTightMode)

public:
    static FontResGenerator *instance();

    QStringList systemFontFamilies() const { return mSystemFontFamilies; }
    QStringList customFontFamilies() const { return mCustomFontFamilies; }
    void setCustomFontFamilies(const QStringList &families);
    QStringList resNumers() const { return mResNumers; }
    void setResNumers(const QStringList &numbers);

    QString family() const { return mFamily; }
    void setFamily(const QString &family) { mFamily = family; }
    QString style() const { return mStyle; }
    void setStyle(const QString &style) { mStyle = style; }
    QColor color() const { return mColor; }
    void setColor(const QColor &color) { mColor = color; }
    int size() const { return mSize; }
    void setSize(int size) { mSize = size; }
    bool bold() const { return mBold; }
    void setBold(bool bold) { mBold = bold; }
    bool italic() const { return mItalic; }
    void setItalic(bool italic) { mItalic = italic; }
    bool underLine() const { return mUnderLine; }
    void setUnderLine(bool underLine) { mUnderLine = underLine; }
    bool verticalOrder() const { return mVerticalOrder; }
    void setVerticalOrder(bool vertical) { mVerticalOrder = vertical; }
    bool tightMode() const { return mTightMode; }
    void setTightMode(bool tight) { mTightMode = tight; }

    // The generated image of that number; null when there is none.
    QImage image(int number) const { return mImages.value(number); }
    // The font generate() draws with, from the current settings.
    QFont font() const;

    // The results are for C++ callers; QML ignores them.
    Q_INVOKABLE bool addCustomFont(const QString &fontFile);
    Q_INVOKABLE void clear();
    Q_INVOKABLE QStringList styles(const QString &family) const;
    Q_INVOKABLE int generate(const QString &text);
    Q_INVOKABLE int save(const QString &dirName);
    Q_INVOKABLE bool saveAsTil(const QString &tilFileName);

signals:
    void customFontFamiliesChanged();
    void resNumersChanged();
    // What adding a font, generating and saving came to.
    void reported(const OperationResult &result);

private:
    explicit FontResGenerator(QObject *parent = nullptr);
    QImage render(const QString &line, const QFont &font) const;
    // Syncs what a save put in place; false, reported, when the disk did not
    // take all of it.
    bool syncWritten(SyncBatch &batch);

    QStringList mSystemFontFamilies;
    QStringList mCustomFontFamilies;
    QStringList mResNumers;
    QString mFamily;
    QString mStyle;
    QColor mColor;
    int mSize = 0;
    bool mBold = false;
    bool mItalic = false;
    bool mUnderLine = false;
    bool mVerticalOrder = false;
    bool mTightMode = false;

    QMap<int, QImage> mImages;
    QList<int> mFontIds;
};
