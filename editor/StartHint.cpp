#include "StartHint.h"

#include "MapEditor.h"
#include "WindowTexts.h"

namespace quarnet {

namespace startHint {

std::vector<std::string> lines(std::string_view demoMapPath)
{
    std::vector<std::string> shown {windowText(texts::message(texts::Text::startHintOpen))};
    if (!demoMapPath.empty())
        shown.push_back(windowText(texts::message(texts::Text::startHintDemo).withFile(std::string(demoMapPath))));
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
