// The dialog's resources as the program carries them: template 102 with its
// controls, ids, texts, styles and dialog-unit geometry, menu 129 and the two
// 16-colour pictures of icon 128.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app_win32/resource_ids.h"

namespace zmr::win32 {
namespace {

// Reads a DLGTEMPLATEEX and its items, as the system lays them out.
class TemplateReader {
public:
    explicit TemplateReader(const uint8_t* bytes) : at_(bytes) {}

    uint16_t word() { return take<uint16_t>(); }
    uint32_t dword() { return take<uint32_t>(); }
    int16_t coordinate() { return take<int16_t>(); }

    // A name or a number: 0 is none, FFFF a number, otherwise a string.
    std::wstring nameOrNumber() {
        const uint16_t first = peek();
        if (first == 0xFFFF) {
            word();
            return L"#" + std::to_wstring(word());
        }
        return text();
    }
    std::wstring text() {
        std::wstring s;
        for (uint16_t c = word(); c != 0; c = word()) s += static_cast<wchar_t>(c);
        return s;
    }
    void alignToDword(const uint8_t* base) {
        while ((at_ - base) % 4 != 0) ++at_;
    }
    void skip(size_t count) { at_ += count; }

private:
    uint16_t peek() const {
        uint16_t value;
        std::memcpy(&value, at_, sizeof value);
        return value;
    }
    template <class T>
    T take() {
        T value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }

    const uint8_t* at_;
};

struct Control {
    uint32_t id;
    std::wstring windowClass, text;
    int16_t x, y, width, height;
    uint32_t style;
};

struct Template {
    uint32_t style = 0, exStyle = 0;
    int16_t width = 0, height = 0;
    std::wstring menu, caption, font;
    uint16_t points = 0;
    std::vector<Control> controls;
};

// A template names a system class by its number or by its name.
std::wstring className(const std::wstring& nameOrNumber) {
    if (nameOrNumber == L"#128") return L"Button";
    if (nameOrNumber == L"#131") return L"ListBox";
    return nameOrNumber;
}

const uint8_t* resource(const wchar_t* type, int id) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
    if (!found) return nullptr;
    return static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
}

Template readTemplate() {
    const uint8_t* base = resource(RT_DIALOG, IDD_IMAGE_TOOL);
    EXPECT_NE(base, nullptr);
    Template t;
    if (!base) return t;
    TemplateReader in(base);
    EXPECT_EQ(in.word(), 1);       // version
    EXPECT_EQ(in.word(), 0xFFFF);  // the extended form
    in.dword();                    // help id
    t.exStyle = in.dword();
    t.style = in.dword();
    const uint16_t count = in.word();
    in.coordinate();
    in.coordinate();
    t.width = in.coordinate();
    t.height = in.coordinate();
    t.menu = in.nameOrNumber();
    EXPECT_EQ(in.nameOrNumber(), L"");  // the standard dialog class
    t.caption = in.text();
    t.points = in.word();
    in.word();  // weight
    in.skip(2);  // italic, character set
    t.font = in.text();
    for (uint16_t i = 0; i < count; ++i) {
        in.alignToDword(base);
        Control c;
        in.dword();  // help id
        in.dword();  // extended style
        c.style = in.dword();
        c.x = in.coordinate();
        c.y = in.coordinate();
        c.width = in.coordinate();
        c.height = in.coordinate();
        c.id = in.dword();
        c.windowClass = className(in.nameOrNumber());
        c.text = in.nameOrNumber();
        in.skip(in.word());  // creation data
        t.controls.push_back(c);
    }
    return t;
}

TEST(DialogTemplate, CaptionFontSizeMenuAndStyles) {
    const Template t = readTemplate();
    EXPECT_EQ(t.caption, L"ZMR Disc Image Tool");
    EXPECT_EQ(t.font, L"MS Sans Serif");
    EXPECT_EQ(t.points, 8);
    EXPECT_EQ(t.width, 320);
    EXPECT_EQ(t.height, 200);
    EXPECT_EQ(t.menu, L"#129");
    EXPECT_EQ(t.style, static_cast<uint32_t>(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(t.exStyle, static_cast<uint32_t>(WS_EX_APPWINDOW));
}

TEST(DialogTemplate, ControlsInTabOrderWithIdsTextsStylesAndPlaces) {
    const std::wstring button = L"Button", listBox = L"ListBox";
    const std::vector<Control> expected = {
        {1, button, L"Quit", 263, 48, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
        {2, button, L"Cancel", 263, 68, 50, 14, WS_CHILD | WS_TABSTOP},
        {1000, listBox, L"", 7, 7, 249, 171,
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_SORT | LBS_MULTIPLESEL | LBS_NOTIFY |
             LBS_NOINTEGRALHEIGHT},
        {3, button, L"Create Image", 263, 27, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
        {4, button, L"Remove", 263, 7, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
        {1001, L"msctls_progress32", L"Progress1", 7, 182, 306, 11, WS_CHILD | WS_VISIBLE | WS_BORDER},
    };
    const Template t = readTemplate();
    ASSERT_EQ(t.controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Control& got = t.controls[i];
        const Control& want = expected[i];
        SCOPED_TRACE(want.id);
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(CompareStringOrdinal(got.windowClass.c_str(), -1, want.windowClass.c_str(), -1, TRUE), CSTR_EQUAL);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ((std::vector<int>{got.x, got.y, got.width, got.height}),
                  (std::vector<int>{want.x, want.y, want.width, want.height}));
        EXPECT_EQ(got.style, want.style) << std::hex << got.style << " " << want.style;
    }
}

// Placed as in the Qt dialog: "File" with "Song Book..." and "Preview..."
// between "Add Files..." and "Exit", and "Options" beside it.
TEST(DialogTemplate, MenuFileAndOptionsAsTheQtDialogHasThem) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    ASSERT_NE(menu, nullptr);
    struct Item {
        UINT id;  // 0 for a submenu
        std::wstring text;
    };
    const auto items = [](HMENU popup) {
        std::vector<Item> found;
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            wchar_t text[64];
            GetMenuStringW(popup, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            found.push_back({GetSubMenu(popup, i) ? 0u : GetMenuItemID(popup, i), text});
        }
        return found;
    };
    const auto same = [](const std::vector<Item>& got, const std::vector<Item>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].id, want[i].id) << i;
            EXPECT_EQ(got[i].text, want[i].text) << i;
        }
    };
    same(items(menu), {{0, L"File"}, {0, L"Options"}});
    same(items(GetSubMenu(menu, 0)), {{32771, L"Add Files..."}, {32773, L"Song Book..."}, {32780, L"Preview..."},
                                      {32772, L"Exit"}});
    HMENU options = GetSubMenu(menu, 1);
    same(items(options), {{0, L"Text Encoding"}, {32778, L"Lyrics from Text Events (.kar)"}, {32779, L"Lenient Reading"}});
    same(items(GetSubMenu(options, 0)), {{32774, L"VIQR or VNI"},
                                         {32775, L"UTF-8"},
                                         {32776, L"Windows-1258"},
                                         {32777, L"Automatic (UTF-8 or VIQR/VNI)"}});
    DestroyMenu(menu);
}

TEST(DialogTemplate, IconHasA32And16PixelPictureOf16Colours) {
#pragma pack(push, 2)
    struct GroupEntry {
        uint8_t width, height, colours, reserved;
        uint16_t planes, bitsPerPixel;
        uint32_t bytes;
        uint16_t id;
    };
#pragma pack(pop)
    const uint8_t* group = resource(RT_GROUP_ICON, IDI_APP_ICON);
    ASSERT_NE(group, nullptr);
    uint16_t count;
    std::memcpy(&count, group + 4, sizeof count);
    ASSERT_EQ(count, 2);
    std::vector<int> sizes;
    for (uint16_t i = 0; i < count; ++i) {
        GroupEntry entry;
        std::memcpy(&entry, group + 6 + i * sizeof(GroupEntry), sizeof entry);
        sizes.push_back(entry.width);
        EXPECT_EQ(entry.height, entry.width);
        EXPECT_EQ(entry.colours, 16);
        EXPECT_EQ(entry.bitsPerPixel, 4);
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
}

}  // namespace
}  // namespace zmr::win32
