#include "PieceThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

// Makes `count` pieces, each its number repeated, written into whatever
// buffer the stage holds at the time (the taker swaps them).
PieceThread::Stage NumberedPieces(int count) {
  return [count](const PieceThread::Hand& hand) {
    std::string buffer;
    for (int i = 0; i < count; ++i) {
      std::string number = std::to_string(i) + ";";
      buffer.assign(number + number);
      hand(buffer, number.size());  // only the first copy is the piece
    }
    return true;
  };
}

std::string Expected(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::to_string(i) + ";";
  return text;
}

}  // namespace

// Many more pieces than buffers go round: order and every byte hold, on
// the other thread as on this one.
TEST(PieceThread, GivesEveryPieceInOrderOnEitherThread) {
  for (bool onThread : {true, false}) {
    std::string taken;
    EXPECT_TRUE(PieceThread::Run(NumberedPieces(20000), [&](std::string_view piece) { taken.append(piece); }, onThread));
    EXPECT_EQ(taken, Expected(20000)) << onThread;
  }
}

TEST(PieceThread, TheStagesAnswerComesAfterItsPieces) {
  std::string taken;
  bool answer = PieceThread::Run(
      [](const PieceThread::Hand& hand) {
        std::string buffer = "abc";
        hand(buffer, 3);
        return false;  // e.g. the file got shorter
      },
      [&](std::string_view piece) { taken.append(piece); }, true);
  EXPECT_FALSE(answer);
  EXPECT_EQ(taken, "abc");
}

TEST(PieceThread, WhatTheStageThrowsIsThrownToTheCaller) {
  auto failing = [](const PieceThread::Hand& hand) -> bool {
    std::string buffer = "abc";
    hand(buffer, 3);
    throw std::runtime_error("disk gone");
  };
  EXPECT_THROW(PieceThread::Run(failing, [](std::string_view) {}, true), std::runtime_error);
}

// The control failing half way (out of memory) must not leave the other
// thread waiting for buffers for ever, nor making pieces nobody takes.
TEST(PieceThread, StopsTheStageWhenTheTakerGivesUpHalfWay) {
  std::atomic<int> made = 0;
  auto endless = [&made](const PieceThread::Hand& hand) {
    std::string buffer;
    for (;;) {
      buffer.assign("piece");
      hand(buffer, buffer.size());
      ++made;
    }
    return true;
  };
  int taken = 0;
  EXPECT_THROW(PieceThread::Run(endless, [&](std::string_view) {
    if (++taken == 5) throw std::bad_alloc();
  }, true), std::bad_alloc);
  int stoppedAt = made;
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(made, stoppedAt);
}
