// The style table: any text reads without a crash, and each style it defines
// paints at a small size.
#include "fuzzfile.h"
#include "styles/stylesmanager.h"


extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startDrawingFuzzer(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeFuzzFile(QStringLiteral("default.css"), data, size);
    StylesManager *styles = StylesManager::instance();
    styles->clear();
    styles->readStyleTable(path);
    int painted = 0;
    for (const QString &number : styles->styleNumbers()) {
        if (++painted > 4)
            break;
        styles->styleImage(number.toInt(), QSize(40, 30), false, 1.0);
        styles->textImage(number.toInt(), QStringLiteral("Ab"), 0, true, 0.5);
    }
    styles->clear();
    return 0;
}
