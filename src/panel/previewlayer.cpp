#include "previewlayer.h"

#include "panel.h"
#include "skin/skinconfig.h"
#include "styles/stylesmanager.h"

#include <QGuiApplication>

#include <utility>

namespace {

quint64 revisionOf(const SkinConfig *config)
{
    return config ? config->revision() : 0;
}

} // namespace

bool PreviewLayer::Inputs::operator==(const Inputs &other) const
{
    return panelRevision == other.panelRevision && genRevision == other.genRevision
        && candRevision == other.candRevision && stylesRevision == other.stylesRevision
        && panelFile == other.panelFile && loadFailed == other.loadFailed
        && deviceResolution == other.deviceResolution && status == other.status
        && viewRectColor == other.viewRectColor && touchRectColor == other.touchRectColor
        && font == other.font && samples == other.samples;
}

PreviewLayer::Inputs PreviewLayer::inputsOf(const Panel &panel)
{
    Inputs inputs;
    inputs.panelRevision = revisionOf(panel.panelConfig());
    inputs.genRevision = revisionOf(panel.genConfig());
    inputs.candRevision = revisionOf(panel.candLayout());
    inputs.stylesRevision = panel.stylesManager()->revision();
    inputs.panelFile = panel.currentPanelFile();
    inputs.loadFailed = panel.loadFailed();
    inputs.deviceResolution = panel.deviceResolution();
    inputs.status = panel.currentStatus();
    inputs.viewRectColor = panel.viewRectColor();
    inputs.touchRectColor = panel.touchRectColor();
    // Only a GUI application has fonts (and draws the outline names).
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        inputs.font = QGuiApplication::font();
    inputs.samples = PanelRenderer::sampleCandidates();
    return inputs;
}

bool PreviewLayer::holds(const Inputs &inputs, const QPoint &pixel, const QPoint &unitPoint) const
{
    if (!mValid || inputs != mInputs)
        return false;
    for (int i = 0; i < mResult.keys.size(); ++i) {
        if (mResult.keys.at(i).touchRect.contains(unitPoint) != mResult.keyPressed.at(i))
            return false;
    }
    const PanelRenderer::Presses &last = mResult.presses;
    for (const QRect &area : last.areas) {
        if (area.contains(pixel) != area.contains(last.pixel))
            return false;
    }
    return true;
}

void PreviewLayer::store(const Inputs &inputs, const PanelRenderer::Result &result)
{
    mValid = true;
    mInputs = inputs;
    mResult = result;
}

PanelRenderer::Result PreviewLayer::take()
{
    PanelRenderer::Result result = std::move(mResult);
    clear();
    return result;
}

void PreviewLayer::clear()
{
    mValid = false;
    mInputs = Inputs();
    mResult = PanelRenderer::Result();
}

void PreviewLayer::invalidate()
{
    PanelRenderer::Result pictures;
    pictures.image = std::move(mResult.image);
    pictures.panelStage = std::move(mResult.panelStage);
    pictures.spare = std::move(mResult.spare);
    clear();
    mResult = std::move(pictures);
}
