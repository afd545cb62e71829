#include "checkcommand.h"

#include "clitool.h"
#include "panel/skinchecker.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

namespace {

int usage(QTextStream &err, const QString &reason)
{
    err << "quillmark-cli check: " << reason << '\n'
        << "usage: quillmark-cli " << CheckCommand::synopsis << '\n';
    return CliTool::UsageError;
}

void printText(const QVector<SkinProblem> &problems, QTextStream &out)
{
    for (const SkinProblem &problem : problems)
        out << problem.file << ':' << problem.line << ": " << SkinProblem::severityName(problem.severity)
            << ": " << problem.message << " [" << problem.kind << "]\n";
}

void printJson(const QVector<SkinProblem> &problems, QTextStream &out)
{
    QJsonArray array;
    for (const SkinProblem &problem : problems) {
        array.append(QJsonObject {
            { QStringLiteral("file"), problem.file },
            { QStringLiteral("line"), problem.line },
            { QStringLiteral("severity"), SkinProblem::severityName(problem.severity) },
            { QStringLiteral("kind"), problem.kind },
            { QStringLiteral("message"), problem.message },
        });
    }
    out << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

} // namespace

int CheckCommand::check(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString target;
    QString format = QStringLiteral("text");
    int resolution = 0;
    for (int i = 0; i < args.size(); ++i) {
        QString arg = args.at(i);
        QString value;
        const int equals = arg.indexOf(QLatin1Char('='));
        if (arg.startsWith(QLatin1String("--")) && equals > 0) {
            value = arg.mid(equals + 1);
            arg = arg.left(equals);
        } else if (arg == QLatin1String("--format") || arg == QLatin1String("--resolution")) {
            if (i + 1 >= args.size())
                return usage(err, QStringLiteral("%1 needs a value").arg(arg));
            value = args.at(++i);
        }
        if (arg == QLatin1String("--format")) {
            if (value != QLatin1String("text") && value != QLatin1String("json"))
                return usage(err, QStringLiteral("--format takes text or json, not '%1'").arg(value));
            format = value;
        } else if (arg == QLatin1String("--resolution")) {
            bool ok = false;
            resolution = value.toInt(&ok);
            if (!ok || resolution < 0)
                return usage(
                    err, QStringLiteral("--resolution takes a number of 0 or more, not '%1'").arg(value));
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return usage(err, QStringLiteral("unknown option '%1'").arg(arg));
        } else if (target.isEmpty()) {
            target = arg;
        } else {
            return usage(err, QStringLiteral("more than one panel file or skin directory given"));
        }
    }
    if (target.isEmpty())
        return usage(err, QStringLiteral("no panel file or skin directory given"));

    const QFileInfo info(target);
    if (!info.exists()) {
        err << "quillmark-cli check: " << info.absoluteFilePath() << " does not exist\n";
        return CliTool::Failure;
    }

    // The documents log every line they cannot read; here the problems say so.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\ndefault.info=false"));

    SkinChecker checker;
    checker.setResolution(resolution);
    if (info.isDir()) {
        if (checker.checkSkinDirectory(info.absoluteFilePath()) == 0) {
            err << "quillmark-cli check: no panel file (an .ini file with a PANEL or KEY section) under "
                << info.absoluteFilePath() << '\n';
            return CliTool::Failure;
        }
    } else {
        checker.checkPanelFile(info.absoluteFilePath());
    }

    const QVector<SkinProblem> problems = checker.problems();
    if (format == QLatin1String("json"))
        printJson(problems, out);
    else
        printText(problems, out);

    const int errors = checker.count(SkinProblem::Error);
    if (errors > 0) {
        err << "quillmark-cli check: " << errors << (errors == 1 ? " error, " : " errors, ")
            << checker.count(SkinProblem::Warning) << " warning(s), " << checker.count(SkinProblem::Info)
            << " info\n";
        return CliTool::Failure;
    }
    return CliTool::Success;
}
