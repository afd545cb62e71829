// The archive entry policy: a name it lets through is relative, has no ".."
// and no empty or "." component; and any bytes unpacked as an archive write
// nothing outside the target directory, which is emptied after each input.
#include "skin/skinarchive.h"
#include "fuzzfile.h"

#include <QDirIterator>
#include <QLoggingCategory>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    return 0;
}

namespace {

void checkName(const QString &name)
{
    const QString checked = SkinArchive::checkedEntryName(name);
    if (checked.isEmpty())
        return;
    if (checked.startsWith(QLatin1Char('/')) || checked.contains(QLatin1Char('\\'))
        || checked.contains(QChar(0)))
        abort();
    for (const QString &part : checked.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            abort();
    }
    // Checking is idempotent.
    if (SkinArchive::checkedEntryName(checked) != checked)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkName(QString::fromUtf8(reinterpret_cast<const char *>(data), int(size)));

    const QString archive = writeFuzzFile(QStringLiteral("in.zip"), data, size);
    const QString root = fuzzDirectory() + QStringLiteral("/root");
    const QString out = root + QStringLiteral("/out");
    SkinArchive::Limits limits;
    limits.maxTotalBytes = 1 << 20;
    limits.maxEntries = 64;
    SkinArchive::unzip(archive, out, limits);
    // Only the target directory may be below the root.
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        if (it.next() != out)
            abort();
    }
    QDir(out).removeRecursively();
    return 0;
}
