#include "history/AsRunLog.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "history/TimeStamp.h"

namespace {

// The writer looks for work at least this often even when nobody wakes it.
constexpr std::chrono::milliseconds kWriterIdle{500};

}  // namespace

AsRunLog::AsRunLog(std::string path, Limits limits)
    : m_path(std::move(path)), m_limits(limits), m_thread([this] { Run(); }) {}

AsRunLog::~AsRunLog() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void AsRunLog::Write(std::string line) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_queue.size() >= m_limits.maxQueuedLines) {
            m_queue.pop_front();
            ++m_dropped;
        }
        m_queue.push_back(std::move(line));
        ++m_queuedCount;
    }
    m_wake.notify_one();
}

bool AsRunLog::Flush(std::chrono::milliseconds bound) {
    std::unique_lock lock(m_mutex);
    const uint64_t target = m_queuedCount;
    m_wake.notify_one();
    return m_written.wait_for(lock, bound, [&] { return m_writtenCount >= target; });
}

std::string AsRunLog::RotatedPath(int k) const {
    return k == 0 ? m_path : m_path + "." + std::to_string(k);
}

std::string AsRunLog::DefaultPath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string folder;
    if (state != nullptr && state[0] == '/') {
        folder = state;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home != nullptr ? home : ".") + "/.local/state";
    }
    return folder + "/vcp/as-run.log";
}

void AsRunLog::Run() {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait_for(lock, kWriterIdle, [&] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty() && m_stop) {
            return;
        }
        std::deque<std::string> lines;
        lines.swap(m_queue);
        const uint64_t dropped = std::exchange(m_dropped, 0);
        const uint64_t handled = lines.size() + dropped;
        lock.unlock();
        WriteOut(lines, dropped);
        lock.lock();
        m_writtenCount += handled;
        m_written.notify_all();
    }
}

void AsRunLog::WriteOut(std::deque<std::string>& lines, uint64_t dropped) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!m_sizeKnown) {
        fs::create_directories(fs::path(m_path).parent_path(), error);
        const auto size = fs::file_size(m_path, error);
        m_fileBytes = error ? 0 : size;
        m_sizeKnown = true;
    }
    if (dropped > 0) {
        lines.push_front(LogTime(std::chrono::system_clock::now()) + " | " +
                         std::to_string(dropped) +
                         " lines were dropped here: the log could not keep up");
    }
    std::ofstream file(m_path, std::ios::app | std::ios::binary);
    for (const std::string& line : lines) {
        if (m_fileBytes > 0 && m_fileBytes + line.size() + 1 > m_limits.maxFileBytes) {
            file.close();
            Rotate();
            file.open(m_path, std::ios::app | std::ios::binary);
        }
        file << line << '\n';
        m_fileBytes += line.size() + 1;
    }
}

void AsRunLog::Rotate() {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::remove(RotatedPath(m_limits.keptFiles), error);
    for (int k = m_limits.keptFiles - 1; k >= 0; --k) {
        fs::rename(RotatedPath(k), RotatedPath(k + 1), error);
    }
    m_fileBytes = 0;
}
