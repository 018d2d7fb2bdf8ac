// The two queues of a batch run: the conversions the walk found, waiting for a worker, and what
// the workers hand back to the thread that prints and records.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "driver/batch_job.h"

namespace kegverter::batch {

// Files done that the thread that reports waits for before it wakes (or a tenth of a second).
constexpr std::size_t kEventBatch = 32;

// A conversion for a worker: the entry stays where it is, pending, until its outcome is in.
struct Job {
  std::size_t seq;
  const PlanEntry* entry;
};

// The conversions the walk found, in walk order, waiting for a worker.
class Jobs {
 public:
  void Push(Job job) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      jobs_.push_back(job);
    }
    ready_.notify_one();
  }

  // No more jobs come: the workers end once the queue is empty (at once after a stop).
  void Close() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closed_ = true;
    }
    ready_.notify_all();
  }

  // Waits for the next job; false when the worker is to end.
  bool Pop(Job& job, const std::atomic<int>& stop) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [this] { return !jobs_.empty() || closed_; });
    if (jobs_.empty() || stop.load() != 0) return false;
    job = jobs_.front();
    jobs_.pop_front();
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Job> jobs_;
  bool closed_ = false;
};

// What the workers hand to the thread that prints: a file started, or a file done.
struct Event {
  std::size_t seq;
  bool done;
  Outcome outcome;
};

class EventQueue {
 public:
  explicit EventQueue(std::size_t workers) : running_(workers) {}

  // Wakes the taker only once as many files are done as it waits for: a wake-up per file would
  // cost more than the conversions on a small file.
  void Push(Event event) {
    bool wake = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (event.done) ++done_;
      events_.push_back(std::move(event));
      wake = waiting_ && done_ >= wanted_;
    }
    if (wake) ready_.notify_one();
  }

  void WorkerDone() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      --running_;
    }
    ready_.notify_one();
  }

  // Waits up to `wait` for `wanted` files to be done (or every worker to end); takes every event
  // there is. True once every worker has ended and every event has been taken.
  bool Take(std::chrono::milliseconds wait, std::size_t wanted, std::deque<Event>& out) {
    std::unique_lock<std::mutex> lock(mutex_);
    wanted_ = std::max<std::size_t>(wanted, 1);
    waiting_ = true;
    ready_.wait_for(lock, wait, [this] { return done_ >= wanted_ || running_ == 0; });
    waiting_ = false;
    out.swap(events_);
    events_.clear();
    done_ = 0;
    return running_ == 0;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Event> events_;
  std::size_t done_ = 0;  // done events among events_
  std::size_t wanted_ = 1;
  bool waiting_ = false;
  std::size_t running_;
};

}  // namespace kegverter::batch
