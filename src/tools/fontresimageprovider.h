#pragma once

#include <QQuickImageProvider>

class FontResGenerator;

// "image://fontres/<number>": the font resource generator's images for the
// dialog's preview list.
class FontResImageProvider : public QQuickImageProvider
{
public:
    explicit FontResImageProvider(FontResGenerator *generator = nullptr);

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    FontResGenerator *mGenerator;
};
