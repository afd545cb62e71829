import QtQuick 2.15
import QtTest 1.15
import "qrc:/"

// The text editor on a copy of the demo skin's gen.ini in the runner's
// temporary directory.
TestCase {
    id: testCase
    name: "SkinConfigEditView"
    when: windowShown
    visible: true
    width: 500
    height: 400

    Component {
        id: viewComponent
        SkinConfigEditView {
            width: 500
            height: 400
        }
    }

    readonly property string fileUrl: "file://" + testTempDir + "/gen.ini"

    function createView() {
        var view = createTemporaryObject(viewComponent, testCase)
        verify(view)
        view.load(fileUrl)
        tryVerify(function() { return view.text.indexOf("[OFFSET1]") >= 0 })
        return view
    }

    function area(view) {
        return findChild(view, "editorTextArea")
    }

    function test_loadShowsTheFile() {
        var view = createView()
        compare(view.modified, false)
        compare(view.searchBarVisible, false)
    }

    // The search bar and the questions are made when first needed, and then
    // work as ever.
    function test_searchBarAndQuestionComeWhenNeeded() {
        var view = createView()
        compare(findChild(view, "searchBar"), null)
        compare(findChild(view, "unsavedChangesDialog"), null)
        compare(findChild(view, "fileChangedDialog"), null)

        view.showSearchBar()
        var bar = findChild(view, "searchBar")
        verify(bar)
        verify(bar.visible)
        verify(findChild(view, "editorCaption").y >= bar.height)

        area(view).insert(0, "; mine\r\n")
        var ran = false
        compare(view.whenResolved(function() { ran = true }), false)
        var question = findChild(view, "unsavedChangesDialog")
        verify(question)
        tryCompare(question, "opened", true)
        mouseClick(question.button("cancel"))
        tryCompare(question, "visible", false)
        compare(ran, false)
        compare(view.modified, true)
    }

    function test_searchNextSelectsAMatch() {
        var view = createView()
        view.showSearchBar()
        compare(view.searchBarVisible, true)
        findChild(view, "searchField").text = "OFFSET\\d"
        waitForRendering(view)
        mouseClick(findChild(view, "searchNextButton"))
        tryCompare(area(view), "selectedText", "OFFSET1")
        mouseClick(findChild(view, "searchCloseButton"))
        compare(view.searchBarVisible, false)
    }

    // After the file changed on disk the editor shows the new text, unless
    // its own text holds unsaved edits: then it asks.
    function test_checkFileFollowsTheFile() {
        var shown = createView()
        var writer = createView()
        messages.clear()
        area(writer).insert(0, "; changed\r\n")
        compare(writer.modified, true)
        verify(writer.save())
        tryCompare(writer, "modified", false)
        compare(messages.results.length, 1)
        verify(messages.results[0].ok)
        compare(messages.results[0].message, "Saved " + testTempDir + "/gen.ini")

        shown.checkFile()
        tryVerify(function() { return shown.text.indexOf("; changed") === 0 })
        compare(shown.modified, false)

        area(shown).insert(0, "; mine\r\n")
        area(writer).insert(0, "; again\r\n")
        verify(writer.save())
        tryCompare(writer, "modified", false)
        shown.checkFile()
        verify(shown.text.indexOf("; mine") === 0, "unsaved edits are kept")
        verify(shown.text.indexOf("; again") < 0)
        var asked = findChild(shown, "fileChangedDialog")
        tryCompare(asked, "opened", true)
        asked.close()
        tryCompare(asked, "visible", false)
    }

    function test_checkFileWithoutChangeDoesNothing() {
        var view = createView()
        area(view).remove(0, 1)
        var text = view.text
        view.checkFile()
        compare(view.text, text)
        compare(view.modified, true)
        // nothing asked (the question is made when first asked)
        var asked = findChild(view, "fileChangedDialog")
        verify(!asked || !asked.visible)
    }
}
