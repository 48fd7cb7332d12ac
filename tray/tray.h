// The tray shell of lumivex: its process-wide state, the tray window and icon,
// and the tray menu's commands.
#pragma once

#include "platform/win32.h"

#define TRAY_CLASS_NAME "TaskbarTrayClass"
#define TRAY_ICON_ID 101
#define WM_TRAYNOTIFY (WM_USER + 101)
#define TRAY_TIP_SIZE 64

#define IDM_DESKTOP_GAMMA 40001
#define IDM_VIDEO_CHROMA 40002
#define IDM_ABOUT 40003

extern HINSTANCE hInstance;
extern int dialogOpen;    // 1 while one of our modal dialogs runs
extern HWND dialogWindow; // the modal dialog that runs or ran last
extern HICON trayIcon;

// Registered before the entry point runs.
extern UINT msgPanelGammaChanged;
extern UINT msgPanelChromaChanged;
extern UINT msgGammaChanged;
extern UINT msgChromaChanged;

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void NotifyTrayIcon(HWND window, DWORD action);
void ComposeTrayTip(char* tip);
int QueryColorDepth();

void ShowTrayMenu(HWND window, WPARAM wParam, LPARAM lParam);
// Carries out a tray menu command; FALSE for an id that is not one of them.
BOOL RunTrayCommand(HWND window, WORD command);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
