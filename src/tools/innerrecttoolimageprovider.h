#pragma once

#include <QQuickImageProvider>

class InnerRectTool;

// "image://til/<tile number>/<anything>": the inner rect tool's current
// tiles, nine-patch stretched to the requested size.
class InnerRectToolImageProvider : public QQuickImageProvider
{
public:
    explicit InnerRectToolImageProvider(InnerRectTool *tool = nullptr);

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    InnerRectTool *mTool;
};
