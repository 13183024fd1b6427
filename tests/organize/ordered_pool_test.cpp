// The pool keeps its promises whatever its threads do: tasks admitted and finished in the
// order they were added, each carried out only after the earlier ones of its key, none that
// was not admitted, and never more than the window in flight.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "organize/ordered_pool.h"

namespace {

struct Log {
  std::mutex mutex;
  std::vector<int> admitted, carried, finished;
};

class Probe : public OrderedTask {
 public:
  Probe(int index, Log& log) : index_(index), log_(log) {}
  // Later tasks are often prepared first, and earlier ones take longer to carry out: a later
  // one that did not wait would be done first.
  void Prepare() override {
    std::this_thread::sleep_for(std::chrono::microseconds(100 * (index_ % 4)));
  }
  bool Admit(std::vector<std::string>* keys) override {
    log_.admitted.push_back(index_);
    if (keys != nullptr) {
      keys->push_back("key " + std::to_string(index_ % 3));
    }
    return index_ != 7;
  }
  void CarryOut() override {
    std::this_thread::sleep_for(std::chrono::microseconds(500 * (30 - index_)));
    std::lock_guard<std::mutex> lock(log_.mutex);
    log_.carried.push_back(index_);
  }
  void Finish() override { log_.finished.push_back(index_); }

 private:
  int index_;
  Log& log_;
};

TEST(OrderedPool, KeepsTheOrderOfEachKeyAndReportsInOrder) {
  for (const int threads : {0, 4}) {
    SCOPED_TRACE(threads);
    Log log;
    std::vector<int> all;
    {
      OrderedPool pool(threads, 5);
      for (int i = 0; i < 30; ++i) {
        pool.Add(std::make_unique<Probe>(i, log));
        all.push_back(i);
        EXPECT_LE(all.size() - log.finished.size(), 5u);
      }
      pool.FinishAll();
    }
    EXPECT_EQ(log.admitted, all);
    EXPECT_EQ(log.finished, all);
    std::vector<int> lastOfKey = {-1, -1, -1};
    for (const int index : log.carried) {
      EXPECT_LT(lastOfKey[index % 3], index) << "carried out before an earlier task of its key";
      lastOfKey[index % 3] = index;
    }
    EXPECT_EQ(log.carried.size(), 29u);
    EXPECT_EQ(std::count(log.carried.begin(), log.carried.end(), 7), 0);
  }
}

}  // namespace
