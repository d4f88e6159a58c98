#include "core/window_logic.h"

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

}  // namespace quillex
