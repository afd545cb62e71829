#pragma once

#include "skin/tile.h"
#include "styles/stylesmanager.h"
#include "testpaths.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

// Collects every message logged while it lives (and still forwards them to
// the previous handler), so tests can count log lines.
class LogCapture
{
public:
    LogCapture()
    {
        mPrevious = qInstallMessageHandler(&LogCapture::handler);
        sCurrent = this;
    }
    ~LogCapture()
    {
        qInstallMessageHandler(mPrevious);
        sCurrent = nullptr;
    }

    QStringList lines() const { return mLines; }
    int count(const QString &part) const
    {
        int n = 0;
        for (const QString &line : mLines)
            n += line.contains(part) ? 1 : 0;
        return n;
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (sCurrent) {
            if (type == QtInfoMsg)
                sCurrent->mLines.append(message);
            if (sCurrent->mPrevious)
                sCurrent->mPrevious(type, context, message);
        }
    }

    static inline LogCapture *sCurrent = nullptr;
    QtMessageHandler mPrevious = nullptr;
    QStringList mLines;
};

namespace StylesFixture {

const QRgb Red = qRgb(255, 0, 0);
const QRgb Green = qRgb(0, 255, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Yellow = qRgb(255, 255, 0);
const QRgb Magenta = qRgb(255, 0, 255);

inline QString tableDir()
{
    return QStringLiteral(QUILLMARK_TEST_DATA_DIR "/styles-table/res");
}

// The 80x30 sheet of keys.til: tile 1 a nine-patch with red corners, green
// edges and a blue centre; tile 2 yellow; tile 3 magenta.
inline QImage keysSheet()
{
    QImage sheet(80, 30, QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const bool midX = x >= 10 && x < 20;
            const bool midY = y >= 10 && y < 20;
            sheet.setPixel(x, y, midX && midY ? Blue : (midX || midY ? Green : Red));
        }
    }
    QPainter painter(&sheet);
    painter.fillRect(30, 0, 30, 30, QColor(Yellow));
    painter.fillRect(60, 0, 20, 20, QColor(Magenta));
    return sheet;
}

// Puts the fixture's tile file, its sheet and the font `fonts/own.ttf` into
// `dir`; returns false when a file could not be made.
inline bool prepare(const QTemporaryDir &dir)
{
    if (!dir.isValid() || !QDir(dir.path()).mkpath(QStringLiteral("fonts")))
        return false;
    const QString fontPath = dir.filePath(QStringLiteral("fonts/own.ttf"));
    return QFile::copy(tableDir() + QStringLiteral("/keys.til"), dir.filePath(QStringLiteral("keys.til")))
        && keysSheet().save(dir.filePath(QStringLiteral("keys.png")))
        && QFile::copy(QStringLiteral(":/fonts/NotoMono-Regular.ttf"), fontPath)
        && QFile::setPermissions(fontPath, QFile::ReadOwner | QFile::WriteOwner);
}

// Loads the way the panel loader does: clear, tiles and fonts of the res
// tree, then the style table.
inline void load(StylesManager *manager, const QString &resDir, const QString &styleTable)
{
    manager->clear();
    QDirIterator it(resDir, QDir::Files, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    for (const QString &file : qAsConst(files)) {
        const QFileInfo info(file);
        if (info.suffix() == QLatin1String("til")) {
            const auto tiles = readTileFile(file);
            for (const Tile &tile : tiles)
                manager->addTile(tile);
        } else if (info.suffix() == QLatin1String("ttf")) {
            manager->addFont(info.absoluteFilePath(), info.absoluteFilePath().mid(resDir.length() + 1));
        }
    }
    manager->readStyleTable(styleTable);
}

inline void loadTable(StylesManager *manager, const QTemporaryDir &dir)
{
    load(manager, dir.path(), tableDir() + QStringLiteral("/default.css"));
}

// Writes `bytes` to `name` inside `dir`; returns the path.
inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

// Runs a test that reaches the program's Settings: they create the skin
// working directory below the home directory, so that goes into a
// temporary home.
template <class Test> int runWithTemporaryHome(int argc, char *argv[])
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace StylesFixture
