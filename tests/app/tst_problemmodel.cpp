// The Problems pane's model on the real panel: it follows loads and edits,
// puts errors first, counts by severity, and does not check again when the
// panel only announces a click.

#include "app/problemmodel.h"
#include "panel/panelfixture.h"
#include "testfiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace PanelFixture;

class TestProblemModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void followsThePanel();

private:
    QTemporaryDir mDir;
};

void TestProblemModel::initTestCase()
{
    QVERIFY(mDir.isValid());
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\ndefault.info=false"));
}

void TestProblemModel::followsThePanel()
{
    const QString skin = mDir.filePath(QStringLiteral("skin"));
    QVERIFY(copyTree(dataPath(QStringLiteral("check-keys-overlap")), skin));
    const QString panelFile = skin + QStringLiteral("/port/py_26.ini");

    Panel *panel = Panel::instance();
    resetPanel(panel);
    ProblemModel model;
    model.setPanel(panel);
    QSignalSpy changed(&model, &ProblemModel::problemsChanged);

    panel->setPanelFile(panelFile);
    QTRY_COMPARE(model.count(), 1);
    QCOMPARE(model.warningCount(), 1);
    QCOMPARE(model.errorCount(), 0);
    QVERIFY(model.panelDrawable());
    const QModelIndex first = model.index(0);
    QCOMPARE(model.data(first, ProblemModel::KindRole).toString(), QStringLiteral("keys-overlap"));
    QCOMPARE(model.data(first, ProblemModel::FileNameRole).toString(), QStringLiteral("py_26.ini"));
    QCOMPARE(model.data(first, ProblemModel::LineRole).toInt(), 16);
    QCOMPARE(model.data(first, ProblemModel::KeyRole).toString(), QStringLiteral("KEY2"));
    QCOMPARE(model.data(first, ProblemModel::SeverityRole).toInt(), int(SkinProblem::Warning));

    // A click on the preview announces a reload too; nothing was read anew.
    const int checks = changed.count();
    panel->setHighlightPointF(QPointF(0.1, 0.1));
    QTest::qWait(20);
    QCOMPARE(changed.count(), checks);

    // An edit that breaks the panel size: the error comes first.
    QByteArray text = TestFiles::readAll(panelFile);
    text.replace("SIZE=200,100", "SIZE=200");
    QVERIFY(TestFiles::writeFile(panelFile, text));
    QVERIFY(touch(panelFile));
    panel->reload();
    QTRY_COMPARE(model.errorCount(), 1);
    QCOMPARE(model.count(), 2);
    QCOMPARE(model.data(model.index(0), ProblemModel::KindRole).toString(), QStringLiteral("bad-geometry"));
    QCOMPARE(model.data(model.index(0), ProblemModel::LineRole).toInt(), 2);
    QVERIFY(!model.panelDrawable());

    panel->clean();
    QTRY_COMPARE(model.count(), 0);
    QVERIFY(model.panelDrawable());
    resetPanel(panel);
}

QTEST_MAIN(TestProblemModel)
#include "tst_problemmodel.moc"
