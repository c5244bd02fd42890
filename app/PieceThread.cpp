#include "PieceThread.h"

#include <memory>
#include <system_error>

namespace {
// Buffers waiting for the maker besides the one it fills: two let it run a
// piece ahead while the taker has one.
constexpr int kSpareBuffers = 2;
}  // namespace

bool PieceThread::Run(const Stage& stage, const Take& take, bool onThread) {
  std::unique_ptr<PieceThread> thread;
  if (onThread) {
    try {
      thread.reset(new PieceThread(stage));
    } catch (const std::system_error&) {
      // No thread to be had (the system's limit): made on this one.
    }
  }
  if (!thread) return stage([&take](std::string& buffer, std::size_t length) { take({buffer.data(), length}); });
  return thread->Drain(take);
}

PieceThread::PieceThread(const Stage& stage) : m_spare(kSpareBuffers) {
  m_thread = std::thread([this, &stage] { Make(stage); });
}

// Reached with the thread still running only when the taker threw.
PieceThread::~PieceThread() {
  if (!m_thread.joinable()) return;
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_changed.notify_all();
  m_thread.join();
}

void PieceThread::Make(const Stage& stage) {
  bool answer = false;
  std::exception_ptr failure;
  try {
    answer = stage([this](std::string& buffer, std::size_t length) { HandOn(buffer, length); });
  } catch (const Stopped&) {
  } catch (...) {
    failure = std::current_exception();
  }
  {
    std::lock_guard lock(m_mutex);
    m_done = true;
    m_answer = answer;
    m_failure = failure;
  }
  m_changed.notify_all();
}

void PieceThread::HandOn(std::string& buffer, std::size_t length) {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return m_stopping || !m_spare.empty(); });
  if (m_stopping) throw Stopped{};
  std::string spare = std::move(m_spare.back());
  m_spare.pop_back();
  m_made.emplace_back(std::move(buffer), length);
  buffer = std::move(spare);
  lock.unlock();
  m_changed.notify_all();
}

bool PieceThread::Drain(const Take& take) {
  for (;;) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_done || !m_made.empty(); });
    if (m_made.empty()) break;
    auto [buffer, length] = std::move(m_made.front());
    m_made.pop_front();
    lock.unlock();
    take(std::string_view(buffer.data(), length));
    lock.lock();
    m_spare.push_back(std::move(buffer));
    lock.unlock();
    m_changed.notify_all();
  }
  m_thread.join();
  if (m_failure) std::rethrow_exception(m_failure);
  return m_answer;
}
