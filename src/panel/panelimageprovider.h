#pragma once

#include <QQuickImageProvider>

class Panel;

// "image://panel": the composite preview of the open panel, rendered afresh
// on every request so it always shows the panel's current state.
class PanelImageProvider : public QQuickImageProvider
{
public:
    PanelImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    Panel *mPanel;
};
