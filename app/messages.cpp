#include "app/messages.h"

#include <windows.h>

namespace {
MessageSink message_sink = nullptr;
}

void show_message(const char* text, const char* caption) {
    if (message_sink) {
        message_sink(text, caption);
        return;
    }
    MessageBoxA(nullptr, text, caption, MB_OK);
}

void set_message_sink(MessageSink sink) { message_sink = sink; }
