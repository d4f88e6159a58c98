#include "ui/splash_window.h"

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

SplashWindow::SplashWindow(SettingsStore& store, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Dialog), store_(store) {
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(kWidth, kHeight);
    BuildWindow();
}

SplashWindow::~SplashWindow() {
    SaveLanguageIndex();
}

void SplashWindow::BuildWindow() {
    LoadLanguageIndex();

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Img_Logo"));
    picture_->setPixmap(SkinPixmap(QStringLiteral("splash"), size()));
    picture_->setGeometry(rect());
    // Presses on the picture reach the window, which starts the drag.
    picture_->setAttribute(Qt::WA_TransparentForMouseEvents);

    gauge_ = new QProgressBar(this);
    gauge_->setObjectName(QStringLiteral("Ind_Load"));
    gauge_->setRange(0, SplashSchedule::kGaugeMax);
    gauge_->setValue(0);
    gauge_->setTextVisible(false);
    gauge_->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid rgba(255,255,255,150); border-radius: 7px;"
        " background: rgba(0,30,70,110); }"
        "QProgressBar::chunk { border-radius: 6px; background: qlineargradient(x1:0, y1:0,"
        " x2:1, y2:0, stop:0 #7fe0ff, stop:1 #ffffff); }"));
    gauge_->hide();

    loadingPicture_ = new QLabel(this);
    loadingPicture_->setObjectName(QStringLiteral("Img_Load"));
    loadingPicture_->setPixmap(SkinPixmap(QStringLiteral("loading"), kStatusPictureSize));
    loadingPicture_->hide();
    donePicture_ = new QLabel(this);
    donePicture_->setObjectName(QStringLiteral("Img_Done"));
    donePicture_->setPixmap(SkinPixmap(QStringLiteral("done"), kStatusPictureSize));
    donePicture_->hide();

    workTimer_.setInterval(100);
    connect(&workTimer_, &QTimer::timeout, this, &SplashWindow::OnWorkTimer);
}

void SplashWindow::RunModal() {
    QEventLoop loop;
    connect(this, &SplashWindow::Closed, &loop, &QEventLoop::quit);
    PrepareShowing();
    show();
    loop.exec();
}

void SplashWindow::PrepareShowing() {
    const int desktopWidth = QGuiApplication::primaryScreen()->virtualGeometry().width();
    move(CentredLeft(desktopWidth, kWidth), 200);
    gauge_->setGeometry(kGauge);
    gauge_->show();
    picture_->setGeometry(rect());
    loadingPicture_->setGeometry(QRect(kStatusPicture, kStatusPictureSize));
    loadingPicture_->show();
    donePicture_->setGeometry(QRect(kStatusPicture, kStatusPictureSize));
    donePicture_->hide();
    workTimer_.start();
}

void SplashWindow::OnWorkTimer() {
    const SplashSchedule::Step step = schedule_.Tick();
    gauge_->setValue(step.gauge);
    if (step.showDone) {
        loadingPicture_->hide();
        donePicture_->show();
    }
    if (step.close) {
        close();
    }
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    FinishClosing();
    event->accept();
}

void SplashWindow::FinishClosing() {
    workTimer_.stop();
    emit Closed();
}

void SplashWindow::mousePressEvent(QMouseEvent* event) {
    StartWindowMove(*this, *event);
}

void SplashWindow::LoadLanguageIndex() {
    languageIndex_ = LoadLanguage(store_);
}

void SplashWindow::SaveLanguageIndex() {
    SaveLanguage(store_, languageIndex_);
}

}  // namespace quillex
