#include "organize/ordered_pool.h"

#include <algorithm>
#include <utility>

const std::string& OrderedTask::Where() const {
  static const std::string nowhere;
  return nowhere;
}

OrderedPool::OrderedPool(int threads, std::size_t window)
    : window_(std::max<std::size_t>(window, 1)) {
  for (int i = 0; i < threads; ++i) {
    workers_.emplace_back([this] { Work(); });
  }
}

OrderedPool::~OrderedPool() {
  FinishAll();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  workReady_.notify_all();
  for (std::thread& worker : workers_) {
    worker.join();
  }
}

void OrderedPool::Add(std::unique_ptr<OrderedTask> task) {
  if (workers_.empty()) {
    task->Prepare();
    if (task->Admit(nullptr)) {
      task->CarryOut();
    }
    task->Finish();
    return;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  FinishDone(lock);
  while (entries_.size() >= window_) {
    frontDone_.wait(lock, [this] { return entries_.front()->done; });
    FinishDone(lock);
  }
  auto entry = std::make_unique<Entry>();
  entry->task = std::move(task);
  if (toPrepare_.empty() || toPrepare_.back().front()->task->Where() != entry->task->Where()) {
    toPrepare_.emplace_back();
  }
  toPrepare_.back().push_back(entry.get());
  entries_.push_back(std::move(entry));
  lock.unlock();
  workReady_.notify_one();
}

void OrderedPool::FinishAll() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!entries_.empty()) {
    frontDone_.wait(lock, [this] { return entries_.front()->done; });
    FinishDone(lock);
  }
}

void OrderedPool::FinishDone(std::unique_lock<std::mutex>& lock) {
  while (!entries_.empty() && entries_.front()->done) {
    std::unique_ptr<Entry> entry = std::move(entries_.front());
    entries_.pop_front();
    --admitted_;
    lock.unlock();
    entry->task->Finish();
    entry.reset();
    lock.lock();
  }
}

void OrderedPool::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    workReady_.wait(lock,
                    [this] { return ending_ || !toCarryOut_.empty() || !toPrepare_.empty(); });
    // Work already admitted comes first: the tasks behind it wait for it to be reported.
    if (!toCarryOut_.empty()) {
      Entry* entry = toCarryOut_.front();
      toCarryOut_.pop_front();
      lock.unlock();
      entry->task->CarryOut();
      lock.lock();
      CarriedOut(entry);
    } else if (!toPrepare_.empty()) {
      Entry* entry = TakeToPrepare();
      const std::string& where = entry->task->Where();
      preparing_.push_back(&where);
      lock.unlock();
      entry->task->Prepare();
      lock.lock();
      preparing_.erase(std::find(preparing_.begin(), preparing_.end(), &where));
      entry->prepared = true;
      AdmitPrepared();
    } else {
      return;
    }
  }
}

OrderedPool::Entry* OrderedPool::TakeToPrepare() {
  auto best = toPrepare_.begin();
  std::size_t fewest = preparing_.size() + 1;
  for (auto run = toPrepare_.begin(); run != toPrepare_.end() && fewest > 0; ++run) {
    const std::string& where = run->front()->task->Where();
    const auto busy = static_cast<std::size_t>(
        std::count_if(preparing_.begin(), preparing_.end(),
                      [&](const std::string* other) { return !where.empty() && *other == where; }));
    if (busy < fewest) {
      best = run;
      fewest = busy;
    }
  }
  Entry* entry = best->front();
  best->pop_front();
  if (best->empty()) {
    toPrepare_.erase(best);
  }
  return entry;
}

void OrderedPool::AdmitPrepared() {
  bool ready = false;
  while (admitted_ < entries_.size() && entries_[admitted_]->prepared) {
    Entry* entry = entries_[admitted_++].get();
    if (!entry->task->Admit(&entry->keys)) {
      entry->done = true;
      frontDone_.notify_one();
      continue;
    }
    // Each key's tasks form a chain: a task waits for the latest earlier one of its keys.
    for (const std::string& key : entry->keys) {
      auto [last, first] = lastWithKey_.try_emplace(key, entry);
      if (!first && last->second != entry) {
        last->second->followers.push_back(entry);
        ++entry->waitingFor;
        last->second = entry;
      }
    }
    if (entry->waitingFor == 0) {
      toCarryOut_.push_back(entry);
      ready = true;
    }
  }
  if (ready) {
    workReady_.notify_all();
  }
}

void OrderedPool::CarriedOut(Entry* entry) {
  entry->done = true;
  for (const std::string& key : entry->keys) {
    const auto last = lastWithKey_.find(key);
    if (last != lastWithKey_.end() && last->second == entry) {
      lastWithKey_.erase(last);
    }
  }
  bool ready = false;
  for (Entry* follower : entry->followers) {
    if (--follower->waitingFor == 0) {
      toCarryOut_.push_back(follower);
      ready = true;
    }
  }
  entry->followers.clear();
  if (ready) {
    workReady_.notify_all();
  }
  frontDone_.notify_one();
}
