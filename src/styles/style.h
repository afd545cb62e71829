#pragma once

#include <QColor>
#include <QMap>
#include <QString>

// One numbered style of a skin's style table (a "STYLE" + n section): how a
// key background, a label, a candidate or a list cell looks. A plain value,
// copied freely; the store keeps one per section name.
struct Style
{
    int number = 0;
    // "image", "font", "color", "sound", "anim" or "other": decided by which
    // keys the section has, before the values are read.
    QString kind = QStringLiteral("other");
    QString name; // the section name, e.g. STYLE12
    QString fontPath; // relative to the skin's res directory
    int fontSize = 0; // pixels at scale 1
    QColor normalColor = QColor(0, 0, 0, 0);
    QColor highlightedColor = QColor(0, 0, 0, 0);
    QColor borderColor = QColor(0, 0, 0, 0); // colour of the label's offset copy
    int borderSize = 0; // vertical offset of that copy, in pixels
    QString text;
    QString normalImage; // tile key "name,number"
    QString highlightedImage;

    // Builds the style of section `sectionName` from its key -> value map;
    // `global` is the GLOBAL section of the same table (its FONT_PATH is the
    // default font of font styles).
    static Style fromSection(const QString &sectionName, const QMap<QString, QString> &properties,
        const QMap<QString, QString> &global);

    // Style table colours are hexadecimal digits without "#" (RGB in 3, 6, 9
    // or 12 digits, or ARGB in 8); anything else is an invalid colour.
    static QColor parseColor(const QString &digits);
};
