#include "tests/res/ResourceLookup.h"

#include "res/resource.h"

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Rgb = DWORD; // 0xRRGGBB

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[std::size_t(y * width + x)]; }
};

// Reads an XPM array with "c #RRGGBB" colours, as the pictures of res/ are written.
Picture DecodeXpm(AFX_XPM xpm) {
    Picture pic;
    int colours = 0;
    int cpp = 0;
    EXPECT_EQ(std::sscanf(xpm[0], "%d %d %d %d", &pic.width, &pic.height, &colours, &cpp), 4);
    std::map<std::string, Rgb> palette;
    for (int i = 1; i <= colours; ++i) {
        const std::string line = xpm[i];
        const std::size_t hash = line.find(" c #");
        EXPECT_NE(hash, std::string::npos) << line;
        palette[line.substr(0, std::size_t(cpp))] =
            Rgb(std::stoul(line.substr(hash + 4), nullptr, 16));
    }
    for (int y = 0; y < pic.height; ++y) {
        const std::string row = xpm[1 + colours + y];
        EXPECT_EQ(row.size(), std::size_t(pic.width * cpp)) << "row " << y;
        for (int x = 0; x < pic.width; ++x) {
            const auto colour = palette.find(row.substr(std::size_t(x * cpp), std::size_t(cpp)));
            EXPECT_NE(colour, palette.end()) << x << "," << y;
            pic.pixels.push_back(colour == palette.end() ? 0xDEADBEEF : colour->second);
        }
    }
    return pic;
}

// The bitmap's picture at scale 1, or drawn at twice the size for scale 2.
AFX_XPM Bitmap(UINT nID, std::size_t nScale = 1) {
    const AFX_RESOURCE* res = FindProgramResource(RT_BITMAP, nID);
    return res && res->nSize >= nScale ? static_cast<const AFX_XPM*>(res->pData)[nScale - 1]
                                       : nullptr;
}

constexpr Rgb kRed = 0xFF0000, kWhite = 0xFFFFFF, kGrey = 0x808080, kBlack = 0x000000,
              kBlue = 0x0000FF, kLightGrey = 0xC0C0C0;

// Picture 1's tick: for each row, the runs of blue.
const std::map<int, std::vector<std::pair<int, int>>> kTick = {
    {3, {{13, 13}}},        {4, {{12, 13}}},        {5, {{11, 13}}}, {6, {{10, 13}}},
    {7, {{4, 5}, {9, 12}}}, {8, {{3, 6}, {8, 11}}}, {9, {{4, 10}}},  {10, {{5, 9}}},
    {11, {{6, 8}}},         {12, {{7, 7}}},
};

Rgb ExpectedCheckBoxPixel(int picture, int x, int y) {
    if (y == 0 || y == 15 || x == 0) {
        return kRed;
    }
    if (x == 1 || x == 15 || y == 1 || y == 14) {
        return picture == 0 ? kGrey : kBlack;
    }
    if (picture == 1 && kTick.contains(y)) {
        for (auto [from, to] : kTick.at(y)) {
            if (x >= from && x <= to) {
                return kBlue;
            }
        }
    }
    return kWhite;
}

TEST(Pictures, CheckBoxesArePixelForPixelTheEmptyAndTheTickedBox) {
    const AFX_XPM xpm = Bitmap(IDB_CHECKBOXES);
    ASSERT_NE(xpm, nullptr);
    const Picture pic = DecodeXpm(xpm);
    ASSERT_EQ(pic.width, 33);
    ASSERT_EQ(pic.height, 16);
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(pic.at(32, y), kRed) << "the 33rd column is mask only";
        for (int picture = 0; picture < 2; ++picture) {
            for (int x = 0; x < 16; ++x) {
                EXPECT_EQ(pic.at(picture * 16 + x, y), ExpectedCheckBoxPixel(picture, x, y))
                    << "picture " << picture << " at " << x << "," << y;
            }
        }
    }
    // At twice the size the list shows the same shape: the mask is the small one's, doubled.
    const Picture big = DecodeXpm(Bitmap(IDB_CHECKBOXES, 2));
    ASSERT_EQ(big.width, 66);
    ASSERT_EQ(big.height, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 66; ++x) {
            EXPECT_EQ(big.at(x, y) == kRed, pic.at(x / 2, y / 2) == kRed) << x << "," << y;
        }
    }
}

// Each picture is drawn for a 16-colour display.
TEST(Pictures, SizesAndTheSixteenColourPalette) {
    const std::set<Rgb> vga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    const AFX_RESOURCE* icon = FindProgramResource(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    const auto& images = static_cast<const AFX_ICON*>(icon->pData)->images;
    ASSERT_EQ(images.size(), 3u);
    const struct {
        const char* name;
        AFX_XPM xpm;
        int width, height;
    } cases[] = {
        {"check boxes", Bitmap(IDB_CHECKBOXES), 33, 16},
        {"tool bar", Bitmap(IDR_MAINFRAME), 64, 16},
        {"icon 32", images[0], 32, 32},
        {"icon 16", images[1], 16, 16},
        {"check boxes at twice the size", Bitmap(IDB_CHECKBOXES, 2), 66, 32},
        {"tool bar at twice the size", Bitmap(IDR_MAINFRAME, 2), 128, 32},
        {"icon 64", images[2], 64, 64},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.xpm, nullptr) << c.name;
        const Picture pic = DecodeXpm(c.xpm);
        EXPECT_EQ(pic.width, c.width) << c.name;
        EXPECT_EQ(pic.height, c.height) << c.name;
        for (Rgb rgb : pic.pixels) {
            ASSERT_TRUE(vga.contains(rgb)) << c.name << " uses " << std::hex << rgb;
        }
    }
}

TEST(Pictures, ToolBarButtonsStandOnLightGreyAndTheSmallIconHasAGreyFrame) {
    for (std::size_t nScale : {1u, 2u}) {
        const Picture bar = DecodeXpm(Bitmap(IDR_MAINFRAME, nScale));
        const int cx = 16 * int(nScale);
        for (int button = 0; button < 4; ++button) {
            EXPECT_EQ(bar.at(button * cx, 0), kLightGrey) << button;
            EXPECT_EQ(bar.at(button * cx + cx - 1, 0), kLightGrey) << button;
        }
    }
    const auto* icon =
        static_cast<const AFX_ICON*>(FindProgramResource(RT_GROUP_ICON, IDR_MAINFRAME)->pData);
    const Picture small = DecodeXpm(icon->images[1]);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(small.at(i, 0), kGrey);
        EXPECT_EQ(small.at(i, 15), kGrey);
        EXPECT_EQ(small.at(0, i), kGrey);
        EXPECT_EQ(small.at(15, i), kGrey);
    }
}

} // namespace
