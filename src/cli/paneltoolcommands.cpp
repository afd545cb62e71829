#include "paneltoolcommands.h"

#include "cli/clitool.h"
#include "skin/syncbatch.h"
#include "tools/panelcreator.h"
#include "tools/panelscaler.h"
#include "tools/tiletool.h"

#include <QFileInfo>
#include <QVariantMap>

namespace {

// Panel numbers beyond this are typing mistakes; keeping them small also
// keeps every layout sum well inside 32 bits.
constexpr int maxValue = 100000;
constexpr int maxKeysPerRow = 1000;

int usage(QTextStream &err, const char *command, const QString &reason)
{
    err << "quillmark-cli " << command << ": " << reason << " (see --help)\n";
    return CliTool::UsageError;
}

int failure(QTextStream &err, const char *command, const QString &reason)
{
    err << "quillmark-cli " << command << ": " << reason << '\n';
    return CliTool::Failure;
}

bool parseNumber(const QString &text, int minimum, int maximum, int &value)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < minimum || number > maximum)
        return false;
    value = number;
    return true;
}

// One comma-separated integer per entry of `minimum`, each from its minimum
// to `maximum`.
bool parseNumbers(const QString &text, const QVector<int> &minimum, int maximum, QVector<int> &values)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != minimum.size())
        return false;
    values.resize(parts.size());
    for (int i = 0; i < parts.size(); ++i) {
        if (!parseNumber(parts.at(i), minimum.at(i), maximum, values[i]))
            return false;
    }
    return true;
}

// Splits `args` into positional arguments and options; every option in
// `valued` takes the next argument as its value. An unknown option or a
// missing value is reported through `error`.
struct ParsedArgs
{
    QStringList positional;
    QList<QPair<QString, QString>> options;
    QString error;

    QStringList values(const QString &name) const
    {
        QStringList result;
        for (const auto &option : options) {
            if (option.first == name)
                result.append(option.second);
        }
        return result;
    }
    bool has(const QString &name) const { return !values(name).isEmpty(); }
};

ParsedArgs parseArgs(const QStringList &args, const QStringList &valued, const QStringList &flags)
{
    ParsedArgs parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (!arg.startsWith(QLatin1String("--"))) {
            parsed.positional.append(arg);
        } else if (flags.contains(arg)) {
            parsed.options.append({ arg, QString() });
        } else if (valued.contains(arg)) {
            if (i + 1 >= args.size()) {
                parsed.error = arg + QStringLiteral(" needs a value");
                return parsed;
            }
            parsed.options.append({ arg, args.at(++i) });
        } else {
            parsed.error = QStringLiteral("unknown option ") + arg;
            return parsed;
        }
    }
    return parsed;
}

// The last value given for `name`, which must occur at most once.
bool single(const ParsedArgs &parsed, const QString &name, QString &value, QString &error)
{
    const QStringList values = parsed.values(name);
    if (values.size() > 1) {
        error = name + QStringLiteral(" given more than once");
        return false;
    }
    if (!values.isEmpty())
        value = values.first();
    return true;
}

} // namespace

int PanelToolCommands::createPanel(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const char *command = "create-panel";
    const ParsedArgs parsed = parseArgs(args,
        { QStringLiteral("--size"), QStringLiteral("--padding"), QStringLiteral("--row-spacing"),
            QStringLiteral("--touch-padding"), QStringLiteral("--row"), QStringLiteral("--extra") },
        {});
    if (!parsed.error.isEmpty())
        return usage(err, command, parsed.error);
    if (parsed.positional.size() != 1)
        return usage(err, command, QStringLiteral("expects exactly one output file"));

    QString sizeText, paddingText, rowSpacingText, touchText, error;
    if (!single(parsed, QStringLiteral("--size"), sizeText, error)
        || !single(parsed, QStringLiteral("--padding"), paddingText, error)
        || !single(parsed, QStringLiteral("--row-spacing"), rowSpacingText, error)
        || !single(parsed, QStringLiteral("--touch-padding"), touchText, error))
        return usage(err, command, error);

    QVector<int> size;
    if (!parsed.has(QStringLiteral("--size")))
        return usage(err, command, QStringLiteral("--size W,H is required"));
    if (!parseNumbers(sizeText, { 1, 1 }, maxValue, size))
        return usage(
            err, command, QStringLiteral("--size expects W,H with numbers from 1 to %1").arg(maxValue));
    QVector<int> padding { 0, 0, 0, 0 };
    if (parsed.has(QStringLiteral("--padding"))
        && !parseNumbers(paddingText, { 0, 0, 0, 0 }, maxValue, padding))
        return usage(err, command,
            QStringLiteral("--padding expects L,T,R,B with numbers from 0 to %1").arg(maxValue));
    int rowSpacing = 0;
    if (parsed.has(QStringLiteral("--row-spacing")) && !parseNumber(rowSpacingText, 0, maxValue, rowSpacing))
        return usage(
            err, command, QStringLiteral("--row-spacing expects a number from 0 to %1").arg(maxValue));
    QVector<int> touch { 0, 0, 0, 0 };
    if (parsed.has(QStringLiteral("--touch-padding"))
        && !parseNumbers(touchText, { 0, 0, 0, 0 }, maxValue, touch))
        return usage(err, command,
            QStringLiteral("--touch-padding expects L,T,R,B with numbers from 0 to %1").arg(maxValue));

    const QStringList rowTexts = parsed.values(QStringLiteral("--row"));
    if (rowTexts.isEmpty())
        return usage(
            err, command, QStringLiteral("at least one --row KEYS,HEIGHT,WIDTH,SPACING,ALIGN is required"));
    QVariantList rows;
    for (const QString &text : rowTexts) {
        QVector<int> row;
        // KEYS 0 is a skipped row; -1 automatic height, width or spacing;
        // -2 width of the last row; ALIGN 0 left, 1 centre, 2 right.
        if (!parseNumbers(text, { 0, -1, -2, -1, 0 }, maxValue, row) || row.at(0) > maxKeysPerRow
            || row.at(4) > 2)
            return usage(err, command,
                QStringLiteral("--row %1: expects KEYS,HEIGHT,WIDTH,SPACING,ALIGN (KEYS 0 to %2, "
                               "-1 automatic, -2 width of the last row, ALIGN 0, 1 or 2)")
                    .arg(text)
                    .arg(maxKeysPerRow));
        rows.append(QVariantMap { { QStringLiteral("keysNumber"), row.at(0) },
            { QStringLiteral("rowHeight"), row.at(1) }, { QStringLiteral("keyWidth"), row.at(2) },
            { QStringLiteral("keySpacing"), row.at(3) }, { QStringLiteral("alignment"), row.at(4) } });
    }

    // A fresh creator: the process-wide one would carry settings of earlier
    // calls, which a command line must not depend on.
    PanelCreator creator;
    creator.setWidth(size.at(0));
    creator.setHeight(size.at(1));
    creator.setLeftPadding(padding.at(0));
    creator.setTopPadding(padding.at(1));
    creator.setRightPadding(padding.at(2));
    creator.setBottomPadding(padding.at(3));
    creator.setRowSpacing(rowSpacing);
    creator.setIncludeTouchRect(parsed.has(QStringLiteral("--touch-padding")));
    creator.setTouchRectLeftPadding(touch.at(0));
    creator.setTouchRectTopPadding(touch.at(1));
    creator.setTouchRectRightPadding(touch.at(2));
    creator.setTouchRectBottomPadding(touch.at(3));
    creator.setRowPropertiesList(rows);
    const QStringList extras = parsed.values(QStringLiteral("--extra"));
    if (!extras.isEmpty())
        creator.setExtraProperties(extras);

    const QString file = parsed.positional.first();
    if (!creator.create(file))
        return failure(err, command, QStringLiteral("could not write %1").arg(file));
    out << "wrote " << file << " with " << creator.keyRects().size() << " keys\n";
    return CliTool::Success;
}

int PanelToolCommands::scale(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const char *command = "scale";
    const ParsedArgs parsed = parseArgs(args,
        { QStringLiteral("--from"), QStringLiteral("--to"), QStringLiteral("--vfrom"),
            QStringLiteral("--vto") },
        {});
    if (!parsed.error.isEmpty())
        return usage(err, command, parsed.error);
    if (parsed.positional.size() != 2)
        return usage(err, command, QStringLiteral("expects SRC_DIR and DST_DIR"));

    QString texts[4];
    const QString names[4] = { QStringLiteral("--from"), QStringLiteral("--to"), QStringLiteral("--vfrom"),
        QStringLiteral("--vto") };
    QString error;
    for (int i = 0; i < 4; ++i) {
        if (!single(parsed, names[i], texts[i], error))
            return usage(err, command, error);
    }
    if (!parsed.has(names[0]) || !parsed.has(names[1]))
        return usage(err, command, QStringLiteral("--from R and --to R are required"));
    if (parsed.has(names[2]) != parsed.has(names[3]))
        return usage(err, command, QStringLiteral("--vfrom and --vto go together"));
    if (!parsed.has(names[2])) {
        texts[2] = texts[0];
        texts[3] = texts[1];
    }
    int resolutions[4];
    for (int i = 0; i < 4; ++i) {
        if (!parseNumber(texts[i], 1, maxValue, resolutions[i]))
            return usage(
                err, command, names[i] + QStringLiteral(" expects a resolution from 1 to %1").arg(maxValue));
    }

    const QString source = parsed.positional.at(0);
    if (!QFileInfo(source).isDir())
        return failure(err, command, QStringLiteral("%1 is not a directory").arg(source));
    const int written = PanelScaler::instance()->scale(
        source, parsed.positional.at(1), resolutions[0], resolutions[1], resolutions[2], resolutions[3]);
    if (const QString problem = SyncBatch::takeProblem(); !problem.isEmpty())
        return failure(err, command, problem);
    const QStringList failed = PanelScaler::instance()->failedFiles();
    if (!failed.isEmpty())
        return failure(err, command,
            QStringLiteral("could not write %1; the other files were left as they were")
                .arg(failed.join(QStringLiteral(", "))));
    if (written < 0)
        return failure(err, command, QStringLiteral("nothing scaled (see the log above)"));
    if (written == 0)
        return failure(err, command, QStringLiteral("no .ini or .cnd file scaled from %1").arg(source));
    out << "scaled " << written << " files into " << parsed.positional.at(1) << '\n';
    return CliTool::Success;
}

int PanelToolCommands::split(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const char *command = "split";
    const ParsedArgs parsed = parseArgs(args, {}, {});
    if (!parsed.error.isEmpty())
        return usage(err, command, parsed.error);
    if (parsed.positional.size() != 2)
        return usage(err, command, QStringLiteral("expects TIL_FILE and DST_DIR"));
    const QString tilFile = parsed.positional.at(0);
    const QString target = parsed.positional.at(1);
    if (!QFileInfo(tilFile).isFile())
        return failure(err, command, QStringLiteral("%1 does not exist").arg(tilFile));
    if (!QFileInfo(target).isDir())
        return failure(err, command, QStringLiteral("target directory %1 does not exist").arg(target));

    const int written = TileTool::instance()->split(tilFile, target);
    if (const QString problem = SyncBatch::takeProblem(); !problem.isEmpty())
        return failure(err, command, problem);
    const QStringList failed = TileTool::instance()->failedFiles();
    if (!failed.isEmpty())
        return failure(err, command,
            QStringLiteral("could not write %1 (%2 tiles written)")
                .arg(failed.join(QStringLiteral(", ")))
                .arg(qMax(written, 0)));
    if (written < 0)
        return failure(err, command,
            QStringLiteral("nothing written: the sheet of %1 is missing or invalid").arg(tilFile));
    if (written == 0)
        return failure(err, command, QStringLiteral("no tile written from %1").arg(tilFile));
    out << "wrote " << written << " tiles into " << target << '\n';
    return CliTool::Success;
}

int PanelToolCommands::join(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const char *command = "join";
    const ParsedArgs parsed
        = parseArgs(args, { QStringLiteral("--start") }, { QStringLiteral("--horizontal") });
    if (!parsed.error.isEmpty())
        return usage(err, command, parsed.error);
    if (parsed.positional.size() != 2)
        return usage(err, command, QStringLiteral("expects SRC_DIR and TIL_FILE"));
    QString startText, error;
    if (!single(parsed, QStringLiteral("--start"), startText, error))
        return usage(err, command, error);
    int start = 1;
    if (parsed.has(QStringLiteral("--start")) && !parseNumber(startText, 0, maxValue, start))
        return usage(err, command, QStringLiteral("--start expects a number from 0 to %1").arg(maxValue));

    const QString source = parsed.positional.at(0);
    const QString tilFile = parsed.positional.at(1);
    if (!QFileInfo(source).isDir())
        return failure(err, command, QStringLiteral("source directory %1 does not exist").arg(source));

    const int joined
        = TileTool::instance()->join(source, tilFile, !parsed.has(QStringLiteral("--horizontal")), start);
    if (const QString problem = SyncBatch::takeProblem(); !problem.isEmpty())
        return failure(err, command, problem);
    const QStringList failed = TileTool::instance()->failedFiles();
    if (joined < 0 && !failed.isEmpty())
        return failure(err, command,
            QStringLiteral("nothing written: %1 could not be used or written")
                .arg(failed.join(QStringLiteral(", "))));
    if (joined < 0)
        return failure(err, command, QStringLiteral("nothing written (see the log above)"));
    if (joined == 0)
        return failure(err, command, QStringLiteral("no .png file in %1; no sheet written").arg(source));
    out << "joined " << joined << " images into " << tilFile << '\n';
    return CliTool::Success;
}
