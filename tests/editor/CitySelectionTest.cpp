#include "mapfile/CityTable.h"
#include "mapfile/TerrainTable.h"
#include "platform/TextCodec.h"
#include "support/EditorFixture.h"

namespace quarnet::testing {
namespace {

namespace c = control;

TEST(CityTable, EveryItemIs23GbkBytesAndParsesToItsCoordinates)
{
    const auto& cities = cities::table();
    for (std::size_t i = 0; i < cities.size(); ++i) {
        const cities::City& city = cities[i];
        EXPECT_EQ(city.number, static_cast<int>(i) + 1);
        const std::string text = cities::itemText(city);
        const std::string gbk = platform::utf8ToGbk(text);
        EXPECT_EQ(gbk.size(), 23u) << text;
        EXPECT_EQ(gbk[3], '.');
        EXPECT_EQ(gbk[10], '(');
        EXPECT_EQ(gbk[16], ',');
        EXPECT_EQ(gbk[22], ')');
        const cities::Coordinates at = cities::parseItemCoordinates(text);
        EXPECT_EQ(at.x, city.x) << text;
        EXPECT_EQ(at.y, city.y) << text;
        EXPECT_GE(city.x, 0);
        EXPECT_LE(city.x, 17471);
        EXPECT_GE(city.y, 0);
        EXPECT_LE(city.y, 12383);
    }
}

TEST(CityTable, ItemTexts)
{
    const auto& cities = cities::table();
    const std::vector<std::pair<int, std::string>> cases = {
        {1, "001.西凉  (00519,00351)"},  {11, "011.绛    (04810,01760)"}, {37, "037.五丈原(03810,03350)"},
        {52, "052.宛    (07359,04154)"}, {98, "098.邪马台(17243,03643)"}, {103, "103.下关  (16570,03080)"},
    };
    for (const auto& [number, text] : cases)
        EXPECT_EQ(cities::itemText(cities[static_cast<std::size_t>(number - 1)]), text);
}

TEST(CityTable, ShortOrBrokenItemTextsParseWithoutFault)
{
    EXPECT_EQ(cities::parseItemCoordinates("").x, 0);
    EXPECT_EQ(cities::parseItemCoordinates("001.西凉  (00519").x, 519);
    EXPECT_EQ(cities::parseItemCoordinates("001.西凉  (00519").y, 0);
    EXPECT_EQ(cities::parseItemCoordinates("001.西凉  (99999,-1234)").y, -1234);
}

class CitySelection : public EditorFixture {
protected:
    void SetUp() override { editor.setUp(); } // fills the city box

    void select(int number)
    {
        controls.selection[std::string(c::城池选择组合框)] = number - 1;
        editor.selectCity();
    }
};

TEST_F(CitySelection, CalculatesAndMarksTheCity)
{
    canvas.pictures.clear();
    select(1);
    EXPECT_EQ(text(c::起始像素点X编辑框), "519");
    EXPECT_EQ(text(c::起始像素点Y编辑框), "351");
    EXPECT_EQ(text(c::当前区块行号编辑框), "11");
    EXPECT_EQ(text(c::当前区块列号编辑框), "17");
    EXPECT_EQ(editor.state().city.cityItemText, "001.西凉  (00519,00351)");
    ASSERT_EQ(canvas.rectangles.size(), 1u);
    EXPECT_EQ(canvas.rectangles[0], (RecordingCanvas::Rectangle {64, 40, 67, 43, Rgb {}}));
    // Without a file the terrain report replaces the file-not-open text.
    EXPECT_EQ(text(c::标签19), "当前地形:\r\r地形代码:00");
}

TEST_F(CitySelection, FarCityShowsItsPage)
{
    select(98);
    EXPECT_EQ(editor.state().view.viewPageColumn, 5);
    EXPECT_EQ(editor.state().view.viewPageRow, 1);
    EXPECT_EQ(canvas.pictures.back(), (RecordingCanvas::PictureDraw {7, -1920, -240}));
}

TEST_F(CitySelection, TwoCitiesOnOnePageLeaveOneMarker)
{
    select(1);
    select(2);
    // The second calculation redrew the page after the first marker.
    ASSERT_EQ(canvas.rectangles.size(), 2u);
    ASSERT_GE(canvas.pictures.size(), 3u);
    EXPECT_EQ(canvas.pictures.back(), (RecordingCanvas::PictureDraw {7, 0, 0}));
}

TEST_F(CitySelection, MarksInTheLastColourSet)
{
    select(1);
    editor.locateCurrentBlock();
    select(5);
    EXPECT_EQ(canvas.rectangles.back().colour, (Rgb {255, 255, 255}));
}

TEST_F(CitySelection, EmptyStartAddressChangesOnlyThePixelBoxes)
{
    controls.texts[std::string(c::起始位址编辑框)] = "";
    controls.writes.clear();
    select(37);
    EXPECT_EQ(controls.writes, (std::vector<std::string> {std::string(c::起始像素点X编辑框),
                                                          std::string(c::起始像素点Y编辑框)}));
    EXPECT_TRUE(canvas.rectangles.empty());
}

// The list browsed and closed without a choice: the box goes back to the
// city chosen last, or to none, and nothing else changes.
TEST_F(CitySelection, AListClosedWithoutAChoiceShowsTheCityChosenLast)
{
    const std::string box(c::城池选择组合框);
    controls.selection[box] = 4;
    editor.showChosenCity();
    EXPECT_EQ(controls.selectedIndex(box), -1);
    select(3);
    controls.selection[box] = 7;
    controls.writes.clear();
    editor.showChosenCity();
    EXPECT_EQ(controls.selectedIndex(box), 2);
    EXPECT_TRUE(controls.writes.empty());
    EXPECT_EQ(editor.state().city.cityItemText, controls.itemText(box, 2));
}

TEST_F(CitySelection, ReadsTheTerrainOfTheCityBlock)
{
    open(dir.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {0x05}; })));
    select(50);
    EXPECT_EQ(text(c::标签19), "当前地形:道路\r\r地形代码:05");
}

// The set-up gives both lists their items: the cities as the combo box's
// texts, the legend's codes with their names, each item carrying its code.
TEST_F(EditorFixture, SetUpFillsBothLists)
{
    editor.setUp();
    const std::vector<std::string>& cityItems = controls.items[std::string(c::城池选择组合框)];
    ASSERT_EQ(cityItems.size(), cities::table().size());
    for (std::size_t i = 0; i < cityItems.size(); ++i)
        EXPECT_EQ(cityItems[i], cities::itemText(cities::table()[i]));
    EXPECT_EQ(controls.itemText(c::城池选择组合框, 0), "001.西凉  (00519,00351)");

    const std::vector<std::string>& legend = controls.items[std::string(c::列表框1)];
    ASSERT_EQ(legend.size(), 34u);
    for (int code = terrain::lowestCode; code <= terrain::highestCode; ++code) {
        EXPECT_EQ(legend[static_cast<std::size_t>(code - 1)], terrain::legendItemText(code));
        EXPECT_EQ(controls.itemValue(c::列表框1, code - 1), code);
    }
}

} // namespace
} // namespace quarnet::testing
