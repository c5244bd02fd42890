#include "DecodingThread.h"

namespace {
// Buffers waiting for the other thread besides the one being filled: two
// let the decode run a piece ahead while the control takes one.
constexpr int kSpareBuffers = 2;
}  // namespace

DecodingThread::DecodingThread(std::size_t size, PieceProducer produce, PieceDecoder::Decoder decode)
    : m_free(kSpareBuffers) {
  m_thread = std::thread([this, size, produce = std::move(produce), decode] { Run(size, produce, decode); });
}

DecodingThread::~DecodingThread() { Stop(); }

void DecodingThread::Stop() {
  if (!m_thread.joinable()) return;
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_changed.notify_all();
  m_thread.join();
}

void DecodingThread::Run(std::size_t size, const PieceProducer& produce, PieceDecoder::Decoder decode) {
  bool whole = false;
  std::exception_ptr failure;
  PieceDecoder decoder(decode, [this](std::string& buffer, std::size_t length) { Hand(buffer, length); });
  try {
    std::size_t given = 0;
    whole = produce([&](std::string_view piece) {
      given += piece.size();
      decoder.Feed(piece, given >= size);
    });
    decoder.Finish();
  } catch (const Stopped&) {
  } catch (...) {
    failure = std::current_exception();
  }
  {
    std::lock_guard lock(m_mutex);
    m_done = true;
    m_whole = whole;
    m_failure = failure;
    m_consumed = decoder.Consumed();
  }
  m_changed.notify_all();
}

// Gives a decoded buffer to the reader and takes a spare one to go on with.
void DecodingThread::Hand(std::string& buffer, std::size_t length) {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return m_stopping || !m_free.empty(); });
  if (m_stopping) throw Stopped{};
  std::string spare = std::move(m_free.back());
  m_free.pop_back();
  m_filled.emplace_back(std::move(buffer), length);
  buffer = std::move(spare);
  lock.unlock();
  m_changed.notify_all();
}

bool DecodingThread::Drain(const std::function<void(std::string_view)>& take) {
  for (;;) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_done || !m_filled.empty(); });
    if (m_filled.empty()) break;
    auto [buffer, length] = std::move(m_filled.front());
    m_filled.pop_front();
    lock.unlock();
    take(std::string_view(buffer.data(), length));
    lock.lock();
    m_free.push_back(std::move(buffer));
    lock.unlock();
    m_changed.notify_all();
  }
  m_thread.join();
  if (m_failure) std::rethrow_exception(m_failure);
  return m_whole;
}
