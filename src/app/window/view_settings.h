#pragma once

#include "app/startup/settings.h"

// What the window shows that the player sets with its keys: the text's zoom step (shortcuts.h),
// full screen, speech and the time to act.
struct ShownView {
    int zoomStep = 0;
    bool fullScreen = false;
    bool speech = false;
    TimeToAct timeToAct = TimeToAct::kNormal;
};

// Which of them the player changed.
enum class ViewChange { Zoom, FullScreen, Speech, TimeToAct };

// The zoom step the window starts at: the saved one, or 100% when the command line set the
// window's size or the saved zoom is none of the steps.
int StartingZoomStep(const Settings& saved, bool sizeFromCommandLine);

// The settings to keep once the player made `change` and the window shows `shown`: `kept` with
// that one choice. What the player did not choose stays as it was: the speech a screen reader or
// the command line turned on, and the zoom while the command line sets the size.
Settings KeptSettings(Settings kept, ViewChange change, const ShownView& shown,
                      bool sizeFromCommandLine);
