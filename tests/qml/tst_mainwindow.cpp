// The real main window on a copy of the demo skin: the start-up of the
// editor, the QML scene from the resources, the panel, its image provider and
// the key editing pages, driven by mouse clicks found by objectName.
//
// The program writes its settings and log next to its executable and its
// working directory below the home directory, so the test first copies itself
// into a temporary directory, points HOME there and runs the copy.
#include "testfiles.h"
#include "testpaths.h"

#include "app/application.h"
#include "app/archivejob.h"
#include "app/messagemodel.h"
#include "app/utils.h"
#include "panel/panel.h"
#include "skin/skinconfig.h"
#include "skin/valuetext.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <atomic>

namespace {

const char relocatedVariable[] = "QUILLMARK_MAINWINDOW_TEST_HOME";

// Every non-empty property of a panel file, "SECTION/KEY=value"; a section
// whose values were all emptied counts as absent, as it does for the preview.
QStringList snapshot(const QString &panelFile)
{
    SkinConfig config(panelFile);
    QStringList lines;
    for (const QString &section : config.childGroups()) {
        for (const SkinConfig::Property &property : config.sectionProperties(section)) {
            if (!property.second.isEmpty())
                lines << section + QLatin1Char('/') + property.first + QLatin1Char('=') + property.second;
        }
    }
    return lines;
}

QString valueOf(const QString &panelFile, const QString &path)
{
    return SkinConfig(panelFile).value(path);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void startsOnTheDemoSkin();
    void pagesAreMadeWhenFirstShown();
    void menusAreMadeWhenFirstOpened();
    void raisedBackgroundsShowInSoftware();
    void clickSelectsAKey();
    void moveKeyWritesThePanelFileAndUndoes();
    void editKeyAfterMoveKeepsTheMove();
    void everyPageEditsAndUndoes_data();
    void everyPageEditsAndUndoes();
    void pageTitlesAreShownInFull_data();
    void pageTitlesAreShownInFull();
    void undoAndRedoFollowThePanel();
    void windowFollowsTheSettings();
    void firstStartSize_data();
    void firstStartSize();
    void statusAndResolutionReachThePanel();
    void fileTreeOpensFiles();
    void problemsPaneLeadsToTheFault();
    void droppedFiles_data();
    void droppedFiles();
    void importRefusesWhatIsNoArchive_data();
    void importRefusesWhatIsNoArchive();
    void importReplacesTheWorkingCopy();
    void importRunsBesideTheWindow_data();
    void importRunsBesideTheWindow();
    void toolRunsReportToTheWindow_data();
    void toolRunsReportToTheWindow();
    void removeAllAsksFirst();
    void anotherPanelFileForgetsTheKey();
    void unsavedTypingAsksFirst_data();
    void unsavedTypingAsksFirst();
    void cleanEditorFollowsTheDisk();
    void editedPanelFileAsksAfterAKeyEdit();
    void languageSwitchRetranslatesTheWindow();
    void titleNamesTheFileFirst();
    void recentMenuListsTenAndGreysMissing();
    void mnemonicsAreUniquePerMenu_data();
    void mnemonicsAreUniquePerMenu();
    void toolTipsCarryNoMnemonics_data();
    void toolTipsCarryNoMnemonics();
    void archiveFromTheCommandLineIsOffered();
    void pagesShareThePreviewSelection_data();
    void pagesShareThePreviewSelection();

private:
    QQuickItem *item(const char *objectName) const;
    QObject *page(const char *property) const;
    QObject *dialog(const char *name) const;
    QObject *menu(const char *name) const;
    QObject *settings() const;
    QVariant itemProperty(const char *objectName, const char *property) const;
    bool clickItem(QQuickItem *target);
    bool pickKey(const QString &key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    bool showPage(const char *property);
    bool pressButton(QObject *page, const QString &text);
    bool typeInto(QQuickItem *field, const QString &text);
    bool closePage(QObject *page);
    bool selectOnly(const char *selectionName, const QStringList &keys);
    bool answer(QObject *dialog, const char *button);
    void loadDemoCopy();
    bool typeInEditor(const QString &text);
    QString editorText() const { return itemProperty("editorTextArea", "text").toString(); }

    QString mFailure;
    QTemporaryDir mDir;
    QString mSkin;
    QString mPanelFile;
    QStringList mOriginal;
    std::unique_ptr<Application> mApplication;
    QQuickWindow *mWindow = nullptr;
    QObject *mRoot = nullptr;
    Panel *mPanel = nullptr;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(mDir.isValid());
    mSkin = mDir.filePath(QStringLiteral("skin"));
    QVERIFY(TestFiles::copyTree(QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo"), mSkin));
    mPanelFile = mSkin + QStringLiteral("/port/py_26.ini");
    mOriginal = snapshot(mPanelFile);
    QVERIFY(mOriginal.size() > 20);

    // a window large enough for every column
    QSettings settings(QCoreApplication::applicationDirPath() + QStringLiteral("/quillmark_settings.ini"),
                       QSettings::IniFormat);
    settings.setValue(QStringLiteral("WindowWidth"), 1300);
    settings.setValue(QStringLiteral("WindowHeight"), 900);
    settings.sync();

    static int argc = 1;
    static char name[] = "tst_mainwindow";
    static char *argv[] = {name, nullptr};
    mApplication = std::make_unique<Application>(argc, argv);
    QVERIFY(mApplication->start({QStringLiteral("quillmark"), mPanelFile}));
    mRoot = mApplication->rootObject();
    mWindow = qobject_cast<QQuickWindow *>(mRoot);
    QVERIFY(mWindow);
    QCOMPARE(mRoot->objectName(), QStringLiteral("mainWindow"));
    QVERIFY(QTest::qWaitForWindowExposed(mWindow));
    mPanel = Panel::instance();

    // the whole preview in view, so that every key can be clicked
    QQuickItem *preview = item("panelImage");
    QVERIFY(preview);
    QTRY_VERIFY(preview->width() > 100);
    QVERIFY(QMetaObject::invokeMethod(preview, "fitToPane"));
}

// Each test starts on the section page with the panel file as it came.
void TestMainWindow::init()
{
    QQuickItem *stack = item("functionAreaStack");
    while (stack->property("depth").toInt() > 1) {
        QObject *top = stack->property("currentItem").value<QObject *>();
        QVERIFY2(closePage(top), qPrintable(mFailure));
    }
    while (mPanel->canUndo())
        mPanel->undo();
    QCOMPARE(snapshot(mPanelFile), mOriginal);
    // and nothing selected on the preview, which the pages start with
    QVERIFY(QMetaObject::invokeMethod(item("panelImage"), "clearSelection"));
}

void TestMainWindow::cleanupTestCase()
{
    mApplication.reset();
}

// Searches the visual tree, which also holds the pages pushed on the stack
// and the delegates of lists (neither has a QObject parent in the window).
QQuickItem *TestMainWindow::item(const char *objectName) const
{
    const QString name = QLatin1String(objectName);
    QList<QQuickItem *> queue{mWindow->contentItem()};
    while (!queue.isEmpty()) {
        QQuickItem *candidate = queue.takeFirst();
        if (candidate->objectName() == name)
            return candidate;
        queue += candidate->childItems();
    }
    return mRoot->findChild<QQuickItem *>(name);
}

QVariant TestMainWindow::itemProperty(const char *objectName, const char *property) const
{
    QQuickItem *found = item(objectName);
    return found ? found->property(property) : QVariant();
}

QObject *TestMainWindow::settings() const
{
    return mApplication->engine()->rootContext()->contextProperty(QStringLiteral("rpSettings")).value<QObject *>();
}

QObject *TestMainWindow::page(const char *property) const
{
    // the window makes a page when it is first needed
    QVariant made;
    QMetaObject::invokeMethod(mRoot, "page", Q_RETURN_ARG(QVariant, made),
        Q_ARG(QVariant, QString::fromLatin1(property)));
    return made.value<QObject *>();
}

QObject *TestMainWindow::dialog(const char *name) const
{
    // the window makes a dialog when it is first needed
    QVariant made;
    QMetaObject::invokeMethod(mRoot, "dialog", Q_RETURN_ARG(QVariant, made),
        Q_ARG(QVariant, QString::fromLatin1(name)));
    return made.value<QObject *>();
}

// A menu of the bar or File › Recent, with every menu's entries made (the
// window makes them when a menu first opens).
QObject *TestMainWindow::menu(const char *name) const
{
    for (const char *top : { "fileMenu", "editMenu", "toolMenu", "textEditorMenu", "aboutMenu" }) {
        QObject *found = mRoot->findChild<QObject *>(QLatin1String(top));
        if (!found || !QMetaObject::invokeMethod(found, "fill"))
            return nullptr;
    }
    return mRoot->findChild<QObject *>(QLatin1String(name));
}

bool TestMainWindow::clickItem(QQuickItem *target)
{
    if (!target || !target->isVisible()) {
        mFailure = QStringLiteral("no visible item to click");
        return false;
    }
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(mWindow, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    return true;
}

// Clicks the middle of the key's view rectangle on the preview.
bool TestMainWindow::pickKey(const QString &key, Qt::KeyboardModifiers modifiers)
{
    const QRect rect = ValueText::parseRect(valueOf(mPanelFile, key + QStringLiteral("/VIEW_RECT")));
    if (rect.isEmpty()) {
        mFailure = key + QStringLiteral(" has no rectangle");
        return false;
    }
    QQuickItem *image = item("previewImage");
    QQuickItem *preview = item("panelImage");
    const QPointF inImage = (QPointF(rect.center()) + QPointF(mPanel->panelOrigin())) * mPanel->scale();
    const QPointF inScene = image->mapToScene(inImage);
    const QPointF inPreview = preview->mapFromScene(inScene);
    if (!preview->contains(inPreview)) {
        mFailure = key + QStringLiteral(" is outside the preview");
        return false;
    }
    QTest::mouseClick(mWindow, Qt::LeftButton, modifiers, inScene.toPoint());
    return true;
}

bool TestMainWindow::showPage(const char *property)
{
    QObject *target = page(property);
    if (!target) {
        mFailure = QStringLiteral("no page ") + QLatin1String(property);
        return false;
    }
    QMetaObject::invokeMethod(mRoot, "pushPage", Q_ARG(QVariant, QVariant::fromValue(target)));
    QQuickItem *stack = item("functionAreaStack");
    if (!QTest::qWaitFor([&] { return stack->property("currentItem").value<QObject *>() == target && !stack->property("busy").toBool(); })) {
        mFailure = QStringLiteral("the page did not come up");
        return false;
    }
    // the page's layouts place their fields before the first paint
    QTest::qWait(50);
    return true;
}

// `text` is the English text of a standard button; the window shows the
// installed catalogue's text.
bool TestMainWindow::pressButton(QObject *page, const QString &text)
{
    const QString shown = QCoreApplication::translate("QPlatformTheme", text.toLatin1().constData());
    QObject *box = page->findChild<QObject *>(QStringLiteral("buttonBox"));
    const int count = box ? box->property("count").toInt() : 0;
    for (int i = 0; i < count; ++i) {
        QQuickItem *button = nullptr;
        QMetaObject::invokeMethod(box, "itemAt", Q_RETURN_ARG(QQuickItem *, button), Q_ARG(int, i));
        if (button && button->property("text").toString().remove(QLatin1Char('&')) == shown)
            return clickItem(button);
    }
    mFailure = QStringLiteral("no button ") + text;
    return false;
}

bool TestMainWindow::typeInto(QQuickItem *field, const QString &text)
{
    if (!clickItem(field))
        return false;
    QTest::keyClick(mWindow, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : text)
        QTest::keyClick(mWindow, c.toLatin1());
    return true;
}

bool TestMainWindow::closePage(QObject *page)
{
    QQuickItem *stack = item("functionAreaStack");
    const int depth = stack->property("depth").toInt();
    if (!pressButton(page, QStringLiteral("Cancel")))
        return false;
    if (!QTest::qWaitFor([&] { return stack->property("depth").toInt() == depth - 1 && !stack->property("busy").toBool(); })) {
        mFailure = QStringLiteral("Cancel did not close the page");
        return false;
    }
    return true;
}

// Empties a page's key selection, then picks the keys on the preview.
bool TestMainWindow::selectOnly(const char *selectionName, const QStringList &keys)
{
    QQuickItem *selection = item(selectionName);
    if (!selection || !QMetaObject::invokeMethod(selection, "reset")) {
        mFailure = QStringLiteral("no selection ") + QLatin1String(selectionName);
        return false;
    }
    for (const QString &key : keys) {
        if (!pickKey(key))
            return false;
    }
    const QString expected = keys.join(QLatin1Char(' '));
    if (!QTest::qWaitFor([&] { return selection->property("text").toString() == expected; })) {
        mFailure = QStringLiteral("selection is \"%1\", not \"%2\"").arg(selection->property("text").toString(), expected);
        return false;
    }
    return true;
}

// Waits for a confirmation to come up and presses its "ok" or "cancel".
bool TestMainWindow::answer(QObject *dialog, const char *button)
{
    if (!dialog || !QTest::qWaitFor([dialog] { return dialog->property("opened").toBool(); })) {
        mFailure = QStringLiteral("no question was asked");
        return false;
    }
    QVariant found;
    QMetaObject::invokeMethod(dialog, "button", Q_RETURN_ARG(QVariant, found), Q_ARG(QVariant, QLatin1String(button)));
    if (!clickItem(qobject_cast<QQuickItem *>(found.value<QObject *>())))
        return false;
    if (!QTest::qWaitFor([dialog] { return !dialog->property("visible").toBool(); })) {
        mFailure = QStringLiteral("the question stayed open");
        return false;
    }
    return true;
}

void TestMainWindow::startsOnTheDemoSkin()
{
    QCOMPARE(mRoot->property("title").toString(), mPanelFile + QStringLiteral(" — Quillmark Studio"));
    QCOMPARE(mPanel->currentPanelFile(), mPanelFile);

    QQuickItem *tree = item("fileTree");
    QCOMPARE(tree->property("rootPath").toString(), mSkin);
    QTRY_VERIFY(tree->property("count").toInt() >= 2);

    QQuickItem *styles = item("stylesListView");
    QTRY_COMPARE(styles->property("count").toInt(), mPanel->styleNumbers().size());
    QVERIFY(mPanel->styleNumbers().size() > 0);

    QQuickItem *image = item("previewImage");
    QVERIFY(image->width() > 1 && image->height() > 1);

    QQuickItem *editor = item("editorTextArea");
    QTRY_VERIFY(editor->property("text").toString().contains(QStringLiteral("[PANEL]")));

    QQuickItem *status = item("statusSelector");
    QCOMPARE(status->property("currentIndex").toInt(), 0);
    QCOMPARE(status->property("displayText").toString(), QStringLiteral("S0"));

    // the caption names the file within the skin
    QCOMPARE(itemProperty("editorCaption", "text").toString(), QStringLiteral("port/py_26.ini"));
}

void TestMainWindow::clickSelectsAKey()
{
    QVERIFY2(pickKey(QStringLiteral("KEY12")), qPrintable(mFailure));
    QTRY_COMPARE(mPanel->currentKey(), QStringLiteral("KEY12"));

    QQuickItem *list = item("sectionPropertiesList");
    QVERIFY(list);
    QTRY_COMPARE(list->property("count").toInt(), mPanel->currentSectionProperties().size());
    QVERIFY(list->property("count").toInt() > 0);
    QQuickItem *header = list->property("headerItem").value<QQuickItem *>();
    QVERIFY(header);
    QCOMPARE(header->property("text").toString(), QStringLiteral("[KEY12]"));
    QVERIFY(header->isVisible());
}

// No page is made with the window; the tool bar makes one, and the same one
// comes back the next time.
void TestMainWindow::pagesAreMadeWhenFirstShown()
{
    for (const char *name : { "exchangePage", "movePage", "adjustPage", "alignPage", "editKeyPage",
             "addKeyPage", "removePage" })
        QVERIFY2(!mRoot->property(name).value<QObject *>(), name);
    QVERIFY2(clickItem(item("adjustButton")), qPrintable(mFailure));
    QObject *made = mRoot->property("adjustPage").value<QObject *>();
    QVERIFY(made);
    QTRY_COMPARE(itemProperty("functionAreaStack", "currentItem").value<QObject *>(), made);
    QTRY_VERIFY(!itemProperty("functionAreaStack", "busy").toBool());
    QTest::qWait(50);
    QCOMPARE(page("adjustPage"), made);
    QVERIFY(!mRoot->property("movePage").value<QObject *>());
}

// A menu's entries come with its first opening, once.
void TestMainWindow::menusAreMadeWhenFirstOpened()
{
    QObject *tools = mRoot->findChild<QObject *>(QStringLiteral("toolMenu"));
    QVERIFY(tools);
    QCOMPARE(tools->property("count").toInt(), 0);
    QVERIFY(!mRoot->findChild<QObject *>(QStringLiteral("tileToolMenuItem")));
    QVERIFY(!mRoot->findChild<QObject *>(QStringLiteral("recentMenu")));

    for (int opening = 0; opening < 2; ++opening) {
        QVERIFY(QMetaObject::invokeMethod(tools, "open"));
        QTRY_VERIFY(tools->property("opened").toBool());
        QCOMPARE(tools->property("count").toInt(), 5);
        QCOMPARE(mRoot->findChildren<QObject *>(QStringLiteral("tileToolMenuItem")).size(), 1);
        QVERIFY(tools->property("width").toReal() >= 200);
        QVERIFY(QMetaObject::invokeMethod(tools, "close"));
        QTRY_VERIFY(!tools->property("visible").toBool());
    }
    // the others wait for theirs
    QVERIFY(!mRoot->findChild<QObject *>(QStringLiteral("recentMenu")));
    QCOMPARE(mRoot->findChild<QObject *>(QStringLiteral("editMenu"))->property("count").toInt(), 0);
}

// Drawn in software (as offscreen), the style's raised backgrounds go
// without their layer: its effect would leave them out.
void TestMainWindow::raisedBackgroundsShowInSoftware()
{
    QVERIFY(Application::drawsInSoftware());
    auto layered = [](QObject *control) {
        auto *background = control ? control->property("background").value<QQuickItem *>() : nullptr;
        QObject *layer = background ? background->property("layer").value<QObject *>() : nullptr;
        return !layer || layer->property("enabled").toBool();
    };
    QTRY_VERIFY(!layered(mRoot->property("header").value<QObject *>()));
    QTRY_VERIFY(!layered(item("statusSelector")));
    QObject *menu = mRoot->findChild<QObject *>(QStringLiteral("aboutMenu"));
    QVERIFY(QMetaObject::invokeMethod(menu, "open"));
    QTRY_VERIFY(menu->property("opened").toBool());
    QTRY_VERIFY(!layered(menu));
    QVERIFY(QMetaObject::invokeMethod(menu, "close"));
    QTRY_VERIFY(!menu->property("visible").toBool());
}

void TestMainWindow::moveKeyWritesThePanelFileAndUndoes()
{
    const QString before = valueOf(mPanelFile, QStringLiteral("KEY12/VIEW_RECT"));
    const QRect view = ValueText::parseRect(before);
    const QRect touch = ValueText::parseRect(valueOf(mPanelFile, QStringLiteral("KEY12/TOUCH_RECT")));

    QVERIFY2(clickItem(item("moveButton")), qPrintable(mFailure));
    QObject *movePage = page("movePage");
    QTRY_COMPARE(itemProperty("functionAreaStack", "currentItem").value<QObject *>(), movePage);
    QTRY_VERIFY(!itemProperty("functionAreaStack", "busy").toBool());
    QTest::qWait(50);

    QVERIFY2(pickKey(QStringLiteral("KEY12")), qPrintable(mFailure));
    QQuickItem *selection = item("moveSelectedKeys");
    QTRY_COMPARE(selection->property("text").toString(), QStringLiteral("KEY12"));

    QVERIFY(typeInto(item("moveXField"), QStringLiteral("10")));
    QVERIFY(typeInto(item("moveYField"), QStringLiteral("-5")));
    QVERIFY2(pressButton(movePage, QStringLiteral("Apply")), qPrintable(mFailure));

    QTRY_COMPARE(valueOf(mPanelFile, QStringLiteral("KEY12/VIEW_RECT")),
                 ValueText::formatRect(view.translated(10, -5)));
    QCOMPARE(valueOf(mPanelFile, QStringLiteral("KEY12/TOUCH_RECT")), ValueText::formatRect(touch.translated(10, -5)));
    // the section page shows the values now in the file
    QVERIFY(mPanel->currentSectionProperties().contains(QStringLiteral("VIEW_RECT=")
                                                         + ValueText::formatRect(view.translated(10, -5))));
    QCOMPARE(mPanel->currentSectionName(), QStringLiteral("KEY12"));
    // the text editor shows the panel file as it is now
    QTRY_VERIFY(itemProperty("editorTextArea", "text").toString().contains(
        QStringLiteral("VIEW_RECT=") + ValueText::formatRect(view.translated(10, -5))));
    QVERIFY(mPanel->canUndo());
    // only the picked key moved
    QCOMPARE(snapshot(mPanelFile).size(), mOriginal.size());

    QVERIFY2(clickItem(item("undoButton")), qPrintable(mFailure));
    QTRY_COMPARE(valueOf(mPanelFile, QStringLiteral("KEY12/VIEW_RECT")), before);
    QVERIFY(mPanel->currentSectionProperties().contains(QStringLiteral("VIEW_RECT=") + before));
    QCOMPARE(snapshot(mPanelFile), mOriginal);
    QVERIFY(!mPanel->canUndo());
    QVERIFY(mPanel->canRedo());

    QVERIFY2(closePage(movePage), qPrintable(mFailure));
    QCOMPARE(selection->property("text").toString(), QString());
}

// The edit-key page writes all rows of the section: they must be the values
// in the file, not the ones from before the last edit.
void TestMainWindow::editKeyAfterMoveKeepsTheMove()
{
    const QRect view = ValueText::parseRect(valueOf(mPanelFile, QStringLiteral("KEY13/VIEW_RECT")));
    const QString moved = ValueText::formatRect(view.translated(4, 0));
    QVERIFY2(showPage("movePage"), qPrintable(mFailure));
    QVERIFY2(selectOnly("moveSelectedKeys", {QStringLiteral("KEY13")}), qPrintable(mFailure));
    QVERIFY(typeInto(item("moveXField"), QStringLiteral("4")));
    QVERIFY(pressButton(page("movePage"), QStringLiteral("Apply")));
    QTRY_COMPARE(valueOf(mPanelFile, QStringLiteral("KEY13/VIEW_RECT")), moved);

    QVERIFY2(showPage("editKeyPage"), qPrintable(mFailure));
    QCOMPARE(itemProperty("keyField0", "text").toString(), QStringLiteral("VIEW_RECT"));
    QCOMPARE(itemProperty("valueField0", "text").toString(), moved);
    QVERIFY(pressButton(page("editKeyPage"), QStringLiteral("Apply")));
    QTRY_COMPARE(mPanel->canUndo(), true);
    QCOMPARE(valueOf(mPanelFile, QStringLiteral("KEY13/VIEW_RECT")), moved);
}

void TestMainWindow::everyPageEditsAndUndoes_data()
{
    QTest::addColumn<QString>("page");

    QTest::newRow("exchange") << QStringLiteral("exchangePage");
    QTest::newRow("move all") << QStringLiteral("movePage");
    QTest::newRow("adjust") << QStringLiteral("adjustPage");
    QTest::newRow("align") << QStringLiteral("alignPage");
    QTest::newRow("edit key") << QStringLiteral("editKeyPage");
    QTest::newRow("add key") << QStringLiteral("addKeyPage");
    QTest::newRow("remove") << QStringLiteral("removePage");
}

void TestMainWindow::everyPageEditsAndUndoes()
{
    QFETCH(QString, page);
    const QByteArray name = page.toLatin1();
    QVERIFY2(showPage(name.constData()), qPrintable(mFailure));
    QObject *shown = this->page(name.constData());
    const QString key11 = valueOf(mPanelFile, QStringLiteral("KEY11/VIEW_RECT"));
    const QString key21 = valueOf(mPanelFile, QStringLiteral("KEY21/VIEW_RECT"));
    const QString newKey = mPanel->getNewKey();

    if (page == QLatin1String("exchangePage")) {
        QVERIFY2(pickKey(QStringLiteral("KEY11")), qPrintable(mFailure));
        QVERIFY(clickItem(item("secondKeySlot")));
        QVERIFY2(pickKey(QStringLiteral("KEY21")), qPrintable(mFailure));
        QTRY_COMPARE(itemProperty("secondKeySlot", "text").toString(), QStringLiteral("KEY21"));
        QVERIFY(pressButton(shown, QStringLiteral("Apply")));
        QTRY_COMPARE(valueOf(mPanelFile, QStringLiteral("KEY11/VIEW_RECT")), key21);
        QCOMPARE(valueOf(mPanelFile, QStringLiteral("KEY21/VIEW_RECT")), key11);
    } else if (page == QLatin1String("movePage")) {
        // nothing picked: every key moves
        QVERIFY(typeInto(item("moveYField"), QStringLiteral("3")));
        QVERIFY(pressButton(shown, QStringLiteral("Apply")));
        QTRY_COMPARE(valueOf(mPanelFile, QStringLiteral("KEY11/VIEW_RECT")),
                     ValueText::formatRect(ValueText::parseRect(key11).translated(0, 3)));
        QCOMPARE(valueOf(mPanelFile, QStringLiteral("KEY21/VIEW_RECT")),
                 ValueText::formatRect(ValueText::parseRect(key21).translated(0, 3)));
    } else if (page == QLatin1String("adjustPage")) {
        // the key picked before the page opened is preselected
        QCOMPARE(itemProperty("adjustSelectedKeys", "text").toString(), mPanel->currentKey());
        QVERIFY2(selectOnly("adjustSelectedKeys", {QStringLiteral("KEY21")}), qPrintable(mFailure));
        QVERIFY(typeInto(item("adjustWField"), QStringLiteral("150")));
        QVERIFY(pressButton(shown, QStringLiteral("Apply")));
        QRect expected = ValueText::parseRect(key21);
        expected.setWidth(150);
        QTRY_COMPARE(valueOf(mPanelFile, QStringLiteral("KEY21/VIEW_RECT")), ValueText::formatRect(expected));
        QCOMPARE(valueOf(mPanelFile, QStringLiteral("KEY11/VIEW_RECT")), key11);
    } else if (page == QLatin1String("alignPage")) {
        QVERIFY2(selectOnly("alignSelectedKeys", {QStringLiteral("KEY11"), QStringLiteral("KEY21")}),
                 qPrintable(mFailure));
        QVERIFY(clickItem(item("alignButton0")));
        const int left = qMin(ValueText::parseRect(key11).left(), ValueText::parseRect(key21).left());
        QTRY_COMPARE(ValueText::parseRect(valueOf(mPanelFile, QStringLiteral("KEY21/VIEW_RECT"))).left(), left);
        QCOMPARE(ValueText::parseRect(valueOf(mPanelFile, QStringLiteral("KEY11/VIEW_RECT"))).left(), left);
    } else if (page == QLatin1String("editKeyPage")) {
        QVERIFY2(pickKey(QStringLiteral("KEY11")), qPrintable(mFailure));
        QTRY_COMPARE(mPanel->currentSectionName(), QStringLiteral("KEY11"));
        QTRY_COMPARE(itemProperty("keyField0", "text").toString(), QStringLiteral("VIEW_RECT"));
        QVERIFY(typeInto(item("valueField0"), QStringLiteral("1,2,30,40")));
        QVERIFY(pressButton(shown, QStringLiteral("Apply")));
        QTRY_COMPARE(valueOf(mPanelFile, QStringLiteral("KEY11/VIEW_RECT")), QStringLiteral("1,2,30,40"));
    } else if (page == QLatin1String("addKeyPage")) {
        QQuickItem *name = item("sectionNameField");
        QTRY_COMPARE(name->property("text").toString(), newKey);
        QTRY_COMPARE(itemProperty("keyField3", "text").toString(), QStringLiteral("VIEW_RECT"));
        QVERIFY(typeInto(item("valueField3"), QStringLiteral("0,0,10,10")));
        QVERIFY(pressButton(shown, QStringLiteral("Apply")));
        QTRY_COMPARE(valueOf(mPanelFile, newKey + QStringLiteral("/VIEW_RECT")), QStringLiteral("0,0,10,10"));
        SkinConfig config(mPanelFile);
        config.beginGroup(newKey);
        // a change is applied in the order of its property paths
        QCOMPARE(config.childKeys(),
                 QStringList({QStringLiteral("BACK_STYLE"), QStringLiteral("CENTER"), QStringLiteral("FORE_STYLE"),
                              QStringLiteral("LEFT"), QStringLiteral("POS_TYPE"), QStringLiteral("RIGHT"),
                              QStringLiteral("UP"), QStringLiteral("VIEW_RECT")}));
    } else if (page == QLatin1String("removePage")) {
        QVERIFY2(selectOnly("removeSelectedKeys", {QStringLiteral("KEY21")}), qPrintable(mFailure));
        QVERIFY(pressButton(shown, QStringLiteral("Apply")));
        QTRY_COMPARE(valueOf(mPanelFile, QStringLiteral("KEY21/VIEW_RECT")), QString());
        QCOMPARE(valueOf(mPanelFile, QStringLiteral("KEY11/VIEW_RECT")), key11);
    }

    QVERIFY(snapshot(mPanelFile) != mOriginal);
    QVERIFY(mPanel->canUndo());
    // on request, a picture of each page for the documentation
    const QString shots = qEnvironmentVariable("QUILLMARK_PAGE_SCREENSHOTS");
    if (!shots.isEmpty())
        QVERIFY(mWindow->grabWindow().save(shots + QLatin1Char('/') + page + QStringLiteral(".png")));
    QVERIFY2(clickItem(item("undoButton")), qPrintable(mFailure));
    QTRY_COMPARE(snapshot(mPanelFile), mOriginal);
    QVERIFY2(!mPanel->canUndo(), "each page's edit is one step");
}

void TestMainWindow::pageTitlesAreShownInFull_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");

    QTest::newRow("exchange") << QStringLiteral("exchangePage") << QStringLiteral("交换按键");
    // the move page's title also tells that an empty selection moves all keys
    QTest::newRow("move") << QStringLiteral("movePage") << QStringLiteral("移动按键（不选则移动全部）");
    QTest::newRow("adjust") << QStringLiteral("adjustPage") << QStringLiteral("调整按键");
    QTest::newRow("align") << QStringLiteral("alignPage") << QStringLiteral("对齐按键");
    QTest::newRow("edit key") << QStringLiteral("editKeyPage") << QStringLiteral("编辑按键");
    QTest::newRow("add key") << QStringLiteral("addKeyPage") << QStringLiteral("添加按键");
    QTest::newRow("remove") << QStringLiteral("removePage") << QStringLiteral("移除按键");
}

// The title in the narrow right-hand column is never cut short: a long one
// takes more lines and the header grows to hold them.
void TestMainWindow::pageTitlesAreShownInFull()
{
    QFETCH(QString, page);
    QFETCH(QString, title);
    const QByteArray name = page.toLatin1();
    QVERIFY2(showPage(name.constData()), qPrintable(mFailure));
    QObject *shown = this->page(name.constData());
    auto *label = shown->findChild<QQuickItem *>(QStringLiteral("pageTitle"));
    QVERIFY(label);
    QCOMPARE(label->property("text").toString(), title);
    QVERIFY(!label->property("truncated").toBool());
    const qreal innerWidth
        = label->width() - label->property("leftPadding").toReal() - label->property("rightPadding").toReal();
    const qreal innerHeight = label->height() - label->property("topPadding").toReal()
        - label->property("bottomPadding").toReal();
    const qreal contentWidth = label->property("contentWidth").toReal();
    const qreal contentHeight = label->property("contentHeight").toReal();
    QVERIFY2(contentWidth <= innerWidth + 1,
        qPrintable(QStringLiteral("%1 > %2").arg(contentWidth).arg(innerWidth)));
    QVERIFY2(contentHeight <= innerHeight + 1,
        qPrintable(QStringLiteral("%1 > %2").arg(contentHeight).arg(innerHeight)));
    // the header stays inside the column
    QVERIFY(label->width() <= item("functionAreaStack")->width() + 1);
}

void TestMainWindow::undoAndRedoFollowThePanel()
{
    QQuickItem *undo = item("undoButton");
    QQuickItem *redo = item("redoButton");
    QVERIFY(!mPanel->canUndo());
    QCOMPARE(undo->isEnabled(), false);
    mPanel->moveKeys({QStringLiteral("KEY1")}, 1, 1);
    QVERIFY(undo->isEnabled());
    QCOMPARE(redo->isEnabled(), false);
    QVERIFY(clickItem(undo));
    QTRY_VERIFY(redo->isEnabled());
    QVERIFY(clickItem(redo));
    QTRY_VERIFY(undo->isEnabled());
    QVERIFY(clickItem(undo));
    QTRY_COMPARE(snapshot(mPanelFile), mOriginal);
}

void TestMainWindow::windowFollowsTheSettings()
{
    QObject *rpSettings = settings();
    rpSettings->setProperty("stayOnTop", true);
    QVERIFY(mWindow->flags() & Qt::WindowStaysOnTopHint);
    rpSettings->setProperty("stayOnTop", false);
    QVERIFY(!(mWindow->flags() & Qt::WindowStaysOnTopHint));

    // (a setting still at its default takes "false" only once it was stored)
    rpSettings->setProperty("displayTextEditor", true);
    rpSettings->setProperty("displayTextEditor", false);
    QVERIFY(!item("textEditor")->isVisible());
    rpSettings->setProperty("displayTextEditor", true);
    QVERIFY(item("textEditor")->isVisible());

    mWindow->resize(1200, 820);
    QVERIFY(QMetaObject::invokeMethod(mRoot, "saveGeometry"));
    QCOMPARE(rpSettings->property("windowWidth").toInt(), 1200);
    QCOMPARE(rpSettings->property("windowHeight").toInt(), 820);
}

void TestMainWindow::firstStartSize_data()
{
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("least");
    QTest::addColumn<int>("size");
    QTest::newRow("80% of a large screen") << 1920 << 1024 << 1536;
    QTest::newRow("at least the least") << 1200 << 1024 << 1024;
    QTest::newRow("never more than the screen") << 900 << 1024 << 900;
    QTest::newRow("no screen known") << 0 << 700 << 700;
}

// Without a stored size the window takes most of the screen.
void TestMainWindow::firstStartSize()
{
    QFETCH(int, screen);
    QFETCH(int, least);
    QFETCH(int, size);
    QVariant result;
    QVERIFY(QMetaObject::invokeMethod(mRoot, "firstStartSize", Q_RETURN_ARG(QVariant, result),
        Q_ARG(QVariant, screen), Q_ARG(QVariant, least)));
    QCOMPARE(result.toInt(), size);
}

void TestMainWindow::statusAndResolutionReachThePanel()
{
    QQuickItem *status = item("statusSelector");
    status->setProperty("currentIndex", 4);
    QCOMPARE(mPanel->currentStatus(), 4);
    status->setProperty("currentIndex", 0);
    QCOMPARE(mPanel->currentStatus(), 0);

    QQuickItem *resolution = item("deviceResolutionField");
    resolution->setProperty("text", QStringLiteral("720"));
    QVERIFY(QMetaObject::invokeMethod(resolution, "editingFinished"));
    QCOMPARE(mPanel->deviceResolution(), 720);
    QTRY_COMPARE(itemProperty("panelSizeLabel", "text").toString().isEmpty(), false);
    resolution->setProperty("text", QStringLiteral("0"));
    QVERIFY(QMetaObject::invokeMethod(resolution, "editingFinished"));
    QCOMPARE(mPanel->deviceResolution(), 0);
}

// A click on a panel file opens it and shows it in the editor; the skin
// directory stays where it is.
void TestMainWindow::fileTreeOpensFiles()
{
    QQuickItem *tree = item("fileTree");
    const QString gen = mSkin + QStringLiteral("/port/gen.ini");
    QVERIFY(QMetaObject::invokeMethod(tree, "accepted", Q_ARG(QUrl, QUrl::fromLocalFile(gen)),
                                      Q_ARG(QString, QStringLiteral("ini"))));
    QCOMPARE(mPanel->currentPanelFile(), gen);
    QCOMPARE(settings()->property("skinDirectory").toString(), mSkin);
    QTRY_VERIFY(itemProperty("editorTextArea", "text").toString().contains(QStringLiteral("OFFSET")));

    // an image neither opens nor reaches the editor
    QVERIFY(QMetaObject::invokeMethod(tree, "accepted", Q_ARG(QUrl, QUrl::fromLocalFile(mSkin + QStringLiteral("/res/keys.png"))),
                                      Q_ARG(QString, QStringLiteral("png"))));
    QCOMPARE(mPanel->currentPanelFile(), gen);
    QVERIFY(itemProperty("editorTextArea", "text").toString().contains(QStringLiteral("OFFSET")));
    loadDemoCopy();
}

// A broken size and an unknown style in the panel file: the pane lists both,
// the status bar counts them, the preview says why it is empty, and a click
// on the style's problem shows its line in the editor and picks its key.
void TestMainWindow::problemsPaneLeadsToTheFault()
{
    QQuickItem *list = item("problemsList");
    QVERIFY(list);
    QTRY_COMPARE(list->property("count").toInt(), 0);
    QCOMPARE(itemProperty("notDrawnLabel", "visible").toBool(), false);

    const QByteArray original = TestFiles::readAll(mPanelFile);
    auto restore = qScopeGuard([&] {
        TestFiles::writeFile(mPanelFile, original);
        QMetaObject::invokeMethod(mRoot, "reload");
    });
    QByteArray broken = original;
    broken.replace("SIZE=1080,624", "SIZE=1080;624");
    const int keyAt = broken.indexOf("[KEY3]");
    const int styleAt = broken.indexOf("BACK_STYLE=2", keyAt);
    QVERIFY(keyAt > 0 && styleAt > keyAt);
    broken.replace(styleAt, int(qstrlen("BACK_STYLE=2")), "BACK_STYLE=999");
    const int styleLine = broken.left(styleAt).count('\n') + 1;
    QVERIFY(TestFiles::writeFile(mPanelFile, broken));
    QVERIFY(QMetaObject::invokeMethod(mRoot, "reload"));

    QTRY_COMPARE(list->property("count").toInt(), 2);
    QCOMPARE(itemProperty("errorCountLabel", "count").toInt(), 2);
    QCOMPARE(itemProperty("notDrawnLabel", "visible").toBool(), true);

    QQuickItem *problem = item("problem1");
    QVERIFY(problem);
    QVERIFY2(clickItem(problem), qPrintable(mFailure));
    QTRY_COMPARE(mPanel->currentKey(), QStringLiteral("KEY3"));
    QQuickItem *editor = item("editorTextArea");
    QTRY_COMPARE(editor->property("selectedText").toString().trimmed(), QStringLiteral("BACK_STYLE=999"));
    const QString text = editor->property("text").toString();
    QCOMPARE(text.left(editor->property("selectionStart").toInt()).count(QLatin1Char('\n')) + 1, styleLine);
}

void TestMainWindow::droppedFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("opens");

    QTest::newRow("image refused") << QStringLiteral("res/keys.png") << false;
    QTest::newRow("candidate layout refused") << QStringLiteral("port/py_cand.cnd") << false;
    QTest::newRow("gen.ini opens as a panel") << QStringLiteral("port/gen.ini") << true;
    QTest::newRow("panel file") << QStringLiteral("port/py_26.ini") << true;
}

void TestMainWindow::droppedFiles()
{
    QFETCH(QString, file);
    QFETCH(bool, opens);
    const QString path = mSkin + QLatin1Char('/') + file;
    const QString before = mPanel->currentPanelFile();
    QObject *rpSettings = settings();
    rpSettings->setProperty("skinDirectory", mDir.path());

    QMetaObject::invokeMethod(mRoot, "openDropped", Q_ARG(QVariant, path));
    if (opens) {
        QCOMPARE(mPanel->currentPanelFile(), path);
        QCOMPARE(rpSettings->property("skinDirectory").toString(), mSkin);
        QCOMPARE(itemProperty("fileTree", "rootPath").toString(), mSkin);
    } else {
        QCOMPARE(mPanel->currentPanelFile(), before);
        QCOMPARE(rpSettings->property("skinDirectory").toString(), mDir.path());
    }
}

void TestMainWindow::importRefusesWhatIsNoArchive_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("text named zip") << QStringLiteral("notes.zip") << QByteArray("[PANEL]\r\nSIZE=1,1\r\n");
    QTest::newRow("empty bds") << QStringLiteral("empty.bds") << QByteArray();
    QTest::newRow("zip header only") << QStringLiteral("cut.bdi") << QByteArray("PK\x03\x04\x14\x00", 6);
    QTest::newRow("missing file") << QStringLiteral("missing.zip") << QByteArray("-");
}

void TestMainWindow::importRefusesWhatIsNoArchive()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    loadDemoCopy();
    QObject *rpSettings = settings();
    const QString workingDirectory = rpSettings->property("skinWorkingDirectory").toString();
    QVERIFY(workingDirectory.startsWith(qEnvironmentVariable(relocatedVariable)));
    QVERIFY(QDir().mkpath(workingDirectory));
    QFile keep(workingDirectory + QStringLiteral("/keep.ini"));
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.write("[KEEP]\r\n");
    keep.close();

    const QString archive = mDir.filePath(name);
    if (content != "-") {
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QVariant imported;
    QVERIFY(QMetaObject::invokeMethod(mRoot, "importSkin", Q_RETURN_ARG(QVariant, imported), Q_ARG(QVariant, archive)));
    QCOMPARE(imported.toBool(), false);
    QVERIFY(QFile::exists(keep.fileName()));
    QCOMPARE(mPanel->currentPanelFile(), mPanelFile);
    QCOMPARE(rpSettings->property("skinDirectory").toString(), mSkin);
}

void TestMainWindow::importReplacesTheWorkingCopy()
{
    loadDemoCopy();
    QObject *rpSettings = settings();
    const QString workingDirectory = rpSettings->property("skinWorkingDirectory").toString();
    QVERIFY(QDir().mkpath(workingDirectory));
    QFile keep(workingDirectory + QStringLiteral("/keep.ini"));
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.close();

    const QString archive = mDir.filePath(QStringLiteral("demo.bds"));
    QVERIFY(Utils::instance()->zip(mSkin, archive));

    // the working directory holds a file: nothing is deleted until the
    // author agrees, and Cancel keeps it
    QObject *question = dialog("importConfirmDialog");
    QVERIFY(question);
    QVariant imported;
    QVERIFY(QMetaObject::invokeMethod(mRoot, "importSkin", Q_RETURN_ARG(QVariant, imported), Q_ARG(QVariant, archive)));
    QVERIFY2(answer(question, "cancel"), qPrintable(mFailure));
    QVERIFY(QFile::exists(keep.fileName()));
    QCOMPARE(QDir(workingDirectory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    QCOMPARE(mPanel->currentPanelFile(), mPanelFile);

    MessageModel *messages = mApplication->messages();
    QVERIFY(QMetaObject::invokeMethod(mRoot, "importSkin", Q_RETURN_ARG(QVariant, imported), Q_ARG(QVariant, archive)));
    QCOMPARE(imported.toBool(), true);
    const QString asked = question->findChild<QObject *>(QStringLiteral("confirmText"))->property("text").toString();
    QVERIFY2(asked.contains(workingDirectory) && asked.contains(QStringLiteral(" 1 ")), qPrintable(asked));
    QVERIFY2(answer(question, "ok"), qPrintable(mFailure));
    // (unpacked on a worker thread)
    QTRY_VERIFY(!mApplication->archiveJob()->isRunning());
    QVERIFY(!QFile::exists(keep.fileName()));
    QCOMPARE(messages->latestSeverity(), int(MessageModel::Success));
    QCOMPARE(messages->latestFile(), archive);
    QCOMPARE(itemProperty("messageBar", "text").toString(), messages->latestText());
    QCOMPARE(mPanel->currentPanelFile(), workingDirectory + QStringLiteral("/port/py_26.ini"));
    QCOMPARE(rpSettings->property("skinDirectory").toString(), workingDirectory);
    QCOMPARE(snapshot(mPanel->currentPanelFile()), mOriginal);
    QTRY_VERIFY(itemProperty("editorTextArea", "text").toString().contains(QStringLiteral("[PANEL]")));

    // an archive inside the working directory would be deleted before it is read
    const QString inside = workingDirectory + QStringLiteral("/again.zip");
    QVERIFY(Utils::instance()->zip(mSkin, inside));
    QVERIFY(QMetaObject::invokeMethod(mRoot, "importSkin", Q_RETURN_ARG(QVariant, imported), Q_ARG(QVariant, inside)));
    QCOMPARE(imported.toBool(), false);
    QVERIFY(QFile::exists(inside));
    QVERIFY(QFile::exists(workingDirectory + QStringLiteral("/port/py_26.ini")));
}

void TestMainWindow::importRunsBesideTheWindow_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("completes") << false;
    QTest::newRow("cancelled") << true;
}

// While an import runs the window shows its progress and a Cancel button;
// the preview is emptied before the working copy goes. A finished import
// opens the imported panel; a cancelled one keeps the working copy and
// reopens the panel that was open.
void TestMainWindow::importRunsBesideTheWindow()
{
    QFETCH(bool, cancel);
    loadDemoCopy();
    QObject *rpSettings = settings();
    const QString workingDirectory = rpSettings->property("skinWorkingDirectory").toString();
    QVERIFY(QDir(workingDirectory).removeRecursively());
    QVERIFY(QDir().mkpath(workingDirectory));
    QVERIFY(TestFiles::writeFile(workingDirectory + QStringLiteral("/keep.ini"), "[KEEP]\r\n"));
    const QString archive = mDir.filePath(QStringLiteral("beside.bds"));
    QVERIFY(Utils::instance()->zip(mSkin, archive));

    // the worker waits at its first step until the test has looked
    ArchiveJob *job = mApplication->archiveJob();
    std::atomic_bool held { false };
    QSemaphore entered;
    QSemaphore release;
    job->setStepHook([&](qint64, qint64) {
        if (!held.exchange(true)) {
            entered.release();
            release.acquire();
        }
    });
    auto unhook = qScopeGuard([&] {
        release.release(1);
        QTRY_VERIFY(!job->isRunning());
        job->setStepHook({});
    });

    QVariant imported;
    QVERIFY(QMetaObject::invokeMethod(
        mRoot, "importSkin", Q_RETURN_ARG(QVariant, imported), Q_ARG(QVariant, archive)));
    QVERIFY2(answer(dialog("importConfirmDialog"), "ok"),
        qPrintable(mFailure));
    QVERIFY(entered.tryAcquire(1, 30000));
    QTRY_VERIFY(itemProperty("archiveProgressRow", "visible").toBool());
    QCOMPARE(mPanel->currentPanelFile(), QString());
    if (cancel)
        QVERIFY2(clickItem(item("archiveCancelButton")), qPrintable(mFailure));
    release.release();
    QTRY_VERIFY(!job->isRunning());
    QTRY_VERIFY(!itemProperty("archiveProgressRow", "visible").toBool());

    MessageModel *messages = mApplication->messages();
    QCOMPARE(messages->latestFile(), archive);
    if (cancel) {
        QCOMPARE(messages->latestSeverity(), int(MessageModel::Error));
        // (in the window's language)
        QCOMPARE(messages->latestText(),
            QCoreApplication::translate(
                "ArchiveJob", "The import of %1 was cancelled; the skin working directory %2 is as it was.")
                .arg(archive, workingDirectory));
        QCOMPARE(
            TestFiles::readAll(workingDirectory + QStringLiteral("/keep.ini")), QByteArray("[KEEP]\r\n"));
        QCOMPARE(mPanel->currentPanelFile(), mPanelFile);
        QCOMPARE(rpSettings->property("skinDirectory").toString(), mSkin);
    } else {
        QCOMPARE(messages->latestSeverity(), int(MessageModel::Success));
        QVERIFY(itemProperty("archiveProgressBar", "value").toDouble() > 0);
        QVERIFY(!QFile::exists(workingDirectory + QStringLiteral("/keep.ini")));
        QCOMPARE(mPanel->currentPanelFile(), workingDirectory + QStringLiteral("/port/py_26.ini"));
        QCOMPARE(snapshot(mPanel->currentPanelFile()), mOriginal);
        QCOMPARE(rpSettings->property("skinDirectory").toString(), workingDirectory);
    }
}

void TestMainWindow::toolRunsReportToTheWindow_data()
{
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("severity");

    const int error = MessageModel::Error;
    const int success = MessageModel::Success;
    QTest::newRow("split into a missing directory") << "split" << "no-such-dir" << error;
    QTest::newRow("split") << "split" << "tiles" << success;
    QTest::newRow("join from a missing directory") << "join" << "no-such-dir" << error;
    QTest::newRow("export into a missing directory") << "export" << "no-such-dir/skin.zip" << error;
    QTest::newRow("export") << "export" << "skin.zip" << success;
}

// Each run through the window leaves exactly one message, in the list and in
// the bar, naming what it wrote or why it wrote nothing; an error stays
// until it is closed, a success goes by itself.
void TestMainWindow::toolRunsReportToTheWindow()
{
    QFETCH(QString, run);
    QFETCH(QString, target);
    QFETCH(int, severity);
    QTemporaryDir out;
    const QString path = out.filePath(target);
    QDir().mkpath(out.filePath(QStringLiteral("tiles")));
    MessageModel *messages = mApplication->messages();
    const int before = messages->count();

    if (run == QLatin1String("export")) {
        QVERIFY(QMetaObject::invokeMethod(mRoot, "exportSkin", Q_ARG(QVariant, path)));
        // (packed on a worker thread)
        QTRY_VERIFY(!mApplication->archiveJob()->isRunning());
    } else {
        QVariant made;
        QVERIFY(QMetaObject::invokeMethod(mRoot, "dialog", Q_RETURN_ARG(QVariant, made),
            Q_ARG(QVariant, QStringLiteral("tileToolDialog"))));
        QObject *dialog = made.value<QObject *>();
        QVERIFY(dialog);
        const bool split = run == QLatin1String("split");
        const QStringList fields = split ? QStringList { QStringLiteral("splitTilText"), QStringLiteral("splitTargetText") }
                                         : QStringList { QStringLiteral("joinSourceText"), QStringLiteral("joinTilText") };
        const QStringList texts = split ? QStringList { mSkin + QStringLiteral("/res/keys.til"), path }
                                        : QStringList { path, out.filePath(QStringLiteral("joined.til")) };
        for (int i = 0; i < 2; ++i) {
            QObject *field = dialog->findChild<QObject *>(fields.at(i));
            QVERIFY2(field, qPrintable(fields.at(i)));
            field->setProperty("text", texts.at(i));
        }
        QVERIFY(QMetaObject::invokeMethod(dialog, split ? "split" : "join"));
    }

    QCOMPARE(messages->count(), before + 1);
    QCOMPARE(messages->latestSeverity(), severity);
    QVERIFY2(messages->latestText().contains(path), qPrintable(messages->latestText()));
    QQuickItem *bar = item("messageBar");
    QCOMPARE(bar->property("shown").toBool(), true);
    QCOMPARE(itemProperty("messageText", "text").toString(), messages->latestText());
    // a success goes at once, so that the test need not wait for it (set
    // only now: an export's message comes while the test waits for it)
    bar->setProperty("hideDelay", 1);
    if (severity == MessageModel::Error) {
        QTest::qWait(20);
        QVERIFY2(bar->property("shown").toBool(), "an error stays until it is closed");
        QVERIFY(clickItem(item("messageCloseButton")));
    }
    QTRY_VERIFY(!bar->property("shown").toBool());
    bar->setProperty("hideDelay", 6000);

    // the history lists it first
    QVERIFY(clickItem(item("messageHistoryButton")));
    QObject *history = dialog("messageHistory");
    QTRY_VERIFY(history->property("opened").toBool());
    QQuickItem *list = item("messageHistoryList");
    QVERIFY(list);
    QCOMPARE(list->property("count").toInt(), messages->count());
    QMetaObject::invokeMethod(history, "close");
    QTRY_VERIFY(!history->property("visible").toBool());
}

// An empty selection on the remove page means every key: the page names how
// many and removes nothing until the author agrees.
void TestMainWindow::removeAllAsksFirst()
{
    loadDemoCopy();
    int keys = 0;
    for (const QString &section : SkinConfig(mPanelFile).childGroups())
        keys += section.startsWith(QLatin1String("KEY")) ? 1 : 0;
    QVERIFY(keys > 10);
    QVERIFY2(showPage("removePage"), qPrintable(mFailure));
    QObject *removePage = page("removePage");
    QVERIFY2(selectOnly("removeSelectedKeys", {}), qPrintable(mFailure));
    QObject *question = removePage->findChild<QObject *>(QStringLiteral("removeAllDialog"));
    QVERIFY(question);

    QVERIFY(pressButton(removePage, QStringLiteral("Apply")));
    QTRY_VERIFY(question->property("opened").toBool());
    const QString asked = question->findChild<QObject *>(QStringLiteral("confirmText"))->property("text").toString();
    QVERIFY2(asked.contains(QString::number(keys)), qPrintable(asked));
    QVERIFY2(answer(question, "cancel"), qPrintable(mFailure));
    QCOMPARE(snapshot(mPanelFile), mOriginal);
    QVERIFY(!mPanel->canUndo());

    QVERIFY(pressButton(removePage, QStringLiteral("Apply")));
    QVERIFY2(answer(question, "ok"), qPrintable(mFailure));
    QTRY_VERIFY(mPanel->canUndo());
    const QStringList left = snapshot(mPanelFile).filter(QRegularExpression(QStringLiteral("^KEY")));
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
}

// Keys picked on one panel file mean nothing in another: opening it lets go
// of them, and the first click on a key shows that key's section as the new
// file has it, also for a key of the same name.
void TestMainWindow::anotherPanelFileForgetsTheKey()
{
    const QString other = mSkin + QStringLiteral("/port/other.ini");
    QFile::remove(other);
    QVERIFY(QFile::copy(mPanelFile, other));
    {
        SkinConfig config(other);
        config.setValue(QStringLiteral("KEY12/NOTE"), QStringLiteral("other"));
        QVERIFY(config.save());
    }
    loadDemoCopy();
    QVERIFY2(showPage("movePage"), qPrintable(mFailure));
    QVERIFY2(selectOnly("moveSelectedKeys", {QStringLiteral("KEY12")}), qPrintable(mFailure));
    QTRY_COMPARE(mPanel->currentKey(), QStringLiteral("KEY12"));
    // a reload announces the same file again: the picks stay
    QVERIFY(QMetaObject::invokeMethod(mRoot, "reload"));
    QTest::qWait(50);
    QCOMPARE(itemProperty("moveSelectedKeys", "text").toString(), QStringLiteral("KEY12"));
    QCOMPARE(mPanel->currentKey(), QStringLiteral("KEY12"));

    QMetaObject::invokeMethod(mRoot, "openPanelFile", Q_ARG(QVariant, other));
    QCOMPARE(mPanel->currentPanelFile(), other);
    QTRY_COMPARE(itemProperty("moveSelectedKeys", "text").toString(), QString());

    QVERIFY2(pickKey(QStringLiteral("KEY12")), qPrintable(mFailure));
    QTRY_COMPARE(mPanel->currentSectionName(), QStringLiteral("KEY12"));
    QTRY_VERIFY(mPanel->currentSectionProperties().contains(QStringLiteral("NOTE=other")));
    QTRY_COMPARE(itemProperty("moveSelectedKeys", "text").toString(), QStringLiteral("KEY12"));
    loadDemoCopy();
    QFile::remove(other);
}

// Types at the start of the text editor, as the author would.
bool TestMainWindow::typeInEditor(const QString &text)
{
    if (!clickItem(item("editorFlickable")))
        return false;
    QTest::keyClick(mWindow, Qt::Key_Home, Qt::ControlModifier);
    for (const QChar c : text)
        QTest::keyClick(mWindow, c.toLatin1());
    mFailure = QStringLiteral("typing did not reach the editor");
    return itemProperty("textEditor", "modified").toBool();
}

void TestMainWindow::unsavedTypingAsksFirst_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QByteArray>("button");

    QTest::newRow("tree click, Cancel keeps typing and file") << QStringLiteral("tree") << QByteArray("cancel");
    QTest::newRow("tree click, Discard switches") << QStringLiteral("tree") << QByteArray("discard");
    QTest::newRow("tree click, Save writes and switches") << QStringLiteral("tree") << QByteArray("save");
    QTest::newRow("File > Open, Cancel") << QStringLiteral("openPanelFile") << QByteArray("cancel");
    QTest::newRow("Quit, Cancel") << QStringLiteral("quit") << QByteArray("cancel");
    QTest::newRow("closing the window, Cancel") << QStringLiteral("close") << QByteArray("cancel");
}

// Unsaved typing, then something that would drop it: the author is asked.
void TestMainWindow::unsavedTypingAsksFirst()
{
    QFETCH(QString, trigger);
    QFETCH(QByteArray, button);
    loadDemoCopy();
    QTRY_VERIFY(editorText().contains(QStringLiteral("[PANEL]")));
    const QByteArray bytes = TestFiles::readAll(mPanelFile);
    QVERIFY2(typeInEditor(QStringLiteral("; mine")), qPrintable(mFailure));

    const QString gen = mSkin + QStringLiteral("/port/gen.ini");
    auto clickGen = [&] {
        QMetaObject::invokeMethod(item("fileTree"), "accepted", Q_ARG(QUrl, QUrl::fromLocalFile(gen)),
                                  Q_ARG(QString, QStringLiteral("ini")));
    };
    if (trigger == QLatin1String("tree"))
        clickGen();
    else if (trigger == QLatin1String("close"))
        mWindow->close();
    else if (trigger == QLatin1String("quit"))
        QVERIFY(QMetaObject::invokeMethod(mRoot, "quit"));
    else
        QVERIFY(QMetaObject::invokeMethod(mRoot, "openPanelFile", Q_ARG(QVariant, gen)));
    QObject *question = mRoot->findChild<QObject *>(QStringLiteral("unsavedChangesDialog"));
    QVERIFY2(answer(question, button.constData()), qPrintable(mFailure));

    const bool switches = button != "cancel";
    QVERIFY(mWindow->isVisible());
    QCOMPARE(mPanel->currentPanelFile(), switches ? gen : mPanelFile);
    QCOMPARE(TestFiles::readAll(mPanelFile), button == "save" ? QByteArray("; mine") + bytes : bytes);
    if (switches) {
        QTRY_VERIFY(editorText().contains(QStringLiteral("OFFSET")));
        QCOMPARE(itemProperty("editorCaption", "text").toString(), QStringLiteral("port/gen.ini"));
    } else {
        QVERIFY(editorText().startsWith(QStringLiteral("; mine")));
        QCOMPARE(itemProperty("editorCaption", "text").toString(), QStringLiteral("port/py_26.ini *"));
        clickGen();
        QVERIFY2(answer(question, "discard"), qPrintable(mFailure));
    }
    QVERIFY(TestFiles::writeFile(mPanelFile, bytes));
    loadDemoCopy();
}

// A clean editor takes what another program or a key edit wrote; its cursor
// stays on the same text and the view does not scroll.
void TestMainWindow::cleanEditorFollowsTheDisk()
{
    loadDemoCopy();
    QTRY_VERIFY(editorText().contains(QStringLiteral("[PANEL]")));
    const QByteArray bytes = TestFiles::readAll(mPanelFile);
    QQuickItem *area = item("editorTextArea");
    QQuickItem *flickable = item("editorFlickable");
    flickable->setProperty("contentY", 100);
    int cursor = -1; // where the author clicked, in view
    QVERIFY(QMetaObject::invokeMethod(area, "positionAt", Q_RETURN_ARG(int, cursor), Q_ARG(qreal, 20),
                                      Q_ARG(qreal, 130)));
    area->setProperty("cursorPosition", cursor);
    const QString atCursor = editorText().mid(cursor, 20);
    auto stays = [&] {
        return flickable->property("contentY").toReal() == 100.0
            && editorText().mid(area->property("cursorPosition").toInt(), 20) == atCursor;
    };

    // as sed -i does: a new file in place of the old one
    QVERIFY(TestFiles::writeFile(mPanelFile + QStringLiteral(".sed"),
                                 QByteArray(bytes).replace("[PANEL]", "[PANEL]\r\n; outside")));
    QVERIFY(QFile::remove(mPanelFile) && QFile::rename(mPanelFile + QStringLiteral(".sed"), mPanelFile));
    QTRY_VERIFY(editorText().contains(QStringLiteral("; outside")));
    QVERIFY(stays());

    const QRect view = ValueText::parseRect(valueOf(mPanelFile, QStringLiteral("KEY12/VIEW_RECT")));
    const QString moved = QStringLiteral("VIEW_RECT=") + ValueText::formatRect(view.translated(3, 0));
    mPanel->moveKeys({ QStringLiteral("KEY12") }, 3, 0);
    QTRY_VERIFY(editorText().contains(moved));
    QVERIFY(stays());
    QCOMPARE(itemProperty("textEditor", "modified").toBool(), false);
    mPanel->undo();
    QVERIFY(TestFiles::writeFile(mPanelFile, bytes));
    QTRY_VERIFY(!editorText().contains(QStringLiteral("; outside")));
}

// Typing in the panel file: a click on that file keeps it; a key edit asks,
// and Reload takes the key edit.
void TestMainWindow::editedPanelFileAsksAfterAKeyEdit()
{
    loadDemoCopy();
    QTRY_VERIFY(editorText().contains(QStringLiteral("[PANEL]")));
    QVERIFY2(typeInEditor(QStringLiteral("; mine")), qPrintable(mFailure));
    QVERIFY(QMetaObject::invokeMethod(item("fileTree"), "accepted", Q_ARG(QUrl, QUrl::fromLocalFile(mPanelFile)),
                                      Q_ARG(QString, QStringLiteral("ini"))));
    // (the question is made when first asked)
    QObject *question = mRoot->findChild<QObject *>(QStringLiteral("unsavedChangesDialog"));
    QVERIFY(!question || !question->property("visible").toBool());
    QVERIFY(editorText().startsWith(QStringLiteral("; mine")));
    QVERIFY(itemProperty("textEditor", "modified").toBool());

    const QRect view = ValueText::parseRect(valueOf(mPanelFile, QStringLiteral("KEY12/VIEW_RECT")));
    const QString moved = ValueText::formatRect(view.translated(3, 0));
    mPanel->moveKeys({ QStringLiteral("KEY12") }, 3, 0);
    QVERIFY(editorText().startsWith(QStringLiteral("; mine")));
    QVERIFY2(answer(mRoot->findChild<QObject *>(QStringLiteral("fileChangedDialog")), "reload"), qPrintable(mFailure));
    QVERIFY(editorText().contains(QStringLiteral("VIEW_RECT=") + moved));
    QVERIFY(!editorText().contains(QStringLiteral("; mine")));
    QCOMPARE(valueOf(mPanelFile, QStringLiteral("KEY12/VIEW_RECT")), moved);
}

// The choice in the settings applies at once, to the menus of the running
// window.
void TestMainWindow::languageSwitchRetranslatesTheWindow()
{
    QObject *fileMenu = menu("fileMenu");
    QObject *recentMenu = menu("recentMenu");
    QVERIFY(fileMenu && recentMenu);
    QObject *rpSettings = settings();
    QCOMPARE(rpSettings->property("language").toString(), QStringLiteral("zh"));
    QCOMPARE(fileMenu->property("title").toString(), QStringLiteral("文件(&F)"));

    rpSettings->setProperty("language", QStringLiteral("en"));
    QCOMPARE(fileMenu->property("title").toString(), QStringLiteral("&File"));
    QCOMPARE(recentMenu->property("title").toString(), QStringLiteral("Open &Recent"));
    QCOMPARE(mWindow->title(), mPanelFile + QStringLiteral(" — Quillmark Studio"));

    // the standard buttons of the pages and dialogs too
    QVERIFY(showPage("movePage"));
    QVERIFY2(pressButton(page("movePage"), QStringLiteral("Cancel")), qPrintable(mFailure));

    rpSettings->setProperty("language", QStringLiteral("zh"));
    QCOMPARE(fileMenu->property("title").toString(), QStringLiteral("文件(&F)"));
    QCOMPARE(recentMenu->property("title").toString(), QStringLiteral("最近打开(&R)"));
    QVERIFY(showPage("movePage"));
    QVERIFY2(pressButton(page("movePage"), QStringLiteral("Cancel")), qPrintable(mFailure));
}

// The desktop's order, and the product named once: X11 appends nothing to a
// title that already ends with " — " and the display name.
void TestMainWindow::titleNamesTheFileFirst()
{
    loadDemoCopy();
    const QString ending = QStringLiteral(" — ") + QGuiApplication::applicationDisplayName();
    QCOMPARE(mWindow->title(), mPanelFile + ending);
    QCOMPARE(mWindow->title().count(QStringLiteral("Quillmark Studio")), 1);
}

void TestMainWindow::recentMenuListsTenAndGreysMissing()
{
    loadDemoCopy();
    QObject *rpSettings = settings();
    // eleven files opened, every other one gone since, the demo copy the latest
    QStringList gone;
    for (int i = 0; i < 11; ++i) {
        const QString path = mDir.filePath(QStringLiteral("recent%1.ini").arg(i));
        if (i % 2) {
            gone << path;
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QMetaObject::invokeMethod(rpSettings, "addRecentPanelFile", Q_ARG(QString, path)));
    }
    QVERIFY(QMetaObject::invokeMethod(rpSettings, "addRecentPanelFile", Q_ARG(QString, mPanelFile)));

    QObject *recent = menu("recentMenu");
    QVERIFY(recent);
    QVERIFY(QMetaObject::invokeMethod(recent, "aboutToShow"));
    QTRY_COMPARE(recent->property("count").toInt(), 10);
    for (int i = 0; i < 10; ++i) {
        QQuickItem *entry = nullptr;
        QVERIFY(
            QMetaObject::invokeMethod(recent, "itemAt", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, i)));
        QVERIFY(entry);
        const QString text = entry->property("text").toString();
        const bool missing = std::any_of(
            gone.cbegin(), gone.cend(), [&](const QString &path) { return text.endsWith(path); });
        QVERIFY2(entry->property("enabled").toBool() != missing, qPrintable(text));
    }
    QQuickItem *first = nullptr;
    QMetaObject::invokeMethod(recent, "itemAt", Q_RETURN_ARG(QQuickItem *, first), Q_ARG(int, 0));
    QVERIFY(first->property("text").toString().endsWith(mPanelFile));
    QVERIFY(first->property("text").toString().startsWith(QStringLiteral("&1")));

    // choosing an entry opens it
    QQuickItem *second = nullptr;
    QMetaObject::invokeMethod(recent, "itemAt", Q_RETURN_ARG(QQuickItem *, second), Q_ARG(int, 1));
    QVERIFY(second->property("enabled").toBool());
    QVERIFY(QMetaObject::invokeMethod(second, "triggered"));
    QCOMPARE(mPanel->currentPanelFile(), mDir.filePath(QStringLiteral("recent10.ini")));
    loadDemoCopy();
}

void TestMainWindow::mnemonicsAreUniquePerMenu_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("Chinese") << "zh";
    QTest::newRow("English") << "en";
}

// Every menu entry has a mnemonic, and no two entries of one menu (nor two
// menus of the bar) share one.
void TestMainWindow::mnemonicsAreUniquePerMenu()
{
    QFETCH(QString, language);
    settings()->setProperty("language", language);
    static const QRegularExpression mnemonic(QStringLiteral("&([^&])"));
    auto letterOf = [](const QString &text) {
        QString plain = text;
        plain.replace(QStringLiteral("&&"), QString());
        const QRegularExpressionMatch match = mnemonic.match(plain);
        return match.hasMatch() ? match.captured(1).toUpper() : QString();
    };

    QStringList problems;
    QStringList titles;
    const char *const menus[] = { "fileMenu", "editMenu", "toolMenu", "textEditorMenu", "aboutMenu" };
    for (const char *name : menus) {
        QObject *found = menu(name);
        QVERIFY2(found, name);
        titles << letterOf(found->property("title").toString());
        QStringList letters;
        for (int i = 0; i < found->property("count").toInt(); ++i) {
            QQuickItem *entry = nullptr;
            QMetaObject::invokeMethod(found, "itemAt", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, i));
            // separators carry no text; File › Recent's entries are numbered
            if (!entry || !entry->property("text").isValid())
                continue;
            const QString text = entry->property("text").toString();
            const QString letter = letterOf(text);
            if (letter.isEmpty())
                problems << QLatin1String(name) + QStringLiteral(": no mnemonic in ") + text;
            else if (letters.contains(letter))
                problems << QLatin1String(name) + QStringLiteral(": ") + letter
                        + QStringLiteral(" twice, in ") + text;
            letters << letter;
        }
        if (letters.size() < 2)
            problems << QLatin1String(name) + QStringLiteral(": no entries found");
    }
    QCOMPARE(titles.removeDuplicates(), 0);
    settings()->setProperty("language", QStringLiteral("zh"));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestMainWindow::toolTipsCarryNoMnemonics_data()
{
    mnemonicsAreUniquePerMenu_data();
}

// "设置(&S)" is "设置" on its tool button, "&Settings" is "Settings".
void TestMainWindow::toolTipsCarryNoMnemonics()
{
    QFETCH(QString, language);
    settings()->setProperty("language", language);
    QStringList tips;
    QList<QQuickItem *> queue { mWindow->contentItem() };
    while (!queue.isEmpty()) {
        QQuickItem *candidate = queue.takeFirst();
        const QVariant tip = candidate->property("toolTipText");
        if (tip.isValid() && !tip.toString().isEmpty())
            tips << tip.toString();
        queue += candidate->childItems();
    }
    settings()->setProperty("language", QStringLiteral("zh"));
    QVERIFY2(tips.size() >= 10, qPrintable(tips.join(QLatin1Char('|'))));
    static const QRegularExpression leftover(QStringLiteral("[&()（）]|\\.\\.\\.$"));
    for (const QString &tip : qAsConst(tips))
        QVERIFY2(!tip.contains(leftover), qPrintable(tip));
    QVERIFY(
        tips.contains(language == QLatin1String("zh") ? QStringLiteral("设置") : QStringLiteral("Settings")));
}

// The file manager hands a skin archive over on the command line: the window
// asks, Cancel keeps everything as it was, Import imports.
void TestMainWindow::archiveFromTheCommandLineIsOffered()
{
    loadDemoCopy();
    const QString workingDirectory = settings()->property("skinWorkingDirectory").toString();
    QVERIFY(QDir(workingDirectory).removeRecursively());
    QVERIFY(QDir().mkpath(workingDirectory));
    const QString archive = mDir.filePath(QStringLiteral("offered.bds"));
    QVERIFY(Utils::instance()->zip(mSkin, archive));
    QObject *offer = dialog("offerImportDialog");
    QVERIFY(offer);

    QVERIFY(QMetaObject::invokeMethod(mRoot, "offerImport", Q_ARG(QVariant, archive)));
    QVERIFY2(answer(offer, "cancel"), qPrintable(mFailure));
    QCOMPARE(mPanel->currentPanelFile(), mPanelFile);
    QVERIFY(QDir(workingDirectory).isEmpty());

    QVERIFY(QMetaObject::invokeMethod(mRoot, "offerImport", Q_ARG(QVariant, archive)));
    const QString asked = offer->findChild<QObject *>(QStringLiteral("confirmText"))->property("text").toString();
    QVERIFY2(asked.contains(archive), qPrintable(asked));
    QVERIFY2(answer(offer, "ok"), qPrintable(mFailure));
    QTRY_COMPARE(mPanel->currentPanelFile(), workingDirectory + QStringLiteral("/port/py_26.ini"));
    loadDemoCopy();
}

void TestMainWindow::pagesShareThePreviewSelection_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("selection");
    QTest::newRow("move") << "movePage"
                          << "moveSelectedKeys";
    QTest::newRow("adjust") << "adjustPage"
                            << "adjustSelectedKeys";
    QTest::newRow("align") << "alignPage"
                           << "alignSelectedKeys";
    QTest::newRow("remove") << "removePage"
                            << "removeSelectedKeys";
}

// A page opens with the keys selected on the preview, and what is picked
// for the page shows selected on the preview.
void TestMainWindow::pagesShareThePreviewSelection()
{
    QFETCH(QString, page);
    QFETCH(QString, selection);
    QQuickItem *preview = item("panelImage");
    QVERIFY2(pickKey(QStringLiteral("KEY11")), qPrintable(mFailure));
    QVERIFY2(pickKey(QStringLiteral("KEY21"), Qt::ControlModifier), qPrintable(mFailure));
    QTRY_COMPARE(preview->property("selectedKeys").toStringList(),
        (QStringList { QStringLiteral("KEY11"), QStringLiteral("KEY21") }));

    QVERIFY2(showPage(page.toLatin1().constData()), qPrintable(mFailure));
    const QByteArray name = selection.toLatin1();
    QCOMPARE(itemProperty(name.constData(), "text").toString(), QStringLiteral("KEY11 KEY21"));

    // a click while the page is shown toggles, on the page and the preview
    QVERIFY2(pickKey(QStringLiteral("KEY12")), qPrintable(mFailure));
    QTRY_COMPARE(itemProperty(name.constData(), "text").toString(), QStringLiteral("KEY11 KEY21 KEY12"));
    QCOMPARE(preview->property("selectedKeys").toStringList(),
        (QStringList { QStringLiteral("KEY11"), QStringLiteral("KEY21"), QStringLiteral("KEY12") }));
    QVERIFY2(pickKey(QStringLiteral("KEY11")), qPrintable(mFailure));
    QTRY_COMPARE(preview->property("selectedKeys").toStringList(),
        (QStringList { QStringLiteral("KEY21"), QStringLiteral("KEY12") }));
    // and Esc on the preview empties the page's selection too
    QTest::keyClick(mWindow, Qt::Key_Escape);
    QTRY_COMPARE(itemProperty(name.constData(), "text").toString(), QString());
}

void TestMainWindow::loadDemoCopy()
{
    QMetaObject::invokeMethod(mRoot, "openPanelFile", Q_ARG(QVariant, mPanelFile));
    QCOMPARE(mPanel->currentPanelFile(), mPanelFile);
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty(relocatedVariable)) {
        QCoreApplication app(argc, argv);
        QTemporaryDir dir;
        if (!dir.isValid())
            return 1;
        const QString copy = dir.filePath(QStringLiteral("tst_mainwindow"));
        if (!QFile::copy(QCoreApplication::applicationFilePath(), copy)) {
            qWarning("cannot copy the test into %s", qPrintable(dir.path()));
            return 1;
        }
        // a portable copy, as the build tree is: settings and log next to it
        QFile marker(dir.filePath(QStringLiteral("quillmark.portable")));
        if (!marker.open(QIODevice::WriteOnly))
            return 1;
        marker.close();
        QDir().mkpath(dir.filePath(QStringLiteral("home")));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(relocatedVariable), dir.path());
        environment.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(copy, app.arguments().mid(1));
        if (!process.waitForFinished(-1))
            return 1;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 1;
    }

    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
