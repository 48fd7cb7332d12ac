// Message boxes of the simulated Windows 95.
//
// Every box shown is recorded. Its answer comes from the answer source, by
// default a queue of results the test fills beforehand; a box with nothing to
// answer it stops the process with a message naming the box, so a test that
// forgot an answer fails instead of hanging.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/types.h"

// Buttons.
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_TYPEMASK 0x0000000FL
// Icons.
#define MB_ICONHAND 0x00000010L
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0L
// Default button.
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFMASK 0x00000F00L
// Modality and other options.
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_MODEMASK 0x00003000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L

// Results; the dialog manager shares the first two.
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// Shows a box and returns the button chosen, or 0 when the box could not be
// shown. MessageBox is MessageBoxEx with the neutral language (0). A missing
// caption shows as "Error", as on the platform.
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int MessageBoxEx(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD languageId);

namespace sim::msgbox {

struct Box {
    HWND owner = nullptr;
    std::string caption; // bytes as passed (ANSI)
    std::string text;    // bytes as passed (ANSI)
    UINT type = 0;       // the MB_* style
    WORD languageId = 0;
    int result = 0; // what the box returned
};

// Every box shown so far, in order.
const std::vector<Box>& Shown();

// Queues the answer to a coming box: a button (IDYES, IDNO, ...) or 0 for a
// box that fails. The answer must be one of the box's buttons.
void QueueAnswer(int result);
size_t PendingAnswers();

// Replaces the answer source (the window manager's modal loop, a terminal
// prompt). The source is asked once per box; an empty function restores the
// queue.
using AnswerSource = std::function<int(const Box&)>;
void SetAnswerSource(AnswerSource source);

} // namespace sim::msgbox
