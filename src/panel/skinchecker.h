#pragma once

#include "resourcechecker.h"
#include "skinproblem.h"

#include <QCoreApplication>
#include <QHash>
#include <QRect>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

class CheckedDocument;

// Tells a skin author what is wrong with a skin and where: one pass over a
// panel file and everything the preview reaches from it (gen.ini, the
// candidate layout, the style table found by the panel's resource search,
// every tile file, sheet, font and sound), reading every value as the
// renderer does (same parsers, same gen.ini fallback) and saying what the
// renderer will make of it. Lines come from the documents' own reader.
//
// One checker may check several panels of a skin: files they share are
// checked once, and a problem is listed once.
class SkinChecker
{
    Q_DECLARE_TR_FUNCTIONS(SkinChecker)

public:
    // The resolution that picks the style table and res directories, and the
    // device resolution that scales the preview, as the panel has them.
    void setResolution(int resolution) { mResolution = resolution; }
    void setDeviceResolution(int resolution) { mDeviceResolution = resolution; }

    void checkPanelFile(const QString &path);
    // Every panel file under the directory (see panelFilesUnder); returns
    // how many there were.
    int checkSkinDirectory(const QString &directory);

    // The *.ini files under a directory, gen.ini excepted, that have a PANEL
    // section or a key section, sorted by path.
    static QStringList panelFilesUnder(const QString &directory);

    // In file order, then line order; each problem once.
    QVector<SkinProblem> problems() const;
    int count(SkinProblem::Severity severity) const;
    // False when the last panel checked has a size the preview cannot draw.
    bool panelDrawable() const { return mPanelDrawable; }
    // Every file and directory the checks looked at, present or not, so that
    // a caller can tell when a new check would see something else.
    QStringList inputs() const;

private:
    struct KeyRect
    {
        QString name;
        QRect rect;
        int line = 0;
        int order = 0;
    };

    void add(const QVector<SkinProblem> &problems);
    void checkPanelSize(const CheckedDocument &panel, const CheckedDocument *gen, QVector<SkinProblem> &out);
    void checkKeys(const CheckedDocument &panel, QVector<SkinProblem> &out);
    void checkAreas(const CheckedDocument &panel, const CheckedDocument *gen, QVector<SkinProblem> &out);
    void checkLayout(const QString &path, QVector<SkinProblem> &out);
    void checkOffsets(const CheckedDocument &gen, QVector<SkinProblem> &out) const;
    void checkOverlaps(const QString &file, QVector<KeyRect> keys, QVector<SkinProblem> &out) const;
    // Style numbers of an integer or integer-list value that the style table
    // lacks; nothing when there is no style table.
    void checkStyles(const CheckedDocument &document, int section, const char *key, QVector<SkinProblem> &out,
        const QString &keySection = QString()) const;

    int mResolution = 0;
    int mDeviceResolution = 0;
    bool mPanelDrawable = true;
    QSize mPanelSize;
    bool mHaveStyles = false;
    QString mStyleTable;
    QSet<QString> mStyles;
    ResourceChecker mResources;
    QSet<QString> mChecked; // gen.ini and layout files already checked
    QSet<QString> mInputs;
    QVector<SkinProblem> mProblems;
    QSet<QString> mListed;
};
