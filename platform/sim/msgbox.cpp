#include "platform/sim/msgbox.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <initializer_list>
#include <utility>

#include "platform/sim/system.h"

namespace {

struct MsgBoxState {
    std::vector<sim::msgbox::Box> shown;
    std::deque<int> answers;
    sim::msgbox::AnswerSource source;
};

MsgBoxState& State() {
    static MsgBoxState state;
    return state;
}

[[noreturn]] void Fail(const sim::msgbox::Box& box, const std::string& why) {
    std::fprintf(stderr,
                 "simulated MessageBox: %s\n  caption: \"%s\"\n  text: \"%s\"\n  style: 0x%X\n",
                 why.c_str(), box.caption.c_str(), box.text.c_str(), box.type);
    std::fflush(stderr);
    std::abort();
}

// The buttons a box of this style offers, hence the results it can return.
bool IsButtonOf(UINT type, int result) {
    auto any = [result](std::initializer_list<int> ids) {
        for (int id : ids) {
            if (id == result) {
                return true;
            }
        }
        return false;
    };
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return any({IDOK});
    case MB_OKCANCEL:
        return any({IDOK, IDCANCEL});
    case MB_ABORTRETRYIGNORE:
        return any({IDABORT, IDRETRY, IDIGNORE});
    case MB_YESNOCANCEL:
        return any({IDYES, IDNO, IDCANCEL});
    case MB_YESNO:
        return any({IDYES, IDNO});
    case MB_RETRYCANCEL:
        return any({IDRETRY, IDCANCEL});
    default:
        return false;
    }
}

int FromQueue(const sim::msgbox::Box& box) {
    MsgBoxState& state = State();
    if (state.answers.empty()) {
        Fail(box, "no answer queued for this box");
    }
    int result = state.answers.front();
    state.answers.pop_front();
    return result;
}

// The one place a box gets its answer; the window manager's modal loop plugs in
// here through SetAnswerSource.
int Answer(const sim::msgbox::Box& box) {
    MsgBoxState& state = State();
    int result = state.source ? state.source(box) : FromQueue(box);
    if (result != 0 && !IsButtonOf(box.type, result)) {
        Fail(box, "answer " + std::to_string(result) + " is not a button of this box");
    }
    return result;
}

} // namespace

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return MessageBoxEx(owner, text, caption, type, 0);
}

int MessageBoxEx(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD languageId) {
    sim::msgbox::Box box;
    box.owner = owner;
    box.caption = caption == nullptr ? "Error" : caption;
    box.text = text == nullptr ? "" : text;
    box.type = type;
    box.languageId = languageId;
    // Recorded when it appears: a modal loop may show other boxes before this
    // one is answered.
    size_t index = State().shown.size();
    State().shown.push_back(box);
    box.result = Answer(box);
    State().shown[index].result = box.result;
    sim::LogOperation("MessageBoxEx \"" + box.caption + "\" style " + std::to_string(type) +
                      " lang " + std::to_string(languageId) + " -> " + std::to_string(box.result));
    if (box.result == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return box.result;
}

namespace sim::msgbox {

const std::vector<Box>& Shown() {
    return State().shown;
}

void QueueAnswer(int result) {
    State().answers.push_back(result);
}

size_t PendingAnswers() {
    return State().answers.size();
}

void SetAnswerSource(AnswerSource source) {
    State().source = std::move(source);
}

} // namespace sim::msgbox
