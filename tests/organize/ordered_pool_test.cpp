// The pool keeps its promises whatever its threads do: tasks admitted and finished in the
// order they were added, each carried out only after the earlier ones of its key, none that
// was not admitted, and never more than the window in flight; and its workers prepare tasks
// of different places at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
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

// The first two tasks wait until the test has added all the others and seen both begin; the
// next two prepared wait for each other, so they show which two the workers took together.
struct Rendezvous {
  std::mutex mutex;
  std::condition_variable changed;
  bool released = false;
  std::vector<std::string> started;
};

class Placed : public OrderedTask {
 public:
  Placed(std::string name, Rendezvous& meeting) : name_(std::move(name)), meeting_(meeting) {}
  const std::string& Where() const override { return where_; }
  void Prepare() override {
    std::unique_lock<std::mutex> lock(meeting_.mutex);
    meeting_.started.push_back(name_);
    const bool first = meeting_.started.size() <= 2;  // by its own place, not the later ones'
    meeting_.changed.notify_all();
    meeting_.changed.wait_for(lock, std::chrono::seconds(5), [&] {
      return first ? meeting_.released : meeting_.started.size() >= 4;
    });
  }
  bool Admit(std::vector<std::string>*) override { return true; }
  void CarryOut() override {}
  void Finish() override {}

 private:
  std::string name_;
  std::string where_ = name_.substr(0, 1);
  Rendezvous& meeting_;
};

TEST(OrderedPool, PreparesTasksOfDifferentPlacesAtOnce) {
  Rendezvous meeting;
  {
    OrderedPool pool(2, 10);
    for (const char* name : {"G", "A1", "A2", "A3", "B1"}) {
      pool.Add(std::make_unique<Placed>(name, meeting));
    }
    {
      // Released once the first two have begun, however late the workers start.
      std::unique_lock<std::mutex> lock(meeting.mutex);
      meeting.changed.wait_for(lock, std::chrono::seconds(5),
                               [&] { return meeting.started.size() >= 2; });
      meeting.released = true;
    }
    meeting.changed.notify_all();
  }
  ASSERT_EQ(meeting.started.size(), 5u);
  EXPECT_EQ(std::set<std::string>(meeting.started.begin(), meeting.started.begin() + 2),
            (std::set<std::string>{"G", "A1"}));
  EXPECT_EQ(std::set<std::string>(meeting.started.begin() + 2, meeting.started.begin() + 4),
            (std::set<std::string>{"A2", "B1"}))
      << "two tasks of one folder prepared together while another folder's waited";
}

}  // namespace
