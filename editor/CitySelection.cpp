#include "MapEditor.h"

#include "mapfile/CityTable.h"
#include "ControlNames.h"
#include "platform/NumberText.h"

namespace quarnet {

void MapEditor::selectCity()
{
    if (ended_)
        return;
    const int index = controls_.selectedIndex(control::城池选择组合框);
    if (index < 0)
        return;
    CitySelection& city = state_.city;
    city.cityItemText = controls_.itemText(control::城池选择组合框, index);
    const cities::Coordinates at = cities::parseItemCoordinates(city.cityItemText);
    city.cityPixelX = at.x;
    city.cityPixelY = at.y;
    controls_.setText(control::起始像素点X编辑框, platform::decimalText(city.cityPixelX));
    controls_.setText(control::起始像素点Y编辑框, platform::decimalText(city.cityPixelY));
    if (!calculateStartBlock())
        return;
    // The calculation has just shown the block's page: this marks it there in
    // the last colour set and refreshes the terrain report.
    markCurrentBlock();
}

void MapEditor::showChosenCity()
{
    if (ended_)
        return;
    int chosen = -1;
    const std::string& last = state_.city.cityItemText;
    for (int index = 0; !last.empty() && chosen < 0; ++index) {
        const std::string item = controls_.itemText(control::城池选择组合框, index);
        if (item.empty())
            break;
        if (item == last)
            chosen = index;
    }
    if (controls_.selectedIndex(control::城池选择组合框) != chosen)
        controls_.setSelectedIndex(control::城池选择组合框, chosen);
}

} // namespace quarnet
