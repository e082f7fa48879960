#include "StartHint.h"

#include "MapEditor.h"

namespace quarnet {

namespace startHint {

std::vector<std::string> lines(std::string_view demoMapPath)
{
    std::vector<std::string> shown {"用“打开文件”打开地图，或把 SANGO7.MPC 拖到本窗口"};
    if (!demoMapPath.empty())
        shown.push_back("演示地图：" + std::string(demoMapPath));
    return shown;
}

} // namespace startHint

bool MapEditor::isStartHintShown() const
{
    return !isMapFileOpen() && state_.view.mapPicture == 0;
}

void MapEditor::drawStartHintIfShown()
{
    if (isStartHintShown())
        canvas_.drawTextLines(startHint::lines(state_.demoMapPath), startHint::colour);
}

} // namespace quarnet
