#include "style.h"

#include <QObject>

namespace {

const QString kNormalImage = QStringLiteral("NM_IMG");
const QString kHighlightedImage = QStringLiteral("HL_IMG");
const QString kNormalColor = QStringLiteral("NM_COLOR");
const QString kHighlightedColor = QStringLiteral("HL_COLOR");
const QString kBorderColor = QStringLiteral("BORDER_COLOR");
const QString kBorderSize = QStringLiteral("BORDER_SIZE");
const QString kFontPath = QStringLiteral("FONT_PATH");
const QString kFontSize = QStringLiteral("FONT_SIZE");
const QString kShow = QStringLiteral("SHOW");

bool containsAny(const QMap<QString, QString> &properties, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        if (properties.contains(QLatin1String(key)))
            return true;
    }
    return false;
}

QString kindOf(const QMap<QString, QString> &properties)
{
    const bool hasColor = properties.contains(kNormalColor) || properties.contains(kHighlightedColor);
    if (properties.contains(kNormalImage) || properties.contains(kHighlightedImage))
        return QStringLiteral("image");
    if (properties.contains(kFontSize) && hasColor)
        return QStringLiteral("font");
    if (hasColor)
        return QStringLiteral("color");
    if (containsAny(properties,
            { "PRESS_SOUND_PATH", "PANEL_SHOW_SOUND_PATH", "PANEL_ACG_SHOW_SOUND_PATH",
                "PANEL_HIDE_SOUND_PATH" }))
        return QStringLiteral("sound");
    if (containsAny(properties,
            { "FIRST_PRESS_PANEL_IMG", "SHOW_ANIM", "HIDE_ANIM", "PRESS_ANIM", "RELEASE_ANIM",
                "SHOW_ANIM_FOR_PANEL", "FIRST_PRESS_PANEL_ANIM" }))
        return QStringLiteral("anim");
    return QStringLiteral("other");
}

} // namespace

QColor Style::parseColor(const QString &digits)
{
    return QColor(QLatin1Char('#') + digits);
}

Style Style::fromSection(const QString &sectionName, const QMap<QString, QString> &properties,
    const QMap<QString, QString> &global)
{
    Style style;
    style.number = sectionName.mid(5).toInt();
    style.name = sectionName;
    style.kind = kindOf(properties);
    if (style.kind == QLatin1String("font"))
        style.fontPath = global.value(kFontPath);

    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        const QString &key = it.key();
        const QString &value = it.value();
        if (key == kNormalImage)
            style.normalImage = value;
        else if (key == kHighlightedImage)
            style.highlightedImage = value;
        else if (key == kNormalColor)
            style.normalColor = parseColor(value);
        else if (key == kHighlightedColor)
            style.highlightedColor = parseColor(value);
        else if (key == kBorderColor)
            style.borderColor = parseColor(value);
        else if (key == kBorderSize)
            style.borderSize = value.toInt();
        else if (key == kFontPath)
            style.fontPath = value;
        else if (key == kFontSize)
            style.fontSize = value.toInt();
        else if (key == kShow)
            style.text = value;
    }

    if (style.kind == QLatin1String("font") && style.text.isEmpty())
        style.text = QObject::tr("ABC");
    return style;
}
