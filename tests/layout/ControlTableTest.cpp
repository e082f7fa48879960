// The names and events that the editor and the front ends share, held to the
// control table: a misspelt name would otherwise reach no control, silently.

#include "ControlNamesSource.h"
#include "layout/ControlTable.h"
#include "editor/EventTable.h"
#include "mapfile/MapGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quarnet {
namespace {

using layout::ControlKind;

// Every double-quoted text of a source: in ControlNames.h, the names.
std::vector<std::string> quotedTexts(std::string_view source)
{
    std::vector<std::string> texts;
    for (std::size_t open = source.find('"'); open != std::string_view::npos;) {
        const std::size_t close = source.find('"', open + 1);
        if (close == std::string_view::npos)
            break;
        texts.emplace_back(source.substr(open + 1, close - open - 1));
        open = source.find('"', close + 1);
    }
    return texts;
}

TEST(ControlNames, EveryNameTheModelUsesIsAControl)
{
    const std::vector<std::string> names = quotedTexts(controlNamesSource);
    ASSERT_GE(names.size(), 20u) << "the names were not found in ControlNames.h";
    for (const std::string& name : names)
        EXPECT_NE(layout::findControl(name), nullptr) << name;
}

TEST(EventTable, EveryEventBelongsToAControlOfItsKind)
{
    const std::pair<ControlEvent, ControlKind> kinds[] = {
        {ControlEvent::Clicked, ControlKind::Button},
        {ControlEvent::ItemChosen, ControlKind::ComboBox},
        {ControlEvent::ChoiceAbandoned, ControlKind::ComboBox},
        {ControlEvent::ItemDoubleClicked, ControlKind::ListBox},
        {ControlEvent::MouseMoved, ControlKind::Canvas},
        {ControlEvent::RightButtonPressed, ControlKind::Canvas},
    };
    std::set<std::pair<std::string_view, ControlEvent>> seen;
    for (const EventBinding& binding : eventTable()) {
        const layout::ControlEntry* entry = layout::findControl(binding.control);
        ASSERT_NE(entry, nullptr) << binding.control;
        const auto kind = std::ranges::find(kinds, binding.event, &std::pair<ControlEvent, ControlKind>::first);
        ASSERT_NE(kind, std::end(kinds));
        EXPECT_EQ(entry->kind, kind->second) << binding.control;
        // The front ends report the mouse over the map canvas only.
        if (entry->kind == ControlKind::Canvas) {
            EXPECT_EQ(entry, &layout::mapCanvas()) << binding.control;
        }
        EXPECT_NE(binding.run, nullptr) << binding.control;
        EXPECT_TRUE(seen.emplace(binding.control, binding.event).second) << "twice: " << binding.control;
    }
}

TEST(EventTable, EveryButtonRunsAHandler)
{
    for (const layout::ControlEntry& entry : layout::controlTable()) {
        if (entry.kind != ControlKind::Button)
            continue;
        const bool bound = std::ranges::any_of(eventTable(), [&](const EventBinding& binding) {
            return binding.control == entry.name && binding.event == ControlEvent::Clicked;
        });
        EXPECT_TRUE(bound) << entry.name;
    }
}

TEST(ControlTable, OneMapCanvasOfThePageSize)
{
    const auto canvases = std::ranges::count_if(layout::controlTable(), [](const layout::ControlEntry& entry) {
        return (entry.traits & layout::MapCanvas) != 0;
    });
    EXPECT_EQ(canvases, 1);
    const layout::ControlEntry& map = layout::mapCanvas();
    EXPECT_EQ(map.kind, ControlKind::Canvas);
    EXPECT_EQ(map.geometry.width, geometry::pageWidth);
    EXPECT_EQ(map.geometry.height, geometry::pageHeight);
}

} // namespace
} // namespace quarnet
