#include "app/long_task.h"

#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

namespace {

// What the worker reports, read by the window's timer.
struct Shared {
    std::mutex mu;
    std::string stage;
    double part = -1;
    std::atomic<bool> cancel{false};
};

class ProgressWindow : public QDialog {
  public:
    ProgressWindow(QWidget* owner, const QString& title, Shared& shared)
        : QDialog(owner), shared_(shared) {
        setWindowTitle(title);
        setModal(false);
        auto* layout = new QVBoxLayout(this);
        stage_ = new QLabel(this);
        stage_->setMinimumWidth(320);
        bar_ = new QProgressBar(this);
        bar_->setTextVisible(false);
        auto* cancel = new QPushButton("Anuluj", this);
        layout->addWidget(stage_);
        layout->addWidget(bar_);
        layout->addWidget(cancel, 0, Qt::AlignRight);
        connect(cancel, &QPushButton::clicked, this, [this] { requestCancel(); });
    }

    void update() {
        std::string stage;
        double part;
        {
            std::lock_guard lock(shared_.mu);
            stage = shared_.stage;
            part = shared_.part;
        }
        stage_->setText(shared_.cancel ? QString("Przerywanie...")
                                       : QString::fromStdString(stage) + "...");
        if (part < 0) {
            bar_->setRange(0, 0);  // a busy bar: the stage cannot measure itself
        } else {
            bar_->setRange(0, 1000);
            bar_->setValue(static_cast<int>(part * 1000));
        }
    }

  protected:
    void closeEvent(QCloseEvent* event) override {
        requestCancel();
        event->ignore();  // the window goes when the job has ended
    }
    void reject() override { requestCancel(); }

  private:
    void requestCancel() {
        shared_.cancel = true;
        update();
    }

    Shared& shared_;
    QLabel* stage_;
    QProgressBar* bar_;
};

}  // namespace

void runWithProgress(QWidget* owner, const QString& title,
                     const std::function<void(const Postep&)>& job) {
    Shared shared;
    QEventLoop loop;
    std::exception_ptr failure;
    const Postep postep = [&shared](const char* etap, double czesc) {
        std::lock_guard lock(shared.mu);
        shared.stage = etap;
        shared.part = czesc;
        return !shared.cancel;
    };
    std::thread worker([&] {
        try {
            job(postep);
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: delivered by the loop even when it has not started yet.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    ProgressWindow window(owner, title, shared);
    QTimer shown;
    shown.setSingleShot(true);
    QObject::connect(&shown, &QTimer::timeout, &window, [&window] {
        window.update();
        window.show();
    });
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &window, [&window] {
        if (window.isVisible()) window.update();
    });
    shown.start(kProgressDelayMs);
    tick.start(100);
    loop.exec();
    worker.join();
    if (failure) std::rethrow_exception(failure);
}
