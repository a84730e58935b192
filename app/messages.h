// The program's message boxes, behind one seam so tests can read them.
#pragma once

// Shows a message box with no owner, a plain OK button and no icon.
void show_message(const char* text, const char* caption);

// Replaces the message box (tests, the console pack tool); nullptr restores it.
using MessageSink = void (*)(const char* text, const char* caption);
void set_message_sink(MessageSink sink);
