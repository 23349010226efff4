#pragma once
#include <functional>

// What Kelvo puts off while one of its parts runs a nested message loop (a hotkey's actions, a
// menu, a message box, a file dialog): a close, a reload, storing the settings. Such a part is
// still on the stack when its loop returns, and a close frees the windows it uses, so the work
// never runs where it was asked for nor where the busy part ends: the end of the last busy part
// posts a message, and the work runs from that message, once nothing is busy any more.
class DeferredWork {
 public:
  // `post` posts the message that calls Posted(); `run` does the work put off.
  DeferredWork(std::function<void()> post, std::function<void()> run);
  DeferredWork(const DeferredWork&) = delete;
  DeferredWork& operator=(const DeferredWork&) = delete;

  // Marks a part that lets other messages in.
  class Scope {
   public:
    explicit Scope(DeferredWork& work) : work_(work) { ++work_.depth_; }
    ~Scope() { work_.Leave(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    DeferredWork& work_;
  };

  bool Busy() const { return depth_ > 0; }
  // Something was put off: it runs from the message posted when the last busy part ends (at
  // once, when nothing is busy now).
  void Ask();
  // The posted message has arrived.
  void Posted();

 private:
  void Leave();
  void PostOnce();

  std::function<void()> post_;
  std::function<void()> run_;
  int depth_ = 0;
  bool asked_ = false;
  bool posted_ = false;
};
