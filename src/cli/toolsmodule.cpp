#include "toolsmodule.h"

#include "clitool.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

// The loader's last error without the path it starts with, which the message
// names already.
QString loaderError(const QString &path)
{
    const char *text = ::dlerror();
    QString reason = text ? QString::fromLocal8Bit(text) : QStringLiteral("unknown error");
    const QString prefix = path + QStringLiteral(": ");
    if (reason.startsWith(prefix))
        reason = reason.mid(prefix.size());
    return reason;
}

} // namespace

QString ToolsModule::path()
{
    // The executable itself, links resolved: a link to the program elsewhere
    // still finds the module beside the real one.
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return QString();
    const QString program = QFile::decodeName(QByteArray(buffer, int(length)));
    const QString directory = program.left(program.lastIndexOf(QLatin1Char('/')));
    return QDir::cleanPath(directory + QLatin1Char('/') + QStringLiteral(QUILLMARK_CLI_TOOLS_FROM_BIN));
}

int ToolsModule::run(const QString &path, const QString &command, int argc, char **argv, QTextStream &err)
{
    auto fail = [&](const QString &reason) {
        err << "quillmark-cli " << command << ": can not load the tools module " << path << ": " << reason
            << '\n';
        err.flush();
        return int(CliTool::Failure);
    };
    if (path.isEmpty())
        return fail(QStringLiteral("the program's own path is unknown"));
    const QByteArray file = QFile::encodeName(path);
    if (::access(file.constData(), F_OK) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    // Every symbol bound now: a module that does not fit fails here with a
    // reason, not halfway through a command.
    void *handle = ::dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return fail(loaderError(path));
    const auto entry = reinterpret_cast<Entry>(::dlsym(handle, entryName));
    if (!entry)
        return fail(loaderError(path));
    err.flush();
    // The module stays loaded: what it registered at exit still runs.
    return entry(argc, argv);
}
