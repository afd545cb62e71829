#pragma once

#include "skinproblem.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

class CheckedDocument;

// The part of the skin checker that looks at what the panel loader loads
// besides the panel: the style table, and the tile files, sheets, fonts and
// sounds under the res directories. It reads them the way the loader and the
// style store do (same search, same parsers, the style table's last STYLE
// section of a name winning) and remembers what it has checked, so that the
// panels of one skin share their resources' problems.
class ResourceChecker
{
    Q_DECLARE_TR_FUNCTIONS(SkinChecker)

public:
    // Checks the style table against the res directories (once per pair) and
    // appends the problems found. Returns the style table's section names
    // that are styles ("STYLE" + the number as written). Every file and
    // directory looked at goes into `inputs`.
    QSet<QString> check(const QString &styleTable, const QStringList &resourceDirectories,
        QVector<SkinProblem> &problems, QSet<QString> &inputs);

private:
    struct TileFile
    {
        bool loadable = false; // the sheet decodes: its tiles reach the style store
        QStringList keys;
    };
    struct Resources
    {
        QSet<QString> tiles;
        QSet<QString> unloadedTiles; // named by tile files whose sheet is at fault
        QSet<QString> fonts; // paths relative to their res directory
    };

    const TileFile &checkTileFile(const QString &path, QVector<SkinProblem> &problems, QSet<QString> &inputs);
    void checkTiles(const CheckedDocument &tiles, const QSize &sheet, QVector<SkinProblem> &problems) const;
    void checkStyleTable(const CheckedDocument &table, const QStringList &resourceDirectories,
        const Resources &resources, QVector<SkinProblem> &problems, QSet<QString> &inputs) const;
    void checkFont(const CheckedDocument &table, int index, const QStringList &resourceDirectories,
        const Resources &resources, QVector<SkinProblem> &problems, QSet<QString> &inputs) const;

    QHash<QString, TileFile> mTileFiles;
    QHash<QString, QSet<QString>> mStyleTables; // by table and directories
};
