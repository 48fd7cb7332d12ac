#include "dialog/bitmap_buttons.h"

#include "tray/tray.h"

WORD ButtonFaceBitmap(int controlId, UINT itemState) {
    // Pressed wins over focused.
    int state = (itemState & ODS_SELECTED) ? 0 : (itemState & ODS_FOCUS) ? 1 : 2;
    static const WORD faces[3][3] = {
        {IDB_OK_PRESSED, IDB_OK_FOCUSED, IDB_OK_NORMAL},
        {IDB_CANCEL_PRESSED, IDB_CANCEL_FOCUSED, IDB_CANCEL_NORMAL},
        {IDB_RESET_PRESSED, IDB_RESET_FOCUSED, IDB_RESET_NORMAL},
    };
    switch (controlId) {
    case IDOK:
        return faces[0][state];
    case IDCANCEL:
        return faces[1][state];
    case IDC_RESET:
        return faces[2][state];
    default:
        return 0;
    }
}

// The button's top-left corner in the dialog's client coordinates.
static BOOL ButtonOrigin(HWND dialog, int controlId, POINT* origin) {
    RECT rect;
    HWND control = GetDlgItem(dialog, controlId);
    if (control == NULL || !GetWindowRect(control, &rect)) {
        return FALSE;
    }
    origin->x = rect.left;
    origin->y = rect.top;
    ScreenToClient(dialog, origin);
    return TRUE;
}

int FillButtonBackground(HWND dialog, HDC dc, WORD bitmapId, int controlId, COLORREF color) {
    POINT origin;
    HBITMAP bitmap;
    HBRUSH brush;
    BITMAP info = {};
    RECT area;

    if (!ButtonOrigin(dialog, controlId, &origin)) {
        return 0;
    }
    bitmap = LoadBitmap(hInstance, MAKEINTRESOURCE(bitmapId));
    if (bitmap == NULL) {
        return 0;
    }
    GetObject(bitmap, sizeof info, &info);
    area.left = origin.x;
    area.top = origin.y;
    area.right = origin.x + info.bmWidth;
    area.bottom = origin.y + info.bmHeight;
    brush = CreateSolidBrush(color);
    FillRect(dc, &area, brush);
    DeleteObject(bitmap);
    DeleteObject(brush);
    return 1;
}

int DrawTransparentBitmap(HWND dialog, HDC dc, WORD bitmapId, int controlId, COLORREF transparent) {
    POINT origin;
    POINT size;
    HBITMAP bitmap;
    BITMAP info = {};
    HDC source, back, object, memory, save;
    HBITMAP backBitmap, objectBitmap, memoryBitmap, saveBitmap;
    HGDIOBJ sourceOld, backOld, objectOld, memoryOld, saveOld;
    COLORREF oldBackground;
    int w, h, x, y;

    if (!ButtonOrigin(dialog, controlId, &origin)) {
        return 0;
    }
    x = origin.x;
    y = origin.y;
    bitmap = LoadBitmap(hInstance, MAKEINTRESOURCE(bitmapId));
    if (bitmap == NULL) {
        return 0;
    }

    source = CreateCompatibleDC(dc);
    sourceOld = SelectObject(source, bitmap);
    GetObject(bitmap, sizeof info, &info);
    size.x = info.bmWidth;
    size.y = info.bmHeight;
    DPtoLP(source, &size, 1);
    w = size.x;
    h = size.y;

    back = CreateCompatibleDC(dc);
    object = CreateCompatibleDC(dc);
    memory = CreateCompatibleDC(dc);
    save = CreateCompatibleDC(dc);
    backBitmap = CreateBitmap(w, h, 1, 1, NULL);
    objectBitmap = CreateBitmap(w, h, 1, 1, NULL);
    memoryBitmap = CreateCompatibleBitmap(dc, w, h);
    saveBitmap = CreateCompatibleBitmap(dc, w, h);
    backOld = SelectObject(back, backBitmap);
    objectOld = SelectObject(object, objectBitmap);
    memoryOld = SelectObject(memory, memoryBitmap);
    saveOld = SelectObject(save, saveBitmap);

    SetMapMode(source, GetMapMode(dc));

    BitBlt(save, 0, 0, w, h, source, 0, 0, SRCCOPY);
    // The mask: white where the bitmap shows the transparent colour.
    oldBackground = SetBkColor(source, transparent);
    BitBlt(object, 0, 0, w, h, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBackground);
    BitBlt(back, 0, 0, w, h, object, 0, 0, NOTSRCCOPY);
    BitBlt(memory, 0, 0, w, h, dc, x, y, SRCCOPY);
    BitBlt(memory, 0, 0, w, h, object, 0, 0, SRCAND);
    BitBlt(source, 0, 0, w, h, back, 0, 0, SRCAND);
    BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCPAINT);
    BitBlt(dc, x, y, w, h, memory, 0, 0, SRCCOPY);
    BitBlt(source, 0, 0, w, h, save, 0, 0, SRCCOPY);

    DeleteObject(SelectObject(back, backOld));
    DeleteObject(SelectObject(object, objectOld));
    DeleteObject(SelectObject(memory, memoryOld));
    DeleteObject(SelectObject(save, saveOld));
    DeleteObject(SelectObject(source, sourceOld));
    DeleteDC(back);
    DeleteDC(object);
    DeleteDC(memory);
    DeleteDC(save);
    DeleteDC(source);
    return 1;
}

void PaintButtonFace(HWND dialog, HDC dc, WORD bitmapId, int controlId) {
    FillButtonBackground(dialog, dc, bitmapId, controlId, GetSysColor(COLOR_BTNFACE));
    DrawTransparentBitmap(dialog, dc, bitmapId, controlId, TRANSPARENT_COLOR);
}
