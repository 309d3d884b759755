#pragma once

// The window as UI Automation sees it: a provider that answers for it, so that notifications
// raised on it reach the screen reader.

#include <windows.h>

#include <memory>

#include "app/speech/notification_speech_windows.h"

// Answers UI Automation's questions about `window` from now on, in place of GLFW's window
// procedure, which gets every other message. For the program's one window, on its thread.
void AnswerAutomationFor(HWND window);

// Raises notifications on the window given to AnswerAutomationFor; with none given, or where
// UIAutomationCore.dll lacks UiaRaiseNotificationEvent (Windows before 10 1709, Wine), Raise
// says it cannot.
std::unique_ptr<UiaNotifier> OpenWindowNotifier();
