// The INI document: any bytes read, written and read again give the same
// document, and writing that gives the same bytes.
#include "fuzzfile.h"
#include "skin/skinconfig.h"

#include <QLoggingCategory>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString first = writeFuzzFile(QStringLiteral("first.ini"), data, size);
    QByteArray written;
    QStringList groups;
    QStringList keys;
    {
        SkinConfig config(first);
        written = config.toBytes();
        groups = config.childGroups();
        keys = config.childKeys();
    }
    const QString second = writeFuzzFile(QStringLiteral("second.ini"),
        reinterpret_cast<const uint8_t *>(written.constData()), size_t(written.size()));
    SkinConfig again(second);
    if (again.childGroups() != groups || again.childKeys() != keys || again.toBytes() != written)
        abort();
    return 0;
}
