#include "adapter/detection.h"
#include "correction/settings.h"
#include "tray/tray.h"

#define MINIMUM_CHIP_ID 0x5D17

HINSTANCE hInstance;
int dialogOpen;
HWND dialogWindow;
HICON trayIcon;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    WNDCLASS windowClass;
    HWND window;
    MSG message;

    (void)previous;
    (void)commandLine;
    (void)show;

    // One copy per desktop: any window of our class, ours or another
    // program's, keeps this one from starting.
    if (FindWindow(TRAY_CLASS_NAME, NULL) != NULL) {
        return 0;
    }
    if (ProbeAdapter() == 0) {
        return 0;
    }
    DetectAdapter();
    if (adapterInfo.chipId < MINIMUM_CHIP_ID) {
        return 0;
    }

    dialogOpen = 0;
    colorDepth = (BYTE)QueryColorDepth();
    hInstance = instance;

    windowClass.style = 0;
    windowClass.lpfnWndProc = TrayWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = NULL;
    windowClass.hCursor = NULL;
    windowClass.hbrBackground = NULL;
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = TRAY_CLASS_NAME;
    RegisterClass(&windowClass);

    // WM_CREATE applies the corrections and adds the icon inside this call.
    window = CreateWindowEx(0, TRAY_CLASS_NAME, "", 0, 0, 0, 0, 0, NULL, NULL, hInstance, NULL);
    if (window == NULL) {
        return 0;
    }
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);

    ZeroMemory(&message, sizeof message);
    // GetMessage answers -1 on an error; that ends the loop as the quit
    // message does rather than spinning on it.
    while (GetMessage(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
    return (int)message.wParam;
}
