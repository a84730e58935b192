#include "base/message_box.h"

#include <windows.h>

namespace {
MessageSink message_sink = nullptr;
RetrySink retry_sink = nullptr;
}  // namespace

void show_message(const char* text, const char* caption) {
    if (message_sink) {
        message_sink(text, caption);
        return;
    }
    MessageBoxA(nullptr, text, caption, MB_OK);
}

void set_message_sink(MessageSink sink) { message_sink = sink; }

RetryChoice ask_retry(const char* text, const char* caption) {
    if (retry_sink) return retry_sink(text, caption);
    switch (MessageBoxA(nullptr, text, caption, MB_CANCELTRYCONTINUE | MB_TASKMODAL)) {
    case IDTRYAGAIN: return RetryChoice::try_again;
    case IDCONTINUE: return RetryChoice::continue_on;
    default: return RetryChoice::cancel;  // Cancel, Escape, or a box that could not be shown
    }
}

void set_retry_sink(RetrySink sink) { retry_sink = sink; }
