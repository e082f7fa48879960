#pragma once

#include "editor/ControlNames.h"
#include "editor/MapEditor.h"
#include "platform/FaultInjectingFiles.h"
#include "platform/NativeFiles.h"
#include "support/MemoryForm.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace quarnet::testing {

// A MapEditor over the in-memory form, with real files in a temporary folder.
class EditorFixture : public ::testing::Test {
protected:
    // Types the calculator's three inputs and clicks the calculate button.
    bool calculate(const std::string& address, const std::string& x, const std::string& y)
    {
        controls.texts[std::string(control::起始位址编辑框)] = address;
        controls.texts[std::string(control::起始像素点X编辑框)] = x;
        controls.texts[std::string(control::起始像素点Y编辑框)] = y;
        return editor.calculateStartBlock();
    }

    // Opens a file through the dialog, answered with the given path.
    void open(const std::string& path)
    {
        host.nextAnswer = path;
        editor.openMapFile();
    }

    std::string text(std::string_view control) const { return controls.text(control); }

    TempDir dir;
    MemoryControls controls;
    RecordingCanvas canvas;
    ScriptedHost host;
    platform::NativeFiles nativeFiles;
    platform::FaultInjectingFiles files {nativeFiles};
    MapEditor editor {controls, canvas, host, files};
};

} // namespace quarnet::testing
