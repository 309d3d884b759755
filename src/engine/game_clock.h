#pragma once

// Seconds since the game began, as the story reads them. Every front end moves it on by its frame
// time, once a frame, before the game's calls.
class GameClock {
public:
    // Single precision, as the story's thresholds are compared.
    float Now() const { return static_cast<float>(seconds_); }
    double Seconds() const { return seconds_; }

    // Summed in double precision, the way the GUI toolkit sums its frame times, so a front end
    // that advances by frame times and one that reads the toolkit's clock agree to the bit.
    void Advance(float seconds) { seconds_ += seconds; }
    // To a given reading: the GUI toolkit's own clock in headless frames, or a test's exact time.
    void Set(double seconds) { seconds_ = seconds; }

private:
    double seconds_ = 0.0;
};
