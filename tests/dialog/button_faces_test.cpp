// The painted faces of the correction dialog's buttons, read back from the
// simulated screen: which bitmap each button and state shows, where and how
// large it is painted, the button-face colour through its light grey, and
// that a painting leaves no GDI object behind.
#include "dialog/bitmap_buttons.h"
#include "tests/tray/session.h"

namespace {

using namespace session;

const COLORREF kMarker = RGB(1, 2, 3);
const COLORREF kLightGrey = RGB(192, 192, 192);

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObject(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

POINT ButtonOrigin(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    return POINT{rect.left, rect.top};
}

// Compares the screen from the button's top-left corner with the bitmap, its
// light grey shown as `face`, and checks the marker just right of and below it.
void ExpectFace(HWND dialog, int id, WORD bitmapId, COLORREF face, const std::string& what) {
    HBITMAP bitmap = LoadBitmap(sim::ModuleInstance(), MAKEINTRESOURCE(bitmapId));
    ASSERT_NE(bitmap, nullptr) << what;
    SIZE size = BitmapSize(bitmap);
    POINT at = ButtonOrigin(dialog, id);
    int wrong = 0;
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            COLORREF pixel = sim::gdi::BitmapPixel(bitmap, x, y);
            COLORREF expected = pixel == kLightGrey ? face : pixel;
            if (sim::gdi::ScreenPixel(at.x + x, at.y + y) != expected && wrong++ < 3) {
                ADD_FAILURE() << what << ": bitmap " << bitmapId << " pixel " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(wrong, 0) << what;
    EXPECT_EQ(sim::gdi::ScreenPixel(at.x + size.cx, at.y), kMarker) << what;
    EXPECT_EQ(sim::gdi::ScreenPixel(at.x, at.y + size.cy), kMarker) << what;
    EXPECT_EQ(sim::gdi::ScreenPixel(at.x - 1, at.y), kMarker) << what;
    DeleteObject(bitmap);
}

bool SameBitmap(HBITMAP a, WORD bitmapId) {
    HBITMAP b = LoadBitmap(sim::ModuleInstance(), MAKEINTRESOURCE(bitmapId));
    SIZE sa = BitmapSize(a);
    SIZE sb = BitmapSize(b);
    bool same = sa.cx == sb.cx && sa.cy == sb.cy;
    for (int y = 0; same && y < sa.cy; ++y) {
        for (int x = 0; same && x < sa.cx; ++x) {
            same = sim::gdi::BitmapPixel(a, x, y) == sim::gdi::BitmapPixel(b, x, y);
        }
    }
    DeleteObject(b);
    return same;
}

HBITMAP LockImage(HWND dialog) {
    return (HBITMAP)SendDlgItemMessage(dialog, kLock, BM_GETIMAGE, IMAGE_BITMAP, 0);
}

TEST(DialogButtonFaces, EachButtonAndStateShowsItsBitmapInTheButtonFaceColour) {
    struct Case {
        int id;
        UINT state;
        WORD bitmap; // 0: nothing painted
    };
    const UINT both = ODS_SELECTED | ODS_FOCUS;
    const Case cases[] = {
        {IDOK, ODS_SELECTED, 120},
        {IDOK, ODS_FOCUS, 116},
        {IDOK, 0, 118},
        {IDOK, both, 120},
        {IDOK, ODS_DISABLED, 118},
        {IDCANCEL, ODS_SELECTED, 114},
        {IDCANCEL, ODS_FOCUS, 119},
        {IDCANCEL, 0, 121},
        {IDCANCEL, both, 114},
        {kReset, ODS_SELECTED, 113},
        {kReset, ODS_FOCUS, 115},
        {kReset, 0, 117},
        {kReset, both | ODS_CHECKED, 113},
        // Not an owner-drawn push button: the dialog paints nothing.
        {kLock, 0, 0},
        {kOnOff, ODS_FOCUS, 0},
    };
    const COLORREF faces[] = {kLightGrey, RGB(0, 128, 255)};
    OpenDesktop();
    Check("every face", [&] {
        HWND d = Dialog();
        // The push buttons are smaller than their faces; the face covers them.
        RECT ok{};
        GetWindowRect(GetDlgItem(d, IDOK), &ok);
        EXPECT_LT(ok.bottom - ok.top, 28);
        for (COLORREF face : faces) {
            sim::gdi::SetSysColor(COLOR_BTNFACE, face);
            for (const Case& c : cases) {
                std::string what = "control " + std::to_string(c.id) + " state " +
                                   std::to_string(c.state) + " face " + std::to_string(face);
                sim::gdi::ClearScreen(kMarker);
                size_t objects = sim::gdi::LiveObjectCount();
                HWND button = GetDlgItem(d, c.id);
                DRAWITEMSTRUCT dis{};
                dis.CtlType = ODT_BUTTON;
                dis.CtlID = (UINT)c.id;
                dis.itemAction = ODA_DRAWENTIRE;
                dis.itemState = c.state;
                dis.hwndItem = button;
                dis.hDC = GetDC(button);
                GetClientRect(button, &dis.rcItem);
                SendMessage(d, WM_DRAWITEM, (WPARAM)c.id, (LPARAM)&dis);
                ReleaseDC(button, dis.hDC);
                EXPECT_EQ(sim::gdi::LiveObjectCount(), objects) << what;
                if (c.bitmap != 0) {
                    ExpectFace(d, c.id, c.bitmap, face, what);
                } else {
                    int w = 0, h = 0;
                    std::vector<BYTE> screen = sim::gdi::ScreenRgb(nullptr, &w, &h);
                    bool untouched = true;
                    for (size_t i = 0; i + 2 < screen.size(); i += 3) {
                        untouched =
                            untouched && screen[i] == 1 && screen[i + 1] == 2 && screen[i + 2] == 3;
                    }
                    EXPECT_TRUE(untouched) << what;
                }
            }
        }
    });
    sim::script::PressButton(IDCANCEL);
    Quit();
    EXPECT_EQ(Start(Machine{}), 0);
}

TEST(DialogButtonFaces, TheOpenedDialogShowsItsFacesAndTheLockPadlock) {
    for (const char* lock : {"0", "1"}) {
        SCOPED_TRACE(lock);
        Machine machine;
        machine.desktop = Target{"1", lock, "0", "1 2 3"};
        sim::script::Do([] { sim::gdi::ClearScreen(kMarker); });
        OpenDesktop();
        Check("opened", [lock] {
            HWND d = Dialog();
            COLORREF face = GetSysColor(COLOR_BTNFACE);
            // The focus starts on OK, the first control.
            ExpectFace(d, IDOK, 116, face, "OK");
            ExpectFace(d, IDCANCEL, 121, face, "Cancel");
            ExpectFace(d, kReset, 117, face, "Reset");
            WORD padlock = std::string(lock) == "1" ? 122 : 123;
            ExpectFace(d, kLock, padlock, face, "Lock");
            EXPECT_TRUE(SameBitmap(LockImage(d), padlock));
        });
        sim::script::PressButton(IDCANCEL);
        Quit();
        EXPECT_EQ(Start(machine), 0);
    }
}

TEST(DialogButtonFaces, TheLockCommandPaintsThePadlockAndSwapsTheButtonsPicture) {
    Machine machine;
    machine.desktop = Target{"1", "0", "0", "1 2 3"};
    size_t idle = 0;
    size_t opened = 0;
    sim::script::Do([&] { idle = sim::gdi::LiveObjectCount(); });
    OpenDesktop();
    for (WORD padlock : {122, 123, 122}) {
        sim::script::Do([&opened, padlock] {
            sim::gdi::SetSysColor(COLOR_BTNFACE, padlock == 123 ? RGB(255, 255, 0) : kLightGrey);
            sim::gdi::ClearScreen(kMarker);
            opened = sim::gdi::LiveObjectCount();
        });
        sim::script::ToggleCheckBox(kLock);
        Check("padlock " + std::to_string(padlock), [&, padlock] {
            HWND d = Dialog();
            EXPECT_EQ(correctionSettings.targets[Desktop].lock, padlock == 122 ? 1 : 0);
            ExpectFace(d, kLock, padlock, GetSysColor(COLOR_BTNFACE), "lock");
            // The button's own picture follows, the one it held before is gone.
            EXPECT_TRUE(SameBitmap(LockImage(d), padlock));
            EXPECT_EQ(sim::gdi::LiveObjectCount(), opened);
        });
    }
    sim::script::PressButton(IDOK);
    // The last picture went with the dialog.
    Check("closed", [&] { EXPECT_EQ(sim::gdi::LiveObjectCount(), idle); });
    Quit();
    EXPECT_EQ(Start(machine), 0);
    EXPECT_EQ(Stored(kUtilityKey, "GAMMA_LOCK"), "1");
}

TEST(DialogButtonFaces, AMissingControlOrBitmapPaintsNothing) {
    struct Case {
        WORD bitmap;
        int control;
    };
    const Case cases[] = {{118, 4242}, {999, IDOK}, {0, IDOK}, {999, 4242}};
    OpenDesktop();
    Check("missing", [&] {
        HWND d = Dialog();
        for (const Case& c : cases) {
            std::string what = std::to_string(c.bitmap) + " on " + std::to_string(c.control);
            sim::gdi::ClearScreen(kMarker);
            size_t objects = sim::gdi::LiveObjectCount();
            HDC dc = GetDC(d);
            EXPECT_EQ(FillButtonBackground(d, dc, c.bitmap, c.control, RGB(9, 9, 9)), 0) << what;
            EXPECT_EQ(DrawTransparentBitmap(d, dc, c.bitmap, c.control, kLightGrey), 0) << what;
            PaintButtonFace(d, dc, c.bitmap, c.control);
            ReleaseDC(d, dc);
            EXPECT_EQ(sim::gdi::LiveObjectCount(), objects) << what;
            POINT at = ButtonOrigin(d, IDOK);
            EXPECT_EQ(sim::gdi::ScreenPixel(at.x + 5, at.y + 5), kMarker) << what;
            EXPECT_EQ(sim::gdi::ScreenPixel(0, 0), kMarker) << what;
        }
    });
    sim::script::PressButton(IDOK);
    Quit();
    EXPECT_EQ(Start(Machine{}), 0);
}

} // namespace
