#include "builtinfonts.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

namespace {

const QString cjkFileName()
{
    return QStringLiteral("NotoSansCJKsc-Regular.otf");
}

} // namespace

QStringList BuiltInFonts::cjkFontCandidates()
{
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QString programDirectory = QCoreApplication::applicationDirPath();
        candidates << programDirectory + QLatin1String("/fonts/") + cjkFileName()
                   << QDir::cleanPath(
                          programDirectory + QLatin1String("/../share/quillmark/fonts/") + cjkFileName());
    }
#ifdef QUILLMARK_FONT_DIR
    candidates << QStringLiteral(QUILLMARK_FONT_DIR "/") + cjkFileName();
#endif
    return candidates;
}

QString BuiltInFonts::cjkFontPath()
{
    const QStringList candidates = cjkFontCandidates();
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}

QString BuiltInFonts::cjkFamily()
{
    static const QString family = []() {
        const QString path = cjkFontPath();
        const int id = path.isEmpty() ? -1 : QFontDatabase::addApplicationFont(path);
        if (id < 0) {
            qInfo() << "can not add default font: " << (path.isEmpty() ? cjkFileName() : path) << "!";
            return QString();
        }
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    return family;
}
