#include "correction/settings.h"
#include "dialog/correction_dialog.h"
#include "resources/resource.h"
#include "tray/tray.h"

#define MENU_STRING_SIZE 63
// An item holds its three strings whole.
#define MENU_ITEM_SIZE (3 * MENU_STRING_SIZE)
#define MESSAGE_SIZE 100
// The platform's formatter writes at most 1024 characters and the terminator.
#define FORMAT_SCRATCH_SIZE 1025
#define DEPTH_WITH_CORRECTIONS 8

static void AppendMenuString(char* item, UINT id) {
    char text[MENU_STRING_SIZE];
    text[0] = '\0';
    LoadString(hInstance, id, text, MENU_STRING_SIZE);
    lstrcat(item, text);
}

static void AppendCorrectionItem(HMENU menu, UINT first, UINT middle, UINT command) {
    char item[MENU_ITEM_SIZE + 1];
    item[0] = '\0';
    AppendMenuString(item, first);
    AppendMenuString(item, middle);
    AppendMenuString(item, IDS_CORRECTION);
    AppendMenu(menu, MF_STRING, command, item);
}

void ShowTrayMenu(HWND window, WPARAM wParam, LPARAM lParam) {
    HMENU menu;
    POINT pointer = {0, 0};
    char about[MENU_STRING_SIZE];

    (void)wParam;
    if (lParam != WM_LBUTTONDOWN || dialogOpen == 1) {
        return;
    }

    menu = CreatePopupMenu();
    AppendCorrectionItem(menu, IDS_DESKTOP, IDS_GAMMA, IDM_DESKTOP_GAMMA);
    AppendCorrectionItem(menu, IDS_VIDEO, IDS_CHROMA, IDM_VIDEO_CHROMA);
    AppendMenu(menu, MF_SEPARATOR, 0, NULL);
    about[0] = '\0';
    LoadString(hInstance, IDS_ABOUT, about, MENU_STRING_SIZE);
    AppendMenu(menu, MF_STRING, IDM_ABOUT, about);

    GetCursorPos(&pointer);
    SetForegroundWindow(window);
    TrackPopupMenu(menu, 0, pointer.x, pointer.y, 0, window, NULL);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessage(window, WM_USER, 0, 0);
    DestroyMenu(menu);
}

// The message for a correction chosen at a depth without corrections.
static void ShowColorDepthMessage(HWND window, UINT textId) {
    char text[MESSAGE_SIZE];
    char formatted[FORMAT_SCRATCH_SIZE];
    char message[MESSAGE_SIZE];

    text[0] = '\0';
    LoadString(hInstance, textId, text, MESSAGE_SIZE);
    // The colour count is 2 to the depth, which is 8 or less here. The text
    // is formatted in the platform's largest output and cut to the message.
    wsprintf(formatted, text, 1 << colorDepth);
    lstrcpyn(message, formatted, MESSAGE_SIZE);
    MessageBox(window, message, "Lumivex", MB_OK | MB_ICONEXCLAMATION);
}

static void RunCorrection(HWND window, int target, WORD templateId, UINT messageId) {
    if (colorDepth > DEPTH_WITH_CORRECTIONS) {
        dialogOpen = 1;
        activeTarget = target;
        DialogBoxParam(hInstance, MAKEINTRESOURCE(templateId), window, CorrectionDialogProc, 0);
        dialogOpen = 0;
    } else {
        ShowColorDepthMessage(window, messageId);
    }
}

BOOL RunTrayCommand(HWND window, WORD command) {
    switch (command) {
    case IDM_DESKTOP_GAMMA:
        RunCorrection(window, Desktop, IDD_DESKTOP_GAMMA, IDS_DESKTOP_NOT_AVAILABLE);
        return TRUE;
    case IDM_VIDEO_CHROMA:
        RunCorrection(window, Video, IDD_VIDEO_CHROMA, IDS_VIDEO_NOT_AVAILABLE);
        return TRUE;
    case IDM_ABOUT:
        dialogOpen = 1;
        DialogBoxParam(hInstance, MAKEINTRESOURCE(IDD_ABOUT), window, AboutDialogProc, 0);
        dialogOpen = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

static LONG Clamp(LONG value, LONG low, LONG high) {
    if (value < low) {
        return low;
    }
    if (value > high) {
        return high;
    }
    return value;
}

// Opens the box with its bottom-right corner at the pointer, kept inside the
// work area and never left of or above the screen's origin.
static void PlaceAboutBox(HWND dialog) {
    POINT pointer = {0, 0};
    RECT workArea = {0, 0, 0, 0};
    RECT box = {0, 0, 0, 0};
    LONG width;
    LONG height;
    LONG left;
    LONG top;

    GetCursorPos(&pointer);
    SystemParametersInfo(SPI_GETWORKAREA, 0, &workArea, 0);
    pointer.x = Clamp(pointer.x, workArea.left, workArea.right);
    pointer.y = Clamp(pointer.y, workArea.top, workArea.bottom);
    GetWindowRect(dialog, &box);
    width = box.right - box.left;
    height = box.bottom - box.top;
    left = pointer.x - width > 0 ? pointer.x - width : 0;
    top = pointer.y - height > 0 ? pointer.y - height : 0;
    MoveWindow(dialog, left, top, width, height, TRUE);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        dialogWindow = dialog;
        PlaceAboutBox(dialog);
        return TRUE;
    case WM_COMMAND:
        // Every command closes the box: OK, Enter, Esc, the close box, and
        // the OK sent on a change to a palette mode.
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}
