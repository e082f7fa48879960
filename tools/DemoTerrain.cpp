#include "DemoTerrain.h"

#include "mapfile/CityTable.h"
#include "mapfile/MapGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quarnet::demo {

namespace {

namespace g = quarnet::geometry;

constexpr int columns = g::columns;
constexpr int rows = g::rows;

enum Code : std::uint8_t {
    River = 0x01, Snowfield = 0x02, Grassland = 0x03, Road = 0x05, DryGrassland = 0x06, Mountains = 0x07,
    Hills = 0x0A, PatchySnow = 0x0B, ShallowSea = 0x0C, DeepSea = 0x0D, Desert = 0x0E, Wasteland = 0x10,
    Marsh = 0x11, SnowyHills = 0x16, SnowMountains = 0x18, Forest = 0x19,
};

// Smooth pseudo-random noise in 0..1, the same on every machine.
double lattice(int x, int y, int seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u
                      + static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double smoothNoise(double x, double y, int seed)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double top = lattice(x0, y0, seed) + sx * (lattice(x0 + 1, y0, seed) - lattice(x0, y0, seed));
    const double bottom = lattice(x0, y0 + 1, seed) + sx * (lattice(x0 + 1, y0 + 1, seed) - lattice(x0, y0 + 1, seed));
    return top + sy * (bottom - top);
}

double fractal(double x, double y, int seed)
{
    double sum = 0;
    double amplitude = 1;
    double total = 0;
    for (int octave = 0; octave < 5; ++octave) {
        sum += amplitude * smoothNoise(x, y, seed + octave);
        total += amplitude;
        x *= 2.03;
        y *= 2.03;
        amplitude *= 0.5;
    }
    return sum / total;
}

struct Terrain {
    std::vector<std::uint8_t> codes = std::vector<std::uint8_t>(static_cast<std::size_t>(columns) * rows);
    std::uint8_t& at(int column, int row) { return codes[static_cast<std::size_t>(row) * columns + column]; }
};

bool isSea(std::uint8_t code)
{
    return code == ShallowSea || code == DeepSea;
}

Terrain makeTerrain()
{
    Terrain terrain;
    std::vector<double> height(static_cast<std::size_t>(columns) * rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const double u = column / double(columns);
            const double v = row / double(rows);
            double h = fractal(column / 70.0, row / 70.0, 11);
            // A continent in the west and middle, the ocean to the east and
            // south-east, with islands where the noise rises.
            h += 0.07 - 0.5 * std::max(0.0, u - 0.74) - 0.6 * std::max(0.0, v - 0.88);
            height[static_cast<std::size_t>(row) * columns + column] = h;
        }
    }
    // Cities stand on land: raise the ground around each.
    for (const auto& city : quarnet::cities::table()) {
        const int cc = city.x / g::blockSize;
        const int cr = city.y / g::blockSize;
        for (int dr = -4; dr <= 4; ++dr)
            for (int dc = -4; dc <= 4; ++dc) {
                const int c = cc + dc;
                const int r = cr + dr;
                if (c < 0 || r < 0 || c >= columns || r >= rows)
                    continue;
                const double weight = 1.0 - std::sqrt(double(dc * dc + dr * dr)) / 6.0;
                double& h = height[static_cast<std::size_t>(r) * columns + c];
                h = std::max(h, 0.46 + 0.08 * weight);
            }
    }

    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const double h = height[static_cast<std::size_t>(row) * columns + column];
            const double moisture = fractal(column / 30.0, row / 30.0, 77);
            const double north = 1.0 - row / double(rows) * 5; // snow in the top fifth
            const double west = 1.0 - column / double(columns) * 4.5; // desert in the west
            std::uint8_t code;
            if (h < 0.36)
                code = DeepSea;
            else if (h < 0.44)
                code = ShallowSea;
            else if (h > 0.69)
                code = north > 0.2 ? SnowMountains : Mountains;
            else if (h > 0.62)
                code = north > 0.3 ? SnowyHills : Hills;
            else if (north > 0.45)
                code = moisture > 0.5 ? Snowfield : PatchySnow;
            else if (west > 0.2 + 0.3 * moisture)
                code = moisture > 0.55 ? Wasteland : Desert;
            else if (moisture > 0.62)
                code = Forest;
            else if (moisture < 0.36)
                code = DryGrassland;
            else if (moisture > 0.56 && h < 0.49)
                code = Marsh;
            else
                code = Grassland;
            terrain.at(column, row) = code;
        }
    }

    // Rivers along the valleys of a second noise field, on land only.
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const double n = fractal(column / 60.0, row / 60.0, 301);
            std::uint8_t& code = terrain.at(column, row);
            if (std::abs(n - 0.5) < 0.008 && !isSea(code) && code != SnowMountains && code != Mountains)
                code = River;
        }
    return terrain;
}

// Roads from every city to its two nearest neighbours, over land.
void addRoads(Terrain& terrain)
{
    const auto& cities = quarnet::cities::table();
    for (std::size_t i = 0; i < cities.size(); ++i) {
        std::array<std::pair<double, std::size_t>, 2> nearest {{{1e18, i}, {1e18, i}}};
        for (std::size_t j = 0; j < cities.size(); ++j) {
            if (j == i)
                continue;
            const double dx = cities[j].x - cities[i].x;
            const double dy = cities[j].y - cities[i].y;
            const double d = dx * dx + dy * dy;
            if (d < nearest[1].first) {
                nearest[1] = {d, j};
                if (nearest[1].first < nearest[0].first)
                    std::swap(nearest[0], nearest[1]);
            }
        }
        for (const auto& [distance, j] : nearest) {
            int c0 = cities[i].x / g::blockSize, r0 = cities[i].y / g::blockSize;
            const int c1 = cities[j].x / g::blockSize, r1 = cities[j].y / g::blockSize;
            const int dc = std::abs(c1 - c0), dr = -std::abs(r1 - r0);
            const int sc = c0 < c1 ? 1 : -1, sr = r0 < r1 ? 1 : -1;
            int error = dc + dr;
            for (;;) {
                std::uint8_t& code = terrain.at(c0, r0);
                if (!isSea(code) && code != River)
                    code = Road;
                if (c0 == c1 && r0 == r1)
                    break;
                const int e2 = 2 * error;
                if (e2 >= dr) { error += dr; c0 += sc; }
                if (e2 <= dc) { error += dc; r0 += sr; }
            }
        }
    }
}

} // namespace

std::vector<std::uint8_t> terrainCodes()
{
    Terrain terrain = makeTerrain();
    addRoads(terrain);
    return terrain.codes;
}

} // namespace quarnet::demo
