#pragma once

#include <QList>
#include <QWindow>
#include <functional>

// The window system's full screen as the reader uses it: which window is meant (the focused one, else the
// first visible one), whether it is in full screen, and a toggle. The reader undoes only what it did.
class SystemFullScreen {
  public:
    struct Windows {
        std::function<QWindow*()> keyWindow;
        std::function<QList<QWindow*>()> windows;
    };
    // The application's focus window and top-level windows.
    static Windows application();

    explicit SystemFullScreen(Windows windows = application()) : windows_(std::move(windows)) {}

    static bool isFullScreen(const QWindow* window);
    static void toggle(QWindow* window);

    // Puts the key (else first visible) window into full screen unless it already is.
    void enterIfNeeded();
    // Takes the window back out, only when enterIfNeeded put one in.
    void exitIfNeeded();
    bool entered() const { return entered_; }

  private:
    Windows windows_;
    bool entered_ = false;
};
