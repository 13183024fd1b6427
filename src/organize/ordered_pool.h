// Plan in order, work in parallel, report in order: a few threads work on a sequence of tasks
// while every step that depends on the sequence's order keeps to it. Each task is prepared
// (on a worker, in any order: what can be learned without changing anything), admitted (in
// the order the tasks were added, one at a time: it names the keys its work may contend for),
// carried out (on a worker, once every earlier task that shares a key with it has been carried
// out) and finished (on the thread that adds the tasks, in the order they were added). So a
// task's outcome depends only on the tasks before it that share a key, exactly as when the
// tasks run one after another, and what is reported comes in that order.
//
// Memory stays bounded: at most `window` tasks are between Add and Finish; Add waits, finishing
// the earliest ones, while the window is full.
//
// Tasks are prepared spread over the places they read from (a task's Where, such as its
// folder): a worker takes the earliest task of the place with the fewest tasks being prepared.
// A FUSE file system looks up one name at a time in a folder, so on a share whose every
// request waits, workers that all open files of one folder would wait for each other.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class OrderedTask {
 public:
  virtual ~OrderedTask() = default;
  // Learns what the task needs without changing anything (a file's date).
  virtual void Prepare() = 0;
  // Where Prepare reads (its folder); empty for a task that reads nothing.
  virtual const std::string& Where() const;
  // Called in the order the tasks were added, one at a time, under the pool's lock: keep it
  // short. Adds to `keys` (null when the pool has no workers: nothing can contend) what the
  // task's work may contend for. False: the task is not carried out; it is still finished.
  virtual bool Admit(std::vector<std::string>* keys) = 0;
  // Does the task's work.
  virtual void CarryOut() = 0;
  // Reports the task; called whether or not it was carried out.
  virtual void Finish() = 0;
};

class OrderedPool {
 public:
  // With no `threads`, Add runs each task's four steps at once on the calling thread.
  OrderedPool(int threads, std::size_t window);
  // Finishes every task added, then ends the workers.
  ~OrderedPool();
  OrderedPool(const OrderedPool&) = delete;
  OrderedPool& operator=(const OrderedPool&) = delete;

  bool HasWorkers() const { return !workers_.empty(); }

  // Adds a task after the others; finishes the earliest tasks that are done meanwhile.
  void Add(std::unique_ptr<OrderedTask> task);
  // Waits until every task added is done, finishing each in order.
  void FinishAll();

 private:
  struct Entry {
    std::unique_ptr<OrderedTask> task;
    bool prepared = false;
    bool done = false;   // carried out, or not admitted
    int waitingFor = 0;  // earlier tasks with a shared key not yet carried out
    std::vector<std::string> keys;
    std::vector<Entry*> followers;  // later tasks waiting for this one
  };

  void Work();
  // Takes the next task to prepare: the earliest of the place with the fewest in preparation.
  Entry* TakeToPrepare();
  // Admits the prepared tasks that follow the last one admitted, in order.
  void AdmitPrepared();
  void CarriedOut(Entry* entry);
  // Finishes the done tasks at the front; `lock` is released around each Finish.
  void FinishDone(std::unique_lock<std::mutex>& lock);

  const std::size_t window_;
  std::mutex mutex_;
  std::condition_variable workReady_;           // a task to prepare or carry out, or the end
  std::condition_variable frontDone_;           // the earliest task is done
  std::deque<std::unique_ptr<Entry>> entries_;  // added and not finished, in order
  std::size_t admitted_ = 0;                    // how many of entries_, from the front
  std::deque<std::deque<Entry*>> toPrepare_;    // runs of tasks of one place, in order
  std::vector<const std::string*> preparing_;   // the places of the tasks in preparation
  std::deque<Entry*> toCarryOut_;
  std::map<std::string, Entry*> lastWithKey_;  // the latest admitted task of each key in work
  bool ending_ = false;
  std::vector<std::thread> workers_;
};
