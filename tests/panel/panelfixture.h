#pragma once

// Helpers shared by the panel suites: copies of the fixture skins in a
// temporary directory, small panel files written on the spot, file times set
// without sleeping, and a Panel brought back to its initial state.

#include "panel/panel.h"
#include "testfiles.h"
#include "testpaths.h"

#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTimer>

namespace PanelFixture {

inline QString dataPath(const QString &relative)
{
    return QStringLiteral(QUILLMARK_TEST_DATA_DIR "/") + relative;
}

inline QString demoPanelFile()
{
    return QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/port/py_26.ini");
}

using TestFiles::copyTree;

// Writes `text` with CR LF line ends, creating the directories on the way.
inline bool writeText(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QString crlf = text;
    crlf.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return file.write(crlf.toUtf8()) >= 0;
}

// Moves a file's modification time `seconds` past its current one.
inline bool touch(const QString &path, int seconds = 10)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QDateTime time = QFileInfo(path).lastModified().addSecs(seconds);
    return file.setFileTime(time, QFileDevice::FileModificationTime);
}

// The panel as the program starts it, with the outlines made invisible so
// that pixel checks see only the painted styles.
inline void resetPanel(Panel *panel)
{
    panel->autoReloadTimer()->stop();
    panel->clean();
    panel->setCurrentStatus(0);
    panel->setResolution(0);
    panel->setDeviceResolution(0);
    panel->setHighlightPointF(QPointF(-1, -1));
    panel->setViewRectColor(Qt::transparent);
    panel->setTouchRectColor(Qt::transparent);
    panel->setCurrentKey(QString());
}

inline QColor pixel(const QImage &image, int x, int y)
{
    if (!image.rect().contains(x, y))
        return QColor();
    return QColor::fromRgba(image.pixel(x, y));
}

} // namespace PanelFixture
