#pragma once
// The lower splitter of the window (overview bar and both text views) over a document the
// benchmark fills, offscreen at 1200 x 900, showing the result, with or without the paired
// display.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "ui/app/kestrilane_app.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/display/view_state.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/settings/user_profile.h"

namespace klbench {

class BenchWindow {
public:
    BenchWindow(const std::function<void(kl::TextDocument&)>& fill, bool paired)
    {
        auto profile = std::make_unique<kl::UserProfile>(dir_.filePath(QStringLiteral("profile.ini")));
        app_ = std::make_unique<CKestrilaneApp>(dir_.filePath(QStringLiteral("kestrilane.ini")).toStdString(),
                                                std::move(profile));
        CKestrilaneDoc& doc = *app_->document();
        fill(doc.textDoc);
        splitter_ = std::make_unique<CSplitterSnd>(doc, "");
        splitter_->resize(1200, 900);
        splitter_->show();
        state_.setDisplayMode(kl::DISPLAY_RESULT);
        state_.setPaired(paired);
        for (CTextView* view : {static_cast<CTextView*>(splitter_->leftView()),
                                static_cast<CTextView*>(splitter_->rightView())}) {
            view->SetViewState(&state_);
            view->OnUpdate();
        }
        QApplication::processEvents();
        frame_ = QImage(splitter_->size(), QImage::Format_RGB32);
    }

    CMarksLoader& marks() { return app_->document()->marksLoader(); }
    CKestrilaneDoc& doc() { return *app_->document(); }
    ViewState& state() { return state_; }
    QScrollBar* rows() { return splitter_->rowScrollBar(); }
    // Paints one frame; the milliseconds it took.
    double Paint()
    {
        QElapsedTimer timer;
        timer.start();
        QPainter painter(&frame_);
        splitter_->render(&painter);
        return static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    // Paints and runs the event loop until the marks of every changed row in view are there.
    void LoadMarks()
    {
        do {
            Paint();
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        } while (marks().pendingCount() > 0);
    }

private:
    QTemporaryDir dir_;
    ViewState state_;
    std::unique_ptr<CKestrilaneApp> app_;
    std::unique_ptr<CSplitterSnd> splitter_;
    QImage frame_;
};

}  // namespace klbench
