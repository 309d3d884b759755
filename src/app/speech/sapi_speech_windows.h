#pragma once

#include <memory>

#include "session/speaking_display.h"

// Speech in SAPI's own voice, for a player who turned speech on and whose screen reader, if any,
// cannot be handed texts. The voice is made and spoken to on a thread of its own, so that
// neither making it nor a call into it holds up a frame, nor waits at exit beyond a limit. With
// no voice (Wine has none), one line on standard error says so and every text after is dropped.
std::unique_ptr<SpeechSink> OpenSapiSpeech();
