// The peer of the editor's start-up: the smallest Qt Quick Controls 2 window
// that shows one picture. It exits on its first frame (see firstframe.h).
//
//   bench_minimalwindow PICTURE.png
#include "firstframe.h"

#include <QGuiApplication>
#include <QUrl>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_minimalwindow PICTURE.png\n");
        return 2;
    }
    const QString scene = QStringLiteral(R"(
import QtQuick 2.15
import QtQuick.Controls 2.15
ApplicationWindow {
    visible: true
    width: 1024
    height: 700
    Image { anchors.fill: parent; fillMode: Image.PreserveAspectFit; source: "%1" }
}
)")
                              .arg(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])).toString());
    QQmlApplicationEngine engine;
    engine.loadData(scene.toUtf8());
    if (!exitOnFirstFrame(engine))
        return 1;
    return QGuiApplication::exec();
}
