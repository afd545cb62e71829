#include "skin/skinconfig.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Reads and writes of the skin INI dialect: what survives, what is dropped,
// and the exact bytes written.
class TestSkinConfig : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mDir;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = mDir.filePath(name);
        return TestFiles::writeFile(path, bytes) ? path : QString();
    }

    static QByteArray readBytes(const QString &path)
    {
        return TestFiles::readAll(path, QByteArray("<unreadable>"));
    }

    // The document read from `input` and written back.
    QByteArray roundTrip(const QByteArray &input)
    {
        const QString path = writeFile(QStringLiteral("roundtrip.ini"), input);
        {
            SkinConfig config(path);
            if (!config.save())
                return QByteArray("<save failed>");
        }
        return readBytes(path);
    }

private slots:
    void initTestCase() { QVERIFY(mDir.isValid()); }

    void readWrite_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("written");

        QTest::newRow("leading properties become GENERAL")
            << QByteArray("SIZE=1\n[PANEL]\nA=2\n")
            << QByteArray("[GENERAL]\r\nSIZE=1\r\n\r\n[PANEL]\r\nA=2\r\n\r\n");
        QTest::newRow("indented header is a property line, rejected")
            << QByteArray("[A]\nX=1\n [B]\nY=2\n")
            << QByteArray("[A]\r\nX=1\r\nY=2\r\n\r\n");
        QTest::newRow("header without closing bracket opens a section")
            << QByteArray("[A]\nX=1\n[ B \nY=2\n")
            << QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n\r\n");
        QTest::newRow("text after the bracket is ignored, name trimmed")
            << QByteArray("[ KEY1 ] trailing\nX=1\n")
            << QByteArray("[KEY1]\r\nX=1\r\n\r\n");
        QTest::newRow("empty header keeps the previous section")
            << QByteArray("[A]\nX=1\n[  ]\nY=2\n")
            << QByteArray("[A]\r\nX=1\r\nY=2\r\n\r\n");
        QTest::newRow("only the first equals splits; blanks trimmed")
            << QByteArray("[A]\n  K  =  a=b=c  \nE=\n=x\nnoequals\n")
            << QByteArray("[A]\r\nK=a=b=c\r\nE=\r\n\r\n");
        QTest::newRow("duplicates survive")
            << QByteArray("[KEY1]\nV=1\nV=2\n[KEY1]\nV=3\n")
            << QByteArray("[KEY1]\r\nV=1\r\nV=2\r\n\r\n[KEY1]\r\nV=3\r\n\r\n");
        QTest::newRow("comment characters are ordinary")
            << QByteArray("[A]\n#K=1\n;no\nX=\"q\\\"\n")
            << QByteArray("[A]\r\n#K=1\r\nX=\"q\\\"\r\n\r\n");
        QTest::newRow("empty section kept, CR LF input, no final newline")
            << QByteArray("[EMPTY]\r\n\r\n[B]\r\nX=1")
            << QByteArray("[EMPTY]\r\n\r\n[B]\r\nX=1\r\n\r\n");
        QTest::newRow("byte-order mark dropped")
            << QByteArray("\xEF\xBB\xBF[A]\nX=\xE4\xB8\xAD\n")
            << QByteArray("[A]\r\nX=\xE4\xB8\xAD\r\n\r\n");
        QTest::newRow("no sections writes an empty file")
            << QByteArray("\n  \n;comment\n")
            << QByteArray();
        QTest::newRow("lone CR stays inside the line")
            << QByteArray("[A]\nX=a\rb\n")
            << QByteArray("[A]\r\nX=a\rb\r\n\r\n");
    }

    void readWrite()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, written);
        QCOMPARE(roundTrip(input), written);
    }

    void utf16WithByteOrderMark()
    {
        QByteArray bytes("\xFF\xFE", 2);
        const QString text = QStringLiteral("[A]\nX=\u4E2D\n");
        bytes += QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        const QString path = writeFile(QStringLiteral("utf16.ini"), bytes);
        SkinConfig config(path);
        QCOMPARE(config.value(QStringLiteral("A/X")), QStringLiteral("\u4E2D"));
    }

    void invalidLinesAreLogged_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("message");
        QTest::newRow("header without bracket") << QByteArray("\n[A\n") << QStringLiteral(": 2 ");
        QTest::newRow("empty header") << QByteArray("[]\n") << QStringLiteral("invalid section name!");
        QTest::newRow("no equals") << QByteArray("[A]\nX\n") << QStringLiteral("invalid property!");
        QTest::newRow("empty key") << QByteArray("[A]\n=1\n") << QStringLiteral("invalid property!");
    }

    void invalidLinesAreLogged()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, message);
        const QString path = writeFile(QStringLiteral("invalid.ini"), input);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^reading")));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QRegularExpression::escape(message)));
        SkinConfig config(path);
        Q_UNUSED(config);
    }

    // Lines of sections ("[NAME]@line"), of properties ("NAME/KEY@line") and of
    // what the reader could not take ("!fault@line"), as the read found them.
    void readLinesSayWhereThingsStand_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("blank lines and CR LF count")
            << QByteArray("\r\n[A]\r\nX=1\r\n\r\n\r\n[B]\r\nY=2\r\nZ=3\r\n")
            << QStringList { "[A]@2", "A/X@3", "[B]@6", "B/Y@7", "B/Z@8" };
        QTest::newRow("leading properties: GENERAL at its first")
            << QByteArray("\nSIZE=1\n[PANEL]\n")
            << QStringList { "[GENERAL]@2", "GENERAL/SIZE@2", "[PANEL]@3" };
        QTest::newRow("repeats keep their own lines")
            << QByteArray("[K]\nA=1\nA=2\n[K]\nA=3\n")
            << QStringList { "[K]@1", "K/A@2", "K/A@3", "[K]@4", "K/A@5" };
        QTest::newRow("lines not taken")
            << QByteArray("[A]\n; note\n=1\n[]\nX=1\n[B] c\n[C\n")
            << QStringList { "[A]@1", "A/X@5", "[B]@6", "[C]@7", "!NoEquals@2", "!EmptyKey@3",
                   "!EmptySectionName@4", "!TextAfterHeader@6", "!UnclosedHeader@7" };
    }

    void readLinesSayWhereThingsStand()
    {
        QFETCH(QByteArray, input);
        QFETCH(QStringList, lines);
        const QString path = writeFile(QStringLiteral("lines.ini"), input);
        const SkinConfig config(path);
        const SkinConfig::ReadLines &read = config.readLines();
        const QStringList sections = config.childGroups();
        QCOMPARE(read.sections.size(), sections.size());
        QCOMPARE(read.properties.size(), sections.size());
        QStringList found;
        for (int i = 0; i < sections.size(); ++i) {
            found << QStringLiteral("[%1]@%2").arg(sections.at(i)).arg(read.sections.at(i));
            const auto pairs = config.sectionAt(i);
            QCOMPARE(read.properties.at(i).size(), pairs.size());
            for (int j = 0; j < pairs.size(); ++j)
                found << QStringLiteral("%1/%2@%3")
                             .arg(sections.at(i), pairs.at(j).first)
                             .arg(read.properties.at(i).at(j));
        }
        const char *names[]
            = { "UnclosedHeader", "TextAfterHeader", "EmptySectionName", "NoEquals", "EmptyKey" };
        for (const SkinConfig::FaultyLine &faulty : read.faults)
            found << QStringLiteral("!%1@%2").arg(QLatin1String(names[int(faulty.fault)])).arg(faulty.line);
        QCOMPARE(found, lines);
    }

    void lookups()
    {
        const QString path = writeFile(QStringLiteral("lookups.ini"),
                                       "SIZE=7\n[KEY1]\nVIEW_RECT=1,2,3,4\n[KEY1]\nVIEW_RECT=9,9,9,9\n"
                                       "[PANEL]\nA/B=slash\n");
        SkinConfig config(path);
        QCOMPARE(config.value(QStringLiteral("KEY1/VIEW_RECT")), QStringLiteral("1,2,3,4"));
        QCOMPARE(config.value(QStringLiteral("SIZE")), QStringLiteral("7"));
        QCOMPARE(config.value(QStringLiteral("KEY1/MISSING"), QStringLiteral("dflt")), QStringLiteral("dflt"));
        QCOMPARE(config.childGroups(),
                 QStringList({QStringLiteral("GENERAL"), QStringLiteral("KEY1"), QStringLiteral("KEY1"),
                              QStringLiteral("PANEL")}));
        QCOMPARE(config.childKeys().size(), 4);
        QCOMPARE(config.childKeys().at(1), QStringLiteral("KEY1/VIEW_RECT"));

        config.beginGroup(QStringLiteral("PANEL"));
        QVERIFY(config.childGroups().isEmpty());
        QCOMPARE(config.value(QStringLiteral("A/B")), QStringLiteral("slash"));
        QVERIFY(config.contains(QStringLiteral("A/B")));
        QCOMPARE(config.childKeys(), QStringList{QStringLiteral("A/B")});
        config.endGroup();
        QVERIFY(!config.contains(QStringLiteral("A/B")));
    }

    // The first section of a name is found however sections come and go
    // around it; later duplicates take over once the first one is removed.
    void firstSectionAfterChanges_data()
    {
        QTest::addColumn<QStringList>("operations");
        QTest::addColumn<QString>("expected");

        QTest::newRow("as read") << QStringList() << "A=1 B=2 C=-";
        QTest::newRow("removed first, the duplicate is found")
            << QStringList { "remove A/ID" } << "A=3 B=2 C=-";
        QTest::newRow("both removed") << QStringList { "remove A/ID", "remove A/ID" } << "A=- B=2 C=-";
        QTest::newRow("removal before a section moves it up")
            << QStringList { "remove A/ID", "set B/ID=7" } << "A=3 B=7 C=-";
        QTest::newRow("appended after a removal")
            << QStringList { "remove A/ID", "set C/ID=5", "remove B/ID" } << "A=3 B=4 C=5";
        QTest::newRow("added group of a present name appends nothing")
            << QStringList { "add A", "set A/ID=8" } << "A=8 B=2 C=-";
        QTest::newRow("added group filled") << QStringList { "add C", "set C/ID=6" } << "A=1 B=2 C=6";
        QTest::newRow("empty first section dropped, the duplicate found")
            << QStringList { "keep A/ID", "remove A/" } << "A=3 B=2 C=-";
        QTest::newRow("cleared and refilled")
            << QStringList { "clear", "set B/ID=9", "add A" } << "A=- B=9 C=-";
        QTest::newRow("reverted") << QStringList { "remove A/ID", "set C/ID=5", "revert" } << "A=1 B=2 C=-";
    }

    void firstSectionAfterChanges()
    {
        QFETCH(QStringList, operations);
        QFETCH(QString, expected);
        const QString path
            = writeFile(QStringLiteral("index.ini"), "[A]\nID=1\n[B]\nID=2\n[A]\nID=3\n[B]\nID=4\n");
        SkinConfig config(path);
        for (const QString &operation : qAsConst(operations)) {
            const QString verb = operation.section(QLatin1Char(' '), 0, 0);
            const QString argument = operation.section(QLatin1Char(' '), 1);
            if (verb == QLatin1String("remove"))
                config.remove(argument);
            else if (verb == QLatin1String("keep"))
                config.remove(argument, SkinConfig::EmptySection::Keep);
            else if (verb == QLatin1String("set"))
                config.setValue(
                    argument.section(QLatin1Char('='), 0, 0), argument.section(QLatin1Char('='), 1));
            else if (verb == QLatin1String("add"))
                config.addGroup(argument);
            else if (verb == QLatin1String("clear"))
                config.clear();
            else if (verb == QLatin1String("revert"))
                config.revert();
            else
                QFAIL(qPrintable(operation));
        }
        QStringList found;
        for (const QString &name : { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C") })
            found << name + QLatin1Char('=') + config.value(name + QLatin1String("/ID"), QStringLiteral("-"));
        QCOMPARE(found.join(QLatin1Char(' ')), expected);
        // Section look-ups agree with value look-ups.
        QCOMPARE(config.sectionProperties(QStringLiteral("A")).value(0).second,
            config.value(QStringLiteral("A/ID")));
    }

    void setValueAndRemove()
    {
        const QString path = writeFile(QStringLiteral("edit.ini"), "[A]\nX=1\n[B]\nY=2\n");
        {
            SkinConfig config(path);
            config.setValue(QStringLiteral("A/X"), QStringLiteral("1"));
            QVERIFY(!config.isModified()); // same value: no rewrite on destruction
            config.setValue(QStringLiteral("NEW/K"), QStringLiteral("v"));
            config.setValue(QStringLiteral("A/Z"), QStringLiteral("3"));
            config.remove(QStringLiteral("B/Y")); // last key: the section goes too
            config.remove(QStringLiteral("A/NOPE"));
            QVERIFY(config.isModified());
        } // written by the destructor
        QCOMPARE(readBytes(path), QByteArray("[A]\r\nX=1\r\nZ=3\r\n\r\n[NEW]\r\nK=v\r\n\r\n"));
    }

    void remove_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("keepSection");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<bool>("modified");

        const QByteArray twoSections("[A]\nX=1\n[B]\nY=2\n");
        const QByteArray emptyFirst("[A]\n[B]\nY=2\n");
        QTest::newRow("last key drops the section")
            << twoSections << "B/Y" << false << QByteArray("[A]\r\nX=1\r\n\r\n") << true;
        QTest::newRow("last key, section kept")
            << twoSections << "B/Y" << true << QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\n\r\n") << true;
        QTest::newRow("empty section dropped whatever the key")
            << emptyFirst << "A/NOPE" << false << QByteArray("[B]\r\nY=2\r\n\r\n") << true;
        QTest::newRow("empty section kept")
            << emptyFirst << "A/NOPE" << true << QByteArray("[A]\r\n\r\n[B]\r\nY=2\r\n\r\n") << false;
        QTest::newRow("other keys stay")
            << QByteArray("[A]\nX=1\nZ=2\n") << "A/X" << false << QByteArray("[A]\r\nZ=2\r\n\r\n") << true;
        QTest::newRow("missing key changes nothing")
            << twoSections << "A/NOPE" << true << QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n\r\n") << false;
        QTest::newRow("missing section changes nothing")
            << twoSections << "C/X" << false << QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n\r\n") << false;
        QTest::newRow("first of two sections of one name, kept")
            << QByteArray("[A]\nX=1\n[A]\nX=2\n") << "A/X" << true
            << QByteArray("[A]\r\n\r\n[A]\r\nX=2\r\n\r\n") << true;
    }

    void remove()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, path);
        QFETCH(bool, keepSection);
        QFETCH(QByteArray, expected);
        QFETCH(bool, modified);
        const QString file = writeFile(QStringLiteral("remove.ini"), input);
        SkinConfig config(file);
        if (keepSection)
            config.remove(path, SkinConfig::EmptySection::Keep);
        else
            config.remove(path);
        QCOMPARE(config.isModified(), modified);
        QVERIFY(config.save());
        QCOMPARE(readBytes(file), expected);
    }

    void unchangedDocumentIsNotRewritten()
    {
        const QByteArray original("[A]\nX = 1\n");
        const QString path = writeFile(QStringLiteral("untouched.ini"), original);
        {
            SkinConfig config(path);
            config.setValue(QStringLiteral("A/X"), QStringLiteral("1"));
            config.addGroup(QStringLiteral("C"));
            config.clear();
        }
        QCOMPARE(readBytes(path), original);
    }

    void refusesTextThatWouldNotReadBack_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value");
        QTest::newRow("line break in value") << QStringLiteral("A/X") << QStringLiteral("1\n[EVIL]\nY=2");
        QTest::newRow("carriage return in value") << QStringLiteral("A/X") << QStringLiteral("1\r2");
        QTest::newRow("line break in key") << QStringLiteral("A/X\nY") << QStringLiteral("1");
        QTest::newRow("equals in key") << QStringLiteral("A/X=Y") << QStringLiteral("1");
        QTest::newRow("key starting with bracket") << QStringLiteral("A/[X") << QStringLiteral("1");
        QTest::newRow("bracket in section") << QStringLiteral("A]B/X") << QStringLiteral("1");
    }

    void refusesTextThatWouldNotReadBack()
    {
        QFETCH(QString, path);
        QFETCH(QString, value);
        const QByteArray original("[A]\r\nX=0\r\n\r\n");
        const QString file = writeFile(QStringLiteral("refuse.ini"), original);
        SkinConfig config(file);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("refusing")));
        config.setValue(path, value);
        QVERIFY(!config.isModified());
        QVERIFY(config.save());
        QCOMPARE(readBytes(file), original);
    }

    void missingFileIsEmptyAndSaveCreatesIt()
    {
        const QString path = mDir.filePath(QStringLiteral("missing/none.ini"));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("can not open file")));
        SkinConfig config(path);
        QVERIFY(config.childGroups().isEmpty());
        config.setValue(QStringLiteral("A/B"), QStringLiteral("c"));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("can not open file")));
        QVERIFY(!config.save()); // the directory does not exist
        // still unsaved: a failed write is no save
        QVERIFY(config.isModified());
        QVERIFY(!config.errorString().isEmpty());
    }

    // Reading, writing and reading again gives the same document, and
    // writing that gives the same bytes.
    void readWriteReadIsStable_data()
    {
        QTest::addColumn<QByteArray>("input");

        QTest::newRow("indented key starting with a bracket")
            << QByteArray("[A]\n [x=1\nB=2\n[C]\nD=3\n");
        QTest::newRow("bracket key before any section") << QByteArray("\t[[y]=2\n[S]\nz=1\n");
        QTest::newRow("duplicate sections and keys") << QByteArray("[A]\nk=1\nk=2\n[A]\nk=3\n");
        QTest::newRow("values with equals and brackets") << QByteArray("[A]\nk=[v]=w\nl= ]x[ \n");
        QTest::newRow("section name with an opening bracket") << QByteArray("[[x]\na=1\n[y\nb=2\n");
        QTest::newRow("empty sections") << QByteArray("[A]\n[B]\n\n[C]\nc=1\n");
        QTest::newRow("lone carriage returns") << QByteArray("[A]\nk=a\rb\r\r\n");
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf[A]\nk=\xe4\xb8\xad\n");
    }

    void readWriteReadIsStable()
    {
        QFETCH(QByteArray, input);
        const QString first = writeFile(QStringLiteral("first.ini"), input);
        QStringList keys;
        QStringList values;
        QByteArray written;
        {
            SkinConfig config(first);
            written = config.toBytes();
            keys = config.childKeys();
            for (const QString &key : qAsConst(keys))
                values.append(config.value(key));
        }
        const QString second = writeFile(QStringLiteral("second.ini"), written);
        SkinConfig again(second);
        QCOMPARE(again.childGroups(), SkinConfig(first).childGroups());
        QCOMPARE(again.childKeys(), keys);
        QStringList valuesAgain;
        for (const QString &key : qAsConst(keys))
            valuesAgain.append(again.value(key));
        QCOMPARE(valuesAgain, values);
        QCOMPARE(again.toBytes(), written);
    }

    void realPanelRoundTripIsStable()
    {
        // A file written by the writer reads back into the same bytes.
        QByteArray text;
        for (int i = 1; i <= 40; ++i)
            text += QStringLiteral("[KEY%1]\r\nVIEW_RECT=%2,0,100,80\r\nFORE_STYLE=%1,7\r\nSTAT_STYLE=S4_%1\r\n\r\n")
                        .arg(i)
                        .arg(i * 100)
                        .toUtf8();
        QCOMPARE(roundTrip(text), text);
    }
};

QTEST_GUILESS_MAIN(TestSkinConfig)
#include "tst_skinconfig.moc"
