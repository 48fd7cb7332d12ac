#include "dialog/correction_dialog.h"

#include <limits.h>

#include "correction/apply.h"
#include "correction/curves.h"
#include "correction/settings.h"
#include "dialog/bitmap_buttons.h"
#include "tray/tray.h"

#define OFFSET_MIN (-64)
#define OFFSET_MAX 64
#define STATE_TEXT_SIZE 10
#define RADIO_TEXT_SIZE 20
#define PAGE_STEP 10

enum InitReason { Opening, Cancelling, Reloading };

// What Cancel goes back to: the edited target as it was when the dialog opened.
struct TargetSnapshot {
    int on;
    int lock;
    int correctionType;
    ChannelTriple brightness;
    ChannelTriple contrast;
};

static TargetSnapshot savedSettings;

static const int scrollBars[3] = {IDC_RED_SCROLL, IDC_GREEN_SCROLL, IDC_BLUE_SCROLL};
static const int editBoxes[3] = {IDC_RED_EDIT, IDC_GREEN_EDIT, IDC_BLUE_EDIT};

// The edited target's settings. activeTarget is always 0 or 1 here; any other
// value is read as the desktop rather than indexing past the array.
static int EditedTarget() {
    return activeTarget == Video ? Video : Desktop;
}

static TargetSettings* Edited() {
    return &correctionSettings.targets[EditedTarget()];
}

// The triple the controls show: brightness or contrast by correctionType,
// NULL for a type that is neither (or before the kinds are assigned).
static ChannelTriple* ShownTriple() {
    switch (Edited()->correctionType) {
    case Brightness:
        return TargetBrightness(EditedTarget());
    case Contrast:
        return TargetContrast(EditedTarget());
    default:
        return NULL;
    }
}

static int Clamp(long long value, int low, int high) {
    if (value < low) {
        return low;
    }
    if (value > high) {
        return high;
    }
    return (int)value;
}

static void EnableScrollBars(HWND dialog, int on) {
    int i;
    for (i = 0; i < 3; i++) {
        EnableScrollBar(GetDlgItem(dialog, scrollBars[i]), SB_CTL,
                        on != 0 ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    }
}

// Recomputes the edited target's palette from both of its triples.
static void WriteTargetPalette() {
    int target = EditedTarget();
    ChannelTriple* brightness = TargetBrightness(target);
    ChannelTriple* contrast = TargetContrast(target);
    if (brightness == NULL || contrast == NULL) {
        return;
    }
    if (correctionSettings.targets[target].paletteKind == Palette256) {
        CorrectPalette256(brightness, contrast, baseTable256);
    } else {
        CorrectPalette32(brightness, contrast, baseTable32);
    }
}

static void SetChannelValues(HWND dialog, int r, int g, int b, BOOL writeNumbers) {
    int values[3] = {r, g, b};
    ChannelTriple* shown = ShownTriple();
    int i;

    if (shown != NULL) {
        shown->r = r;
        shown->g = g;
        shown->b = b;
    }
    for (i = 0; i < 3; i++) {
        HWND bar = GetDlgItem(dialog, scrollBars[i]);
        SetScrollPos(bar, SB_CTL, values[i], TRUE);
        EnableScrollBar(bar, SB_CTL, Edited()->on != 0 ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    }
    if (writeNumbers) {
        for (i = 0; i < 3; i++) {
            SetDlgItemInt(dialog, editBoxes[i], (UINT)values[i], TRUE);
        }
    }
    WriteTargetPalette();
}

static void ShowTriple(HWND dialog, const ChannelTriple* triple) {
    if (triple != NULL) {
        SetChannelValues(dialog, triple->r, triple->g, triple->b, TRUE);
    }
}

static void SetControlTexts(HWND dialog) {
    char on[STATE_TEXT_SIZE];
    char off[STATE_TEXT_SIZE];
    char both[2 * STATE_TEXT_SIZE + 1];
    char radio[RADIO_TEXT_SIZE];

    on[0] = off[0] = '\0';
    LoadString(hInstance, IDS_ON, on, STATE_TEXT_SIZE);
    LoadString(hInstance, IDS_OFF, off, STATE_TEXT_SIZE);
    lstrcpy(both, on);
    lstrcat(both, "/");
    lstrcat(both, off);
    SetDlgItemText(dialog, IDC_ON_OFF, both);

    radio[0] = '\0';
    LoadString(hInstance, IDS_BRIGHTNESS, radio, RADIO_TEXT_SIZE);
    SetDlgItemText(dialog, IDC_BRIGHTNESS, radio);
    radio[0] = '\0';
    LoadString(hInstance, IDS_CONTRAST, radio, RADIO_TEXT_SIZE);
    SetDlgItemText(dialog, IDC_CONTRAST, radio);
}

static void SaveSnapshot() {
    TargetSettings* target = Edited();
    ChannelTriple* brightness = TargetBrightness(EditedTarget());
    ChannelTriple* contrast = TargetContrast(EditedTarget());
    savedSettings.on = target->on;
    savedSettings.lock = target->lock;
    savedSettings.correctionType = target->correctionType;
    if (brightness != NULL && contrast != NULL) {
        savedSettings.brightness = *brightness;
        savedSettings.contrast = *contrast;
    }
}

static void RestoreSnapshot() {
    TargetSettings* target = Edited();
    ChannelTriple* brightness = TargetBrightness(EditedTarget());
    ChannelTriple* contrast = TargetContrast(EditedTarget());
    target->on = savedSettings.on;
    target->lock = savedSettings.lock;
    target->correctionType = savedSettings.correctionType;
    if (brightness != NULL && contrast != NULL) {
        *brightness = savedSettings.brightness;
        *contrast = savedSettings.contrast;
    }
}

static void InitControls(HWND dialog, int reason) {
    TargetSettings* target;
    int i;

    LoadCorrectionSettings();
    target = Edited();
    for (i = 0; i < 3; i++) {
        SetScrollRange(GetDlgItem(dialog, scrollBars[i]), SB_CTL, OFFSET_MIN, OFFSET_MAX, FALSE);
    }
    EnableScrollBars(dialog, target->on);

    // Stored values other than 0 and 1 show as checked; the posted commands
    // then read the boxes back as 1.
    CheckDlgButton(dialog, IDC_ON_OFF, target->on != 0 ? BST_CHECKED : BST_UNCHECKED);
    PostMessage(dialog, WM_COMMAND, IDC_ON_OFF, 0);
    CheckDlgButton(dialog, IDC_LOCK, target->lock != 0 ? BST_CHECKED : BST_UNCHECKED);
    PostMessage(dialog, WM_COMMAND, IDC_LOCK, 0);

    if (target->correctionType == Brightness || target->correctionType == Contrast) {
        CheckRadioButton(dialog, IDC_BRIGHTNESS, IDC_CONTRAST,
                         target->correctionType == Brightness ? IDC_BRIGHTNESS : IDC_CONTRAST);
        if (target->on != 0 || reason == Cancelling) {
            ShowTriple(dialog, ShownTriple());
        }
    }

    if (reason == Opening) {
        RECT rect = {0, 0, 0, 0};
        LoadDialogPosition();
        GetWindowRect(dialog, &rect);
        MoveWindow(dialog, dialogPosition.left, dialogPosition.top, rect.right - rect.left,
                   rect.bottom - rect.top, TRUE);
        SaveSnapshot();
    }
}

// Gives the Lock button the padlock of the present lock state, deleting the
// picture it held before.
static void SetLockImage(HWND dialog) {
    WORD id = Edited()->lock == 1 ? IDB_LOCKED : IDB_UNLOCKED;
    HBITMAP image = LoadBitmap(hInstance, MAKEINTRESOURCE(id));
    HGDIOBJ old =
        (HGDIOBJ)SendDlgItemMessage(dialog, IDC_LOCK, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)image);
    if (old != NULL && old != (HGDIOBJ)image) {
        DeleteObject(old);
    }
}

static void PaintFace(HWND dialog, WORD bitmapId, int controlId) {
    HDC dc = GetDC(dialog);
    PaintButtonFace(dialog, dc, bitmapId, controlId);
    ReleaseDC(dialog, dc);
}

static void OnOnOff(HWND dialog) {
    TargetSettings* target = Edited();
    HWND parent;

    target->on = IsDlgButtonChecked(dialog, IDC_ON_OFF) == BST_CHECKED ? 1 : 0;
    SwitchTargetSource(EditedTarget(), target->on);
    EnableScrollBars(dialog, target->on);
    if (target->on == 1) {
        ShowTriple(dialog, ShownTriple());
    }
    parent = GetParent(dialog);
    if (parent != NULL) {
        NotifyTrayIcon(parent, NIM_MODIFY);
    }
}

static void OnLock(HWND dialog) {
    Edited()->lock = IsDlgButtonChecked(dialog, IDC_LOCK) == BST_CHECKED ? 1 : 0;
    // The button's own picture follows too, so a repaint of the button shows
    // the same padlock as the painted face.
    SetLockImage(dialog);
    PaintFace(dialog, Edited()->lock == 1 ? IDB_LOCKED : IDB_UNLOCKED, IDC_LOCK);
}

static void OnCorrectionType(HWND dialog, int type) {
    Edited()->correctionType = type;
    CheckRadioButton(dialog, IDC_BRIGHTNESS, IDC_CONTRAST,
                     type == Brightness ? IDC_BRIGHTNESS : IDC_CONTRAST);
    if (Edited()->on == 1) {
        ShowTriple(dialog, ShownTriple());
    }
}

// Writes a number into an edit box; a value beyond the 32-bit range is shown
// saturated.
static void WriteBox(HWND dialog, int box, long long value) {
    SetDlgItemInt(dialog, box, (UINT)Clamp(value, INT_MIN, INT_MAX), TRUE);
}

static void OnValueEdited(HWND dialog) {
    long long values[3];
    ChannelTriple* shown = ShownTriple();
    int i;

    for (i = 0; i < 3; i++) {
        values[i] = (int)GetDlgItemInt(dialog, editBoxes[i], NULL, TRUE);
    }

    if (Edited()->lock == 1 && shown != NULL) {
        long long before[3] = {shown->r, shown->g, shown->b};
        // Only the first box that differs, in the order R, G, B, moves the others.
        for (i = 0; i < 3; i++) {
            if (values[i] != before[i]) {
                long long delta = values[i] - before[i];
                int j;
                for (j = 0; j < 3; j++) {
                    if (j != i) {
                        values[j] += delta;
                        WriteBox(dialog, editBoxes[j], values[j]);
                    }
                }
                break;
            }
        }
    }

    for (i = 0; i < 3; i++) {
        int clamped = Clamp(values[i], OFFSET_MIN, OFFSET_MAX);
        if (clamped != values[i]) {
            values[i] = clamped;
            WriteBox(dialog, editBoxes[i], clamped);
        }
    }
    SetChannelValues(dialog, (int)values[0], (int)values[1], (int)values[2], FALSE);
}

static void OnScroll(HWND dialog, HWND bar, WPARAM wParam) {
    int code = LOWORD(wParam);
    int current = GetScrollPos(bar, SB_CTL);
    int thumb = (short)HIWORD(wParam);
    int step;
    int values[3];
    int i;

    switch (code) {
    case SB_LINELEFT:
        step = -1;
        break;
    case SB_LINERIGHT:
        step = 1;
        break;
    case SB_PAGELEFT:
        step = -PAGE_STEP;
        break;
    case SB_PAGERIGHT:
        step = PAGE_STEP;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        step = thumb - current;
        break;
    case SB_LEFT:
        step = OFFSET_MIN - current;
        break;
    case SB_RIGHT:
        step = OFFSET_MAX - current;
        break;
    default:
        return;
    }

    for (i = 0; i < 3; i++) {
        values[i] = GetScrollPos(GetDlgItem(dialog, scrollBars[i]), SB_CTL);
    }
    if (Edited()->lock == 1) {
        for (i = 0; i < 3; i++) {
            values[i] = Clamp((long long)values[i] + step, OFFSET_MIN, OFFSET_MAX);
        }
    } else {
        SetScrollPos(bar, SB_CTL, current + step, FALSE);
        for (i = 0; i < 3; i++) {
            values[i] = GetScrollPos(GetDlgItem(dialog, scrollBars[i]), SB_CTL);
        }
    }
    SetChannelValues(dialog, values[0], values[1], values[2], TRUE);
}

static void EndWithOk(HWND dialog) {
    SaveCorrectionSettings();
    SendMessage(HWND_BROADCAST, EditedTarget() == Desktop ? msgGammaChanged : msgChromaChanged, 0,
                0);
    SaveDialogPosition(dialog);
    EndDialog(dialog, 0);
}

static void EndWithCancel(HWND dialog) {
    HWND parent;
    RestoreSnapshot();
    InitControls(dialog, Cancelling);
    // The commands InitControls posts die with the dialog; switch the source
    // and the tooltip here so the hardware agrees with the restored settings.
    SwitchTargetSource(EditedTarget(), Edited()->on != 0 ? 1 : 0);
    parent = GetParent(dialog);
    if (parent != NULL) {
        NotifyTrayIcon(parent, NIM_MODIFY);
    }
    SaveCorrectionSettings();
    SaveDialogPosition(dialog);
    EndDialog(dialog, 0);
}

static BOOL OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDOK:
        EndWithOk(dialog);
        return TRUE;
    case IDCANCEL:
        EndWithCancel(dialog);
        return TRUE;
    case IDC_ON_OFF:
        OnOnOff(dialog);
        return TRUE;
    case IDC_LOCK:
        OnLock(dialog);
        return TRUE;
    case IDC_BRIGHTNESS:
        OnCorrectionType(dialog, Brightness);
        return TRUE;
    case IDC_CONTRAST:
        OnCorrectionType(dialog, Contrast);
        return TRUE;
    case IDC_RESET:
        SetChannelValues(dialog, 0, 0, 0, TRUE);
        return TRUE;
    case IDC_RED_EDIT:
    case IDC_GREEN_EDIT:
    case IDC_BLUE_EDIT:
        if (HIWORD(wParam) == EN_CHANGE) {
            OnValueEdited(dialog);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

static void OnDrawItem(HWND dialog, const DRAWITEMSTRUCT* item) {
    WORD face = ButtonFaceBitmap((int)item->CtlID, item->itemState);
    if (face != 0) {
        PaintFace(dialog, face, (int)item->CtlID);
    }
}

INT_PTR CALLBACK CorrectionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        dialogWindow = dialog;
        SetControlTexts(dialog);
        InitControls(dialog, Opening);
        SetLockImage(dialog);
        return TRUE;
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    case WM_HSCROLL:
        OnScroll(dialog, (HWND)lParam, wParam);
        return TRUE;
    case WM_DRAWITEM:
        OnDrawItem(dialog, (const DRAWITEMSTRUCT*)lParam);
        return FALSE;
    case WM_DESTROY: {
        // The Lock button's picture is ours to delete.
        HGDIOBJ image = (HGDIOBJ)SendDlgItemMessage(dialog, IDC_LOCK, BM_GETIMAGE, IMAGE_BITMAP, 0);
        if (image != NULL) {
            DeleteObject(image);
        }
        return FALSE;
    }
    default:
        // The companion panel's announcements reload the dialog whichever
        // target it edits. A failed registration leaves an id of 0, which
        // must not match WM_NULL.
        if (message != 0 && (message == msgPanelGammaChanged || message == msgPanelChromaChanged)) {
            InitControls(dialog, Reloading);
            return TRUE;
        }
        return FALSE;
    }
}
