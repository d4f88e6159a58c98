#include "core/window_logic.h"

#include <algorithm>

namespace quillex {

SplashSchedule::Step SplashSchedule::Tick() {
    const std::int32_t n = ++tick_;
    if ((n >= 1 && n <= 5) || (n >= 7 && n <= 12) || (n >= 14 && n <= 20)) {
        gauge_ += 5;
    } else if (n == 6 || n == 13 || n == 21) {
        gauge_ += 3;
    }
    return Step{.gauge = gauge_, .showDone = n == 20, .close = n > 30};
}

bool AutoMinimizeDecision::Tick(bool windowActive, bool minFormShow) noexcept {
    if (!pending_ || !windowActive) {
        return false;
    }
    pending_ = false;
    return minFormShow;
}

bool HoverTest(bool windowVisible, ScreenPoint window, const ControlBounds& control,
               ScreenPoint cursor) noexcept {
    const int left = window.x + control.left;
    const int top = window.y + control.top;
    return windowVisible && left < cursor.x && cursor.x < left + control.width && top < cursor.y &&
           cursor.y < top + control.height;
}

LabelColour LanguageLabelColour(int labelLanguage, std::int32_t languageIndex,
                                bool hovered) noexcept {
    const int other = labelLanguage == 0 ? 1 : 0;
    if (hovered) {
        return languageIndex == other ? LabelColour::Black : LabelColour::Green;
    }
    return languageIndex == labelLanguage ? LabelColour::Green : LabelColour::Grey;
}

Rgb GradientStep(Rgb from, Rgb to, int step, int steps) noexcept {
    if (steps <= 1) {
        return from;
    }
    auto mix = [&](int a, int b) { return a + (b - a) * step / (steps - 1); };
    return Rgb{mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b)};
}

ScreenPoint PlaceOnScreen(const ControlBounds& screen, int centredLeft, int width,
                          int height) noexcept {
    // Right and bottom first, so that where the window is larger its top-left corner wins.
    const int left =
        std::max(screen.left, std::min(centredLeft, screen.left + screen.width - width));
    const int top =
        std::max(screen.top, std::min(screen.top + 10, screen.top + screen.height - height));
    return {left, top};
}

double FittingScale(int screenWidth, int screenHeight, int width, int height) noexcept {
    if (width <= 0 || height <= 0) {
        return 1.0;
    }
    const double across = static_cast<double>(screenWidth) / width;
    const double down = static_cast<double>(screenHeight) / height;
    return std::clamp(std::min(across, down), 0.0, 1.0);
}

}  // namespace quillex
