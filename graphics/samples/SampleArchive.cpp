#include "SampleArchive.h"

#include "core/FileWriting.h"
#include "core/TileArchive.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <vector>

namespace dovrel {

// The default terrain of every tile slot, as the editor's table holds it.
const std::array<const char *, 16> SampleTerrainRows = {
    "NNNNNNNNNNNNNNNNNNNNNN....IIIIIIIIIIIIIIIIIIIIINNI..OOOO1111JJJJOOOO11.........",
    "444BBBBBB444474744448888777777777777777774447774444BBBCCCCCC4:::::4:::::::::...",
    "2222222222223<3333333333333<<33<<<33<<<<<3<<3<3<<<22<<<PPPPPPPPPPPPPPPPPP3333..",
    "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH....HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH",
    "44444444444444444444444I..IIIIIIIIIIIIIIIIIIIIIIII..IIICCCCCCCCCC..............",
    "OOOOOOOOOOOOOOOOOOOOOOOOONNONNNNNNNNNNNNNNNNNNNOOONNNNNNNNNNNNNNNNNNNNNNNNNNNNN",
    "000000000QQQQQQRRRRRR1111QR000FFFFFFFFFFF0000..................................",
    "88FFFQQMMMMMMM8FQQ.............................................................",
    "FFFFFFFFFFFFFFFFFFFFF.GGGGGGGGGGGGGGGGGGEEEEEEEEEEEEEEFFFFFFFFFFFF..DDDDDDDDDD.",
    "SSSSSSSSSSSSSSS...IIIIIIII..............SSSSSSSSSSSSSSSS;;;;;;;;;;;;;;.........",
    "NNNNNNNNNNNNNNNNNNN6666666666666666666TTTNNNNNNNNNNNNNNNNNN55555...............",
    "AAAAAAAAA@@@@@@@@TTTQCCCCCC44444444444444444444@@@@@@@@@@@@@@@@@@@@222222222222",
    "=========.=========.>>>>>>>>>..................................................",
    "FFFFFFFFFFFFFFFFFFFFF.GGGGGGGGGGGGGEEEEEEEEEEEEEEFFFF...FFFFFFFFFF.............",
    "OOOOOOOOOOOOOOOOOOOOIIIOIIIIIIIIIIIIIIIIIIOIIOOOIINIIONOOOO<O44O0OO011.........",
    "111001OOOI0020IOO101...........................................................",
};

namespace {

// ---------------------------------------------------------------------------
// Which sides a directional tile faces. The editor's shaping passes write these
// tiles where the neighbours named by a pattern (NW, N, NE, SE, S, SW after the
// centre letter) are of the marked kind.

struct PatternRow {
    const char *pattern;
    int tile;
};

const PatternRow CoastRows[] = {
    {"OLLLOOO", 20}, {"OLOOOOL", 40}, {"OOOOOLL", 7}, {"OOLOOOO", 5}, {"OOOOOOL", 3}, {"OLOOOLL", 12},
    {"OOLLOOO", 9}, {"OOOOOLO", 4}, {"OOOOLLL", 21}, {"OOLLLOO", 16}, {"OOOOLOO", 1}, {"OOOOLLO", 6},
    {"OOOLOOO", 2}, {"OOOLLLL", 28}, {"OLLLOOL", 27}, {"OLLLLOO", 26}, {"OLOOLLL", 30}, {"OLLLLLO", 35},
    {"OLLOOOO", 8}, {"OOOLLOO", 11}, {"OOOLLLO", 14}, {"OLOOOOO", 0}, {"OLLOOOL", 15},
};
const PatternRow BeachRows[] = {
    {"LLLLLCL", 4}, {"LCCCCLC", 53}, {"LLLLCLL", 1}, {"LLLLLCC", 7}, {"LLCLLLL", 5}, {"LLCCCCL", 38},
    {"LLLCCCC", 28}, {"LLLCCLL", 41}, {"LLLLCCL", 6}, {"LLCCLLL", 9}, {"LLLCCCL", 14}, {"LCCCCLL", 26},
    {"LLCCCLL", 17}, {"LLLCLLL", 2}, {"LCLLLLC", 10}, {"LCCCLLL", 48}, {"LCCLLLL", 8}, {"LCLLLCC", 12},
    {"LLLLCCC", 22}, {"LCLCCLL", 26}, {"LCCLLLC", 15}, {"LCLLCCC", 30},
};
const PatternRow ShallowRows[] = {
    {"OOOCCCC", 23}, {"OOOCCCO", 48}, {"OCOOOOO", 1}, {"OOOOOCC", 49}, {"OOOOCCC", 23}, {"OCCOOOC", 10},
    {"OOOCCOO", 18}, {"OCOOOCC", 24}, {"OCOOCCC", 35}, {"OOOOOCO", 21}, {"OCOOOOC", 10}, {"OCCCOOO", 28},
    {"OOOOCCO", 14}, {"OOOOOOC", 49}, {"OOCOOOO", 16}, {"OOOOCOO", 22}, {"OCCOOCC", 34}, {"OOCCCOO", 42},
    {"OCCOOOO", 5}, {"OOCCOOO", 17},
};
const PatternRow RoadRows[] = {
    {"ROROROO", 27}, {"ROROOOR", 20}, {"RORRROO", 14}, {"RROOROO", 13}, {"ROOOROR", 36}, {"ROORROR", 35},
    {"RROROOO", 31}, {"RRORROO", 31}, {"ROORORR", 35}, {"ROOROOR", 35}, {"ROROORO", 20}, {"ROORORO", 35},
    {"RROOORO", 24},
};
const PatternRow RiverRows[] = {
    {"ROROORO", 9}, {"ROROOOR", 16}, {"ROROROO", 15}, {"ROOROOR", 16},
    {"RROOROO", 14}, {"RROROOO", 16}, {"RROOORO", 14}, {"ROOOROR", 14},
};

template <size_t Count>
std::map<int, int> SidesFromTable(const PatternRow (&rows)[Count], char marked)
{
    // A tile that several patterns name faces the sides that at least half of
    // its patterns mark.
    std::map<int, std::array<int, 6>> votes;
    std::map<int, int> patterns;
    for (const PatternRow &row : rows) {
        ++patterns[row.tile];
        for (int side = 0; side < 6; ++side)
            if (row.pattern[side + 1] == marked)
                ++votes[row.tile][size_t(side)];
    }
    std::map<int, int> sides;
    for (const auto &[tile, count] : patterns) {
        int mask = 0;
        for (int side = 0; side < 6; ++side)
            if (2 * votes[tile][size_t(side)] >= count && votes[tile][size_t(side)] > 0)
                mask |= 1 << side;
        sides[tile] = mask;
    }
    return sides;
}

quint64 Mix(quint64 x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A small deterministic generator: the same tiles on every run and machine.
class Rng {
public:
    explicit Rng(quint64 seed) : m_state(Mix(seed)) {}
    quint64 next() { return m_state = Mix(m_state); }
    int below(int n) { return n <= 0 ? 0 : int(next() % quint64(n)); }
    int range(int lo, int hi) { return lo + below(hi - lo + 1); }
    double unit() { return double(next() >> 11) / double(1ull << 53); }
    bool chance(double p) { return unit() < p; }

private:
    quint64 m_state;
};

enum class Kind { None, Coast, Beach, Shallow, Road, River };

Kind KindOf(int set, char terrain)
{
    switch (set) {
    case 0:
    case 14:
        if (terrain == 'N' || terrain == 'I' || terrain == 'O')
            return Kind::Coast;
        break;
    case 2:
        return Kind::Road;
    case 3:
        return Kind::River;
    case 4:
        if (terrain == '4' || terrain == 'I')
            return Kind::Beach;
        break;
    case 5:
        return Kind::Shallow;
    case 10:
        if (terrain == 'N')
            return Kind::Coast;
        break;
    default:
        break;
    }
    if (terrain == '2' || terrain == '3' || terrain == '<' || terrain == 'P')
        return Kind::Road;
    return Kind::None;
}

char TerrainAt(int set, int tile)
{
    const char *row = SampleTerrainRows[size_t(set)];
    return tile < int(std::strlen(row)) ? row[tile] : '.';
}

// Sides for every tile of one set: those the tables name, and for the others a
// choice of our own that differs from every other tile of the set.
std::array<int, 80> ComputeSides(int set)
{
    std::array<int, 80> sides{};
    std::map<int, int> table;
    switch (set) {
    case 0: table = SidesFromTable(CoastRows, 'L'); break;
    case 2: table = SidesFromTable(RoadRows, 'R'); break;
    case 3: table = SidesFromTable(RiverRows, 'R'); break;
    case 4: table = SidesFromTable(BeachRows, 'C'); break;
    case 5: table = SidesFromTable(ShallowRows, 'C'); break;
    default: break;
    }
    std::set<int> used;
    for (const auto &[tile, mask] : table)
        used.insert(mask);
    for (int tile = 0; tile < 80; ++tile) {
        const char terrain = TerrainAt(set, tile);
        if (terrain == '.')
            continue;
        if (auto it = table.find(tile); it != table.end()) {
            sides[size_t(tile)] = it->second;
            continue;
        }
        const Kind kind = KindOf(set, terrain);
        if (kind == Kind::None)
            continue;
        // Open deep water and open sea tiles face nothing.
        if (terrain == 'O' && (kind == Kind::Coast || (kind == Kind::Shallow && tile % 3 != 1)))
            continue;
        const bool linear = kind == Kind::Road || kind == Kind::River;
        Rng rng(quint64(set) * 1000 + quint64(tile) + 77);
        int mask = 0;
        for (int attempt = 0; attempt < 200; ++attempt) {
            mask = int(rng.below(63)) + 1;
            const int bits = std::popcount(unsigned(mask));
            const bool shapeOk = linear ? (bits >= 2 && bits <= 3) : (bits >= 1 && bits <= 4);
            if (shapeOk && !used.count(mask))
                break;
        }
        used.insert(mask);
        sides[size_t(tile)] = mask;
    }
    return sides;
}

// ---------------------------------------------------------------------------
// Colours. Palette block A holds 28 materials of 5 shades each (indices 0 to
// 139); block B holds 8 accent colours (240 to 247) for towns, airfields,
// forts and oil fields, and lists nothing else.

enum Material {
    DeepWater, ShallowWater, Sand, Grass, Jungle, DenseJungle, DirtRoad, Paved, CityGround, Roof,
    Mountain, Rock, DarkMountain, Coral, Swamp, Bamboo, Kunai, Desert, Field, Rice,
    Hedge, Lava, Oil, Concrete, Forest, Wood, Foam, Bunker, MaterialCount
};

struct Rgb6 {
    int r, g, b;
};

const Rgb6 MaterialBase[MaterialCount] = {
    {6, 16, 38},  {14, 34, 46}, {56, 50, 32}, {28, 44, 16}, {12, 34, 10}, {6, 24, 6},   {42, 30, 16},
    {30, 30, 30}, {38, 38, 32}, {46, 18, 12}, {38, 30, 20}, {42, 40, 38}, {22, 18, 16}, {58, 38, 42},
    {24, 30, 16}, {40, 48, 14}, {48, 48, 20}, {58, 48, 30}, {50, 50, 18}, {16, 44, 34}, {10, 26, 8},
    {56, 16, 6},  {10, 10, 10}, {46, 46, 44}, {14, 30, 14}, {36, 24, 12}, {60, 62, 62}, {26, 28, 22},
};
const double ShadeFactor[5] = {0.62, 0.8, 1.0, 1.15, 1.3};

enum Accent { White = 240, BrightRed, Yellow, Black, Orange, LightGray, BlueRoof, GreenRoof, AccentEnd };
const Rgb6 AccentColors[AccentEnd - White] = {
    {62, 62, 62}, {60, 10, 8}, {62, 56, 10}, {4, 4, 4}, {62, 36, 4}, {50, 50, 52}, {14, 22, 50}, {16, 40, 20},
};

constexpr int ShadeIndex(Material m, int shade) { return int(m) * 5 + std::clamp(shade, 0, 4); }

QByteArray PaletteBlockA()
{
    QByteArray block;
    const int entries = MaterialCount * 5;
    for (int i = 0; i < 4; ++i)
        block.append(char((entries >> (8 * i)) & 0xFF));
    for (int m = 0; m < MaterialCount; ++m) {
        for (int s = 0; s < 5; ++s) {
            const Rgb6 &c = MaterialBase[m];
            auto scale = [&](int v) { return std::clamp(int(std::lround(v * ShadeFactor[s])), 0, 63); };
            block.append(char(ShadeIndex(Material(m), s)));
            block.append(char(scale(c.r)));
            block.append(char(scale(c.g)));
            block.append(char(scale(c.b)));
        }
    }
    return block;
}

QByteArray PaletteBlockB()
{
    QByteArray block;
    const int entries = AccentEnd - White;
    for (int i = 0; i < 4; ++i)
        block.append(char((entries >> (8 * i)) & 0xFF));
    for (int i = 0; i < entries; ++i) {
        block.append(char(White + i));
        block.append(char(AccentColors[i].r));
        block.append(char(AccentColors[i].g));
        block.append(char(AccentColors[i].b));
    }
    return block;
}

bool UsesAccents(char terrain)
{
    return std::strchr("01JQRSTD", terrain) != nullptr;
}

// ---------------------------------------------------------------------------
// Drawing one tile: a flat-topped hexagon at the game's size. Pixels outside
// the hexagon stay transparent and are skipped in the coded rows.

constexpr int W = SampleTileWidth;
constexpr int H = SampleTileHeight;

struct HexGeometry {
    double vx[6], vy[6];      // vertices: left, top-left, top-right, right, bottom-right, bottom-left
    double nx[6], ny[6], c[6]; // inward edge normals: distance = nx*x + ny*y + c
    double apothem[6];
    double cx = 30.15, cy = 24.5;

    HexGeometry()
    {
        const double xs[6] = {-1.0, 14.3, 46.0, 61.3, 46.0, 14.3};
        const double ys[6] = {24.5, -1.0, -1.0, 24.5, 50.0, 50.0};
        for (int k = 0; k < 6; ++k) {
            vx[k] = xs[k];
            vy[k] = ys[k];
        }
        for (int k = 0; k < 6; ++k) {
            const double dx = vx[(k + 1) % 6] - vx[k];
            const double dy = vy[(k + 1) % 6] - vy[k];
            const double len = std::hypot(dx, dy);
            double a = -dy / len, b = dx / len;
            double off = -(a * vx[k] + b * vy[k]);
            if (a * cx + b * cy + off < 0) {
                a = -a;
                b = -b;
                off = -off;
            }
            nx[k] = a;
            ny[k] = b;
            c[k] = off;
            apothem[k] = a * cx + b * cy + off;
        }
    }
    double distance(int k, double x, double y) const { return nx[k] * x + ny[k] * y + c[k]; }
    // 0 at the centre, 1 on side k's edge.
    double toward(int k, double x, double y) const { return 1.0 - distance(k, x, y) / apothem[k]; }
    double midX(int k) const { return (vx[k] + vx[(k + 1) % 6]) / 2; }
    double midY(int k) const { return (vy[k] + vy[(k + 1) % 6]) / 2; }
};

const HexGeometry &Hex()
{
    static const HexGeometry geometry;
    return geometry;
}

class TilePainter {
public:
    TilePainter(int set, int tile) : m_rng(quint64(set) * 7919 + quint64(tile) * 104729 + 1), m_seed(quint64(set) * 131 + quint64(tile))
    {
        const HexGeometry &hex = Hex();
        for (int j = 0; j < H; ++j)
            for (int u = 0; u < W; ++u) {
                bool in = true;
                for (int k = 0; k < 6 && in; ++k)
                    in = hex.distance(k, u, j) >= -0.75;
                m_px[size_t(j)][size_t(u)] = in ? 0 : -1;
            }
    }

    Rng &rng() { return m_rng; }
    int at(int u, int j) const { return m_px[size_t(j)][size_t(u)]; }
    bool inside(int u, int j) const { return u >= 0 && j >= 0 && u < W && j < H && m_px[size_t(j)][size_t(u)] >= 0; }
    void put(int u, int j, int index)
    {
        if (inside(u, j))
            m_px[size_t(j)][size_t(u)] = index;
    }
    double noise(int u, int j, int salt = 0) const
    {
        return double(Mix(m_seed * 1000003 + quint64(salt) * 7777 + quint64(j) * 64 + quint64(u)) >> 11) / double(1ull << 53);
    }

    // A field of one material with a little grain.
    void ground(Material m, int base = 2, double grain = 0.18)
    {
        for (int j = 0; j < H; ++j)
            for (int u = 0; u < W; ++u)
                if (inside(u, j)) {
                    const double n = noise(u, j);
                    const int shade = n < grain ? base - 1 : (n > 1 - grain ? base + 1 : base);
                    put(u, j, ShadeIndex(m, shade));
                }
    }
    template <typename Predicate>
    void paintWhere(Predicate pred, Material m, int base = 2, double grain = 0.18, int salt = 3)
    {
        for (int j = 0; j < H; ++j)
            for (int u = 0; u < W; ++u)
                if (inside(u, j) && pred(u, j)) {
                    const double n = noise(u, j, salt);
                    put(u, j, ShadeIndex(m, n < grain ? base - 1 : (n > 1 - grain ? base + 1 : base)));
                }
    }
    void disc(double cx, double cy, double r, int index)
    {
        for (int j = int(cy - r) - 1; j <= int(cy + r) + 1; ++j)
            for (int u = int(cx - r) - 1; u <= int(cx + r) + 1; ++u)
                if ((u - cx) * (u - cx) + (j - cy) * (j - cy) <= r * r)
                    put(u, j, index);
    }
    // A round crown lit from the top left.
    void crown(double cx, double cy, double r, Material m)
    {
        for (int j = int(cy - r) - 1; j <= int(cy + r) + 1; ++j)
            for (int u = int(cx - r) - 1; u <= int(cx + r) + 1; ++u) {
                const double dx = u - cx, dy = j - cy;
                if (dx * dx + dy * dy > r * r)
                    continue;
                const double light = -(dx + dy) / (r * 1.5);
                put(u, j, ShadeIndex(m, light > 0.35 ? 4 : light > 0.0 ? 3 : light > -0.45 ? 2 : 1));
            }
    }
    void rect(int x, int y, int w, int h, int index)
    {
        for (int j = y; j < y + h; ++j)
            for (int u = x; u < x + w; ++u)
                put(u, j, index);
    }
    // A band of `width` pixels along the segment, with rounded ends.
    void band(double x0, double y0, double x1, double y1, double width, const std::function<int(int, int, double)> &index)
    {
        const double dx = x1 - x0, dy = y1 - y0;
        const double len2 = dx * dx + dy * dy;
        const double half = width / 2;
        const int minU = int(std::floor(std::min(x0, x1) - half)) - 1, maxU = int(std::ceil(std::max(x0, x1) + half)) + 1;
        const int minJ = int(std::floor(std::min(y0, y1) - half)) - 1, maxJ = int(std::ceil(std::max(y0, y1) + half)) + 1;
        for (int j = minJ; j <= maxJ; ++j)
            for (int u = minU; u <= maxU; ++u) {
                double t = len2 > 0 ? ((u - x0) * dx + (j - y0) * dy) / len2 : 0;
                t = std::clamp(t, 0.0, 1.0);
                const double px = x0 + t * dx - u, py = y0 + t * dy - j;
                const double d = std::sqrt(px * px + py * py);
                if (d <= half && inside(u, j))
                    put(u, j, index(u, j, d / half));
            }
    }
    void line(double x0, double y0, double x1, double y1, double width, int index)
    {
        band(x0, y0, x1, y1, width, [index](int, int, double) { return index; });
    }
    // Short light strokes on water.
    void waves(Material m, int count)
    {
        for (int i = 0; i < count; ++i) {
            const int u = m_rng.range(6, W - 10), j = m_rng.range(3, H - 4);
            const int len = m_rng.range(3, 5);
            if (!inside(u, j) || !inside(u + len, j))
                continue;
            for (int k = 0; k < len; ++k)
                put(u + k, j, ShadeIndex(m, 4));
            put(u + 1, j + 1, ShadeIndex(m, 1));
        }
    }
    // A random point well inside the hexagon.
    std::pair<double, double> spot(double margin = 0.75)
    {
        const HexGeometry &hex = Hex();
        for (;;) {
            const double u = m_rng.range(2, W - 3), j = m_rng.range(2, H - 3);
            bool ok = true;
            for (int k = 0; k < 6 && ok; ++k)
                ok = hex.toward(k, u, j) < margin;
            if (ok)
                return {u, j};
        }
    }

    const std::array<std::array<int, W>, H> &pixels() const { return m_px; }

private:
    std::array<std::array<int, W>, H> m_px{};
    Rng m_rng;
    quint64 m_seed;
};

// Terrain art without direction.
void PaintTerrain(TilePainter &p, int set, int tile, char terrain)
{
    Rng &rng = p.rng();
    const bool dark = set == 13;
    switch (terrain) {
    case 'O':
        p.ground(DeepWater, 2, 0.12);
        p.waves(DeepWater, 6 + tile % 5);
        break;
    case 'N':
        p.ground(ShallowWater, 2, 0.12);
        p.waves(ShallowWater, 5 + tile % 4);
        break;
    case 'I':
        p.ground(Sand, 2, 0.2);
        break;
    case '4':
        p.ground(Grass, 2, 0.2);
        for (int i = 0; i < 4 + tile % 4; ++i) {
            const auto [u, j] = p.spot();
            p.disc(u, j, 1.2, ShadeIndex(Grass, 3));
        }
        break;
    case '5':
        p.ground(Grass, 1);
        for (int i = 0; i < 22; ++i) {
            const auto [u, j] = p.spot(0.85);
            p.crown(u, j, rng.range(2, 3), Forest);
        }
        break;
    case '6':
        p.ground(Kunai, 2, 0.15);
        for (int i = 0; i < 40; ++i) {
            const auto [u, j] = p.spot(0.9);
            p.line(u, j, u + 2, j - 3, 1, ShadeIndex(Kunai, rng.chance(0.5) ? 0 : 4));
        }
        break;
    case '7':
    case '8': {
        const bool dense = terrain == '8';
        p.ground(dense ? DenseJungle : Jungle, 2, 0.2);
        for (int i = 0; i < (dense ? 60 : 30); ++i) {
            const auto [u, j] = p.spot(0.95);
            p.crown(u, j, rng.range(2, dense ? 4 : 3), rng.chance(0.3) ? Jungle : (dense ? DenseJungle : Forest));
        }
        break;
    }
    case ':':
        p.ground(Jungle, 2);
        for (int i = 0; i < 18; ++i) {
            const auto [u, j] = p.spot(0.85);
            p.line(u, j - 5, u, j + 5, 1.5, ShadeIndex(Bamboo, rng.range(2, 4)));
        }
        break;
    case ';': {
        p.ground(Grass, 2);
        const int step = 9 + tile % 3;
        for (int j = 4; j < H; j += step)
            p.line(0, j + (tile % 5), W, j - 2, 2, ShadeIndex(Hedge, 2));
        for (int u = 7 + tile % 6; u < W; u += 13)
            p.line(u, 0, u + 3, H, 2, ShadeIndex(Hedge, 1));
        break;
    }
    case '=': {
        const int step = 5 + tile % 3;
        const bool slanted = tile % 2;
        p.paintWhere([&](int u, int j) { return ((slanted ? u + j : j) / step) % 2 == 0; }, Field, 2, 0.1);
        p.paintWhere([&](int u, int j) { return ((slanted ? u + j : j) / step) % 2 == 1; }, Grass, 2, 0.1, 5);
        break;
    }
    case '>':
        p.ground(Rice, 2, 0.15);
        for (int u = tile % 4; u < W; u += 10)
            p.line(u, 0, u, H, 1, ShadeIndex(Hedge, 3));
        for (int j = tile % 5; j < H; j += 8)
            p.line(0, j, W, j, 1, ShadeIndex(Hedge, 3));
        break;
    case '@':
        p.ground(Desert, 2, 0.1);
        for (int i = 0; i < 5; ++i) {
            const auto [u, j] = p.spot();
            p.band(u - 8, j + 2, u + 8, j - 2, 2, [](int, int, double) { return ShadeIndex(Desert, 0); });
            p.band(u - 8, j + 1, u + 8, j - 3, 1, [](int, int, double) { return ShadeIndex(Desert, 4); });
        }
        break;
    case 'A': {
        p.ground(Desert, 2, 0.1);
        const double cx = 27 + tile % 6, cy = 22 + tile % 5;
        p.disc(cx, cy, 7, ShadeIndex(ShallowWater, 2));
        p.disc(cx - 1, cy - 1, 4, ShadeIndex(ShallowWater, 3));
        for (int i = 0; i < 6; ++i)
            p.crown(cx + 10 * std::cos(i * 1.05 + tile), cy + 9 * std::sin(i * 1.05 + tile), 2.5, Jungle);
        break;
    }
    case 'B':
        p.ground(Swamp, 2, 0.25);
        for (int i = 0; i < 7; ++i) {
            const auto [u, j] = p.spot();
            p.disc(u, j, rng.range(2, 4), ShadeIndex(ShallowWater, 1));
        }
        for (int i = 0; i < 25; ++i) {
            const auto [u, j] = p.spot(0.9);
            p.line(u, j, u, j - 3, 1, ShadeIndex(Grass, 1));
        }
        break;
    case 'C':
        p.ground(Grass, 1, 0.25);
        for (int i = 0; i < 16; ++i) {
            const auto [u, j] = p.spot(0.9);
            p.crown(u, j, rng.range(1, 3), Rock);
        }
        break;
    case 'D':
        p.ground(DarkMountain, 2, 0.25);
        p.crown(30, 26, 16, DarkMountain);
        p.disc(30 + tile % 3, 22, 5, ShadeIndex(DarkMountain, 0));
        p.disc(30 + tile % 3, 22, 3, Orange);
        p.disc(30 + tile % 3, 22, 1.5, ShadeIndex(Lava, 3));
        break;
    case 'E':
        p.ground(dark ? Jungle : Grass, 2);
        for (int i = 0; i < 3 + tile % 2; ++i) {
            const auto [u, j] = p.spot(0.6);
            p.crown(u, j, rng.range(6, 9), dark ? DarkMountain : Mountain);
        }
        break;
    case 'F':
    case 'G': {
        const Material rockM = dark ? DarkMountain : Mountain;
        p.ground(dark ? DenseJungle : Jungle, dark ? 1 : 2);
        const int peaks = terrain == 'F' ? 3 + tile % 3 : 2;
        for (int i = 0; i < peaks; ++i) {
            const auto [u, j] = p.spot(0.55);
            const double size = rng.range(9, 14);
            for (int dj = 0; dj <= size; ++dj)
                for (int du = -dj; du <= dj; ++du)
                    p.put(int(u) + du, int(j - size * 0.6) + dj, ShadeIndex(rockM, du < 0 ? 4 : du == 0 ? 3 : 1));
            if (!dark)
                p.disc(u, j - size * 0.6 + 1, 1.2, ShadeIndex(Foam, 2));
        }
        if (terrain == 'G') {
            const double slope = (tile % 5 - 2) * 0.3;
            p.band(0, 26 - 30 * slope, W, 26 + 30 * slope, 3, [](int, int, double d) { return ShadeIndex(DarkMountain, d < 0.5 ? 0 : 1); });
        }
        break;
    }
    case 'M':
        p.ground(ShallowWater, 2, 0.12);
        for (int i = 0; i < 12; ++i) {
            const auto [u, j] = p.spot(0.85);
            p.crown(u, j, rng.range(1, 3), Coral);
        }
        for (int i = 0; i < 8; ++i) {
            const auto [u, j] = p.spot(0.9);
            p.line(u, j, u + 4, j, 1, ShadeIndex(Foam, 2));
        }
        break;
    case '0':
    case '1': {
        // Town blocks between streets: houses with red-brown, grey and a few
        // blue roofs, gardens and trees in between.
        p.ground(Grass, 2, 0.2);
        const int block = 10 + tile % 3;
        const int offU = (tile * 7) % block, offJ = (tile * 3) % block;
        for (int j = 0; j < H; ++j)
            for (int u = 0; u < W; ++u)
                if ((u + offU) % block < 2 || (j + offJ) % block < 2)
                    p.put(u, j, ShadeIndex(Concrete, (u + offU) % block < 2 && (j + offJ) % block < 2 ? 1 : 2));
        for (int bj = -block; bj < H + block; bj += block)
            for (int bu = -block; bu < W + block; bu += block) {
                const int x0 = bu - offU + 2, y0 = bj - offJ + 2;
                const int inner = block - 2;
                for (int k = 0; k < 2; ++k) {
                    if (!rng.chance(terrain == '0' ? 0.8 : 0.7)) {
                        p.crown(x0 + 2 + rng.below(inner - 3), y0 + 2 + rng.below(inner - 3), 1.6, Forest);
                        continue;
                    }
                    const int w = rng.range(3, inner - 2), h = rng.range(3, inner - 3);
                    const int x = x0 + rng.below(inner - w + 1), y = y0 + rng.below(inner - h + 1);
                    const double pick = rng.unit();
                    const int roof = pick < 0.55 ? ShadeIndex(Roof, 2) : pick < 0.8 ? LightGray : pick < 0.92 ? BrightRed : BlueRoof;
                    p.rect(x, y, w, h, roof);
                    p.rect(x, y + h - 1, w, 1, ShadeIndex(Roof, 0));
                    p.rect(x + w - 1, y, 1, h, ShadeIndex(Bunker, 1));
                }
            }
        break;
    }
    case 'Q':
    case 'R': {
        p.ground(Grass, 2);
        const double a = (tile % 4) * 0.6;
        const double dx = std::cos(a) * 28, dy = std::sin(a) * 20;
        const bool paved = terrain == 'R';
        p.line(30 - dx, 25 - dy, 30 + dx, 25 + dy, 8, paved ? ShadeIndex(Concrete, 2) : ShadeIndex(Sand, 1));
        if (paved)
            for (int i = -3; i <= 3; ++i)
                p.line(30 + dx * i / 4.0 - dx / 12, 25 + dy * i / 4.0 - dy / 12, 30 + dx * i / 4.0 + dx / 12, 25 + dy * i / 4.0 + dy / 12, 1, White);
        p.rect(10 + tile % 7, 36, 6, 4, paved ? LightGray : ShadeIndex(Wood, 2));
        break;
    }
    case 'S':
        p.ground(set == 9 && tile >= 40 ? Jungle : Grass, 2);
        for (int i = 0; i < 4; ++i) {
            const auto [u, j] = p.spot(0.6);
            p.rect(int(u) - 3, int(j) - 2, 7, 5, ShadeIndex(Bunker, 2));
            p.rect(int(u) - 2, int(j) - 1, 5, 1, Black);
        }
        p.band(8, 30 + tile % 7, 52, 18 + tile % 5, 1.5, [](int, int, double) { return ShadeIndex(DirtRoad, 0); });
        break;
    case 'T':
        p.ground(set == 11 ? Desert : Grass, 2);
        for (int i = 0; i < 4; ++i) {
            const auto [u, j] = p.spot(0.65);
            p.line(u - 3, j + 3, u, j - 4, 1, Black);
            p.line(u + 3, j + 3, u, j - 4, 1, Black);
            p.put(int(u), int(j) - 5, Orange);
        }
        p.disc(14 + tile % 5, 30, 3, LightGray);
        p.disc(44 - tile % 5, 20, 3, LightGray);
        break;
    case 'J':
        p.ground(ShallowWater, 2, 0.12);
        p.waves(ShallowWater, 5);
        break;
    default:
        p.ground(Grass, 2);
        break;
    }
}

// Feature bands toward the faced sides.
double Toward(const TilePainter &p, int sides, int u, int j, double wobble)
{
    const HexGeometry &hex = Hex();
    double best = -1;
    for (int k = 0; k < 6; ++k)
        if (sides & (1 << k))
            best = std::max(best, hex.toward(k, u, j) + wobble * (p.noise(u, j, 9 + k) - 0.5) +
                                      0.05 * std::sin((u + j) * 0.45 + k));
    return best;
}

void PaintArms(TilePainter &p, int sides, double width, const std::function<int(int, int, double)> &index)
{
    const HexGeometry &hex = Hex();
    for (int k = 0; k < 6; ++k)
        if (sides & (1 << k)) {
            const double ex = hex.midX(k) + (hex.midX(k) - hex.cx) * 0.1;
            const double ey = hex.midY(k) + (hex.midY(k) - hex.cy) * 0.1;
            p.band(hex.cx, hex.cy, ex, ey, width, index);
        }
    if (sides)
        p.band(hex.cx, hex.cy, hex.cx, hex.cy, width, index);
}

void PaintTile(TilePainter &p, int set, int tile, char terrain, int sides)
{
    const Kind kind = KindOf(set, terrain);
    switch (kind) {
    case Kind::Coast: {
        // Water, with the shore toward the land sides: a sand beach and, on
        // coast tiles, the green behind it.
        PaintTerrain(p, set, tile, terrain == 'I' ? 'N' : terrain);
        if (!sides)
            break;
        const double shore = 0.56;
        p.paintWhere([&](int u, int j) { return Toward(p, sides, u, j, 0.08) > shore - 0.12; }, ShallowWater, 3, 0.1, 11);
        p.paintWhere([&](int u, int j) { return Toward(p, sides, u, j, 0.08) > shore; }, Sand, 2, 0.15, 12);
        if (terrain != 'I')
            p.paintWhere([&](int u, int j) { return Toward(p, sides, u, j, 0.08) > shore + 0.16; }, set == 10 ? Kunai : Grass, 2, 0.2, 13);
        break;
    }
    case Kind::Beach:
        // Land, with sand toward the sea sides; beach tiles have light dune grass.
        PaintTerrain(p, set, tile, '4');
        if (terrain == 'I')
            p.paintWhere([&](int u, int j) { return p.noise(u, j, 23) < 0.4; }, Grass, 3, 0.1, 24);
        p.paintWhere([&](int u, int j) { return Toward(p, sides, u, j, 0.08) > 0.56; }, Sand, 2, 0.15, 14);
        p.paintWhere([&](int u, int j) { return Toward(p, sides, u, j, 0.0) > 0.86; }, Sand, 4, 0.1, 15);
        break;
    case Kind::Shallow:
        // Deep water, turning shallow toward the coast sides.
        PaintTerrain(p, set, tile, 'O');
        if (terrain == 'N')
            p.paintWhere([&](int u, int j) { return p.noise(u, j, 21) < 0.3; }, DeepWater, 3, 0.0, 16);
        p.paintWhere([&](int u, int j) { return Toward(p, sides, u, j, 0.08) > 0.56; }, ShallowWater, 1, 0.1, 17);
        p.paintWhere([&](int u, int j) { return Toward(p, sides, u, j, 0.08) > 0.74; }, ShallowWater, 2, 0.1, 18);
        break;
    case Kind::Road: {
        const bool path = terrain == 'P';
        PaintTerrain(p, set, tile, path ? '7' : (set == 11 ? '@' : '4'));
        if (path) {
            PaintArms(p, sides, 4, [&](int u, int j, double) { return ShadeIndex(DirtRoad, p.noise(u, j, 30) < 0.3 ? 3 : 2); });
        } else if (terrain == '2') {
            PaintArms(p, sides, 6, [&](int u, int j, double d) { return ShadeIndex(DirtRoad, d > 0.7 ? 1 : (p.noise(u, j, 31) < 0.2 ? 3 : 2)); });
        } else {
            PaintArms(p, sides, 7, [&](int, int, double d) { return d > 0.75 ? ShadeIndex(Paved, 0) : ShadeIndex(Paved, 2); });
            PaintArms(p, sides, 1, [&](int u, int j, double) { return (u + j) % 4 < 2 ? ShadeIndex(Concrete, 4) : ShadeIndex(Paved, 2); });
        }
        break;
    }
    case Kind::River:
        PaintTerrain(p, set, tile, tile % 3 == 0 ? '7' : '4');
        PaintArms(p, sides, 9, [&](int, int, double d) { return d > 0.7 ? ShadeIndex(Swamp, 1) : ShadeIndex(ShallowWater, d < 0.3 ? 3 : 2); });
        break;
    case Kind::None:
        PaintTerrain(p, set, tile, terrain);
        if (terrain == '1' || terrain == 'J') {
            // Coastal towns and piers: water on one side of the hex.
            const int side = (tile + set) % 6;
            const HexGeometry &hex = Hex();
            if (terrain == '1') {
                p.paintWhere([&](int u, int j) { return hex.toward(side, u, j) + 0.1 * std::sin(u * 0.5) > 0.35; }, ShallowWater, 2, 0.1, 19);
                p.paintWhere([&](int u, int j) { double t = hex.toward(side, u, j) + 0.1 * std::sin(u * 0.5); return t > 0.3 && t <= 0.35; }, Sand, 3, 0.0, 20);
            } else {
                const int land = (side + 3) % 6;
                p.paintWhere([&](int u, int j) { return hex.toward(land, u, j) > 0.6; }, Grass, 2, 0.2, 22);
                p.line(hex.midX(land), hex.midY(land), hex.cx + (hex.cx - hex.midX(land)) * 0.4,
                       hex.cy + (hex.cy - hex.midY(land)) * 0.4, 4, ShadeIndex(Wood, 2));
                p.line(hex.midX(land), hex.midY(land), hex.cx + (hex.cx - hex.midX(land)) * 0.4,
                       hex.cy + (hex.cy - hex.midY(land)) * 0.4, 1, ShadeIndex(Wood, 0));
            }
        }
        break;
    }
}

// ---------------------------------------------------------------------------
// Coding.

void AppendU16(QByteArray &out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}
void PutU32(QByteArray &out, qsizetype at, qint64 v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = char((v >> (8 * i)) & 0xFF);
}

// One row: a skip over the transparent pixels on the left, runs of three or
// more equal pixels, literal stretches for the rest, and the end control.
QByteArray CodeRow(const std::array<int, W> &row)
{
    QByteArray out;
    int first = 0;
    while (first < W && row[size_t(first)] < 0)
        ++first;
    int last = W - 1;
    while (last >= first && row[size_t(last)] < 0)
        --last;
    if (first > 0 && first < W) {
        out.append(char(1));
        out.append(char(first));
    }
    std::vector<quint8> literal;
    auto flush = [&]() {
        if (literal.empty())
            return;
        out.append(char(2 * literal.size() + 1));
        for (quint8 b : literal)
            out.append(char(b));
        literal.clear();
    };
    for (int x = first; x <= last;) {
        int run = 1;
        while (x + run <= last && row[size_t(x + run)] == row[size_t(x)] && run < 127)
            ++run;
        if (run >= 3) {
            flush();
            out.append(char(2 * run));
            out.append(char(row[size_t(x)]));
            x += run;
        } else {
            literal.push_back(quint8(row[size_t(x)]));
            if (literal.size() == 127)
                flush();
            ++x;
        }
    }
    flush();
    out.append(char(0));
    return out;
}

constexpr int FirstRowNumber = 4;

QByteArray TileRecord(const TilePainter &p)
{
    QByteArray out(TileRowsStart, '\0');
    out[0] = char(W);
    out[2] = char(H);
    out[TileFirstRowField] = char(FirstRowNumber);
    out[TileLastRowField] = char(FirstRowNumber + H - 1);
    for (const auto &row : p.pixels())
        out.append(CodeRow(row));
    return out;
}

QByteArray EmptyTileRecord()
{
    QByteArray out(TileRowsStart, '\0');
    out[TileFirstRowField] = char(10);
    out[TileLastRowField] = char(9); // no rows
    return out;
}

QByteArray BuildSet(int set)
{
    const char *row = SampleTerrainRows[size_t(set)];
    const int count = int(std::strlen(row));
    const std::array<int, 80> sides = ComputeSides(set);

    QByteArray out;
    out.append("1.10", 4);
    AppendU16(out, count);
    AppendU16(out, 0);
    const qsizetype directory = out.size();
    out.append(QByteArray(8 * count, '\0'));

    const qint64 paletteA = out.size();
    out.append(PaletteBlockA());
    const qint64 paletteB = out.size();
    out.append(PaletteBlockB());

    const qint64 empty = out.size();
    out.append(EmptyTileRecord());

    qint64 lastPalette = paletteA;
    for (int tile = 0; tile < count; ++tile) {
        const char terrain = row[tile];
        qint64 record = empty;
        qint64 palette = tile == 0 ? paletteA : lastPalette;
        if (terrain != '.') {
            TilePainter painter(set, tile);
            PaintTile(painter, set, tile, terrain, tile < 80 ? sides[size_t(tile)] : 0);
            record = out.size();
            out.append(TileRecord(painter));
            palette = UsesAccents(terrain) ? paletteB : paletteA;
        }
        PutU32(out, directory + 8 * tile, record);
        PutU32(out, directory + 8 * tile + 4, palette);
        lastPalette = palette;
    }
    return out;
}

} // namespace

int SampleTileSides(int set, int tile)
{
    if (set < 0 || set > 15 || tile < 0 || tile >= 80)
        return 0;
    const Kind kind = KindOf(set, TerrainAt(set, tile));
    if (kind == Kind::None || TerrainAt(set, tile) == '.')
        return 0;
    return ComputeSides(set)[size_t(tile)];
}

QByteArray BuildSampleArchive()
{
    std::array<QByteArray, 16> sets;
    qint64 end = 0;
    for (int s = 0; s < 16; ++s) {
        sets[size_t(s)] = BuildSet(s);
        end = std::max(end, SetSearchOffsets[size_t(s)] + 8 + sets[size_t(s)].size());
    }
    QByteArray out(end, '\0');
    const QByteArray title = "Sample tile archive for Dovrel: procedurally drawn tiles, 16 sets.\r\n";
    std::memcpy(out.data(), title.constData(), size_t(title.size()));

    // In front of some sets lie near-misses of the signature, which the scan
    // must pass over ("11.10" is not found: the second '1' breaks the match and
    // is not tried again).
    const char *decoys[4] = {"11.10", "1.1\x01", "1.\x02", ""};
    std::vector<std::pair<qint64, qint64>> taken;
    for (int s = 0; s < 16; ++s) {
        const qint64 start = SetSearchOffsets[size_t(s)];
        const char *decoy = decoys[s % 4];
        const qint64 decoyLength = qint64(std::strlen(decoy));
        std::memcpy(out.data() + start, decoy, size_t(decoyLength));
        const qint64 base = start + decoyLength + 3;
        std::memcpy(out.data() + base, sets[size_t(s)].constData(), size_t(sets[size_t(s)].size()));
        taken.emplace_back(start, base + sets[size_t(s)].size());
    }
    std::sort(taken.begin(), taken.end());
    for (size_t i = 1; i < taken.size(); ++i)
        Q_ASSERT_X(taken[i - 1].second <= taken[i].first, "BuildSampleArchive", "tile sets overlap");
    return out;
}

bool WriteSampleArchive(const QString &path, QString *error)
{
    return WriteWholeFile(path, BuildSampleArchive(), error);
}

} // namespace dovrel
