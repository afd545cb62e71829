#include "archivecommands.h"

#include "clitool.h"
#include "skin/skinarchive.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

// "unpacking a.zip: 42%" rewritten in place while the stream is a terminal;
// nothing at all otherwise, so that scripts and tests see on standard error
// only what went wrong.
class TerminalProgress
{
public:
    TerminalProgress(QTextStream &stream, const QString &what)
        : mStream(stream)
        , mWhat(what)
    {
        const auto *file = qobject_cast<QFile *>(stream.device());
        mShown = file && file->handle() >= 0 && ::isatty(file->handle());
    }
    ~TerminalProgress() { end(); }

    SkinArchive::Progress progress()
    {
        SkinArchive::Progress progress;
        if (mShown)
            progress.report = [this](qint64 done, qint64 total) { show(done, total); };
        return progress;
    }

    // Ends the line before the command's own output.
    void end()
    {
        if (mPercent < 0)
            return;
        mStream << '\n';
        mStream.flush();
        mPercent = -1;
    }

private:
    void show(qint64 done, qint64 total)
    {
        const int percent = total > 0 ? int(qBound<qint64>(0, done * 100 / total, 100)) : 100;
        if (percent == mPercent)
            return;
        mPercent = percent;
        mStream << '\r' << mWhat << ": " << percent << '%';
        mStream.flush();
    }

    QTextStream &mStream;
    QString mWhat;
    bool mShown = false;
    int mPercent = -1;
};

} // namespace

const char ArchiveCommands::packSynopsis[] = "pack SKIN_DIR ARCHIVE";
const char ArchiveCommands::unpackSynopsis[] = "unpack ARCHIVE DIR";

int ArchiveCommands::pack(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 2) {
        err << "usage: quillmark-cli " << packSynopsis << '\n';
        return CliTool::UsageError;
    }
    const QString &skinDir = args.at(0);
    const QString &archive = args.at(1);
    if (!QFileInfo(skinDir).isDir()) {
        err << "quillmark-cli pack: " << skinDir << " is not a directory\n";
        return CliTool::Failure;
    }
    QStringList leftOut;
    TerminalProgress progress(err, QStringLiteral("packing ") + archive);
    const bool packed = SkinArchive::zip(skinDir, archive, progress.progress(), &leftOut);
    progress.end();
    if (!packed) {
        err << "quillmark-cli pack: could not write " << archive << '\n';
        return CliTool::Failure;
    }
    out << "packed " << skinDir << " into " << archive << '\n';
    if (!leftOut.isEmpty())
        out << "left out (links leading outside the skin, or not regular files): "
            << leftOut.join(QStringLiteral(", ")) << '\n';
    return CliTool::Success;
}

int ArchiveCommands::unpack(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 2) {
        err << "usage: quillmark-cli " << unpackSynopsis << '\n';
        return CliTool::UsageError;
    }
    const QString &archive = args.at(0);
    const QString &dir = args.at(1);
    if (!QFileInfo(archive).isFile()) {
        err << "quillmark-cli unpack: " << archive << " does not exist\n";
        return CliTool::Failure;
    }
    QString error;
    TerminalProgress progress(err, QStringLiteral("unpacking ") + archive);
    const bool unpacked
        = SkinArchive::unzip(archive, dir, SkinArchive::Limits(), progress.progress(), &error);
    progress.end();
    if (!unpacked) {
        err << "quillmark-cli unpack: " << archive << ": " << error << '\n';
        return CliTool::Failure;
    }
    out << "unpacked " << archive << " into " << dir << '\n';
    return CliTool::Success;
}
