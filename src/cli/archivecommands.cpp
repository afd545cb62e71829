#include "archivecommands.h"

#include "clitool.h"
#include "skin/skinarchive.h"

#include <QFileInfo>

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
    if (!SkinArchive::zip(skinDir, archive, &leftOut)) {
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
    if (!SkinArchive::unzip(archive, dir, SkinArchive::Limits(), SkinArchive::Progress(), &error)) {
        err << "quillmark-cli unpack: " << archive << ": " << error << '\n';
        return CliTool::Failure;
    }
    out << "unpacked " << archive << " into " << dir << '\n';
    return CliTool::Success;
}
