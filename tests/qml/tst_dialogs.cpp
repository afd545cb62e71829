// The tool and settings dialogs in the real editor, offscreen: each menu item
// opens its dialog, and what the author types reaches the tools, whose files
// land in a temporary directory.
#include "testfiles.h"
#include "testpaths.h"

#include "app/application.h"
#include "app/messagehandler.h"
#include "app/settings.h"
#include "panel/panel.h"
#include "skin/skinconfig.h"
#include "tools/fontresgenerator.h"
#include "tools/innerrecttool.h"

#include <QColor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickImageProvider>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

// Takes the addresses the program hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void startsWithoutQmlMessages();
    void dialogsAreMadeWhenFirstOpened_data();
    void dialogsAreMadeWhenFirstOpened();
    void everyDialogFitsAndSaysNothing_data();
    void everyDialogFitsAndSaysNothing();
    void rowEditorTitleSaysWhichRow();
    void menuItemOpensDialog_data();
    void menuItemOpensDialog();
    void newPanelFileAsksForTheTarget();
    void helpOpensTheUserGuide();
    void helpNeverWritesThroughALink_data();
    void helpNeverWritesThroughALink();
    void dialogsSpeakChinese_data();
    void dialogsSpeakChinese();

    void createWithoutTargetDoesNothing();
    void createWritesTheFields();
    void rowEditorStoresTheRow();
    void convertUsesTheFields();
    void scaleArguments_data();
    void scaleArguments();
    void splitAndJoin();
    void innerRectSave();
    void innerRectHandlesStayInside();
    void generateUsesTheFields();
    void badInputIsExplained_data();
    void badInputIsExplained();

    void switchesWriteThrough_data();
    void switchesWriteThrough();
    void aboutLinksOpenLicences_data();
    void aboutLinksOpenLicences();
    void intervalField_data();
    void intervalField();
    void debugButtonSwitchesLevel();
    void workingDirectoryNoticeCancel();
    void typedWorkingDirectoryIsStoredWhenFinished();
    void uiFontIsStored();
    void colorButtonStoresThePick();
    void colorPickerText_data();
    void colorPickerText();

private:
    QObject *find(const char *name, QObject *in = nullptr) const;
    QQuickItem *item(const char *name, QObject *in) const;
    bool openDialog(const char *name);
    void closeDialog(QObject *dialog);
    bool click(QQuickItem *item);
    bool waitForFrame();
    void screenshot(const QString &name);
    // True when the field then holds `shown` (by default what was typed).
    bool typeInto(QQuickItem *field, const QString &text, const QString &shown = QString());
    bool setText(QObject *dialog, const char *name, const QString &text);
    bool typePanelForm(QObject *dialog);
    // Chooses Help and returns the addresses handed to the desktop.
    QList<QUrl> triggerHelp();
    QString path(const QString &name) const { return mDir.filePath(name); }
    static bool writeSheet(const QString &pngPath, const QSize &size);

    QTemporaryDir mDir;
    std::unique_ptr<Application> mApp;
    QQuickWindow *mWindow = nullptr;
};

namespace {

// Depth-first search through object children, visual children and the parts
// of popups (whose content is not among their object children).
QObject *search(QObject *object, const QString &name, QSet<QObject *> &seen)
{
    if (!object || seen.contains(object))
        return nullptr;
    seen.insert(object);
    if (object->objectName() == name)
        return object;
    for (QObject *child : object->children())
        if (QObject *found = search(child, name, seen))
            return found;
    if (auto *item = qobject_cast<QQuickItem *>(object))
        for (QQuickItem *child : item->childItems())
            if (QObject *found = search(child, name, seen))
                return found;
    for (const char *part : {"contentItem", "header", "footer"}) {
        const int index = object->metaObject()->indexOfProperty(part);
        if (index >= 0)
            if (QObject *found = search(object->property(part).value<QObject *>(), name, seen))
                return found;
    }
    return nullptr;
}

// Warnings and errors from the QML scene, gathered while the tests run.
QStringList qmlMessages;
QtMessageHandler previousHandler = nullptr;

void catchQmlMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool fromQml = qstrcmp(context.category, "qml") == 0 || qstrcmp(context.category, "js") == 0
        || message.contains(QLatin1String("qrc:/")) || QByteArray(context.file).startsWith("qrc:/");
    if ((type == QtWarningMsg || type == QtCriticalMsg) && fromQml)
        qmlMessages.append(message);
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

// The visible controls and texts below `content` that reach outside it,
// except those inside something that scrolls.
static QStringList cutOff(QQuickItem *content)
{
    QStringList found;
    const QRectF area = QRectF(content->mapToScene(QPointF(0, 0)), content->size()).adjusted(-1, -1, 1, 1);
    QList<QQuickItem *> queue = content->childItems();
    while (!queue.isEmpty()) {
        QQuickItem *item = queue.takeFirst();
        if (!item->isVisible() || item->inherits("QQuickFlickable"))
            continue;
        if ((item->inherits("QQuickControl") || item->inherits("QQuickText")) && item->width() > 0
            && item->height() > 0) {
            const QRectF rect(item->mapToScene(QPointF(0, 0)), item->size());
            if (!area.contains(rect)) {
                found.append(QStringLiteral("%1 \"%2\"")
                                 .arg(QLatin1String(item->metaObject()->className()),
                                     item->property("text").toString().left(30)));
                continue;
            }
        }
        queue += item->childItems();
    }
    return found;
}

// Every flickable below `root` whose content is taller than itself shows a
// vertical scroll bar.
static bool scrollBarsShown(QQuickItem *root)
{
    QList<QQuickItem *> queue { root };
    QList<QQuickItem *> overflowing;
    QList<QQuickItem *> bars;
    while (!queue.isEmpty()) {
        QQuickItem *item = queue.takeFirst();
        if (!item->isVisible())
            continue;
        if (item->inherits("QQuickFlickable")
            && item->property("contentHeight").toReal() > item->height() + 1)
            overflowing.append(item);
        if (item->inherits("QQuickScrollBar") && item->property("orientation").toInt() == Qt::Vertical
            && item->opacity() > 0 && item->property("size").toReal() < 1)
            bars.append(item);
        queue += item->childItems();
    }
    for (QQuickItem *flickable : qAsConst(overflowing)) {
        const QRectF area(flickable->mapToScene(QPointF(0, 0)), flickable->size());
        const bool shown = std::any_of(bars.cbegin(), bars.cend(), [&area](QQuickItem *bar) {
            return area.adjusted(-20, -1, 20, 1)
                .contains(QRectF(bar->mapToScene(QPointF(0, 0)), bar->size()));
        });
        if (!shown)
            return false;
    }
    return true;
}

QObject *TestDialogs::find(const char *name, QObject *in) const
{
    QSet<QObject *> seen;
    QObject *found = search(in ? in : static_cast<QObject *>(mWindow), QLatin1String(name), seen);
    if (found || in)
        return found;
    // the menus make their entries when first opened
    for (const char *menu : { "fileMenu", "editMenu", "toolMenu", "textEditorMenu", "aboutMenu" }) {
        QObject *top = mWindow->findChild<QObject *>(QLatin1String(menu));
        if (top && top->property("filled").isValid() && !top->property("filled").toBool()) {
            QMetaObject::invokeMethod(top, "fill");
            seen.clear();
            if ((found = search(mWindow, QLatin1String(name), seen)))
                return found;
        }
    }
    // the window makes a dialog when it is first needed
    QVariant made;
    QMetaObject::invokeMethod(mWindow, "dialog", Q_RETURN_ARG(QVariant, made),
        Q_ARG(QVariant, QString::fromLatin1(name)));
    return made.value<QObject *>();
}

QQuickItem *TestDialogs::item(const char *name, QObject *in) const
{
    return qobject_cast<QQuickItem *>(find(name, in));
}

bool TestDialogs::openDialog(const char *name)
{
    QObject *dialog = find(name);
    if (!dialog)
        return false;
    QMetaObject::invokeMethod(dialog, "open");
    return QTest::qWaitFor([dialog] { return dialog->property("opened").toBool(); }, 3000);
}

void TestDialogs::closeDialog(QObject *dialog)
{
    QMetaObject::invokeMethod(dialog, "close");
    QVERIFY(QTest::qWaitFor([dialog] { return !dialog->property("visible").toBool(); }, 3000));
}

// Scrolls every flickable around the item so that the item is in view.
static void scrollIntoView(QQuickItem *target)
{
    for (QQuickItem *p = target->parentItem(); p; p = p->parentItem()) {
        if (!p->inherits("QQuickFlickable"))
            continue;
        auto *content = p->property("contentItem").value<QQuickItem *>();
        const qreal top = target->mapToItem(content, QPointF(0, 0)).y();
        const qreal view = p->height();
        const qreal contentY = p->property("contentY").toReal();
        if (top < contentY || top + target->height() > contentY + view)
            p->setProperty("contentY", qMax<qreal>(0, top + target->height() - view + 4));
    }
}

// On request (QUILLMARK_DIALOG_SCREENSHOTS names a folder), a picture of the
// window for the documentation; nothing is written otherwise.
void TestDialogs::screenshot(const QString &name)
{
    const QString folder = qEnvironmentVariable("QUILLMARK_DIALOG_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QTest::qWait(400);
    QVERIFY(mWindow->grabWindow().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
}

// Layouts place their items when the window polishes them for the next
// frame: positions are read after one.
bool TestDialogs::waitForFrame()
{
    bool rendered = false;
    const auto connection = connect(mWindow, &QQuickWindow::frameSwapped, this, [&rendered] { rendered = true; });
    mWindow->update();
    const bool done = QTest::qWaitFor([&rendered] { return rendered; }, 1000);
    disconnect(connection);
    return done;
}

// A real mouse click in the middle of the item.
bool TestDialogs::click(QQuickItem *target)
{
    if (!target || !target->isVisible() || !target->isEnabled())
        return false;
    waitForFrame();
    scrollIntoView(target);
    waitForFrame();
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(mWindow, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    return true;
}

// Types into a field as the author does: focus, select all, keys.
bool TestDialogs::typeInto(QQuickItem *field, const QString &text, const QString &shown)
{
    if (!field)
        return false;
    // keys go to the active window only
    mWindow->requestActivate();
    if (!QTest::qWaitForWindowActive(mWindow))
        return false;
    field->forceActiveFocus();
    QMetaObject::invokeMethod(field, "selectAll");
    if (text.isEmpty())
        QTest::keyClick(mWindow, Qt::Key_Backspace);
    else
        for (const QChar c : text)
            QTest::keyClick(mWindow, c.toLatin1());
    return field->property("text").toString() == (shown.isNull() ? text : shown);
}

bool TestDialogs::setText(QObject *dialog, const char *name, const QString &text)
{
    QObject *field = find(name, dialog);
    return field && field->setProperty("text", text);
}

// A panel 1020 by 400 with 10 on the left and right: 1000 for the keys.
bool TestDialogs::typePanelForm(QObject *dialog)
{
    return typeInto(item("panelWidth", dialog), QStringLiteral("1020"))
        && typeInto(item("panelHeight", dialog), QStringLiteral("400"))
        && typeInto(item("leftPadding", dialog), QStringLiteral("10"))
        && typeInto(item("rightPadding", dialog), QStringLiteral("10"));
}

bool TestDialogs::writeSheet(const QString &pngPath, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(200, 40, 40));
    return image.save(pngPath);
}

void TestDialogs::initTestCase()
{
    QVERIFY(mDir.isValid());
    // the program's own directory below the home, and the log, stay in the
    // temporary directory
    qputenv("HOME", QFile::encodeName(path(QStringLiteral("home"))));
    MessageHandler::setLogFilePath(path(QStringLiteral("quillmark.log")));
    QVERIFY(QDir().mkpath(path(QStringLiteral("tmp"))));
    qputenv("TMPDIR", QFile::encodeName(path(QStringLiteral("tmp"))));

    static int argc = 1;
    static char name[] = "quillmark";
    static char *argv[] = {name, nullptr};
    mApp = std::make_unique<Application>(argc, argv);
    QVERIFY(mApp->start({QStringLiteral("quillmark")}));
    mWindow = qobject_cast<QQuickWindow *>(mApp->rootObject());
    QVERIFY(mWindow);
    // the settings dialog writes to a store of its own in the temporary
    // directory, never to the file next to the test
    auto *settings = new Settings(path(QStringLiteral("config/settings.ini")), mApp->engine());
    mApp->engine()->rootContext()->setContextProperty(QStringLiteral("rpSettings"), settings);
    // which the editor hands to the panel as it does its own
    Application::connectSettings(settings, Panel::instance(), settings);
    if (!qEnvironmentVariableIsEmpty("QUILLMARK_DIALOG_SCREENSHOTS")) {
        // the pictures show the dialogs over the demo skin
        mWindow->resize(1200, 800);
        const QString demo = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/port/py_26.ini");
        QMetaObject::invokeMethod(mWindow, "openPanelFile", Q_ARG(QVariant, demo));
    }
    QVERIFY(QTest::qWaitForWindowExposed(mWindow));
    previousHandler = qInstallMessageHandler(catchQmlMessages);
}

void TestDialogs::cleanupTestCase()
{
    mApp.reset();
}

// The start-up went to the log before the test could listen.
void TestDialogs::startsWithoutQmlMessages()
{
    QFile log(path(QStringLiteral("quillmark.log")));
    QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList found;
    for (const QString &line : QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String("qrc:/"))
            && (line.startsWith(QLatin1String("[Warning]")) || line.startsWith(QLatin1String("[Critical]"))))
            found.append(line);
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

// Nothing but the window is made at start; a dialog is made by its menu
// item or action, opens, and stays for the next time.
void TestDialogs::dialogsAreMadeWhenFirstOpened_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("settings") << "settingsAction" << "settingsDialog";
    QTest::newRow("tile tool") << "tileToolMenuItem" << "tileToolDialog";
    QTest::newRow("shortcuts") << "shortcutsMenuItem" << "shortcutsDialog";
}

void TestDialogs::dialogsAreMadeWhenFirstOpened()
{
    QFETCH(QString, trigger);
    QFETCH(QString, dialog);
    QVERIFY(!mWindow->findChild<QObject *>(dialog));
    QObject *action = find(trigger.toLatin1().constData());
    QVERIFY2(action, qPrintable(trigger));
    QVERIFY(QMetaObject::invokeMethod(action, "triggered"));
    QObject *popup = mWindow->findChild<QObject *>(dialog);
    QVERIFY2(popup, qPrintable(dialog));
    QVERIFY(QTest::qWaitFor([popup] { return popup->property("opened").toBool(); }, 3000));
    closeDialog(popup);
    QVERIFY(QMetaObject::invokeMethod(action, "triggered"));
    QCOMPARE(mWindow->findChildren<QObject *>(dialog).size(), 1);
    QVERIFY(QTest::qWaitFor([popup] { return popup->property("opened").toBool(); }, 3000));
    closeDialog(popup);
}

void TestDialogs::everyDialogFitsAndSaysNothing_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("hasClose");
    QTest::addColumn<int>("windowHeight");
    for (const int height : { 420, 800 }) {
        const QByteArray at = " at " + QByteArray::number(height);
        QTest::newRow("settings" + at) << "settingsDialog" << false << height;
        QTest::newRow("about" + at) << "aboutDialog" << false << height;
        QTest::newRow("shortcuts" + at) << "shortcutsDialog" << true << height;
        QTest::newRow("panel create" + at) << "panelCreateDialog" << true << height;
        QTest::newRow("row editor" + at) << "rowEditor" << false << height;
        QTest::newRow("font resources" + at) << "fontResourceDialog" << true << height;
        QTest::newRow("resolution convert" + at) << "resolutionConvertDialog" << true << height;
        QTest::newRow("panel scale" + at) << "panelScaleDialog" << true << height;
        QTest::newRow("tile tool" + at) << "tileToolDialog" << true << height;
        QTest::newRow("inner rect" + at) << "innerRectDialog" << true << height;
        QTest::newRow("message history" + at) << "messageHistory" << false << height;
        Q_UNUSED(at)
    }
}

// Each dialog opens without a word from QML, and its buttons stay inside
// the window however low the window is.
void TestDialogs::everyDialogFitsAndSaysNothing()
{
    QFETCH(QString, dialog);
    QFETCH(bool, hasClose);
    QFETCH(int, windowHeight);
    const QSize size = mWindow->size();
    const auto restore = qScopeGuard([this, size] { mWindow->resize(size); });
    mWindow->resize(900, windowHeight);
    QTRY_COMPARE(mWindow->height(), windowHeight);
    qmlMessages.clear();

    QObject *popup = find(dialog.toLatin1().constData());
    QVERIFY2(popup, qPrintable(dialog));
    QVERIFY(openDialog(dialog.toLatin1().constData()));
    // a failed check leaves no dialog open for the next one
    const auto closeAnyway = qScopeGuard([popup] { QMetaObject::invokeMethod(popup, "close"); });
    QVERIFY(waitForFrame());
    QVERIFY(waitForFrame());

    // nothing is cut off: what does not fit scrolls
    auto *content = popup->property("contentItem").value<QQuickItem *>();
    QVERIFY(content);
    const QStringList cut = cutOff(content);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
    QVERIFY2(scrollBarsShown(content), "content scrolls without a visible scroll bar");

    auto *footer = popup->property("footer").value<QQuickItem *>();
    if (!footer) {
        closeDialog(popup);
        QVERIFY2(qmlMessages.isEmpty(), qPrintable(qmlMessages.join(QLatin1Char('\n'))));
        return;
    }
    QVERIFY(footer->isVisible());
    const QRectF inWindow = QRectF(footer->mapToScene(QPointF(0, 0)), footer->size());
    QVERIFY2(inWindow.top() >= 0 && inWindow.bottom() <= mWindow->height() + 0.5,
        qPrintable(QStringLiteral("buttons at %1..%2 in a window %3 high")
                       .arg(inWindow.top())
                       .arg(inWindow.bottom())
                       .arg(mWindow->height())));
    if (hasClose) {
        const QString close = QCoreApplication::translate("QPlatformTheme", "Close");
        bool found = false;
        const int count = footer->property("count").toInt();
        for (int i = 0; i < count; ++i) {
            QQuickItem *button = nullptr;
            QMetaObject::invokeMethod(footer, "itemAt", Q_RETURN_ARG(QQuickItem *, button), Q_ARG(int, i));
            found = found
                || (button && button->isVisible()
                    && button->property("text").toString().remove(QLatin1Char('&')) == close);
        }
        QVERIFY2(found, "no Close button");
    }
    closeDialog(popup);
    QVERIFY2(qmlMessages.isEmpty(), qPrintable(qmlMessages.join(QLatin1Char('\n'))));
}

// The add button appends a row at once; the editor then edits a row, says
// which, and can be left without a change.
void TestDialogs::rowEditorTitleSaysWhichRow()
{
    QObject *dialog = find("panelCreateDialog");
    QVERIFY(openDialog("panelCreateDialog"));
    QObject *editor = find("rowEditor", dialog);
    QVERIFY(editor);
    const auto closeAnyway = qScopeGuard([dialog, editor] {
        QMetaObject::invokeMethod(editor, "close");
        QMetaObject::invokeMethod(dialog, "close");
    });
    const int rows = dialog->property("rows").toList().size();
    QVERIFY(rows >= 2);
    const QVariant second = dialog->property("rows").toList().at(1);
    QVERIFY(click(item("row1", dialog)));
    QVERIFY(QTest::qWaitFor([editor] { return editor->property("opened").toBool(); }, 3000));
    QCOMPARE(editor->property("title").toString(),
        QCoreApplication::translate("RowEditorDialog", "Edit row %1").arg(2));
    QVERIFY(typeInto(item("rowKeysNumber", editor), QStringLiteral("7")));
    QVERIFY(click(item("rowCancelButton", editor)));
    QVERIFY(QTest::qWaitFor([editor] { return !editor->property("visible").toBool(); }, 3000));
    QCOMPARE(dialog->property("rows").toList().at(1), second);
    QCOMPARE(dialog->property("rows").toList().size(), rows);
    closeDialog(dialog);
}

void TestDialogs::menuItemOpensDialog_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("generate font resources") << "fontResourceMenuItem" << "fontResourceDialog";
    QTest::newRow("resolution convert") << "resolutionConvertMenuItem" << "resolutionConvertDialog";
    QTest::newRow("panel scale") << "panelScaleMenuItem" << "panelScaleDialog";
    QTest::newRow("tile tool") << "tileToolMenuItem" << "tileToolDialog";
    QTest::newRow("inner rect tool") << "innerRectMenuItem" << "innerRectDialog";
    QTest::newRow("settings") << "settingsAction" << "settingsDialog";
    QTest::newRow("about") << "aboutAction" << "aboutDialog";
}

void TestDialogs::menuItemOpensDialog()
{
    QFETCH(QString, menuItem);
    QFETCH(QString, dialog);
    QObject *trigger = find(menuItem.toLatin1().constData());
    QVERIFY2(trigger, qPrintable(menuItem));
    QObject *popup = find(dialog.toLatin1().constData());
    QVERIFY2(popup, qPrintable(dialog));
    QVERIFY(trigger->property("enabled").toBool());
    QVERIFY(!popup->property("visible").toBool());
    QVERIFY(QMetaObject::invokeMethod(trigger, "triggered"));
    QVERIFY(QTest::qWaitFor([popup] { return popup->property("opened").toBool(); }, 3000));
    QCOMPARE(popup->property("modal").toBool(), true);
    screenshot(dialog);
    closeDialog(popup);
}

void TestDialogs::newPanelFileAsksForTheTarget()
{
    QObject *action = find("newPanelAction");
    QVERIFY(action);
    QVERIFY(action->property("enabled").toBool());
    QVERIFY(find("panelCreateDialog"));
    QObject *chooser = find("panelTargetDialog");
    QVERIFY(chooser);
    QVERIFY(QMetaObject::invokeMethod(action, "trigger"));
    // the file dialog comes first; the form waits for a file
    QVERIFY(QTest::qWaitFor([chooser] { return chooser->property("visible").toBool(); }, 3000));
    QVERIFY(!find("panelCreateDialog")->property("visible").toBool());
    QMetaObject::invokeMethod(chooser, "close");
    QVERIFY(QTest::qWaitFor([chooser] { return !chooser->property("visible").toBool(); }, 3000));
    QVERIFY(!find("panelCreateDialog")->property("visible").toBool());
}

QList<QUrl> TestDialogs::triggerHelp()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QObject *help = find("helpMenuItem");
    if (help)
        QMetaObject::invokeMethod(help, "triggered");
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    return catcher.urls;
}

void TestDialogs::helpOpensTheUserGuide()
{
    QVERIFY(find("helpMenuItem"));
    const QList<QUrl> urls = triggerHelp();
    QCOMPARE(urls.size(), 1);
    const QUrl url = urls.first();
    QVERIFY2(url.isLocalFile(), qPrintable(url.toString()));
    // written into the user's own program directory, never the shared
    // temporary one, and readable offline
    QCOMPARE(url.toLocalFile(), path(QStringLiteral("home/Quillmark/user-guide.html")));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("tmp/quillmark-user-guide.html"))));
    QFile guide(url.toLocalFile());
    QVERIFY(guide.open(QIODevice::ReadOnly));
    QVERIFY(guide.readAll().contains("Quillmark Studio"));
}

void TestDialogs::helpNeverWritesThroughALink_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("opens");

    // another user's link at the name the guide once had in the shared
    // temporary directory is left alone, and the guide still opens
    QTest::newRow("link at the shared temporary name") << "tmp/quillmark-user-guide.html"
                                                       << "victim/letter.txt" << true;
    // a link at the guide's own place is refused with a log line
    QTest::newRow("link at the guide's place") << "home/Quillmark/user-guide.html"
                                               << "victim/letter.txt" << false;
    QTest::newRow("dangling link at the guide's place") << "home/Quillmark/user-guide.html"
                                                        << "victim/missing.txt" << false;
}

void TestDialogs::helpNeverWritesThroughALink()
{
    QFETCH(QString, link);
    QFETCH(QString, target);
    QFETCH(bool, opens);
    const QString linkPath = path(link);
    const QString targetPath = path(target);
    const QString letter = path(QStringLiteral("victim/letter.txt"));
    const QByteArray precious("precious bytes that are not a user guide");
    QVERIFY(QDir().mkpath(path(QStringLiteral("victim"))));
    QVERIFY(TestFiles::writeFile(letter, precious));
    QVERIFY(QDir().mkpath(QFileInfo(linkPath).absolutePath()));
    QFile::remove(linkPath);
    QVERIFY(QFile::link(targetPath, linkPath));
    const auto removeLink = qScopeGuard([linkPath] { QFile::remove(linkPath); });
    const qint64 logSize = QFileInfo(path(QStringLiteral("quillmark.log"))).size();

    const QList<QUrl> urls = triggerHelp();

    QCOMPARE(TestFiles::readAll(letter), precious);
    QVERIFY(QFileInfo(linkPath).isSymLink());
    QCOMPARE(QFileInfo(linkPath).symLinkTarget(), targetPath);
    if (target.endsWith(QLatin1String("missing.txt")))
        QVERIFY(!QFileInfo::exists(targetPath));
    if (opens) {
        QCOMPARE(urls.size(), 1);
        QCOMPARE(urls.first().toLocalFile(), path(QStringLiteral("home/Quillmark/user-guide.html")));
        QVERIFY(TestFiles::readAll(urls.first().toLocalFile()).contains("Quillmark Studio"));
    } else {
        QCOMPARE(urls.size(), 0);
        const QByteArray log = TestFiles::readAll(path(QStringLiteral("quillmark.log"))).mid(logSize);
        QVERIFY2(log.contains("user-guide.html\"  is a link"), log.constData());
    }
}

void TestDialogs::dialogsSpeakChinese_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("title");
    QTest::newRow("settings") << "settingsDialog" << "设置";
    QTest::newRow("tile tool") << "tileToolDialog" << "切片工具";
    QTest::newRow("inner rect tool") << "innerRectDialog" << "内切工具";
    QTest::newRow("colour picker") << "viewRectColorButtonPicker" << "选择颜色";
}

// The catalogue is installed whatever the locale.
void TestDialogs::dialogsSpeakChinese()
{
    QFETCH(QString, dialog);
    QFETCH(QString, title);
    QObject *popup = find(dialog.toLatin1().constData());
    QVERIFY(popup);
    QCOMPARE(popup->property("title").toString(), title);
}

void TestDialogs::createWithoutTargetDoesNothing()
{
    QObject *dialog = find("panelCreateDialog");
    QVERIFY(dialog);
    QVERIFY(openDialog("panelCreateDialog"));
    QCOMPARE(dialog->property("targetPath").toString(), QString());
    QVariant created;
    QVERIFY(QMetaObject::invokeMethod(dialog, "create", Q_RETURN_ARG(QVariant, created)));
    QCOMPARE(created.toBool(), false);
    QVERIFY(!item("createButton", dialog)->isEnabled());
    closeDialog(dialog);
    QCOMPARE(QDir(mDir.path()).entryList({QStringLiteral("*.ini")}, QDir::Files).size(), 0);
}

void TestDialogs::createWritesTheFields()
{
    QObject *dialog = find("panelCreateDialog");
    const QString target = path(QStringLiteral("created.ini"));
    QVERIFY(QMetaObject::invokeMethod(dialog, "setTarget", Q_ARG(QVariant, target)));
    QVERIFY(QTest::qWaitFor([dialog] { return dialog->property("opened").toBool(); }, 3000));

    QVERIFY(typePanelForm(dialog));
    QVERIFY(click(item("includeTouchRect", dialog)));
    QVERIFY(typeInto(item("touchLeft", dialog), QStringLiteral("5")));
    QVERIFY(typeInto(item("touchTop", dialog), QStringLiteral("5")));
    QVERIFY(typeInto(item("touchRight", dialog), QStringLiteral("5")));
    QVERIFY(typeInto(item("touchBottom", dialog), QStringLiteral("5")));
    QVERIFY(setText(dialog, "extraProperties", QStringLiteral("BACK_STYLE=118\nCENTER=")));
    screenshot(QStringLiteral("panelCreateDialog"));
    QVERIFY(click(item("createButton", dialog)));

    // the form stays open for another go
    QVERIFY(dialog->property("visible").toBool());
    SkinConfig created(target);
    QCOMPARE(created.value(QStringLiteral("PANEL/SIZE")), QStringLiteral("1020,400"));
    // the automatic first row takes 400 - 80; ten keys of 100 fill 1000
    QCOMPARE(created.value(QStringLiteral("KEY1/VIEW_RECT")), QStringLiteral("10,0,100,320"));
    QCOMPARE(created.value(QStringLiteral("KEY2/VIEW_RECT")), QStringLiteral("110,0,100,320"));
    QCOMPARE(created.value(QStringLiteral("KEY1/TOUCH_RECT")), QStringLiteral("15,5,90,310"));
    QCOMPARE(created.value(QStringLiteral("KEY11/VIEW_RECT")), QStringLiteral("10,320,166,80"));
    QCOMPARE(created.value(QStringLiteral("KEY16/VIEW_RECT")), QStringLiteral("840,320,166,80"));
    QVERIFY(!created.childGroups().contains(QStringLiteral("KEY17")));
    QCOMPARE(created.value(QStringLiteral("KEY3/BACK_STYLE")), QStringLiteral("118"));
    QVERIFY(created.contains(QStringLiteral("KEY3/CENTER")));
    QVERIFY(!created.contains(QStringLiteral("KEY3/UP")));
    closeDialog(dialog);
}

void TestDialogs::rowEditorStoresTheRow()
{
    QObject *dialog = find("panelCreateDialog");
    QVERIFY(openDialog("panelCreateDialog"));
    QVERIFY(click(item("addRowButton", dialog)));
    QCOMPARE(dialog->property("rows").toList().size(), 3);

    // the second row: four keys, same width as the row above, centred
    QVERIFY(click(item("row1", dialog)));
    QObject *editor = find("rowEditor", dialog);
    QVERIFY(editor);
    QVERIFY(QTest::qWaitFor([editor] { return editor->property("opened").toBool(); }, 3000));
    QVERIFY(typeInto(item("rowKeysNumber", editor), QStringLiteral("4")));
    QQuickItem *widthAuto = item("rowKeyWidthAuto", editor);
    QQuickItem *sameAsLast = item("rowSameAsLast", editor);
    QVERIFY(widthAuto->property("checked").toBool());
    QVERIFY(click(sameAsLast));
    QVERIFY(sameAsLast->property("checked").toBool());
    QVERIFY(!widthAuto->property("checked").toBool());
    QVERIFY(!item("rowKeyWidth", editor)->isEnabled());
    QVERIFY(click(item("rowAlignCenter", editor)));
    QVERIFY(click(item("rowOkButton", editor)));
    QVERIFY(QTest::qWaitFor([editor] { return !editor->property("visible").toBool(); }, 3000));

    const QVariantMap row = dialog->property("rows").toList().at(1).toMap();
    QCOMPARE(row.value(QStringLiteral("keysNumber")).toInt(), 4);
    QCOMPARE(row.value(QStringLiteral("rowHeight")).toInt(), 80);
    QCOMPARE(row.value(QStringLiteral("keyWidth")).toInt(), -2);
    QCOMPARE(row.value(QStringLiteral("keySpacing")).toInt(), 0);
    QCOMPARE(row.value(QStringLiteral("alignment")).toInt(), 1);

    // the first row offers no "Same as last row"; the added row goes again
    QVERIFY(click(item("row0", dialog)));
    QVERIFY(QTest::qWaitFor([editor] { return editor->property("opened").toBool(); }, 3000));
    QVERIFY(!item("rowSameAsLast", editor)->isEnabled());
    closeDialog(editor);
    QVERIFY(click(item("row2", dialog)));
    QVERIFY(QTest::qWaitFor([editor] { return editor->property("opened").toBool(); }, 3000));
    QVERIFY(click(item("rowDeleteButton", editor)));
    QVERIFY(QTest::qWaitFor([editor] { return !editor->property("visible").toBool(); }, 3000));
    QCOMPARE(dialog->property("rows").toList().size(), 2);

    const QString target = path(QStringLiteral("rows.ini"));
    QVERIFY(QMetaObject::invokeMethod(dialog, "setTarget", Q_ARG(QVariant, target)));
    QVERIFY(typePanelForm(dialog));
    QVERIFY(click(item("createButton", dialog)));
    SkinConfig created(target);
    // the second row keeps the first row's 100 and is centred: (1000 - 400) / 2
    QCOMPARE(created.value(QStringLiteral("KEY11/VIEW_RECT")), QStringLiteral("310,320,100,80"));
    QCOMPARE(created.value(QStringLiteral("KEY14/VIEW_RECT")), QStringLiteral("610,320,100,80"));
    QVERIFY(!created.childGroups().contains(QStringLiteral("KEY15")));
    closeDialog(dialog);
}

void TestDialogs::convertUsesTheFields()
{
    const QString source = path(QStringLiteral("convert-source"));
    const QString target = path(QStringLiteral("convert-target"));
    QVERIFY(QDir().mkpath(source));
    QVERIFY(writeSheet(source + QStringLiteral("/keys.png"), QSize(100, 60)));
    SkinConfig til(source + QStringLiteral("/keys.til"));
    til.setValue(QStringLiteral("IMG1/SOURCE_RECT"), QStringLiteral("0,0,100,60"));
    QVERIFY(til.save());

    QObject *dialog = find("resolutionConvertDialog");
    QVERIFY(openDialog("resolutionConvertDialog"));
    QVERIFY(setText(dialog, "convertSourceText", source));
    QVERIFY(setText(dialog, "convertTargetText", target));
    QVERIFY(typeInto(item("convertSourceResolution", dialog), QStringLiteral("1000")));
    QVERIFY(typeInto(item("convertTargetResolution", dialog), QStringLiteral("500")));
    QVERIFY(click(item("convertButton", dialog)));
    closeDialog(dialog);

    QCOMPARE(SkinConfig(target + QStringLiteral("/keys.til")).value(QStringLiteral("IMG1/SOURCE_RECT")),
             QStringLiteral("0,0,50,30"));
    QCOMPARE(QImage(target + QStringLiteral("/keys.png")).size(), QSize(50, 30));
}

void TestDialogs::scaleArguments_data()
{
    QTest::addColumn<bool>("lockRatio");
    QTest::addColumn<QString>("viewRect");
    QTest::newRow("locked ratio scales both ways by the horizontal pair") << true << "50,50,100,100";
    QTest::newRow("free ratio scales each way by its own pair") << false << "50,200,100,400";
}

void TestDialogs::scaleArguments()
{
    QFETCH(bool, lockRatio);
    QFETCH(QString, viewRect);
    const QString tag = QString::fromLatin1(QTest::currentDataTag()).left(4);
    const QString source = path(QStringLiteral("scale-source-") + tag);
    const QString target = path(QStringLiteral("scale-target-") + tag);
    QVERIFY(QDir().mkpath(source));
    SkinConfig panelFile(source + QStringLiteral("/py_26.ini"));
    panelFile.setValue(QStringLiteral("KEY1/VIEW_RECT"), QStringLiteral("100,100,200,200"));
    QVERIFY(panelFile.save());

    QObject *dialog = find("panelScaleDialog");
    QVERIFY(openDialog("panelScaleDialog"));
    QVERIFY(setText(dialog, "scaleSourceText", source));
    QVERIFY(setText(dialog, "scaleTargetText", target));
    QQuickItem *lock = item("lockRatio", dialog);
    if (lock->property("checked").toBool() != lockRatio)
        QVERIFY(click(lock));
    QCOMPARE(item("vSourceResolution", dialog)->isVisible(), !lockRatio);
    QVERIFY(typeInto(item("hSourceResolution", dialog), QStringLiteral("1000")));
    QVERIFY(typeInto(item("hTargetResolution", dialog), QStringLiteral("500")));
    if (!lockRatio) {
        QVERIFY(typeInto(item("vSourceResolution", dialog), QStringLiteral("1000")));
        QVERIFY(typeInto(item("vTargetResolution", dialog), QStringLiteral("2000")));
    }
    QVERIFY(click(item("scaleButton", dialog)));
    closeDialog(dialog);
    QCOMPARE(SkinConfig(target + QStringLiteral("/py_26.ini")).value(QStringLiteral("KEY1/VIEW_RECT")), viewRect);
}

void TestDialogs::splitAndJoin()
{
    const QString sheetDir = path(QStringLiteral("split-source"));
    const QString pieces = path(QStringLiteral("pieces"));
    QVERIFY(QDir().mkpath(sheetDir));
    QVERIFY(QDir().mkpath(pieces));
    QVERIFY(writeSheet(sheetDir + QStringLiteral("/keys.png"), QSize(30, 20)));
    SkinConfig til(sheetDir + QStringLiteral("/keys.til"));
    til.setValue(QStringLiteral("IMG1/SOURCE_RECT"), QStringLiteral("0,0,10,20"));
    til.setValue(QStringLiteral("IMG2/SOURCE_RECT"), QStringLiteral("10,0,20,20"));
    QVERIFY(til.save());

    QObject *dialog = find("tileToolDialog");
    QVERIFY(openDialog("tileToolDialog"));
    QCOMPARE(find("startingNumber", dialog)->property("text").toString(), QStringLiteral("1"));
    QVERIFY(find("verticalOrder", dialog)->property("checked").toBool());

    QVERIFY(setText(dialog, "splitTilText", sheetDir + QStringLiteral("/keys.til")));
    QVERIFY(setText(dialog, "splitTargetText", pieces));
    QVERIFY(click(item("splitButton", dialog)));
    QCOMPARE(QImage(pieces + QStringLiteral("/001.png")).size(), QSize(10, 20));
    QCOMPARE(QImage(pieces + QStringLiteral("/002.png")).size(), QSize(20, 20));

    const QString joined = path(QStringLiteral("joined/sheet.til"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("joined"))));
    QVERIFY(setText(dialog, "joinSourceText", pieces));
    QVERIFY(setText(dialog, "joinTilText", joined));
    QVERIFY(typeInto(item("startingNumber", dialog), QStringLiteral("5")));
    QVERIFY(click(item("verticalOrder", dialog)));
    QVERIFY(click(item("joinButton", dialog)));
    closeDialog(dialog);

    SkinConfig sheet(joined);
    QCOMPARE(sheet.value(QStringLiteral("IMG5/SOURCE_RECT")), QStringLiteral("0,0,10,20"));
    QCOMPARE(sheet.value(QStringLiteral("IMG6/SOURCE_RECT")), QStringLiteral("10,0,20,20"));
    QCOMPARE(QImage(path(QStringLiteral("joined/sheet.png"))).size(), QSize(30, 20));
}

void TestDialogs::innerRectSave()
{
    const QString dir = path(QStringLiteral("inner"));
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(writeSheet(dir + QStringLiteral("/bg.png"), QSize(160, 100)));
    const QString tilPath = dir + QStringLiteral("/bg.til");
    SkinConfig til(tilPath);
    til.setValue(QStringLiteral("IMG1/SOURCE_RECT"), QStringLiteral("0,0,60,60"));
    til.setValue(QStringLiteral("IMG3/SOURCE_RECT"), QStringLiteral("100,40,60,60"));
    til.setValue(QStringLiteral("IMG3/INNER_RECT"), QStringLiteral("110,50,40,40"));
    QVERIFY(til.save());

    QObject *dialog = find("innerRectDialog");
    QVERIFY(openDialog("innerRectDialog"));
    QVERIFY(QMetaObject::invokeMethod(dialog, "chooseTilFile", Q_ARG(QVariant, tilPath)));
    QCOMPARE(find("innerRectTilText", dialog)->property("text").toString(), tilPath);
    QQuickItem *imgBox = item("imgBox", dialog);
    QCOMPARE(imgBox->property("currentText").toString(), QStringLiteral("1"));
    QVERIFY(QTest::qWaitFor([&] { return find("imgSizeLabel", dialog)->property("text").toString().contains(
                                              QStringLiteral("60x60")); }, 3000));

    imgBox->setProperty("currentIndex", 1);
    QCOMPARE(InnerRectTool::instance()->currentInnerRect(), QRect(10, 10, 40, 40));
    QCOMPARE(find("innerRectX", dialog)->property("text").toString(), QStringLiteral("10"));
    QCOMPARE(find("innerRectW", dialog)->property("text").toString(), QStringLiteral("40"));

    QVERIFY(typeInto(item("innerRectX", dialog), QStringLiteral("5")));
    QVERIFY(typeInto(item("innerRectY", dialog), QStringLiteral("5")));
    QVERIFY(typeInto(item("innerRectW", dialog), QStringLiteral("50")));
    QVERIFY(typeInto(item("innerRectH", dialog), QStringLiteral("50")));
    QVERIFY(click(item("innerRectPreview", dialog)));
    QCOMPARE(InnerRectTool::instance()->currentInnerRect(), QRect(5, 5, 50, 50));
    QVERIFY(click(item("innerRectSave", dialog)));
    if (!qEnvironmentVariableIsEmpty("QUILLMARK_DIALOG_SCREENSHOTS")) {
        // the demo skin's key sheet, only looked at
        QMetaObject::invokeMethod(dialog, "chooseTilFile",
                                  Q_ARG(QVariant, QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/res/keys.til")));
        imgBox->setProperty("currentIndex", 4);
        screenshot(QStringLiteral("innerRectDialog-keys"));
    }
    closeDialog(dialog);
    QCOMPARE(SkinConfig(tilPath).value(QStringLiteral("IMG3/INNER_RECT")), QStringLiteral("105,45,50,50"));
}

// Dragging the handles past the tile or past each other stops them there.
void TestDialogs::innerRectHandlesStayInside()
{
    const QString dir = path(QStringLiteral("handles"));
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(writeSheet(dir + QStringLiteral("/bg.png"), QSize(60, 60)));
    const QString tilPath = dir + QStringLiteral("/bg.til");
    SkinConfig til(tilPath);
    til.setValue(QStringLiteral("IMG1/SOURCE_RECT"), QStringLiteral("0,0,60,60"));
    til.setValue(QStringLiteral("IMG1/INNER_RECT"), QStringLiteral("10,10,40,40"));
    QVERIFY(til.save());

    QObject *dialog = find("innerRectDialog");
    QVERIFY(openDialog("innerRectDialog"));
    QVERIFY(QMetaObject::invokeMethod(dialog, "chooseTilFile", Q_ARG(QVariant, tilPath)));
    QVERIFY(QTest::qWaitFor([&] { return find("imgSizeLabel", dialog)->property("text").toString().contains(
                                              QStringLiteral("60x60")); }, 3000));
    QQuickItem *area = qobject_cast<QQuickItem *>(find("innerRectImage", dialog));
    QVERIFY(area);

    const auto drag = [this](QQuickItem *handle, const QPoint &by) {
        waitForFrame();
        // A handle on the tile's edge is half clipped away, and its centre can
        // round to a point outside the clipped area: press a quarter of the
        // handle inwards, towards the middle of the tile, instead.
        QQuickItem *tile = handle->parentItem();
        const QPointF centre(handle->width() / 2, handle->height() / 2);
        const QPointF middle = handle->mapFromItem(tile, QPointF(tile->width() / 2, tile->height() / 2));
        const QPointF inwards((middle.x() > centre.x() ? 1 : -1) * handle->width() / 4,
                              (middle.y() > centre.y() ? 1 : -1) * handle->height() / 4);
        const QPoint from = handle->mapToScene(centre + inwards).toPoint();
        // Pressed well after the last press, so the window never takes it
        // for the second click of a double click.
        QTest::mousePress(mWindow, Qt::LeftButton, Qt::NoModifier, from,
                          QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(mWindow, from + by * step / 4);
        QTest::mouseRelease(mWindow, Qt::LeftButton, Qt::NoModifier, from + by);
    };
    drag(item("endHandle", dialog), QPoint(150, 150));
    QTRY_COMPARE(find("innerRectW", dialog)->property("text").toString(), QStringLiteral("50"));
    QTRY_COMPARE(find("innerRectH", dialog)->property("text").toString(), QStringLiteral("50"));
    drag(item("startHandle", dialog), QPoint(-150, -150));
    QTRY_COMPARE(find("innerRectX", dialog)->property("text").toString(), QStringLiteral("0"));
    QTRY_COMPARE(find("innerRectY", dialog)->property("text").toString(), QStringLiteral("0"));
    QTRY_COMPARE(find("innerRectW", dialog)->property("text").toString(), QStringLiteral("60"));
    drag(item("startHandle", dialog), QPoint(250, 250));
    // the start handle stops on the end handle
    QTRY_COMPARE(find("innerRectX", dialog)->property("text").toString(), QStringLiteral("60"));
    QTRY_COMPARE(find("innerRectW", dialog)->property("text").toString(), QStringLiteral("0"));
    QTRY_COMPARE(find("innerRectY", dialog)->property("text").toString(), QStringLiteral("60"));
    QTRY_COMPARE(find("innerRectH", dialog)->property("text").toString(), QStringLiteral("0"));

    // both handles now sit on the tile's corner, where the end handle cannot
    // move: the press takes the start handle, which goes back up and left
    // while the end handle stays in the corner
    const auto number
        = [&](const char *field) { return find(field, dialog)->property("text").toString().toInt(); };
    drag(item("startHandle", dialog), QPoint(-150, -150));
    QTRY_VERIFY2(number("innerRectX") < 60 && number("innerRectY") < 60,
        qPrintable(QStringLiteral("x %1, y %2").arg(number("innerRectX")).arg(number("innerRectY"))));
    QCOMPARE(number("innerRectX") + number("innerRectW"), 60);
    QCOMPARE(number("innerRectY") + number("innerRectH"), 60);
    // and onto the end handle once more
    drag(item("startHandle", dialog), QPoint(250, 250));
    QTRY_COMPARE(find("innerRectX", dialog)->property("text").toString(), QStringLiteral("60"));
    QTRY_COMPARE(find("innerRectY", dialog)->property("text").toString(), QStringLiteral("60"));
    QTRY_COMPARE(find("innerRectW", dialog)->property("text").toString(), QStringLiteral("0"));

    // typed numbers outside the tile are held inside it as well
    QVERIFY(typeInto(item("innerRectX", dialog), QStringLiteral("20")));
    QVERIFY(typeInto(item("innerRectW", dialog), QStringLiteral("900"), QStringLiteral("40")));
    QCOMPARE(area->property("rect").toMap().value(QStringLiteral("w")).toInt(), 40);
    QVERIFY(click(item("innerRectPreview", dialog)));
    QCOMPARE(InnerRectTool::instance()->currentInnerRect(), QRect(20, 60, 40, 0));
    closeDialog(dialog);
    // nothing was saved
    QCOMPARE(SkinConfig(tilPath).value(QStringLiteral("IMG1/INNER_RECT")), QStringLiteral("10,10,40,40"));
}

// Input a tool would refuse: the field says what is wrong, and nothing is
// written. Fields are "objectName=text"; `absent` must not exist afterwards.
void TestDialogs::badInputIsExplained_data()
{
    QTest::addColumn<QString>("dialogName");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("absent");

    const QString skin = QStringLiteral(QUILLMARK_SOURCE_DIR "/skins/demo/res");
    const QString target = path(QStringLiteral("refused"));
    // the window speaks the installed catalogue
    auto says = [](const char *text) { return QCoreApplication::translate("FieldRules", text); };
    const QString range = says("Enter a whole number from %1 to %2.");
    QTest::newRow("resolution below the range")
        << "resolutionConvertDialog"
        << QStringList { "convertSourceText=" + skin, "convertTargetText=" + target,
               "convertSourceResolution=50", "convertTargetResolution=720" }
        << "convertButton" << "convertSourceResolutionProblem" << range.arg(320).arg(100000) << target;
    QTest::newRow("no target directory")
        << "resolutionConvertDialog"
        << QStringList { "convertSourceText=" + skin, "convertTargetText=", "convertSourceResolution=1080",
               "convertTargetResolution=720" }
        << "convertButton" << "convertTargetProblem" << says("Choose a directory.") << QString();
    QTest::newRow("empty scale resolution")
        << "panelScaleDialog"
        << QStringList { "scaleSourceText=" + skin, "scaleTargetText=" + target, "hSourceResolution=" }
        << "scaleButton" << "horizontalProblem" << range.arg(320).arg(100000) << target;
    QTest::newRow("no name for the joined tile file")
        << "tileToolDialog" << QStringList { "joinSourceText=" + skin, "joinTilText=" } << "joinButton"
        << "joinTilProblem" << says("Choose a file.") << QString();
    QTest::newRow("font size of 0")
        << "fontResourceDialog" << QStringList { "fontSizeField=0", "resourceText=A" } << "generateButton"
        << "fontSizeProblem" << range.arg(1).arg(16384) << QString();
    QTest::newRow("nothing to render")
        << "fontResourceDialog" << QStringList { "fontSizeField=30", "resourceText=" } << "generateButton"
        << "resourceTextProblem" << says("Type at least one line of text.") << QString();
}

void TestDialogs::badInputIsExplained()
{
    QFETCH(QString, dialogName);
    QFETCH(QStringList, fields);
    QFETCH(QString, button);
    QFETCH(QString, message);
    QFETCH(QString, says);
    QFETCH(QString, absent);

    const QByteArray name = dialogName.toLatin1();
    QObject *dialog = find(name.constData());
    QVERIFY(openDialog(name.constData()));
    const int resources = FontResGenerator::instance()->property("resNumers").toStringList().size();
    for (const QString &field : fields) {
        const int equals = field.indexOf(QLatin1Char('='));
        QVERIFY2(setText(dialog, field.left(equals).toLatin1().constData(), field.mid(equals + 1)), qPrintable(field));
    }
    QVERIFY(click(item(button.toLatin1().constData(), dialog)));
    QQuickItem *shown = item(message.toLatin1().constData(), dialog);
    QVERIFY(shown);
    QTRY_VERIFY(shown->isVisible());
    QCOMPARE(shown->property("text").toString(), says);
    screenshot(dialogName + QLatin1Char('-') + message);
    if (!absent.isEmpty())
        QVERIFY(!QFileInfo::exists(absent));
    QCOMPARE(FontResGenerator::instance()->property("resNumers").toStringList().size(), resources);
    closeDialog(dialog);
}

void TestDialogs::generateUsesTheFields()
{
    FontResGenerator *generator = FontResGenerator::instance();
    QObject *dialog = find("fontResourceDialog");
    QVERIFY(openDialog("fontResourceDialog"));
    QCOMPARE(generator->property("size").toInt(), 30);
    QCOMPARE(generator->property("color").value<QColor>(), QColor(Qt::black));
    QVERIFY(generator->property("verticalOrder").toBool());
    QCOMPARE(generator->property("family").toString(), find("familyBox", dialog)->property("currentText").toString());

    QVERIFY(typeInto(item("fontSizeField", dialog), QStringLiteral("64")));
    QVERIFY(click(item("boldButton", dialog)));
    QVERIFY(setText(dialog, "resourceText", QStringLiteral("A\nB\n.")));
    QVERIFY(click(item("generateButton", dialog)));
    QCOMPARE(generator->property("size").toInt(), 64);
    QVERIFY(generator->property("bold").toBool());
    QCOMPARE(generator->resNumers(), QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));

    // the images are drawn at the size typed: a capital of 64 pixels
    auto *provider = static_cast<QQuickImageProvider *>(mApp->engine()->imageProvider(QStringLiteral("fontres")));
    QSize size;
    const QImage first = provider->requestImage(QStringLiteral("1"), &size, QSize());
    QVERIFY2(first.height() >= 40, qPrintable(QString::number(first.height())));
    QCOMPARE(find("resourceList", dialog)->property("count").toInt(), 3);
    closeDialog(dialog);
}

void TestDialogs::switchesWriteThrough_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("setting");
    QTest::newRow("stay on top") << "stayOnTopSwitch" << "stayOnTop";
    QTest::newRow("auto reload") << "autoReloadSwitch" << "autoReload";
    QTest::newRow("panel information") << "displayPanelInfoSwitch" << "displayPanelInfo";
    QTest::newRow("file tree") << "displayFileTreeSwitch" << "displayFileTree";
    QTest::newRow("text editor") << "displayTextEditorSwitch" << "displayTextEditor";
}

void TestDialogs::switchesWriteThrough()
{
    QFETCH(QString, control);
    QFETCH(QString, setting);
    QObject *settings = mApp->engine()->rootContext()->contextProperty(QStringLiteral("rpSettings")).value<QObject *>();
    const QByteArray name = setting.toLatin1();
    const bool before = settings->property(name).toBool();
    QObject *dialog = find("settingsDialog");
    QVERIFY(openDialog("settingsDialog"));
    QQuickItem *toggle = item(control.toLatin1().constData(), dialog);
    QCOMPARE(toggle->property("checked").toBool(), before);
    QVERIFY(click(toggle));
    QCOMPARE(settings->property(name).toBool(), !before);
    // and back: the store follows both ways
    settings->setProperty(name, before);
    QCOMPARE(toggle->property("checked").toBool(), before);
    closeDialog(dialog);
}

void TestDialogs::aboutLinksOpenLicences_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("url");
    QTest::newRow("Qt") << "qtLicense" << "https://www.gnu.org/licenses/lgpl-3.0.html";
    QTest::newRow("libarchive") << "libarchiveLicense" << "https://opensource.org/licenses/BSD-3-Clause";
    QTest::newRow("OpenSSL") << "opensslLicense" << "https://www.openssl.org/source/license-openssl-ssleay.txt";
}

void TestDialogs::aboutLinksOpenLicences()
{
    QFETCH(QString, line);
    QFETCH(QString, url);
    QObject *dialog = find("aboutDialog");
    QVERIFY(openDialog("aboutDialog"));
    QCOMPARE(find("versionLabel", dialog)->property("text").toString(), QStringLiteral("版本：0.10.8"));
    QObject *label = find(line.toLatin1().constData(), dialog);
    QVERIFY(label);
    QVERIFY(label->property("text").toString().contains(QStringLiteral("href=\"") + url + QLatin1Char('"')));

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QVERIFY(QMetaObject::invokeMethod(label, "linkActivated", Q_ARG(QString, url)));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(catcher.urls, QList<QUrl>({QUrl(url)}));
    closeDialog(dialog);
}

void TestDialogs::intervalField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("color");
    QTest::newRow("in range is stored") << "3000" << 3000 << "#000000";
    QTest::newRow("lowest") << "500" << 500 << "#000000";
    QTest::newRow("below the range stays red") << "300" << 1234 << "#ff0000";
    QTest::newRow("empty stays red") << "" << 1234 << "#ff0000";
}

void TestDialogs::intervalField()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(QString, color);
    QObject *settings = mApp->engine()->rootContext()->contextProperty(QStringLiteral("rpSettings")).value<QObject *>();
    settings->setProperty("autoReloadInterval", 1234);
    QObject *dialog = find("settingsDialog");
    QVERIFY(openDialog("settingsDialog"));
    QQuickItem *field = item("intervalField", dialog);
    QVERIFY(typeInto(field, typed));
    QCOMPARE(settings->property("autoReloadInterval").toInt(), stored);
    QCOMPARE(field->property("color").value<QColor>(), QColor(color));
    closeDialog(dialog);
}

void TestDialogs::debugButtonSwitchesLevel()
{
    QObject *settings = mApp->engine()->rootContext()->contextProperty(QStringLiteral("rpSettings")).value<QObject *>();
    QCOMPARE(settings->property("logLevel").toInt(), 4);
    QObject *dialog = find("settingsDialog");
    QVERIFY(openDialog("settingsDialog"));
    QQuickItem *button = item("debugButton", dialog);
    QCOMPARE(button->property("text").toString(), QString());
    for (int i = 0; i < 4; ++i)
        QVERIFY(click(button));
    QCOMPARE(settings->property("logLevel").toInt(), 4);
    QVERIFY(click(button));
    QCOMPARE(settings->property("logLevel").toInt(), 0);
    QVERIFY(!button->property("text").toString().isEmpty());
    for (int i = 0; i < 5; ++i)
        QVERIFY(click(button));
    QCOMPARE(settings->property("logLevel").toInt(), 4);
    QCOMPARE(button->property("text").toString(), QString());
    closeDialog(dialog);
}

void TestDialogs::workingDirectoryNoticeCancel()
{
    QObject *settings = mApp->engine()->rootContext()->contextProperty(QStringLiteral("rpSettings")).value<QObject *>();
    const QString before = settings->property("skinWorkingDirectory").toString();
    QObject *dialog = find("settingsDialog");
    QVERIFY(openDialog("settingsDialog"));
    QObject *chooser = find("workingDirectory", dialog);
    const QString chosen = path(QStringLiteral("other-working-directory"));
    QVERIFY(QMetaObject::invokeMethod(chooser, "chosen", Q_ARG(QString, chosen)));
    QObject *notice = find("workingDirectoryNotice", dialog);
    QVERIFY(QTest::qWaitFor([notice] { return notice->property("opened").toBool(); }, 3000));
    QVERIFY(find("noticeText", notice)->property("text").toString().contains(chosen));
    QMetaObject::invokeMethod(notice, "reject");
    QVERIFY(QTest::qWaitFor([notice] { return !notice->property("visible").toBool(); }, 3000));
    closeDialog(dialog);
    QCOMPARE(settings->property("skinWorkingDirectory").toString(), before);

    QVERIFY(openDialog("settingsDialog"));
    QVERIFY(QMetaObject::invokeMethod(chooser, "chosen", Q_ARG(QString, chosen)));
    QVERIFY(QTest::qWaitFor([notice] { return notice->property("opened").toBool(); }, 3000));
    QMetaObject::invokeMethod(notice, "accept");
    QCOMPARE(settings->property("skinWorkingDirectory").toString(), chosen);
    QCOMPARE(settings->property("skinDirectory").toString(), chosen);
    closeDialog(dialog);
}

// A typed path is stored when the typing ends (Enter or leaving the field),
// not for each prefix on the way, which would make a directory per keystroke;
// and, like a chosen one, only once the notice that imports empty it was
// accepted. The home directory is never taken.
void TestDialogs::typedWorkingDirectoryIsStoredWhenFinished()
{
    QObject *settings = mApp->engine()->rootContext()->contextProperty(QStringLiteral("rpSettings")).value<QObject *>();
    const QString before = settings->property("skinWorkingDirectory").toString();
    QObject *dialog = find("settingsDialog");
    QVERIFY(openDialog("settingsDialog"));
    const QString typed = path(QStringLiteral("typed-dir"));
    QQuickItem *field = item("workingDirectoryText", dialog);
    QObject *notice = find("workingDirectoryNotice", dialog);
    QVERIFY(typeInto(field, typed));
    QCOMPARE(settings->property("skinWorkingDirectory").toString(), before);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("typed-di"))));
    QTest::keyClick(mWindow, Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([notice] { return notice->property("opened").toBool(); }, 3000));
    QVERIFY(find("noticeText", notice)->property("text").toString().contains(typed));
    QCOMPARE(settings->property("skinWorkingDirectory").toString(), before);
    QMetaObject::invokeMethod(notice, "accept");
    QVERIFY(QTest::qWaitFor([notice] { return !notice->property("visible").toBool(); }, 3000));
    QCOMPARE(settings->property("skinWorkingDirectory").toString(), typed);
    QVERIFY(QFileInfo(typed).isDir());

    const QString home = QDir::homePath();
    QVERIFY(typeInto(field, home));
    QTest::keyClick(mWindow, Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([notice] { return notice->property("opened").toBool(); }, 3000));
    QVERIFY(find("noticeContents", notice)->property("visible").toBool());
    QMetaObject::invokeMethod(notice, "accept");
    QVERIFY(QTest::qWaitFor([notice] { return !notice->property("visible").toBool(); }, 3000));
    QCOMPARE(settings->property("skinWorkingDirectory").toString(), typed);
    QCOMPARE(field->property("text").toString(), typed);
    closeDialog(dialog);
}

void TestDialogs::uiFontIsStored()
{
    QObject *settings = mApp->engine()->rootContext()->contextProperty(QStringLiteral("rpSettings")).value<QObject *>();
    QObject *dialog = find("settingsDialog");
    QVERIFY(openDialog("settingsDialog"));
    QObject *box = find("uiFontBox", dialog);
    const int count = box->property("count").toInt();
    QVERIFY(count > 0);
    box->setProperty("currentIndex", count - 1);
    const QString family = box->property("currentText").toString();
    QVERIFY(QMetaObject::invokeMethod(box, "activated", Q_ARG(int, count - 1)));
    QCOMPARE(settings->property("uiFont").toString(), family);
    QCOMPARE(mWindow->property("font").value<QFont>().family(), family);
    settings->setProperty("uiFont", Settings::defaultUiFont());
    closeDialog(dialog);
}

void TestDialogs::colorButtonStoresThePick()
{
    QObject *settings = mApp->engine()->rootContext()->contextProperty(QStringLiteral("rpSettings")).value<QObject *>();
    QObject *dialog = find("settingsDialog");
    QVERIFY(openDialog("settingsDialog"));
    QQuickItem *button = item("viewRectColorButton", dialog);
    QVERIFY(click(button));
    QObject *picker = find("viewRectColorButtonPicker", dialog);
    QVERIFY(QTest::qWaitFor([picker] { return picker->property("opened").toBool(); }, 3000));
    // the picker starts from the button's colour
    QCOMPARE(picker->property("currentColor").value<QColor>(), settings->property("viewRectColor").value<QColor>());
    QVERIFY(typeInto(item("colorTextField", picker), QStringLiteral("#80102030")));
    QMetaObject::invokeMethod(picker, "accept");
    QVERIFY(QTest::qWaitFor([picker] { return !picker->property("visible").toBool(); }, 3000));
    const QColor chosen(QStringLiteral("#80102030"));
    QCOMPARE(settings->property("viewRectColor").value<QColor>(), chosen);
    QCOMPARE(Panel::instance()->viewRectColor(), chosen);
    QCOMPARE(button->property("color").value<QColor>(), chosen);
    closeDialog(dialog);
}

void TestDialogs::colorPickerText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("red");
    QTest::newRow("eight digits, half transparent") << "#80ff0000" << "#80ff0000" << false;
    QTest::newRow("six digits, opaque") << "#00ff00" << "#ff00ff00" << false;
    QTest::newRow("four digits keep the colour") << "#ff00" << "#ff123456" << true;
    QTest::newRow("a name keeps the colour") << "blue" << "#ff123456" << true;
}

void TestDialogs::colorPickerText()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(bool, red);
    QObject *dialog = find("settingsDialog");
    QVERIFY(openDialog("settingsDialog"));
    QObject *picker = find("viewRectColorButtonPicker", dialog);
    QVERIFY(picker);
    picker->setProperty("currentColor", QColor(QStringLiteral("#123456")));
    QMetaObject::invokeMethod(picker, "open");
    QVERIFY(QTest::qWaitFor([picker] { return picker->property("opened").toBool(); }, 3000));
    QQuickItem *field = item("colorTextField", picker);
    QCOMPARE(field->property("text").toString(), QStringLiteral("#123456"));
    QVERIFY(typeInto(field, typed));
    QCOMPARE(picker->property("currentColor").value<QColor>().name(QColor::HexArgb), expected);
    QCOMPARE(field->property("color").value<QColor>() == QColor(Qt::red), red);
    closeDialog(picker);
    closeDialog(dialog);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
