#include "app/window/view_settings.h"

#include "app/window/shortcuts.h"

int StartingZoomStep(const Settings& saved, bool sizeFromCommandLine) {
    for (int step = 0; step < kZoomStepCount && !sizeFromCommandLine; ++step) {
        if (saved.zoomPercent == kZoomPercents[step]) return step;
    }
    return kDefaultZoomStep;
}

Settings KeptSettings(Settings kept, ViewChange change, const ShownView& shown,
                      bool sizeFromCommandLine) {
    switch (change) {
        case ViewChange::Zoom:
            if (!sizeFromCommandLine)
                kept.zoomPercent = kZoomPercents[NextZoomStep(shown.zoomStep, Shortcut::None)];
            break;
        case ViewChange::FullScreen:
            kept.fullScreen = shown.fullScreen;
            break;
        case ViewChange::Speech:
            kept.speech = shown.speech;
            break;
        case ViewChange::TimeToAct:
            kept.timeToAct = shown.timeToAct;
            break;
    }
    return kept;
}
