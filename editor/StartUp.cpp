#include "MapEditor.h"

#include "mapfile/CityTable.h"
#include "ControlNames.h"
#include "WindowTexts.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainTable.h"
#include "platform/DataFiles.h"
#include "platform/ExecutableDirectory.h"

#include <string>
#include <vector>

namespace quarnet {

std::string MapEditor::mapPicturePath(const std::string& runDirectory, const std::string& mapPath)
{
    return platform::findMapPicture(runDirectory, mapPath);
}

namespace {

// The legend: the terrain codes with their names, each item carrying its code.
void fillLegend(Controls& controls)
{
    std::vector<std::string> texts;
    std::vector<int> codes;
    for (int code = terrain::lowestCode; code <= terrain::highestCode; ++code) {
        texts.push_back(terrain::legendItemText(code));
        codes.push_back(code);
    }
    controls.setItems(control::列表框1, texts, codes);
}

void fillCities(Controls& controls)
{
    std::vector<std::string> texts;
    for (const cities::City& city : cities::table())
        texts.push_back(cities::itemText(city));
    controls.setItems(control::城池选择组合框, texts, {});
}

} // namespace

void MapEditor::setUp(const std::string& mapPath)
{
    // The two lists' fixed items; the window shows them from its creation on.
    fillLegend(controls_);
    fillCities(controls_);
    controls_.setText(control::起始位址编辑框, std::string(geometry::defaultStartAddress));
    controls_.setText(control::步长编辑框, "1");
    controls_.setText(control::修改数据编辑框, " 07");
    state_.runDirectory = platform::executableDirectory();
    controls_.setText(control::编辑框1,
                      windowText(texts::message(texts::Text::statusRunDirectory).withFile(state_.runDirectory)));
    state_.demoMapPath = platform::findDemoMap(state_.runDirectory).value_or(std::string());

    // A missing or broken picture loads as 0, which draws nothing. One
    // found broken later is forgotten then, as if it had failed here.
    MapView& v = state_.view;
    canvas_.setPictureBrokenHandler([this](int picture) { forgetBrokenPicture(picture); });
    v.mapPictureFile = mapPicturePath(state_.runDirectory, mapPath);
    v.mapPicture = canvas_.loadPicture(v.mapPictureFile);
    canvas_.setDrawColour(v.markerColour);
    if (!canvas_.drawPicture(v.mapPicture, 0, 0))
        dropPicture();
    v.viewLeft = 0;
    v.viewRight = geometry::pageWidth - 1;
    v.viewTop = 0;
    v.viewBottom = geometry::pageHeight - 1;
    // Without a picture the canvas is the empty page, with its hint.
    if (v.mapPicture == 0)
        drawTerrainPage(v.viewLeft, v.viewTop);
}

} // namespace quarnet
