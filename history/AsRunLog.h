#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

// The as-run log file: lines handed over by the window and written by a thread of its own,
// so the window never waits on the disk. The queue is bounded: when it is full the oldest
// line goes, and the next line written says how many went. The file is rotated by size:
// as-run.log becomes as-run.log.1, and so on up to the kept count.
class AsRunLog {
  public:
    struct Limits {
        uint64_t maxFileBytes = 1 << 20;
        int keptFiles = 4;  // rotated files beside the current one
        size_t maxQueuedLines = 4096;
    };

    explicit AsRunLog(std::string path) : AsRunLog(std::move(path), Limits{}) {}
    AsRunLog(std::string path, Limits limits);
    // Writes what is still queued, then ends the thread.
    ~AsRunLog();
    AsRunLog(const AsRunLog&) = delete;
    AsRunLog& operator=(const AsRunLog&) = delete;

    // Queues one line (without its newline); never waits for the file.
    void Write(std::string line);
    // Waits until every line queued so far is written, at most `bound`; whether they were.
    bool Flush(std::chrono::milliseconds bound);

    const std::string& Path() const { return m_path; }
    // The file of `k` rotations ago: Path() for 0, "<path>.k" after.
    std::string RotatedPath(int k) const;
    int KeptFiles() const { return m_limits.keptFiles; }

    // $XDG_STATE_HOME/vcp/as-run.log, ~/.local/state/vcp/as-run.log without it.
    static std::string DefaultPath();

  private:
    void Run();
    void WriteOut(std::deque<std::string>& lines, uint64_t dropped);
    void Rotate();

    const std::string m_path;
    const Limits m_limits;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_written;
    std::deque<std::string> m_queue;
    uint64_t m_dropped = 0;
    uint64_t m_queuedCount = 0;   // lines ever queued
    uint64_t m_writtenCount = 0;  // lines ever handled by the writer
    bool m_stop = false;

    uint64_t m_fileBytes = 0;  // writer's thread only
    bool m_sizeKnown = false;
    std::thread m_thread;
};
