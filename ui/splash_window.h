#pragma once

#include <QTimer>
#include <QWidget>

#include <cstdint>

#include "core/caption_table.h"
#include "core/settings.h"
#include "core/window_logic.h"

class QLabel;
class QProgressBar;

namespace quillex {

// The start-up window: a picture with a progress gauge, shown modally for about 3.1 s at the
// main window's first showing. It also holds the interface language index, read from `store`
// at creation and written back at destruction.
class SplashWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;

    explicit SplashWindow(SettingsStore& store, QWidget* parent = nullptr);
    ~SplashWindow() override;

    // 0 English, 1 Russian; anything else selects no language.
    std::int32_t LanguageIndex() const noexcept { return languageIndex_; }
    void SetLanguageIndex(std::int32_t index) noexcept { languageIndex_ = index; }

    // Shows the window and returns once it has closed.
    void RunModal();
    // Places the gauge and the pictures and starts the timer; RunModal does it first.
    void PrepareShowing();
    // One tick of the 100 ms timer: the gauge moves, the pictures change, the window closes.
    void OnWorkTimer();
    bool TimerActive() const { return workTimer_.isActive(); }

    const SplashSchedule& Schedule() const noexcept { return schedule_; }

  signals:
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void BuildWindow();
    void FinishClosing();
    // "Languare" in the settings store.
    void LoadLanguageIndex();
    void SaveLanguageIndex();

    SettingsStore& store_;
    std::int32_t languageIndex_ = 0;
    // Controls; each carries its control name as its object name.
    QLabel* picture_ = nullptr;         // Img_Logo
    QProgressBar* gauge_ = nullptr;     // Ind_Load
    QLabel* loadingPicture_ = nullptr;  // Img_Load
    QLabel* donePicture_ = nullptr;     // Img_Done
    QTimer workTimer_;
    SplashSchedule schedule_;
};

// The help window: never shown; it owns the caption table.
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HelpWindow(QWidget* parent = nullptr) : QWidget(parent) {}

    quillex::CaptionTable& Captions() noexcept { return captions_; }
    const quillex::CaptionTable& Captions() const noexcept { return captions_; }

  private:
    quillex::CaptionTable captions_;
};

}  // namespace quillex
