// The program's message boxes, behind one seam so tests can read and answer them.
#pragma once

// Shows a message box with no owner, a plain OK button and no icon.
void show_message(const char* text, const char* caption);

// Replaces the message box (tests, the console pack tool); nullptr restores it.
using MessageSink = void (*)(const char* text, const char* caption);
void set_message_sink(MessageSink sink);

// The buttons of the platform's Cancel / Try Again / Continue box.
enum class RetryChoice { cancel, try_again, continue_on };

// Asks with that box, with no owner but every window of the thread disabled
// until the player chose.
RetryChoice ask_retry(const char* text, const char* caption);

// Replaces that box (tests answer it); nullptr restores it.
using RetrySink = RetryChoice (*)(const char* text, const char* caption);
void set_retry_sink(RetrySink sink);
