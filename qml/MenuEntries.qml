import QtQml 2.15

// The entries of a FittingMenu: items, separators and submenus, made together
// when the menu first opens.
QtObject {
    default property list<QtObject> entries
}
