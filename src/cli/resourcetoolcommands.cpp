#include "resourcetoolcommands.h"

#include "clitool.h"
#include "skin/imagelimits.h"
#include "skin/syncbatch.h"
#include "tools/fontresgenerator.h"
#include "tools/innerrecttool.h"
#include "tools/resolutionconverter.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QLoggingCategory>
#include <QSet>

namespace {

// Splits arguments into positionals, valued options and flags; anything
// unknown or a valued option without its value is a usage error.
struct Arguments
{
    QStringList positional;
    QHash<QString, QString> values;
    QSet<QString> flags;
    QString error;

    Arguments(const QStringList &args, const QStringList &valued, const QStringList &flagNames)
    {
        for (int i = 0; i < args.size(); ++i) {
            const QString &arg = args.at(i);
            if (!arg.startsWith(QLatin1String("--"))) {
                positional.append(arg);
            } else if (valued.contains(arg)) {
                if (i + 1 >= args.size()) {
                    error = arg + QStringLiteral(" needs a value");
                    return;
                }
                if (values.contains(arg)) {
                    error = arg + QStringLiteral(" given twice");
                    return;
                }
                values.insert(arg, args.at(++i));
            } else if (flagNames.contains(arg)) {
                flags.insert(arg);
            } else {
                error = QStringLiteral("unknown option ") + arg;
                return;
            }
        }
    }
};

int usage(QTextStream &err, const char *command, const QString &reason, const char *synopsis)
{
    err << "quillmark-cli " << command << ": " << reason << "\nusage: quillmark-cli " << synopsis << '\n';
    return CliTool::UsageError;
}

int failure(QTextStream &err, const char *command, const QString &reason)
{
    err << "quillmark-cli " << command << ": " << reason << '\n';
    return CliTool::Failure;
}

bool parsePositive(const QString &text, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value > 0;
}

} // namespace

int ResourceToolCommands::convert(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Arguments a(
        args, { QStringLiteral("--from"), QStringLiteral("--to") }, { QStringLiteral("--inner-rect-only") });
    if (!a.error.isEmpty())
        return usage(err, "convert", a.error, convertSynopsis);
    if (a.positional.size() != 2)
        return usage(err, "convert", QStringLiteral("expected SRC_DIR and DST_DIR"), convertSynopsis);
    int from = 0;
    int to = 0;
    if (!parsePositive(a.values.value(QStringLiteral("--from")), from)
        || !parsePositive(a.values.value(QStringLiteral("--to")), to))
        return usage(
            err, "convert", QStringLiteral("--from and --to must be positive integers"), convertSynopsis);

    const QString source = a.positional.at(0);
    if (!QFileInfo(source).isDir())
        return failure(err, "convert", QStringLiteral("source directory %1 does not exist").arg(source));
    const bool onlyInner = a.flags.contains(QStringLiteral("--inner-rect-only"));
    const QString target = QFileInfo(a.positional.at(1)).absoluteFilePath();
    const ResolutionConverter::Result result
        = ResolutionConverter::instance()->convertDirectory(source, target, from, to, onlyInner);
    if (result.attempted == 0)
        return failure(err, "convert",
            QStringLiteral("no tile file with its PNG sheet%1 converted in %2")
                .arg(onlyInner ? QStringLiteral(" and an INNER_RECT") : QString(), source));
    if (!result.problem.isEmpty())
        return failure(err, "convert", result.problem);
    if (result.converted != result.attempted)
        return failure(err, "convert",
            QStringLiteral("wrote only %1 of %2 tile files with their sheets into %3; not written: %4")
                .arg(result.converted)
                .arg(result.attempted)
                .arg(target, result.failed.join(QStringLiteral(", "))));
    out << "converted " << result.converted << " tile files from " << from << " to " << to << " into "
        << target << '\n';
    return CliTool::Success;
}

int ResourceToolCommands::innerRect(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Arguments a(args, {}, {});
    if (!a.error.isEmpty())
        return usage(err, "inner-rect", a.error, innerRectSynopsis);
    if (a.positional.size() != 3)
        return usage(
            err, "inner-rect", QStringLiteral("expected TIL_FILE, TILE and X,Y,W,H"), innerRectSynopsis);
    bool ok = false;
    const int number = a.positional.at(1).toInt(&ok);
    if (!ok)
        return usage(err, "inner-rect", QStringLiteral("TILE must be a tile number"), innerRectSynopsis);
    const QStringList fields = a.positional.at(2).split(QLatin1Char(','));
    int values[4] = { 0, 0, 0, 0 };
    bool valid = fields.size() == 4;
    for (int i = 0; valid && i < 4; ++i)
        values[i] = fields.at(i).toInt(&valid);
    if (!valid || values[2] < 1 || values[3] < 1)
        return usage(err, "inner-rect",
            QStringLiteral("X,Y,W,H must be four integers with W and H of at least 1"), innerRectSynopsis);

    InnerRectTool *tool = InnerRectTool::instance();
    const QString til = a.positional.at(0);
    if (!tool->setTilFile(til))
        return failure(err, "inner-rect", QStringLiteral("cannot load %1 with its PNG sheet").arg(til));
    const QString tile = QString::number(number);
    if (!tool->imgList().contains(tile))
        return failure(err, "inner-rect", QStringLiteral("%1 has no tile %2").arg(til, tile));
    tool->setCurrentImg(tile);
    if (!tool->fitsSheetCoordinates(values[0], values[1], values[2], values[3]))
        return usage(err, "inner-rect",
            QStringLiteral("X,Y,W,H of tile %1 would lie outside the integer range in sheet coordinates")
                .arg(tile),
            innerRectSynopsis);
    tool->setCurrentInnerRect(values[0], values[1], values[2], values[3]);
    if (!tool->save())
        return failure(err, "inner-rect", QStringLiteral("cannot write %1").arg(til));
    out << til << ": tile " << tile << " inner rect " << values[0] << ',' << values[1] << ',' << values[2]
        << ',' << values[3] << " (relative to the tile)\n";
    return CliTool::Success;
}

int ResourceToolCommands::fontRes(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const QStringList valued = { QStringLiteral("--out-dir"), QStringLiteral("--til"),
        QStringLiteral("--family"), QStringLiteral("--font-file"), QStringLiteral("--size"),
        QStringLiteral("--color"), QStringLiteral("--style") };
    const QStringList flagNames = { QStringLiteral("--bold"), QStringLiteral("--italic"),
        QStringLiteral("--underline"), QStringLiteral("--tight"), QStringLiteral("--horizontal") };
    const Arguments a(args, valued, flagNames);
    if (!a.error.isEmpty())
        return usage(err, "fontres", a.error, fontResSynopsis);
    if (a.positional.size() != 1)
        return usage(err, "fontres", QStringLiteral("expected one TEXT_FILE"), fontResSynopsis);
    const bool toDir = a.values.contains(QStringLiteral("--out-dir"));
    if (toDir == a.values.contains(QStringLiteral("--til")))
        return usage(
            err, "fontres", QStringLiteral("give exactly one of --out-dir and --til"), fontResSynopsis);
    const bool fromFile = a.values.contains(QStringLiteral("--font-file"));
    if (fromFile == a.values.contains(QStringLiteral("--family")))
        return usage(
            err, "fontres", QStringLiteral("give exactly one of --family and --font-file"), fontResSynopsis);
    int size = 0;
    // A glyph taller than the largest image could never be drawn.
    if (!parsePositive(a.values.value(QStringLiteral("--size")), size) || size > ImageLimits::maxSide)
        return usage(err, "fontres",
            QStringLiteral("--size must be an integer from 1 to %1").arg(ImageLimits::maxSide),
            fontResSynopsis);
    QColor color(Qt::black);
    if (a.values.contains(QStringLiteral("--color"))) {
        color = QColor(a.values.value(QStringLiteral("--color")));
        if (!color.isValid())
            return usage(err, "fontres", QStringLiteral("--color must be a colour such as #FF000000"),
                fontResSynopsis);
    }

    QFile textFile(a.positional.at(0));
    if (!textFile.open(QIODevice::ReadOnly))
        return failure(err, "fontres", QStringLiteral("cannot read %1").arg(textFile.fileName()));
    QString text = QString::fromUtf8(textFile.readAll());
    // One image per line: CR LF files and the usual final line feed do not
    // add images of their own.
    text.remove(QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);

    FontResGenerator *generator = FontResGenerator::instance();
    QString family;
    if (fromFile) {
        const QString fontFile = a.values.value(QStringLiteral("--font-file"));
        if (!generator->addCustomFont(fontFile) || generator->customFontFamilies().isEmpty())
            return failure(err, "fontres", QStringLiteral("cannot load the font file %1").arg(fontFile));
        family = generator->customFontFamilies().first();
    } else {
        family = a.values.value(QStringLiteral("--family"));
        if (!QFontDatabase().families().contains(family, Qt::CaseInsensitive))
            return failure(err, "fontres", QStringLiteral("font family '%1' is not installed").arg(family));
    }
    generator->setFamily(family);
    generator->setSize(size);
    generator->setColor(color);
    generator->setStyle(a.values.value(QStringLiteral("--style")));
    generator->setBold(a.flags.contains(QStringLiteral("--bold")));
    generator->setItalic(a.flags.contains(QStringLiteral("--italic")));
    generator->setUnderLine(a.flags.contains(QStringLiteral("--underline")));
    generator->setTightMode(a.flags.contains(QStringLiteral("--tight")));
    generator->setVerticalOrder(!a.flags.contains(QStringLiteral("--horizontal")));

    const int lines = generator->generate(text);
    int drawn = 0;
    for (int i = 1; i <= lines; ++i)
        drawn += generator->image(i).isNull() ? 0 : 1;
    if (drawn == 0)
        return failure(
            err, "fontres", QStringLiteral("no line of %1 gave an image").arg(textFile.fileName()));

    if (toDir) {
        const QString dir = a.values.value(QStringLiteral("--out-dir"));
        if (!QFileInfo(dir).isDir())
            return failure(err, "fontres", QStringLiteral("%1 is not a directory").arg(dir));
        const int written = generator->save(dir);
        if (const QString problem = SyncBatch::takeProblem(); !problem.isEmpty())
            return failure(err, "fontres", problem);
        if (written != drawn)
            return failure(err, "fontres",
                QStringLiteral("wrote only %1 of %2 images into %3").arg(written).arg(drawn).arg(dir));
        out << "wrote " << written << " images into " << QFileInfo(dir).absoluteFilePath() << '\n';
        return CliTool::Success;
    }
    const QString til = a.values.value(QStringLiteral("--til"));
    const bool saved = generator->saveAsTil(til);
    if (const QString problem = SyncBatch::takeProblem(); !problem.isEmpty())
        return failure(err, "fontres", problem);
    if (!saved)
        return failure(err, "fontres", QStringLiteral("cannot write %1 and its sheet").arg(til));
    out << "wrote " << lines << " tiles into " << QFileInfo(til).absoluteFilePath() << '\n';
    return CliTool::Success;
}
