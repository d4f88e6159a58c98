#include "ui/logo_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include "platform/window_move.h"
#include "ui/skin.h"

namespace quillex {

namespace {

constexpr QRect kGauge{256, 18, 140, 15};
constexpr QPoint kStatusPicture{256, 6};
constexpr QSize kStatusPictureSize{140, 12};

}  // namespace

TfmLogo::TfmLogo(SettingsStore& store, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Dialog), store_(store) {
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(kWidth, kHeight);
    FormCreate();
}

TfmLogo::~TfmLogo() {
    FormDestroy();
}

void TfmLogo::FormCreate() {
    LoadLanguageIndex();

    Img_Logo = new QLabel(this);
    Img_Logo->setPixmap(SkinPixmap(QStringLiteral("splash"), size()));
    Img_Logo->setGeometry(rect());
    // Presses on the picture reach the window, which starts the drag.
    Img_Logo->setAttribute(Qt::WA_TransparentForMouseEvents);

    Ind_Load = new QProgressBar(this);
    Ind_Load->setRange(0, SplashSchedule::kGaugeMax);
    Ind_Load->setValue(0);
    Ind_Load->setTextVisible(false);
    Ind_Load->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid rgba(255,255,255,150); border-radius: 7px;"
        " background: rgba(0,30,70,110); }"
        "QProgressBar::chunk { border-radius: 6px; background: qlineargradient(x1:0, y1:0,"
        " x2:1, y2:0, stop:0 #7fe0ff, stop:1 #ffffff); }"));
    Ind_Load->hide();

    Img_Load = new QLabel(this);
    Img_Load->setPixmap(SkinPixmap(QStringLiteral("loading"), kStatusPictureSize));
    Img_Load->hide();
    Img_Done = new QLabel(this);
    Img_Done->setPixmap(SkinPixmap(QStringLiteral("done"), kStatusPictureSize));
    Img_Done->hide();

    Timer_Work.setInterval(100);
    connect(&Timer_Work, &QTimer::timeout, this, &TfmLogo::Timer_WorkTimer);
}

void TfmLogo::RunModal() {
    QEventLoop loop;
    connect(this, &TfmLogo::Closed, &loop, &QEventLoop::quit);
    FormShow();
    show();
    loop.exec();
}

void TfmLogo::FormShow() {
    const int desktopWidth = QGuiApplication::primaryScreen()->virtualGeometry().width();
    move(CentredLeft(desktopWidth, kWidth), 200);
    Ind_Load->setGeometry(kGauge);
    Ind_Load->show();
    Img_Logo->setGeometry(rect());
    Img_Load->setGeometry(QRect(kStatusPicture, kStatusPictureSize));
    Img_Load->show();
    Img_Done->setGeometry(QRect(kStatusPicture, kStatusPictureSize));
    Img_Done->hide();
    Timer_Work.start();
}

void TfmLogo::Timer_WorkTimer() {
    const SplashSchedule::Step step = schedule_.Tick();
    Ind_Load->setValue(step.gauge);
    if (step.showDone) {
        Img_Load->hide();
        Img_Done->show();
    }
    if (step.close) {
        close();
    }
}

void TfmLogo::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TfmLogo::FormClose() {
    Timer_Work.stop();
    emit Closed();
}

void TfmLogo::mousePressEvent(QMouseEvent* event) {
    StartWindowMove(*this, *event);
}

void TfmLogo::FormDestroy() {
    SaveLanguageIndex();
}

void TfmLogo::LoadLanguageIndex() {
    LanguageIndex = LoadLanguage(store_);
}

void TfmLogo::SaveLanguageIndex() {
    SaveLanguage(store_, LanguageIndex);
}

}  // namespace quillex
