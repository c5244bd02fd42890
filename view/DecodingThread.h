#pragma once

// Reads and decodes a large text on a second thread while the caller's
// thread puts the decoded pieces into the control: on a large file the
// read, conversion and decode take about as long as the control's
// insertion, and the two overlap instead of adding up. A few buffers go
// round between the threads, so memory stays a few pieces whatever the
// file's size.

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

#include "PieceDecoder.h"

class DecodingThread {
 public:
  // Calls its argument with each piece of the file's bytes; false when the
  // file could not be read whole.
  using PieceProducer = std::function<bool(const std::function<void(std::string_view)>&)>;

  // Starts at once; `produce` runs on the other thread, so it must not
  // touch anything this thread uses meanwhile.
  DecodingThread(std::size_t size, PieceProducer produce, PieceDecoder::Decoder decode);
  // Stops a decode not drained to its end and waits for the thread.
  ~DecodingThread();
  DecodingThread(const DecodingThread&) = delete;
  DecodingThread& operator=(const DecodingThread&) = delete;

  // Calls `take` with each decoded piece in order, on this thread, until
  // the text ends; returns the producer's answer. What the other thread
  // threw is thrown here.
  bool Drain(const std::function<void(std::string_view)>& take);
  // File bytes decoded; final once Drain has returned.
  std::size_t Consumed() const { return m_consumed; }

 private:
  struct Stopped {};  // unwinds the other thread when the reader goes away
  void Run(std::size_t size, const PieceProducer& produce, PieceDecoder::Decoder decode);
  void Hand(std::string& buffer, std::size_t length);
  void Stop();

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<std::pair<std::string, std::size_t>> m_filled;
  std::vector<std::string> m_free;
  bool m_done = false;
  bool m_stopping = false;
  bool m_whole = false;
  std::exception_ptr m_failure;
  std::size_t m_consumed = 0;
  std::thread m_thread;  // last: started once the rest is made
};
