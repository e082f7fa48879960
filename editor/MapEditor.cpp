#include "MapEditor.h"

namespace quarnet {

// The state record starts empty: every number 0, every text empty, no file
// and no picture. setUp fills it when the window has been created.
MapEditor::MapEditor(Controls& controls, Canvas& canvas, Host& host, platform::Files& files)
    : controls_(controls), canvas_(canvas), host_(host), files_(files)
{
}

// The canvas may outlive the editor.
MapEditor::~MapEditor()
{
    canvas_.setPictureBrokenHandler({});
}

} // namespace quarnet
