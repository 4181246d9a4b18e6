// Answers a message box that the code under test shows in this process, and tells what it said.
#pragma once
#include <atomic>
#include <string>
#include <thread>

class TMessageBoxAnswer {
  public:
    // Watches for a box captioned `caption` and presses `button` (IDYES, IDNO, IDOK...) in it.
    TMessageBoxAnswer(std::string caption, int button);
    ~TMessageBoxAnswer();
    TMessageBoxAnswer(const TMessageBoxAnswer&) = delete;
    TMessageBoxAnswer& operator=(const TMessageBoxAnswer&) = delete;

    // Stops watching; the text of the box answered, empty when none came.
    std::string Text();

  private:
    void Watch(const std::string& caption, int button);

    std::atomic<bool> stop_{false};
    std::string text_;
    std::thread watcher_;
};
