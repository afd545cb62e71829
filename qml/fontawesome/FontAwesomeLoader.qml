import QtQuick 2.15
import "Icons.js" as Icons

// Loads the icon font from the resources; the glyph table is Icons.js.
FontLoader {
    source: Icons.source
}
