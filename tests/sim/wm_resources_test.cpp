// Dialogs and icons loaded from the program's resources: a small resource
// section built here stands in for the program's compiled one.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/script.h"
#include "platform/sim/ui.h"
#include "tests/sim/wm_support.h"

namespace {

using namespace wmtest;

// One resource of a .res file with a numeric type and id.
void AppendResource(std::vector<BYTE>& res, WORD type, WORD id, WORD language,
                    const std::vector<BYTE>& data) {
    auto dword = [&res](DWORD d) {
        for (int i = 0; i < 4; ++i) {
            res.push_back(static_cast<BYTE>(d >> (8 * i)));
        }
    };
    dword(static_cast<DWORD>(data.size()));
    dword(32);
    dword(0xFFFFu | static_cast<DWORD>(type) << 16);
    dword(0xFFFFu | static_cast<DWORD>(id) << 16);
    dword(0);                                            // data version
    dword(0x1030u | static_cast<DWORD>(language) << 16); // memory flags, language
    dword(0);                                            // version
    dword(0);                                            // characteristics
    res.insert(res.end(), data.begin(), data.end());
    while (res.size() % 4 != 0) {
        res.push_back(0);
    }
}

// An icon directory with a 16 x 16 and a 32 x 32 image.
std::vector<BYTE> IconGroup() {
    std::vector<BYTE> g = {0, 0, 1, 0, 2, 0};
    for (BYTE size : {16, 32}) {
        std::vector<BYTE> entry = {
            size, size, 16, 0, 1, 0, 4, 0, 0xE8, 0x02, 0, 0, static_cast<BYTE>(size), 0};
        g.insert(g.end(), entry.begin(), entry.end());
    }
    return g;
}

const std::vector<BYTE>& Section() {
    static const std::vector<BYTE> res = [] {
        std::vector<BYTE> r;
        AppendResource(r, 0, 0, 0, {});
        AppendResource(r, 14, 104, 1033, IconGroup());
        AppendResource(r, 5, 105, 1033,
                       BuildTemplate(kDialogStyle, 181, 71, u"About",
                                     {{WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 68,
                                       48, 50, 14, IDOK, kButton, u"OK"},
                                      {WS_CHILD | WS_VISIBLE | SS_ICON, 3, 3, 18, 20, 0xFFFF,
                                       kStatic, u"", 104}}));
        return r;
    }();
    return res;
}

TEST(ResourceDialogs, ATemplateFromTheResourcesRunsWithItsIconLoaded) {
    sim::RegisterModuleResources(Section().data(), Section().size());
    HICON shown = nullptr;
    int focusId = 0;
    DialogHandler() = [&](HWND dialog, UINT m, WPARAM wParam, LPARAM) -> INT_PTR {
        if (m == WM_COMMAND) {
            focusId = GetDlgCtrlID(GetFocus());
            shown = reinterpret_cast<HICON>(SendDlgItemMessage(dialog, -1, STM_GETICON, 0, 0));
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return m == WM_INITDIALOG;
    };
    sim::script::PressEnter();
    EXPECT_EQ(
        DialogBoxParam(sim::ModuleInstance(), MAKEINTRESOURCE(105), nullptr, HandlerDialogProc, 0),
        IDOK);
    EXPECT_EQ(focusId, IDOK);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(sim::ui::IconResourceId(shown), 104);
    EXPECT_EQ(sim::ui::DialogRuns().back().templateId, 105);
    // A template that is not there fails the call without showing anything.
    EXPECT_EQ(
        DialogBoxParam(sim::ModuleInstance(), MAKEINTRESOURCE(106), nullptr, HandlerDialogProc, 0),
        -1);
}

TEST(Icons, LoadIconSharesOneIconPerResourceUntilItIsDestroyed) {
    sim::RegisterModuleResources(Section().data(), Section().size());
    HICON icon = LoadIcon(sim::ModuleInstance(), MAKEINTRESOURCE(104));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(sim::ui::IconResourceId(icon), 104);
    EXPECT_EQ(sim::ui::IconSize(icon).cx, 32); // the standard size from the group
    EXPECT_EQ(LoadIcon(sim::ModuleInstance(), MAKEINTRESOURCE(104)), icon);
    EXPECT_EQ(sim::ui::LiveIconCount(), 1u);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_EQ(sim::ui::LiveIconCount(), 0u);

    EXPECT_EQ(LoadIcon(sim::ModuleInstance(), MAKEINTRESOURCE(999)), nullptr);
    EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(104)), nullptr);
    EXPECT_NE(LoadIcon(nullptr, IDI_APPLICATION), nullptr);
}

} // namespace
