#pragma once

// Makes a text's pieces on a second thread (reading, converting, decoding)
// while the caller's thread takes them in order (checking them, putting
// them into the control): on a large file the two halves take about as
// long as each other, and overlapped they do not add up. A few buffers go
// round between the threads, so memory stays a few pieces whatever the
// file's size. A small text is made on the caller's thread: a thread
// costs more than it saves there.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class PieceThread {
 public:
  // Hands on a made piece: the first `length` bytes of `buffer`. Whoever
  // takes it may keep the buffer by swapping another string in.
  using Hand = std::function<void(std::string& buffer, std::size_t length)>;
  // Makes every piece in order and hands each on; its answer is Drain's.
  // It runs on the other thread: it must not touch what the caller's
  // thread uses meanwhile.
  using Stage = std::function<bool(const Hand&)>;
  using Take = std::function<void(std::string_view)>;

  // Runs `stage` on a second thread when `onThread`, else on this one,
  // calling `take` with each piece on this thread; returns the stage's
  // answer. What either throws is thrown here, the other thread stopped.
  static bool Run(const Stage& stage, const Take& take, bool onThread);

  ~PieceThread();

 private:
  struct Stopped {};  // unwinds the other thread when the taker goes away

  explicit PieceThread(const Stage& stage);
  PieceThread(const PieceThread&) = delete;
  PieceThread& operator=(const PieceThread&) = delete;

  bool Drain(const Take& take);
  void Make(const Stage& stage);
  void HandOn(std::string& buffer, std::size_t length);

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<std::pair<std::string, std::size_t>> m_made;
  std::vector<std::string> m_spare;
  bool m_done = false;
  bool m_stopping = false;
  bool m_answer = false;
  std::exception_ptr m_failure;
  std::thread m_thread;  // last: started once the rest is made
};
