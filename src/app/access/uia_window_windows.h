#pragma once

// The window as UI Automation sees it: a provider that answers for it and for its two parts, the
// story and the line typed (uia_parts_windows.h), so that a screen reader can read and review
// them, and so that notifications raised on it reach the screen reader.

#include <windows.h>

#include <memory>
#include <string>

#include "app/access/notification_speech_windows.h"

// Answers UI Automation's questions about `window` from now on, in place of GLFW's window
// procedure, which gets every other message. For the program's one window, on its thread.
void AnswerAutomationFor(HWND window);

// What the window shows as text, for its parts to answer with: the story so far, which only
// ever grows, and the line being typed. Cheap when nothing changed; on the window's thread.
void ShowAutomationText(const std::string& story, const std::string& line);

// Raises notifications on the window given to AnswerAutomationFor, once it is given; with none
// given, or where UIAutomationCore.dll lacks UiaRaiseNotificationEvent (Windows before 10 1709,
// Wine), Raise says it cannot.
std::unique_ptr<UiaNotifier> OpenWindowNotifier();
