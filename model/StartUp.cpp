#include "MapEditor.h"

#include "ControlNames.h"
#include "MapGeometry.h"
#include "platform/ExecutableDirectory.h"

namespace quarnet {

std::string MapEditor::mapPicturePath(const std::string& runDirectory)
{
    return platform::joinPath(runDirectory, "SANGO7.0.125.jpg");
}

void MapEditor::setUp()
{
    controls_.setText(control::起始位址编辑框, std::string(geometry::defaultStartAddress));
    controls_.setText(control::步长编辑框, "1");
    controls_.setText(control::修改数据编辑框, " 07");
    state_.runDirectory = platform::executableDirectory();
    controls_.setText(control::编辑框1, "当前程序所在目录： " + state_.runDirectory);

    // A missing or broken picture loads as 0, which draws nothing.
    MapView& v = state_.view;
    v.mapPicture = canvas_.loadPicture(mapPicturePath(state_.runDirectory));
    canvas_.setDrawColour(v.markerColour);
    canvas_.drawPicture(v.mapPicture, 0, 0);
    v.viewLeft = 0;
    v.viewRight = geometry::pageWidth - 1;
    v.viewTop = 0;
    v.viewBottom = geometry::pageHeight - 1;
}

} // namespace quarnet
