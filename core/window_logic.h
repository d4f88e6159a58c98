#pragma once

#include <cstdint>

namespace quillex {

// The start-up window's gauge and pictures, driven one 100 ms tick at a time.
class SplashSchedule {
  public:
    static constexpr int kGaugeMax = 100;

    struct Step {
        int gauge = 0;          // the gauge's position after this tick
        bool showDone = false;  // swap the loading picture for the done picture
        bool close = false;     // the window closes now
    };

    // Advances SplashTick by one and says what the window shows.
    Step Tick();

    std::int32_t tick() const noexcept { return tick_; }
    int gauge() const noexcept { return gauge_; }

  private:
    std::int32_t tick_ = 0;
    int gauge_ = 0;
};

// The auto-minimise at start-up is decided once, at the first tick at which the main window
// is active; until then nothing happens.
class AutoMinimizeDecision {
  public:
    // True when the window is to go to the tray now.
    bool Tick(bool windowActive, bool minFormShow) noexcept;
    bool pending() const noexcept { return pending_; }

  private:
    bool pending_ = true;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

struct ControlBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Whether the cursor is over a control of a visible window. All four comparisons are strict:
// the control's left-most column and top-most row do not count, its right-most column and
// bottom-most row do.
bool HoverTest(bool windowVisible, ScreenPoint window, const ControlBounds& control,
               ScreenPoint cursor) noexcept;

// The picture-list entry of an image button: `normal` or the highlighted one after it.
constexpr int ButtonImageIndex(int normal, bool hovered) noexcept {
    return hovered ? normal + 1 : normal;
}

enum class LabelColour { Black, Green, Grey };

// Colour of the language label that selects `labelLanguage` (0 "Engl", 1 "Russ"): the active
// language is green, the other grey and black under the cursor; with no valid language both
// are grey and a hovered one green.
LabelColour LanguageLabelColour(int labelLanguage, std::int32_t languageIndex,
                                bool hovered) noexcept;

// Left edge that centres a window on the desktop; negative when the desktop is narrower.
constexpr int CentredLeft(int desktopWidth, int windowWidth) noexcept {
    return (desktopWidth - windowWidth) / 2;  // truncates toward zero
}

// Where a window of `width` x `height` goes on a screen whose free area is `screen`: at the
// top centre of the desktop, `centredLeft` and 10 below the screen's top, moved back onto the
// screen as far as needed, so that its top-left corner is always on it even when the window
// is larger than the screen.
ScreenPoint PlaceOnScreen(const ControlBounds& screen, int centredLeft, int width,
                          int height) noexcept;

// The factor (at most 1) that shrinks a window of `width` x `height` to fit `screenWidth` x
// `screenHeight`, all in the same pixels; 1 where it fits.
double FittingScale(int screenWidth, int screenHeight, int width, int height) noexcept;

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Band `step` (0 .. steps-1) of a gradient from `from` to `to` in `steps` equal steps.
Rgb GradientStep(Rgb from, Rgb to, int step, int steps) noexcept;

}  // namespace quillex
