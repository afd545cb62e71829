// The Chinese catalogues: every text the QML files pass to qsTr has a
// finished translation in resources/translations/tr_zh.ts, the menus read
// as they should, and both compiled catalogues are in the resources.
#include "testpaths.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Entry
{
    QString translation;
    bool finished = false;
};

// context -> source -> translation
using Catalogue = QHash<QString, QHash<QString, Entry>>;

bool readCatalogue(const QString &path, Catalogue &catalogue, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(" cannot be read");
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            Entry entry;
            entry.finished = type.isEmpty();
            entry.translation = xml.readElementText();
            catalogue[context].insert(source, entry);
        }
    }
    if (xml.hasError()) {
        *error = path + QStringLiteral(": ") + xml.errorString();
        return false;
    }
    return true;
}

QString unescape(const QString &literal)
{
    QString text;
    for (int i = 0; i < literal.size(); ++i) {
        QChar c = literal.at(i);
        if (c == QLatin1Char('\\') && i + 1 < literal.size()) {
            c = literal.at(++i);
            if (c == QLatin1Char('n'))
                c = QLatin1Char('\n');
            else if (c == QLatin1Char('t'))
                c = QLatin1Char('\t');
        }
        text.append(c);
    }
    return text;
}

// The qsTr literals of a QML or script file, in order.
QStringList qsTrTexts(const QString &code)
{
    static const QRegularExpression call(
        QStringLiteral("qsTr\\(\\s*(?:\"((?:[^\"\\\\]|\\\\.)*)\"|'((?:[^'\\\\]|\\\\.)*)')\\s*[,)]"));
    QStringList texts;
    auto matches = call.globalMatch(code);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        texts.append(unescape(match.capturedLength(1) > 0 || match.capturedStart(2) < 0 ? match.captured(1)
                                                                                          : match.captured(2)));
    }
    return texts;
}

// The (context, text) pairs of the QCoreApplication::translate calls of a C++
// file whose context is one of `contexts`; a literal that clang-format split
// into adjacent pieces is joined again.
QVector<QPair<QString, QString>> translateTexts(const QString &code, const QStringList &contexts)
{
    static const QRegularExpression call(
        QStringLiteral("translate\\(\\s*\"(\\w+)\"\\s*,\\s*((?:\"(?:[^\"\\\\]|\\\\.)*\"\\s*)+)[,)]"));
    static const QRegularExpression piece(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    QVector<QPair<QString, QString>> texts;
    auto matches = call.globalMatch(code);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        if (!contexts.contains(match.captured(1)))
            continue;
        QString text;
        auto pieces = piece.globalMatch(match.captured(2));
        while (pieces.hasNext())
            text += unescape(pieces.next().captured(1));
        texts.append({match.captured(1), text});
    }
    return texts;
}

// The tr() calls of C++ code: "Class::tr(...)" in the context of that class,
// a bare "tr(...)" in the context of the class whose members the file defines.
QVector<QPair<QString, QString>> trTexts(const QString &code, const QStringList &contexts)
{
    static const QRegularExpression call(
        QStringLiteral("(?:\\b(\\w+)::|[^\\w:.>])tr\\(\\s*((?:\"(?:[^\"\\\\]|\\\\.)*\"\\s*)+)[,)]"));
    static const QRegularExpression member(QStringLiteral("\\b(\\w+)::\\1\\("));
    static const QRegularExpression piece(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    const QString fileClass = member.match(code).captured(1);
    QVector<QPair<QString, QString>> texts;
    auto matches = call.globalMatch(code);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString context = match.captured(1).isEmpty() ? fileClass : match.captured(1);
        if (!contexts.contains(context))
            continue;
        QString text;
        auto pieces = piece.globalMatch(match.captured(2));
        while (pieces.hasNext())
            text += unescape(pieces.next().captured(1));
        texts.append({ context, text });
    }
    return texts;
}

QString tsPath(const char *name)
{
    return QStringLiteral(QUILLMARK_SOURCE_DIR "/resources/translations/") + QLatin1String(name);
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%\\d"));
    QStringList found;
    auto matches = marker.globalMatch(text);
    while (matches.hasNext())
        found.append(matches.next().captured());
    found.sort();
    return found;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyQmlTextIsTranslated();
    void everyReportIsTranslated();
    void placeholdersSurvive();
    void oneBracketAndColonStyle();
    void sourceScannerFindsLiterals_data();
    void sourceScannerFindsLiterals();
    void reportScannerFindsLiterals_data();
    void reportScannerFindsLiterals();
    void menuTexts_data();
    void menuTexts();
    void dialogCatalogue_data();
    void dialogCatalogue();

private:
    Catalogue mCatalogue;
};

void TestTranslations::initTestCase()
{
    QString error;
    QVERIFY2(readCatalogue(tsPath("tr_zh.ts"), mCatalogue, &error), qPrintable(error));
    QVERIFY(!mCatalogue.isEmpty());
}

void TestTranslations::everyQmlTextIsTranslated()
{
    QStringList problems;
    int count = 0;
    QDirIterator files(QStringLiteral(QUILLMARK_SOURCE_DIR "/qml"), {QStringLiteral("*.qml"), QStringLiteral("*.js")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        // the translation context of a QML file is its base name
        const QString context = QFileInfo(path).completeBaseName();
        for (const QString &text : qsTrTexts(QString::fromUtf8(file.readAll()))) {
            ++count;
            const Entry entry = mCatalogue.value(context).value(text);
            if (!mCatalogue.value(context).contains(text))
                problems.append(context + QStringLiteral(": \"") + text + QStringLiteral("\" is missing"));
            else if (!entry.finished || entry.translation.isEmpty())
                problems.append(context + QStringLiteral(": \"") + text + QStringLiteral("\" is not finished"));
        }
    }
    QVERIFY2(count > 100, qPrintable(QString::number(count)));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

// What the archives and the tools report to the window is translated too.
void TestTranslations::everyReportIsTranslated()
{
    const QStringList contexts { QStringLiteral("Tools"), QStringLiteral("Utils"),
        QStringLiteral("SkinArchive"), QStringLiteral("ArchiveJob") };
    // (the panel's sample candidates, translate("Panel", ...), are no reports)
    const QStringList classes { QStringLiteral("Panel"), QStringLiteral("DocumentHandler") };
    QStringList problems;
    int count = 0;
    QDirIterator files(QStringLiteral(QUILLMARK_SOURCE_DIR "/src"), {QStringLiteral("*.cpp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        const QString code = QString::fromUtf8(file.readAll());
        for (const auto &text : translateTexts(code, contexts) + trTexts(code, classes)) {
            ++count;
            const Entry entry = mCatalogue.value(text.first).value(text.second);
            if (!mCatalogue.value(text.first).contains(text.second))
                problems.append(text.first + QStringLiteral(": \"") + text.second + QStringLiteral("\" is missing"));
            else if (!entry.finished || entry.translation.isEmpty())
                problems.append(text.first + QStringLiteral(": \"") + text.second + QStringLiteral("\" is not finished"));
        }
    }
    QVERIFY2(count > 40, qPrintable(QString::number(count)));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestTranslations::placeholdersSurvive()
{
    QStringList problems;
    for (auto context = mCatalogue.cbegin(); context != mCatalogue.cend(); ++context) {
        for (auto entry = context->cbegin(); entry != context->cend(); ++entry) {
            if (placeholders(entry.key()) != placeholders(entry->translation))
                problems.append(context.key() + QStringLiteral(": ") + entry.key());
            // a mnemonic in the source keeps one in the translation
            if (entry.key().contains(QRegularExpression(QStringLiteral("&[^& ]")))
                && !entry->translation.contains(QLatin1Char('&')))
                problems.append(context.key() + QStringLiteral(": ") + entry.key());
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

// A mnemonic sits in ASCII brackets after the words, "(&S)"; a colon after
// Chinese words is the full-width one, without a blank.
void TestTranslations::oneBracketAndColonStyle()
{
    static const QRegularExpression wideMnemonic(QStringLiteral("（&[^&]）"));
    static const QRegularExpression asciiColonAfterHan(QStringLiteral("\\p{Han}\\s*:"));
    static const QRegularExpression blankAfterWideColon(QStringLiteral("： "));
    static const QRegularExpression misplacedMnemonic(QStringLiteral("\\p{Han}&[^&\\s]"));
    QStringList problems;
    for (auto context = mCatalogue.cbegin(); context != mCatalogue.cend(); ++context) {
        for (auto entry = context->cbegin(); entry != context->cend(); ++entry) {
            const QString &text = entry->translation;
            for (const QRegularExpression *style :
                { &wideMnemonic, &asciiColonAfterHan, &blankAfterWideColon, &misplacedMnemonic }) {
                if (text.contains(*style))
                    problems.append(context.key() + QStringLiteral(": ") + text);
            }
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestTranslations::sourceScannerFindsLiterals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("plain") << "text: qsTr(\"Split\")" << QStringList{QStringLiteral("Split")};
    QTest::newRow("with arguments") << "qsTr(\"Row %1\").arg(index)" << QStringList{QStringLiteral("Row %1")};
    QTest::newRow("escaped quote") << "qsTr(\"say \\\"hi\\\"\")" << QStringList{QStringLiteral("say \"hi\"")};
    QTest::newRow("single quotes") << "qsTr('Join')" << QStringList{QStringLiteral("Join")};
    QTest::newRow("two on a line") << "qsTr(\"A\") + qsTr(\"B\")"
                                   << QStringList{QStringLiteral("A"), QStringLiteral("B")};
    QTest::newRow("with a disambiguation") << "qsTr(\"Save\", \"file\")" << QStringList{QStringLiteral("Save")};
    QTest::newRow("not a call") << "property string qsTrX: \"no\"" << QStringList{};
}

void TestTranslations::reportScannerFindsLiterals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("plain") << "QCoreApplication::translate(\"Tools\", \"Split %1\").arg(n)"
                           << QStringList{QStringLiteral("Tools|Split %1")};
    QTest::newRow("split by the formatter") << "translate(\n    \"Utils\", \"a \"\n    \"b\")"
                                            << QStringList{QStringLiteral("Utils|a b")};
    QTest::newRow("another context") << "translate(\"Panel\", \"bai\")" << QStringList{};
    QTest::newRow("class tr") << "Utils::tr(\"Saved %1\")"
                              << QStringList { QStringLiteral("Utils|Saved %1") };
    QTest::newRow("bare tr in a member")
        << "Utils::Utils() {}\nvoid Utils::f() { emit error(tr(\"Cannot save: \") + e); }"
        << QStringList { QStringLiteral("Utils|Cannot save: ") };
    QTest::newRow("not tr") << "Utils::Utils() {}\nfoo.attr(\"x\"); x->tr(\"y\")" << QStringList {};
}

void TestTranslations::reportScannerFindsLiterals()
{
    QFETCH(QString, code);
    QFETCH(QStringList, texts);
    QStringList found;
    const QStringList contexts { QStringLiteral("Tools"), QStringLiteral("Utils") };
    for (const auto &text : translateTexts(code, contexts) + trTexts(code, contexts))
        found.append(text.first + QLatin1Char('|') + text.second);
    QCOMPARE(found, texts);
}

void TestTranslations::sourceScannerFindsLiterals()
{
    QFETCH(QString, code);
    QFETCH(QStringList, texts);
    QCOMPARE(qsTrTexts(code), texts);
}

void TestTranslations::menuTexts_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("chinese");
    const char *const menus[][2] = {
        { "&File", "文件(&F)" },
        { "&New Panel File...", "新建面板文件(&N)..." },
        { "&Open Panel File...", "打开面板文件(&O)..." },
        { "&Import Skin...", "导入皮肤(&I)..." },
        { "&Export Skin...", "导出皮肤(&E)..." },
        { "E&xport As Image...", "导出为图片(&X)..." },
        { "&Quit", "退出(&Q)" },
        { "&Edit", "编辑(&E)" },
        { "E&xchange Keys", "交换按键(&X)" },
        { "&Move Keys", "移动按键(&M)" },
        { "&Adjust Keys", "调整按键(&A)" },
        { "A&lign Keys", "对齐按键(&L)" },
        { "&Edit Key", "编辑按键(&E)" },
        { "A&dd key", "添加按键(&D)" },
        { "Remo&ve Key", "移除按键(&V)" },
        { "&Undo", "撤销(&U)" },
        { "&Redo", "重做(&R)" },
        { "&Settings", "设置(&S)" },
        { "&Tool", "工具(&T)" },
        { "&Generate Font Resources", "字体资源生成(&G)" },
        { "&Resolution Convert", "资源分辨率转换(&R)" },
        { "&Panel Scale", "面板缩放(&P)" },
        { "&Tile Tool", "切片工具(&T)" },
        { "&Inner Rect Tool", "内切工具(&I)" },
        { "Te&xt editor", "文本编辑器(&X)" },
        { "&Save", "保存(&S)" },
        { "S&earch && Replace", "查找 && 替换(&E)" },
        { "&About", "关于(&A)" },
        { "&Help", "帮助(&H)" },
        { "Open &Recent", "最近打开(&R)" },
    };
    for (const auto &menu : menus)
        QTest::newRow(menu[0]) << QString::fromUtf8(menu[0]) << QString::fromUtf8(menu[1]);
}

// The compiled catalogue in the resources gives the menus their texts.
void TestTranslations::menuTexts()
{
    QFETCH(QString, source);
    QFETCH(QString, chinese);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/translations/tr_zh.qm")));
    QCOMPARE(translator.translate("main", source.toUtf8().constData()), chinese);
}

void TestTranslations::dialogCatalogue_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("chinese");
    QTest::newRow("ok") << "QPlatformTheme" << "OK" << "确定";
    QTest::newRow("cancel") << "QPlatformTheme" << "Cancel" << "取消";
    QTest::newRow("apply") << "QPlatformTheme" << "Apply" << "应用";
    QTest::newRow("reset") << "QPlatformTheme" << "Reset" << "重置";
    QTest::newRow("yes") << "QPlatformTheme" << "&Yes" << "是(&Y)";
    QTest::newRow("file dialog open") << "QFileDialog" << "&Open" << "打开(&O)";
    QTest::newRow("file dialog name") << "QFileDialog" << "File &name:" << "文件名(&N)：";
    QTest::newRow("file list column") << "QFileSystemModel" << "Date Modified" << "修改日期";
}

void TestTranslations::dialogCatalogue()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, chinese);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/translations/qt_base_dialog_zh_CN.qm")));
    QCOMPARE(translator.translate(context.toLatin1().constData(), source.toUtf8().constData()), chinese);
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
