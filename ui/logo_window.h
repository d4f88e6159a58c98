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
class TfmLogo : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;

    explicit TfmLogo(SettingsStore& store, QWidget* parent = nullptr);
    ~TfmLogo() override;

    // 0 English, 1 Russian; anything else selects no language.
    std::int32_t LanguageIndex = 0;

    // Shows the window and returns once it has closed.
    void RunModal();

    void FormCreate();
    void FormShow();
    void Timer_WorkTimer();
    void FormClose();
    void FormDestroy();

    // "Languare" in the settings store.
    void LoadLanguageIndex();
    void SaveLanguageIndex();

    const SplashSchedule& Schedule() const noexcept { return schedule_; }

    QLabel* Img_Logo = nullptr;
    QProgressBar* Ind_Load = nullptr;
    QLabel* Img_Load = nullptr;
    QLabel* Img_Done = nullptr;
    QTimer Timer_Work;

  signals:
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    SettingsStore& store_;
    SplashSchedule schedule_;
};

// The help window: never shown; it owns the caption table.
class TfmHelp : public QWidget {
    Q_OBJECT

  public:
    explicit TfmHelp(QWidget* parent = nullptr) : QWidget(parent) {}

    quillex::CaptionTable CaptionTable;
};

}  // namespace quillex
