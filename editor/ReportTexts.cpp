#include "ReportTexts.h"

#include "ControlNames.h"
#include "WindowTexts.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainTable.h"

namespace quarnet {

std::string terrainReportText(std::string_view name, std::string_view codeText)
{
    return windowText(
        texts::message(texts::Text::terrainReport).withOther(std::string(name)).withThird(std::string(codeText)));
}

std::string fileNotOpenReportText()
{
    return windowText(texts::message(texts::Text::terrainReportNoFile));
}

std::string coordinatesText(std::int32_t mapX, std::int32_t mapY)
{
    return windowText(texts::message(texts::Text::mouseCoordinates, mapX, mapY));
}

std::vector<LabelText> widestReportTexts()
{
    std::vector<LabelText> texts;
    for (int code = terrain::lowestCode; code <= terrain::highestCode; ++code)
        texts.push_back({control::标签19, terrainReportText(*terrain::name(code), formatTerrainCode(code))});
    texts.push_back({control::标签19, fileNotOpenReportText()});
    // The bottom-right canvas pixel of the last page, which holds the map's
    // last block: the largest numbers the mouse gives.
    using namespace geometry;
    const std::int32_t lastPageRight = ((mapWidth / pictureScale - 1) / pageWidth + 1) * pageWidth - 1;
    const std::int32_t lastPageBottom = ((mapHeight / pictureScale - 1) / pageHeight + 1) * pageHeight - 1;
    texts.push_back({control::标签20, coordinatesText(lastPageRight * pictureScale, lastPageBottom * pictureScale)});
    return texts;
}

} // namespace quarnet
